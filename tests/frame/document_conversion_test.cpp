#include "src/win/document_conversion.h"
#include "tests/frame/document_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

TEST(FileBytesAsText, ValidUtf8PassesAndZeroBytesAndInvalidSequencesBecomeReplacementCharacters) {
    const std::string text = "# T\xC3\xADtulo \xE2\x82\xAC \xF0\x9F\x98\x80\r\nline\n";
    EXPECT_EQ(FileBytesAsText(text), text);
    EXPECT_EQ(FileBytesAsText(std::string("ab\0cd", 5)), "ab\xEF\xBF\xBD" "cd");
    EXPECT_EQ(FileBytesAsText("a\xFFz"), "a\xEF\xBF\xBDz");
    // A sequence cut off by the end of the file is replaced too (one mark or more).
    EXPECT_TRUE(FileBytesAsText("cut \xE2\x82").starts_with("cut \xEF\xBF\xBD"));
}

TEST(ToCrLf, EveryLineFeedGetsACarriageReturn) {
    EXPECT_EQ(ToCrLf("a\nb\n\nc"), "a\r\nb\r\n\r\nc");
    EXPECT_EQ(ToCrLf(""), "");
}

TEST(ConvertDocument, FailuresAreToldApartAndGiveNoText) {
    PandocInstallation missing{.location = "/nonexistent/pandoc", .version = "2.17.1.1", .jsonApi = "1.22"};
    ConversionResult result = ReadDocument("text", DocumentFormat::PandocMarkdown, missing);
    EXPECT_EQ(result.failure, ConversionResult::Failure::Pandoc);
    EXPECT_FALSE(result.pandocMessage.empty());
    EXPECT_TRUE(result.text.empty());
    result = WriteDocument("{not a model", DocumentFormat::QorvaMarkdown, false, {});
    EXPECT_EQ(result.failure, ConversionResult::Failure::Converter);
    EXPECT_TRUE(result.text.empty());
}

TEST(ConvertDocument, EachPandocFlavourWritesAndReadsBack) {
    PandocInstallation pandoc = DetectPandoc();
    ASSERT_TRUE(pandoc.usable()) << "every converter is plugged in";
    std::string model = TryReadTextFormat("# Head\n\nSome *emphasis* here.\n");
    for (DocumentFormat format :
         {DocumentFormat::PandocMarkdown, DocumentFormat::MultiMarkdown, DocumentFormat::GitHubMarkdown}) {
        ConversionResult written = WriteDocument(model, format, false, pandoc);
        ASSERT_TRUE(written.ok()) << written.pandocMessage;
        EXPECT_NE(written.text.find("# Head"), std::string::npos) << written.text;
        EXPECT_NE(written.text.find("*emphasis*"), std::string::npos) << written.text;
        ConversionResult read = ReadDocument(written.text, format, pandoc);
        ASSERT_TRUE(read.ok()) << read.pandocMessage;
        EXPECT_TRUE(read.text.starts_with("[\"text\"")) << read.text;
        EXPECT_NE(read.text.find("emphasis"), std::string::npos);
    }
}

}  // namespace
}  // namespace qorva
