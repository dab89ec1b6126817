// The converter host: one door to every converter, the wrap flag's options text and
// the error-slot convention. The command-line suite runs the same door with absent
// options and pins a syntax error's message and position.
#include "tools/converter_host/converter_host.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva {
namespace {

TEST(ConverterHost, WrapFlagSelectsTheOptionsTextFailureFillsTheSlotSuccessLeavesItUntouched) {
    const std::string words = std::string(50, 'a') + " " + std::string(50, 'b');
    const std::string model = R"(["text",["para",{"level":0},["plain",")" + words + "\"]]]";
    for (bool wrap : {true, false}) {
        const char* options = wrap ? "{\"wrap\":true}" : "{\"wrap\":false}";
        EXPECT_EQ(TryWriteTextFormat(model, wrap), RunConverter(Converter::WriteTextFormat, model, options, nullptr));
    }
    EXPECT_NE(TryWriteTextFormat(model, true), TryWriteTextFormat(model, false));
    const std::string input = "Ünïcödé ↩ 😀\n\n-   item";
    EXPECT_EQ(TryWriteTextFormat(TryReadTextFormat(input), true), input + "\n");
    // A failure fills the error slot with the message; success leaves it untouched.
    std::string error = "untouched";
    EXPECT_EQ(TryReadTextFormat("a *b*", &error), R"(["text",["para",{"level":0},["plain","a "],["emph","b"]]])");
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(TryWriteTextFormat(R"(["html"])", false, &error), "");
    EXPECT_EQ(error, "malformed model: unknown root tag \"html\"");
    EXPECT_EQ(TryWriteTextFormat("not json", true), "") << "without a slot a failure is just an empty result";
    ConverterFailure failure;
    RunConverterDetailed(Converter::WriteTextFormat, "[", nullptr, &failure);
    EXPECT_FALSE(failure.message.empty());
    EXPECT_FALSE(failure.position.has_value()) << "only syntax errors have a position";
}

TEST(ConverterHostInterchange, AllFiveRunAndAFailureGivesAnEmptyResultAndAMessage) {
    std::string error;
    EXPECT_EQ(TryWriteHtml(R"(["text",["para",{"level":0},["plain","a"]]])", &error), "<p>a</p>\n");
    EXPECT_EQ(TryReadPlainText("x", &error), R"(["inline",["para",{"level":0},["plain","x"]]])");
    EXPECT_EQ(TryWriteLatex(R"(["inline",["para",{"level":0},["plain","50%"]]])", &error), "50\\%\n");
    EXPECT_EQ(TryReadPandocJson(R"([{},[{"Para":[{"Str":"p"}]}]])", &error), R"(["text",["para",{"level":0},["plain","p"]]])");
    EXPECT_NE(TryWritePandocJson(R"(["text"])", R"({"api":"1.22"})", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_EQ(TryWritePandocJson(R"(["text"])", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(TryWriteHtml("not json", &error), "");
    EXPECT_NE(error.find("invalid JSON"), std::string::npos);
}

}  // namespace
}  // namespace qorva
