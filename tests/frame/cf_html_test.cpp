#include "src/win/cf_html.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(CfHtmlBuild, HeaderIsFixedAndFragmentFollowsWithoutLineEnd) {
    EXPECT_EQ(BuildCfHtml("<p>Hi</p>"),
              "Version:0.9\nStartHTML:-1\nEndHTML:-1\nStartFragment:0000000104\nEndFragment:0000000113\n"
              "<!--StartFragment--><p>Hi</p><!--EndFragment-->");
    EXPECT_NE(BuildCfHtml("a<!--EndFragment-->b").find("EndFragment:0000000105\n"), std::string::npos);
}

// Offsets count bytes, not characters; the fragment may be empty.
TEST(CfHtmlBuild, OffsetsPointAtTheFragmentInBytesAndExtractReturnsIt) {
    for (const std::string html : {std::string(), std::string("<p>\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</p>\r\n<li>x</li>")}) {
        const std::string envelope = BuildCfHtml(html);
        const size_t start = std::stoul(envelope.substr(envelope.find("StartFragment:") + 14, 10));
        const size_t end = std::stoul(envelope.substr(envelope.find("EndFragment:") + 12, 10));
        EXPECT_EQ(start, 104u);
        EXPECT_EQ(end, 104u + html.size());
        EXPECT_EQ(envelope.substr(start, end - start), html);
        EXPECT_EQ(ExtractCfHtmlFragment(envelope), html);
    }
}

TEST(CfHtmlExtract, TheMarkersNotTheHeaderOffsetsDelimitTheFragment) {
    EXPECT_EQ(ExtractCfHtmlFragment("Version:0.9\nStartFragment:9999999999\nEndFragment:0000000001\n"
                                    "<html><body><!--StartFragment--><b>bold</b><!--EndFragment--></body></html>"),
              "<b>bold</b>");
    for (const char* unmarked : {"<p>no markers</p>", "<!--StartFragment--><p>open</p>", "<p>x</p><!--EndFragment-->", ""})
        EXPECT_EQ(ExtractCfHtmlFragment(unmarked), "") << unmarked;
    const std::string odd("\x00\xFF\xFE<p>", 6);
    EXPECT_EQ(ExtractCfHtmlFragment(std::string(kStartFragmentMarker) + odd + std::string(kEndFragmentMarker)), odd);
}

}  // namespace
}  // namespace qorva
