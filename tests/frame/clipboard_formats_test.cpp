#include "src/win/clipboard/cf_html.h"
#include "src/win/clipboard/clipboard_formats.h"
#include "src/win/document/document_conversion.h"
#include "tools/files/file_io.h"
#include "src/win/view/image_files.h"
#include "tests/frame/document_test_support.h"
#include "tests/frame/temp_folder.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

const PandocProbe kNoPandoc = [] { return std::optional<PandocInstallation>(); };
bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Nothing here reads the envelope's header offsets: what matters is that the fragment comes back whole.
TEST(CfHtml, ExtractGivesBackWhatWasBuiltEvenEmptyAndTheMarkersNotTheHeaderOffsetsDelimitTheFragment) {
    for (const std::string html : {std::string(), std::string("<p>\xC3\xA9t\xC3\xA9 \xE2\x82\xAC</p>\r\n<li>x</li>")})
        EXPECT_EQ(ExtractCfHtmlFragment(BuildCfHtml(html)), html);
    EXPECT_EQ(ExtractCfHtmlFragment("Version:0.9\nStartFragment:9999999999\nEndFragment:0000000001\n"
                                    "<html><body><!--StartFragment--><b>bold</b><!--EndFragment--></body></html>"),
              "<b>bold</b>");
    for (const char* unmarked : {"<p>no markers</p>", "<!--StartFragment--><p>open</p>", "<p>x</p><!--EndFragment-->", ""})
        EXPECT_EQ(ExtractCfHtmlFragment(unmarked), "") << unmarked;
    const std::string odd("\x00\xFF\xFE<p>", 6);
    EXPECT_EQ(ExtractCfHtmlFragment(std::string(kStartFragmentMarker) + odd + std::string(kEndFragmentMarker)), odd);
}

TEST(CopyFormats, CopyWritesModelMarkdownWithCrLfAndEnvelopedHtml) {
    std::string model = TryReadTextFormat("# Head\n\nOne *two*.\n");
    CopyFormats formats = FormatsForCopy(model);
    ASSERT_TRUE(formats.text);
    EXPECT_TRUE(formats.text->starts_with("Head\r\n")) << *formats.text;
    ASSERT_TRUE(formats.cfHtml);
    EXPECT_EQ(*formats.cfHtml, BuildCfHtml(TryWriteHtml(model)));
    EXPECT_EQ(TextForCopyAsHtml(model), ToCrLf(TryWriteHtml(model)));
    formats = FormatsForCopy(R"(["text",["para",{"level":0},["plain","one"],["break","\n"],["plain","two"]]])");
    ASSERT_TRUE(formats.text);
    EXPECT_TRUE(Has(*formats.text, "one") && formats.text->find('\n') == formats.text->find("\r\n") + 1) << *formats.text;
    // Converters that fail leave their format out.
    formats = FormatsForCopy("not model json");
    EXPECT_EQ(formats.model, "not model json");
    EXPECT_FALSE(formats.text);
    EXPECT_FALSE(formats.cfHtml);
}

TEST(PasteChoice, OwnModelWinsWithoutAskingForPandocEmptyFormatsCountAsMissingAndWithoutPandocTheTextIsTaken) {
    int probes = 0;
    PandocProbe counting = [&probes] { return ++probes, UsablePandoc(); };
    EXPECT_EQ(ModelForPaste({std::string("[\"inline\"]"), std::string("<p>html</p>"), std::string("text")}, counting),
              "[\"inline\"]");
    EXPECT_EQ(ModelForPasteMultiMarkdown(std::nullopt, counting), "") << "no text, no Pandoc run";
    EXPECT_EQ(probes, 0);
    EXPECT_TRUE(Has(ModelForPaste({std::string(""), std::string(""), std::string("plain words")}, kNoPandoc),
                    "plain words"));
    // Without Pandoc HTML falls back to the text as it is, and nothing usable gives nothing.
    std::string model = ModelForPaste({std::nullopt, std::string("<h1>Big</h1>"), std::string("# Big")}, kNoPandoc);
    EXPECT_TRUE(Has(model, "# Big")) << model;
    EXPECT_FALSE(Has(model, "\"heading\"")) << model;
    EXPECT_EQ(ModelForPaste({}, kNoPandoc), "");
    EXPECT_EQ(ModelForPaste({std::nullopt, std::string("<img src=x>"), std::nullopt}, kNoPandoc), "");
    EXPECT_EQ(ModelForPasteMultiMarkdown(std::string("# Word"), kNoPandoc), "");
}

TEST(PasteChoice, HtmlAndMultiMarkdownGoThroughPandocAndKeepStructure) {
    ASSERT_TRUE(UsablePandoc()) << "every converter is plugged in";
    std::string model = ModelForPaste({std::nullopt, std::string("<h1>Big</h1><p>an <em>emphasised</em> word</p>"), std::string("Big")});
    EXPECT_TRUE(Has(model, "\"heading\"") && Has(model, "\"emph\"")) << model;
    model = ModelForPasteMultiMarkdown(std::string("# Word\n\nsome *text*\n"));
    EXPECT_TRUE(Has(model, "\"heading\"")) << model;
}

// A pasted picture goes to images/ (made 0755) under a new name, never over a
// file there, and never through a link in place of the folder.
TEST(PastedPictures, NewNamesInTheImagesFolderAndNoneThroughALink) {
    testing::TempFolder doc;
    EXPECT_EQ(SaveIntoImagesFolder(doc.path(), "image", ".png", 1, "one"), "images/image-1.png");
    EXPECT_EQ(std::filesystem::status(doc / "images").permissions(), std::filesystem::perms(0755));
    doc.Write("images/image-2.png", "kept");
    EXPECT_EQ(SaveIntoImagesFolder(doc.path(), "image", ".png", 1, "two"), "images/image-3.png");
    EXPECT_EQ(testing::ReadFileBytes(doc / "images/image-2.png") + testing::ReadFileBytes(doc / "images/image-3.png"),
              "kepttwo");
    testing::TempFolder linked;
    std::filesystem::create_directory_symlink(doc.path(), linked / "images");
    EXPECT_THROW(SaveIntoImagesFolder(linked.path(), "image", ".png", 1, "x"), FileError);
    EXPECT_EQ(testing::FolderEntries(doc / "images"), (std::vector<std::string>{"image-1.png", "image-2.png", "image-3.png"}));
}

}  // namespace
}  // namespace qorva
