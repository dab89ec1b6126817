#include "src/win/cf_html.h"
#include "src/win/clipboard_formats.h"
#include "src/win/document_conversion.h"
#include "tests/frame/document_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

const PandocProbe kNoPandoc = [] { return std::optional<PandocInstallation>(); };

PandocProbe CountingProbe(int& calls) {
    return [&calls] {
        ++calls;
        return UsablePandoc();
    };
}

TEST(CopyFormats, CopyWritesModelMarkdownWithCrLfAndEnvelopedHtml) {
    std::string model = ReadTextFormat("# Head\n\nOne *two*.\n");
    CopyFormats formats = FormatsForCopy(model);
    EXPECT_EQ(formats.model, model);
    ASSERT_TRUE(formats.text);
    EXPECT_TRUE(formats.text->starts_with("Head\r\n")) << *formats.text;
    ASSERT_TRUE(formats.cfHtml);
    EXPECT_EQ(*formats.cfHtml, BuildCfHtml(WriteHtml(model)));
}

TEST(CopyFormats, ALineBreakGivesCrLfInTheText) {
    const std::string model = R"(["text",["para",{"level":0},["plain","one"],["break","\n"],["plain","two"]]])";
    CopyFormats formats = FormatsForCopy(model);
    ASSERT_TRUE(formats.text);
    EXPECT_NE(formats.text->find("one"), std::string::npos);
    EXPECT_EQ(formats.text->find('\n'), formats.text->find("\r\n") + 1) << *formats.text;
}

TEST(CopyFormats, ConvertersThatFailLeaveTheirFormatOut) {
    CopyFormats formats = FormatsForCopy("not model json");
    EXPECT_EQ(formats.model, "not model json");
    EXPECT_FALSE(formats.text);
    EXPECT_FALSE(formats.cfHtml);
}

TEST(CopyFormats, CopyAsHtmlGivesTheHtmlSourceWithCrLf) {
    std::string model = ReadTextFormat("# Head\n\npara\n");
    std::optional<std::string> text = TextForCopyAsHtml(model);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("<h1"), std::string::npos);
    EXPECT_EQ(*text, ToCrLf(WriteHtml(model)));
}

TEST(PasteChoice, OwnModelWinsWithoutAskingForPandoc) {
    int probes = 0;
    ClipboardOffer offer{std::string("[\"inline\"]"), std::string("<p>html</p>"), std::string("text")};
    EXPECT_EQ(ModelForPaste(offer, CountingProbe(probes)), "[\"inline\"]");
    EXPECT_EQ(probes, 0);
}

TEST(PasteChoice, EmptyFormatsCountAsMissing) {
    ClipboardOffer offer{std::string(""), std::string(""), std::string("plain words")};
    std::string model = ModelForPaste(offer, kNoPandoc);
    EXPECT_NE(model.find("plain words"), std::string::npos) << model;
}

TEST(PasteChoice, HtmlGoesThroughPandocAndKeepsStructure) {
    if (!UsablePandoc()) GTEST_SKIP() << "Pandoc not installed";
    ClipboardOffer offer{std::nullopt, std::string("<h1>Big</h1><p>an <em>emphasised</em> word</p>"),
                         std::string("Big an emphasised word")};
    std::string model = ModelForPaste(offer);
    EXPECT_NE(model.find("\"heading\""), std::string::npos) << model;
    EXPECT_NE(model.find("\"emph\""), std::string::npos) << model;
}

TEST(PasteChoice, WithoutPandocHtmlFallsBackToTheText) {
    ClipboardOffer offer{std::nullopt, std::string("<h1>Big</h1>"), std::string("# Big")};
    std::string model = ModelForPaste(offer, kNoPandoc);
    EXPECT_NE(model.find("# Big"), std::string::npos) << "characters kept as they are: " << model;
}

TEST(PasteChoice, NothingUsableGivesNothing) {
    EXPECT_EQ(ModelForPaste({}, kNoPandoc), "");
    EXPECT_EQ(ModelForPaste({std::nullopt, std::string("<img src=x>"), std::nullopt}, kNoPandoc), "");
}

TEST(PasteAsMarkdown, QorvaFormatReadsANumberSignLineAsAHeading) {
    std::string asMarkdown = ModelForPasteQorvaFormat(std::string("# Word"));
    EXPECT_NE(asMarkdown.find("\"heading\""), std::string::npos) << asMarkdown;
    std::string plain = ModelForPaste({std::nullopt, std::nullopt, std::string("# Word")}, kNoPandoc);
    EXPECT_EQ(plain.find("\"heading\""), std::string::npos) << plain;
    EXPECT_NE(plain.find("# Word"), std::string::npos) << plain;
    EXPECT_EQ(ModelForPasteQorvaFormat(std::nullopt), "");
    EXPECT_EQ(ModelForPasteQorvaFormat(std::string()), "");
}

TEST(PasteAsMarkdown, MultiMarkdownNeedsPandoc) {
    EXPECT_EQ(ModelForPasteMultiMarkdown(std::string("# Word"), kNoPandoc), "");
    int probes = 0;
    EXPECT_EQ(ModelForPasteMultiMarkdown(std::nullopt, CountingProbe(probes)), "");
    EXPECT_EQ(probes, 0) << "no text, no Pandoc run";
}

TEST(PasteAsMarkdown, MultiMarkdownThroughTheRealPandoc) {
    if (!UsablePandoc()) GTEST_SKIP() << "Pandoc not installed";
    std::string model = ModelForPasteMultiMarkdown(std::string("# Word\n\nsome *text*\n"));
    EXPECT_NE(model.find("\"heading\""), std::string::npos) << model;
}

}  // namespace
}  // namespace qorva
