#include "src/win/cf_html.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(CfHtmlBuild, HeaderIsFixedAndFragmentFollowsWithoutLineEnd) {
    EXPECT_EQ(BuildCfHtml("<p>Hi</p>"),
              "Version:0.9\nStartHTML:-1\nEndHTML:-1\nStartFragment:0000000104\nEndFragment:0000000113\n"
              "<!--StartFragment--><p>Hi</p><!--EndFragment-->");
    const std::string envelope = BuildCfHtml("a<!--EndFragment-->b");
    EXPECT_NE(envelope.find("EndFragment:0000000105\n"), std::string::npos);
}

TEST(CfHtmlBuild, OffsetsPointAtTheFragmentInBytes) {
    for (const std::string html : {std::string(), std::string("<p>\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</p>\n<ul>\n<li>x</li>\n</ul>")}) {
        const std::string envelope = BuildCfHtml(html);
        const size_t start = std::stoul(envelope.substr(envelope.find("StartFragment:") + 14, 10));
        const size_t end = std::stoul(envelope.substr(envelope.find("EndFragment:") + 12, 10));
        EXPECT_EQ(start, 104u);
        EXPECT_EQ(end, 104u + html.size());
        EXPECT_EQ(envelope.substr(start, end - start), html);
    }
}

TEST(CfHtmlExtract, ReturnsWhatBuildWrapped) {
    for (std::string html : {"", "<p>x</p>", "<h1>T\xC3\xBCtel</h1>\r\n<p>a &amp; b</p>"}) {
        EXPECT_EQ(ExtractCfHtmlFragment(BuildCfHtml(html)), html);
    }
}

TEST(CfHtmlExtract, TheMarkersNotTheHeaderOffsetsDelimitTheFragment) {
    EXPECT_EQ(ExtractCfHtmlFragment("Version:0.9\nStartFragment:9999999999\nEndFragment:0000000001\n"
                                    "<html><body><!--StartFragment--><b>bold</b><!--EndFragment--></body></html>"),
              "<b>bold</b>");
    EXPECT_EQ(ExtractCfHtmlFragment("<p>no markers</p>"), "");
    EXPECT_EQ(ExtractCfHtmlFragment("<!--StartFragment--><p>open</p>"), "");
    EXPECT_EQ(ExtractCfHtmlFragment("<p>x</p><!--EndFragment-->"), "");
    EXPECT_EQ(ExtractCfHtmlFragment(""), "");
    const std::string odd("\x00\xFF\xFE<p>", 6);
    EXPECT_EQ(ExtractCfHtmlFragment(std::string(kStartFragmentMarker) + odd + std::string(kEndFragmentMarker)), odd);
}

}  // namespace
}  // namespace qorva
