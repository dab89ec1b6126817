// Bounds that keep hostile input from blowing up the output: writers and readers
// bring levels into the range the editor shows. JSON
// nesting is bounded in each converter's bad-input cases.
#include "convert/converters.h"
#include "model/json_guard.h"
#include "model/level_range.h"
#include "model/model_json.h"
#include "model/text_reader.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

TEST(DeepLevels, WritersBringLevelsIntoTheEditorsRangeAndRefuseThoseBeyondTheLimit) {
    using Writer = std::string (*)(std::string_view, const char*);
    // Levels alternating between 0 and the deepest accepted would open and close hundreds of lists per block.
    std::string alternating = R"(["text")";
    for (int i = 0; i < 100; ++i) {
        const std::string level = std::to_string(i % 2 ? kMaxBlockLevel : 0);
        alternating += R"(,["bulleted",{"level":)" + level + R"(},["plain","x"]],["quote",{"level":)" + level + R"(},["plain","q"]])";
    }
    alternating += "]";
    const std::string tooDeep = R"(["text",["quote",{"level":)" + std::to_string(kMaxBlockLevel + 1) + R"(},["plain","q"]]])";
    for (Writer write : {static_cast<Writer>(WritePandocJson), static_cast<Writer>(WriteHtml), static_cast<Writer>(WriteLatex)}) {
        EXPECT_LT(write(alternating, nullptr).size(), 20 * alternating.size());
        EXPECT_NE(testing::errorOf([&] { write(tooDeep, nullptr); }).find("beyond the supported"), std::string::npos);
    }
    EXPECT_NO_THROW(parseJson(WritePandocJson(alternating, R"({"api":"1.22"})")));
}

// The first block of the model outside its tag's range, or "".
std::string firstOutOfRange(const std::string& modelJson) {
    const Json model = Json::parse(modelJson);
    for (std::size_t i = 1; i < model.size(); ++i) {
        const long level = model[i][1]["level"];
        const LevelRange range = levelRangeOf(model[i][0].get<std::string>());
        if (level < range.lowest || level > range.highest) return model[i].dump();
    }
    return "";
}

std::string indented(const std::string& text) { return std::string(4 * 399, ' ') + text; }

TEST(LevelClamp, TextReaderKeepsEveryKindWithinTheEditorsLevelsAndOutputsStaySmall) {
    std::string text;
    for (const char* block : {"x", "-   item", "1.  item", ">   quote", "//  remark", "[^1]: note", "[l]: <u>", "![](<i.png>)"})
        text += indented(block) + "\n\n";
    text += indented("~~~~") + "\n" + indented("code") + "\n" + indented("~~~~") + "\n\n$$\n" + indented("x^2") + "\n" + indented("$$") + "\n";
    const std::string model = readTextFormat(text);
    EXPECT_EQ(firstOutOfRange(model), "") << model;
    // The code line loses the indentation of its own fence, whatever level it is shown at.
    EXPECT_NE(model.find(R"(["verbatim",{"level":5},["plain","code"]])"), std::string::npos) << model;
    // A small file of deep quotations makes small output.
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += indented(">   q") + "\n\n";
    const std::string quotes = readTextFormat(deep);
    for (const std::string& out :
         {WriteLatex(quotes, nullptr), WritePandocJson(quotes, nullptr), WriteHtml(quotes, nullptr)})
        EXPECT_LT(out.size(), 20 * deep.size());
}

TEST(LevelClamp, PandocReaderKeepsDeepNestingWithinTheEditorsLevels) {
    // Deep quotations are PandocBadInput's moderately deep case.
    std::string list = R"({"Para":[{"Str":"x"}]})";
    for (int i = 0; i < 12; ++i) list = R"({"BulletList":[[{"Plain":[{"Str":"y"}]},)" + list + "]]}";
    const std::string model =
        ReadPandocJson(R"([{"docTitle":[],"docAuthors":[],"docDate":[]},[)" + list + "]]", nullptr);
    EXPECT_EQ(firstOutOfRange(model), "") << model;
    EXPECT_NE(model.find(R"(["bulleted",{"level":4})"), std::string::npos) << model;
}

}  // namespace
}  // namespace qorva::convert
