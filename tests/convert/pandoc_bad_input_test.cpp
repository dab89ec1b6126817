// Malformed Pandoc JSON: a clear ConverterError, never a crash.
#include "convert/converters.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

std::string errorOf(const std::string& input) {
    return testing::errorOf([&] { ReadPandocJson(input, nullptr); });
}

std::string nestedBlockQuotes(int depth, bool currentForm) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += currentForm ? R"({"t":"BlockQuote","c":[)" : R"({"BlockQuote":[)";
    text += currentForm ? R"({"t":"Para","c":[{"t":"Str","c":"deep"}]})" : R"({"Para":[{"Str":"deep"}]})";
    for (int i = 0; i < depth; ++i) text += "]}";
    return text;
}

// Each input and a part of the message it must give.
TEST(PandocBadInput, EachFaultIsNamed) {
    const std::pair<std::string, const char*> cases[] = {
        {"[{\"docTitle\":[]", "invalid JSON"},
        {"\xFF\xFE[]", "invalid JSON"},
        {"42", "malformed Pandoc JSON"},
        {"[{},[],[]]", "not [metadata, blocks]"},
        {R"([{},{"Para":[]}])", "not an array"},
        {R"([{},[{"Para":[],"Plain":[]}]])", "exactly one key"},
        {R"([{},[{"Para":[{"Math":["WideMath","x"]}]}]])", "unknown math type"},
        // Known constructors with wrong contents name the constructor.
        {R"([{},[{"Header":"x"}]])", "Header"},
        {R"([{},[{"CodeBlock":[["",[],[]]]}]])", "CodeBlock"},
        {R"([{},[{"Para":[{"Str":5}]}]])", "Str"},
        {R"([{},[{"Para":[{"Link":[[],[]]}]}]])", "link target"},
        {R"({"pandoc-api-version":[1,22],"meta":{},"blocks":[{"c":[]}]})", "\"t\""},
        {R"({"pandoc-api-version":[1,22],"meta":{},"blocks":[{"t":"Table","c":[1,2]}]})", "Table"},
    };
    for (const auto& [input, fragment] : cases) EXPECT_NE(errorOf(input).find(fragment), std::string::npos) << input;
}

TEST(PandocBadInput, TenThousandNestedQuotationsAreRefusedModeratelyDeepOnesAndBracketsInStringsRead) {
    for (bool current : {false, true}) {
        const std::string blocks = "[" + nestedBlockQuotes(10000, current) + "]";
        const std::string doc = current ? R"({"pandoc-api-version":[1,22],"meta":{},"blocks":)" + blocks + "}"
                                        : "[{}," + blocks + "]";
        EXPECT_NE(errorOf(doc).find("nested deeper than"), std::string::npos);
    }
    const std::string brackets(5000, '[');
    EXPECT_EQ(ReadPandocJson(R"([{},[{"Para":[{"Str":")" + brackets + R"("}]}]])", nullptr),
              R"(["text",["para",{"level":0},["plain",")" + brackets + R"("]]])");
    const std::string model = ReadPandocJson("[{},[" + nestedBlockQuotes(300, false) + "]]", nullptr);
    EXPECT_EQ(model, R"(["text",["quote",{"level":4},["plain","deep"]]])");
}

}  // namespace
}  // namespace qorva::convert
