// The small JSON helpers of the converters: the nesting bound and the direct text writer.
#include "model/json_guard.h"
#include "convert/json_text.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

TEST(JsonNestingBound, CountsArraysAndObjectsButNotBracketsInStringsAndSaysWhere) {
    EXPECT_NO_THROW(checkJsonDepth("[[{\"a\":[]}]]", 4));
    EXPECT_THROW(checkJsonDepth("[[{\"a\":[[]]}]]", 4), ConverterError);
    EXPECT_NO_THROW(checkJsonDepth(R"(["[[[[[", "\"[[[[", {"k\\": "{{{{"}])", 2));
    EXPECT_EQ(testing::errorOf([] { checkJsonDepth("[[[", 2); }), "input nested deeper than 2 levels (offset 2)");
}

// The writer's layout is checked wherever converter output is compared.
TEST(JsonTextWriter, BrokenUtf8IsReplacedNotPassedOn) {
    std::string out;
    appendJsonStringReplacingBrokenUtf8(out, "a\xFF" "b");
    EXPECT_EQ(out, "\"a\xEF\xBF\xBD" "b\"");
}

}  // namespace
}  // namespace qorva::convert
