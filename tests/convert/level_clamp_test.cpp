// Readers bring block levels into the range the editor shows, so deep indentation or
// nesting in a small file cannot make every writer's output explode.
#include "convert/converters.h"
#include "model/level_range.h"
#include "model/model_json.h"
#include "model/text_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

// Every block of the model within its tag's range; the first one outside, or "".
std::string firstOutOfRange(const std::string& modelJson) {
    const Json model = Json::parse(modelJson);
    for (std::size_t i = 1; i < model.size(); ++i) {
        const std::string tag = model[i][0];
        const long level = model[i][1]["level"];
        const LevelRange range = levelRangeOf(tag);
        if (level < range.lowest || level > range.highest) return model[i].dump();
    }
    return "";
}

std::string indented(int levels, const std::string& text) { return std::string(4 * levels, ' ') + text; }

TEST(LevelClamp, TextReaderKeepsEveryKindWithinTheEditorsLevels) {
    const int deep = 399;
    const std::string text = indented(deep, "x") + "\n\n" + indented(deep, "-   item") + "\n\n" +
                             indented(deep, "1.  item") + "\n\n" + indented(deep, ">   quote") + "\n\n" +
                             indented(deep, "//  remark") + "\n\n" + indented(deep, "[^1]: note") + "\n\n" +
                             indented(deep, "[l]: <u>") + "\n\n" + indented(deep, "![](<i.png>)") + "\n\n" +
                             indented(deep, "~~~~") + "\n" + indented(deep, "code") + "\n" + indented(deep, "~~~~") +
                             "\n\n$$\n" + indented(deep, "x^2") + "\n" + indented(deep, "$$") + "\n";
    const std::string model = readTextFormat(text);
    EXPECT_EQ(firstOutOfRange(model), "") << model;
    // The code line loses the indentation of its own fence, whatever level it is shown at.
    EXPECT_NE(model.find(R"(["verbatim",{"level":5},["plain","code"]])"), std::string::npos) << model;
}

TEST(LevelClamp, SmallFileOfDeepQuotationsMakesSmallOutput) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += indented(399, ">   q") + "\n\n";
    const std::string model = readTextFormat(text);
    for (const std::string& out : {WriteLatex(model, nullptr), WritePandocJson(model, nullptr), WriteHtml(model, nullptr)})
        EXPECT_LT(out.size(), 20 * text.size());
}

TEST(LevelClamp, PandocReaderKeepsDeepNestingWithinTheEditorsLevels) {
    std::string list = R"({"Para":[{"Str":"x"}]})", quotes = list;
    for (int i = 0; i < 12; ++i) {
        list = R"({"BulletList":[[{"Plain":[{"Str":"y"}]},)" + list + "]]}";
        quotes = R"({"BlockQuote":[)" + quotes + "]}";
    }
    const std::string doc = R"([{"docTitle":[],"docAuthors":[],"docDate":[]},[)" + list + "," + quotes + "]]";
    const std::string model = ReadPandocJson(doc, nullptr);
    EXPECT_EQ(firstOutOfRange(model), "") << model;
    EXPECT_NE(model.find(R"(["bulleted",{"level":4})"), std::string::npos) << model;
    EXPECT_NE(model.find(R"(["quote",{"level":4})"), std::string::npos) << model;
}

}  // namespace
}  // namespace qorva::convert
