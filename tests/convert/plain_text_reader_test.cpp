#include "convert/converters.h"

#include <gtest/gtest.h>

namespace qorva::convert {
namespace {

std::string read(std::string_view text) { return ReadPlainText(text, nullptr); }

TEST(PlainTextReader, OneLineIsAFragmentOfOneUninterpretedSpanMoreAreParagraphsCrLfCountsTwice) {
    EXPECT_EQ(read(""), R"(["inline",["para",{"level":0},["plain",""]]])");
    EXPECT_EQ(read("*x* `y` [z](u)\t"), R"(["inline",["para",{"level":0},["plain","*x* `y` [z](u)\t"]]])");
    EXPECT_EQ(read(std::string("a\x01\"b\\", 5)), R"(["inline",["para",{"level":0},["plain","a\u0001\"b\\"]]])");
    EXPECT_EQ(read("a\rb"), R"(["text",["para",{"level":0},["plain","a"]],["para",{"level":0},["plain","b"]]])");
    EXPECT_EQ(read("a\r\nb\r\n"),
              R"(["text",["para",{"level":0},["plain","a"]],["para",{"level":0},["plain",""]],)"
              R"(["para",{"level":0},["plain","b"]],["para",{"level":0},["plain",""]]])");
    // Leading spaces, non-ASCII and empty lines stay; broken UTF-8 is replaced.
    EXPECT_EQ(read("  \xC3\xA9t\xC3\xA9\n\n\xFF" "b\n"),
              "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"  \xC3\xA9t\xC3\xA9\"]],"
              "[\"para\",{\"level\":0},[\"plain\",\"\"]],[\"para\",{\"level\":0},[\"plain\",\"\xEF\xBF\xBD" "b\"]]]");
}

}  // namespace
}  // namespace qorva::convert
