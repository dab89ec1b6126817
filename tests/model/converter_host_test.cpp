// The converter host: one door to every converter, the wrap flag's options text and
// the error-slot convention.
#include "src/win/tools/converter_host.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva {
namespace {

const std::string kLongParagraph = R"(["text",["para",{"level":0},["plain",")" + std::string(50, 'a') + " " + std::string(50, 'b') + "\"]]]";

TEST(ConverterHost, WrapFlagSelectsTheOptionsTextAndNonAsciiPassesThrough) {
    EXPECT_EQ(ReadTextFormat("a *b*"), R"(["text",["para",{"level":0},["plain","a "],["emph","b"]]])");
    EXPECT_EQ(WriteTextFormat(kLongParagraph, true), RunConverter(Converter::WriteTextFormat, kLongParagraph, "{\"wrap\":true}", nullptr));
    EXPECT_EQ(WriteTextFormat(kLongParagraph, false), RunConverter(Converter::WriteTextFormat, kLongParagraph, "{\"wrap\":false}", nullptr));
    EXPECT_NE(WriteTextFormat(kLongParagraph, true), WriteTextFormat(kLongParagraph, false));
    // Absent options are the writer's defaults, which escape every listed character.
    EXPECT_EQ(RunConverter(Converter::WriteTextFormat, R"(["text",["para",{"level":0},["plain","a<b"]]])", nullptr, nullptr), "a\\<b\n");
    const std::string input = "Ünïcödé ↩ 😀\n\n-   item";
    EXPECT_EQ(WriteTextFormat(ReadTextFormat(input), true), input + "\n");
}

TEST(ConverterHost, FailureFillsTheSlotWithMessageAndPositionSuccessLeavesItUntouched) {
    std::string error;
    EXPECT_EQ(ReadTextFormat("![](<a.png>) x", &error), "");
    EXPECT_EQ(error, "Expected \"\\n\" or \"\\r\" but \" \" found.");
    error.clear();
    EXPECT_EQ(WriteTextFormat(R"(["html"])", false, &error), "");
    EXPECT_EQ(error, "malformed model: unknown root tag \"html\"");
    // Without a slot a failure is just an empty result.
    EXPECT_EQ(WriteTextFormat("not json", true), "");
    error.clear();
    EXPECT_FALSE(ReadTextFormat("x", &error).empty());
    EXPECT_TRUE(error.empty());
    ConverterFailure failure;
    RunConverterDetailed(Converter::ReadTextFormat, "a\n\n![](<b>)c", nullptr, &failure);
    ASSERT_TRUE(failure.position.has_value());
    EXPECT_EQ(failure.position->offset, 11u);
    EXPECT_EQ(failure.position->line, 3u);
    EXPECT_EQ(failure.position->column, 9u);
    ConverterFailure other;
    RunConverterDetailed(Converter::WriteTextFormat, "[", nullptr, &other);
    EXPECT_FALSE(other.message.empty());
    EXPECT_FALSE(other.position.has_value());
}

TEST(ConverterHostInterchange, AllFiveRunAndAFailureGivesAnEmptyResultAndAMessage) {
    std::string error;
    EXPECT_EQ(WriteHtml(R"(["text",["para",{"level":0},["plain","a"]]])", &error), "<p>a</p>\n");
    EXPECT_EQ(ReadPlainText("x", &error), R"(["inline",["para",{"level":0},["plain","x"]]])");
    EXPECT_EQ(WriteLatex(R"(["inline",["para",{"level":0},["plain","50%"]]])", &error), "50\\%\n");
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Str":"p"}]}]])", &error), R"(["text",["para",{"level":0},["plain","p"]]])");
    // Writer options select the dialect.
    EXPECT_NE(WritePandocJson(R"(["text"])", R"({"api":"1.22"})", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_EQ(WritePandocJson(R"(["text"])", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(WriteHtml("not json", &error), "");
    EXPECT_NE(error.find("invalid JSON"), std::string::npos);
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Math":["Wide","x"]}]}]])", &error), "");
    EXPECT_NE(error.find("unknown math type"), std::string::npos);
    EXPECT_EQ(WritePandocJson(R"(["text"])", R"({"api":"9.9"})", &error), "");
    EXPECT_NE(error.find("unsupported Pandoc API version"), std::string::npos);
    EXPECT_EQ(WriteLatex(R"(["nope"])"), "");
}

}  // namespace
}  // namespace qorva
