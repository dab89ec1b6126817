// The five interchange converters as the shell reaches them: through the converter
// host, with the error-slot convention.
#include "src/win/tools/converter_host.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva {
namespace {

TEST(ConverterHostInterchange, AllFiveRunAndSuccessLeavesTheErrorSlotEmpty) {
    std::string error;
    EXPECT_EQ(WriteHtml(R"(["text",["para",{"level":0},["plain","a"]]])", &error), "<p>a</p>\n");
    EXPECT_EQ(ReadPlainText("x", &error), R"(["inline",["para",{"level":0},["plain","x"]]])");
    EXPECT_EQ(WriteLatex(R"(["inline",["para",{"level":0},["plain","50%"]]])", &error), "50\\%\n");
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Str":"p"}]}]])", &error), R"(["text",["para",{"level":0},["plain","p"]]])");
    // Writer options select the dialect.
    EXPECT_NE(WritePandocJson(R"(["text"])", R"({"api":"1.22"})", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_EQ(WritePandocJson(R"(["text"])", &error).find("\"pandoc-api-version\""), std::string::npos);
    EXPECT_TRUE(error.empty()) << error;
}

TEST(ConverterHostInterchange, FailuresGiveAnEmptyResultAndAMessage) {
    std::string error;
    EXPECT_EQ(WriteHtml("not json", &error), "");
    EXPECT_NE(error.find("invalid JSON"), std::string::npos);
    error.clear();
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Math":["Wide","x"]}]}]])", &error), "");
    EXPECT_NE(error.find("unknown math type"), std::string::npos);
    error.clear();
    EXPECT_EQ(WritePandocJson(R"(["text"])", R"({"api":"9.9"})", &error), "");
    EXPECT_NE(error.find("unsupported Pandoc API version"), std::string::npos);
    // Without a slot the caller just gets the empty text.
    EXPECT_EQ(WriteLatex(R"(["nope"])"), "");
}

}  // namespace
}  // namespace qorva
