// Malformed Pandoc JSON: a clear ConverterError, never a crash.
#include "convert/converters.h"
#include "model/model_json.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

std::string errorOf(const std::string& input) {
    try {
        ReadPandocJson(input, nullptr);
    } catch (const ConverterError& e) {
        return e.what();
    }
    return "(no error)";
}

std::string nestedBlockQuotes(int depth, bool currentForm) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += currentForm ? R"({"t":"BlockQuote","c":[)" : R"({"BlockQuote":[)";
    text += currentForm ? R"({"t":"Para","c":[{"t":"Str","c":"deep"}]})" : R"({"Para":[{"Str":"deep"}]})";
    for (int i = 0; i < depth; ++i) text += "]}";
    return text;
}

TEST(PandocBadInput, NotJsonIsReportedAsInvalidJson) {
    EXPECT_NE(errorOf("[{\"docTitle\":[]").find("invalid JSON"), std::string::npos);
    EXPECT_NE(errorOf("").find("invalid JSON"), std::string::npos);
    EXPECT_NE(errorOf("\xFF\xFE[]").find("invalid JSON"), std::string::npos);
}

TEST(PandocBadInput, WrongDocumentShapes) {
    EXPECT_NE(errorOf("42").find("malformed Pandoc JSON"), std::string::npos);
    EXPECT_NE(errorOf("[{},[],[]]").find("not [metadata, blocks]"), std::string::npos);
    EXPECT_NE(errorOf(R"([{},{"Para":[]}])").find("not an array"), std::string::npos);
}

TEST(PandocBadInput, ElementWithTwoKeysIsAnError) {
    EXPECT_NE(errorOf(R"([{},[{"Para":[],"Plain":[]}]])").find("exactly one key"), std::string::npos);
}

TEST(PandocBadInput, UnknownMathTypeIsAnError) {
    EXPECT_NE(errorOf(R"([{},[{"Para":[{"Math":["WideMath","x"]}]}]])").find("unknown math type"), std::string::npos);
}

TEST(PandocBadInput, KnownConstructorsWithWrongContentsNameTheConstructor) {
    EXPECT_NE(errorOf(R"([{},[{"Header":"x"}]])").find("Header"), std::string::npos);
    EXPECT_NE(errorOf(R"([{},[{"CodeBlock":[["",[],[]]]}]])").find("CodeBlock"), std::string::npos);
    EXPECT_NE(errorOf(R"([{},[{"Para":[{"Str":5}]}]])").find("Str"), std::string::npos);
    EXPECT_NE(errorOf(R"([{},[{"Para":[{"Link":[[],[]]}]}]])").find("link target"), std::string::npos);
    EXPECT_NE(errorOf(R"({"pandoc-api-version":[1,22],"meta":{},"blocks":[{"c":[]}]})").find("\"t\""),
              std::string::npos);
    EXPECT_NE(errorOf(R"({"pandoc-api-version":[1,22],"meta":{},"blocks":[{"t":"Table","c":[1,2]}]})")
                  .find("Table"),
              std::string::npos);
}

TEST(PandocBadInput, UnknownConstructorsAreSkipped) {
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Future":[1]},{"Para":[{"Future":"x"},{"Str":"kept"}]}]])", nullptr),
              R"(["text",["para",{"level":0},["plain","kept"]]])");
}

TEST(PandocBadInput, TenThousandNestedQuotationsAreRefusedNotOverflowed) {
    for (bool current : {false, true}) {
        const std::string blocks = "[" + nestedBlockQuotes(10000, current) + "]";
        const std::string doc = current ? R"({"pandoc-api-version":[1,22],"meta":{},"blocks":)" + blocks + "}"
                                        : "[{}," + blocks + "]";
        EXPECT_NE(errorOf(doc).find("nested deeper than"), std::string::npos);
    }
}

TEST(PandocBadInput, BracketsInsideStringsDoNotCountAsNesting) {
    const std::string brackets(5000, '[');
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Str":")" + brackets + R"("}]}]])", nullptr),
              R"(["text",["para",{"level":0},["plain",")" + brackets + R"("]]])");
}

TEST(PandocBadInput, ModeratelyDeepQuotationsAreRead) {
    const std::string model = ReadPandocJson("[{},[" + nestedBlockQuotes(300, false) + "]]", nullptr);
    EXPECT_EQ(model, R"(["text",["quote",{"level":299},["plain","deep"]]])");
}

}  // namespace
}  // namespace qorva::convert
