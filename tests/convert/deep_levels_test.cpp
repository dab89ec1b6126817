// Levels as deep as the writers accept are written without exhausting the stack;
// deeper ones are refused with a message.
#include "convert/converters.h"
#include "model/json_guard.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

using Writer = std::string (*)(std::string_view, const char*);

std::string deepList(int level) {
    std::string blocks = R"(["text")";
    for (int i = 0; i <= level; ++i) blocks += R"(,["bulleted",{"level":)" + std::to_string(i) + R"(},["plain","x"]])";
    return blocks + R"(,["quote",{"level":)" + std::to_string(level) + R"(},["plain","q"]]])";
}

TEST(DeepLevels, EveryWriterHandlesTheDeepestAcceptedLevelAndRefusesOneMore) {
    const std::string tooDeep = R"(["text",["quote",{"level":)" + std::to_string(kMaxBlockLevel + 1) + R"(},["plain","q"]]])";
    for (Writer write : {static_cast<Writer>(WritePandocJson), static_cast<Writer>(WriteHtml),
                         static_cast<Writer>(WriteLatex)}) {
        EXPECT_FALSE(write(deepList(kMaxBlockLevel), nullptr).empty());
        EXPECT_NE(testing::errorOf([&] { write(tooDeep, nullptr); }).find("beyond the supported"), std::string::npos);
    }
    EXPECT_NO_THROW(parseJson(WritePandocJson(deepList(kMaxBlockLevel), R"({"api":"1.22"})")));
}

}  // namespace
}  // namespace qorva::convert
