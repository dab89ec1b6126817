#include "src/win/document_conversion.h"
#include "tests/frame/document_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(FileBytesAsText, ValidUtf8PassesUnchanged) {
    const std::string text = "# T\xC3\xADtulo \xE2\x82\xAC \xF0\x9F\x98\x80\r\nline\n";
    EXPECT_EQ(FileBytesAsText(text), text);
}

TEST(FileBytesAsText, AZeroByteBecomesAReplacementCharacterAndTheRestStays) {
    EXPECT_EQ(FileBytesAsText(std::string("ab\0cd", 5)), "ab\xEF\xBF\xBD" "cd");
    EXPECT_EQ(FileBytesAsText(std::string("\0\0", 2)), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(FileBytesAsText, InvalidSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(FileBytesAsText("a\xFFz"), "a\xEF\xBF\xBDz");
    // A sequence cut off by the end of the file is replaced too (one mark or more).
    EXPECT_TRUE(FileBytesAsText("cut \xE2\x82").starts_with("cut \xEF\xBF\xBD"));
    std::string latin1 = "caf\xE9 ok";
    EXPECT_NE(FileBytesAsText(latin1).find(" ok"), std::string::npos);
}

TEST(ToCrLf, EveryLineFeedGetsACarriageReturn) {
    EXPECT_EQ(ToCrLf("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(ToCrLf(""), "");
    EXPECT_EQ(ToCrLf("no line end"), "no line end");
}

TEST(ReadDocument, NativeTextGivesModelJson) {
    ConversionResult result = ReadDocument("# Head\n\ntext\n", DocumentFormat::QorvaMarkdown, {});
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.text.starts_with("[\"text\"")) << result.text;
}

TEST(ReadDocument, PandocThatCannotStartIsAPandocFailureWithAReason) {
    PandocInstallation missing;
    missing.location = "/nonexistent/pandoc";
    missing.version = "2.17.1.1";
    missing.jsonApi = "1.22";
    ConversionResult result = ReadDocument("text", DocumentFormat::PandocMarkdown, missing);
    EXPECT_EQ(result.failure, ConversionResult::Failure::Pandoc);
    EXPECT_FALSE(result.pandocMessage.empty());
    EXPECT_TRUE(result.text.empty());
}

TEST(WriteDocument, NativeTextEndsLinesWithCrLf) {
    std::string model = ReadTextFormat("# Head\n\ntext\n");
    ConversionResult result = WriteDocument(model, DocumentFormat::QorvaMarkdown, false, {});
    ASSERT_TRUE(result.ok());
    EXPECT_NE(result.text.find("\r\n"), std::string::npos);
    EXPECT_EQ(result.text.find("\n\n"), std::string::npos);
}

TEST(WriteDocument, BrokenModelIsAConverterFailure) {
    ConversionResult result = WriteDocument("{not a model", DocumentFormat::QorvaMarkdown, false, {});
    EXPECT_EQ(result.failure, ConversionResult::Failure::Converter);
    EXPECT_TRUE(result.text.empty());
}

TEST(WriteDocument, EachPandocFlavourWritesThroughTheRealPandoc) {
    PandocInstallation pandoc = DetectPandoc();
    if (!pandoc.usable()) GTEST_SKIP() << "Pandoc not installed";
    std::string model = ReadTextFormat("# Head\n\nSome *emphasis* here.\n");
    for (DocumentFormat format :
         {DocumentFormat::PandocMarkdown, DocumentFormat::MultiMarkdown, DocumentFormat::GitHubMarkdown}) {
        ConversionResult written = WriteDocument(model, format, false, pandoc);
        ASSERT_TRUE(written.ok()) << written.pandocMessage;
        EXPECT_NE(written.text.find("# Head"), std::string::npos) << written.text;
        EXPECT_NE(written.text.find("*emphasis*"), std::string::npos) << written.text;
        ConversionResult read = ReadDocument(written.text, format, pandoc);
        ASSERT_TRUE(read.ok()) << read.pandocMessage;
        EXPECT_NE(read.text.find("emphasis"), std::string::npos);
    }
}

}  // namespace
}  // namespace qorva
