// The small JSON helpers of the converters: the nesting bound and the direct text writer.
#include "convert/json_guard.h"
#include "convert/json_text.h"
#include "model/model_json.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

TEST(JsonNestingBound, CountsArraysAndObjectsButNotBracketsInStrings) {
    EXPECT_NO_THROW(checkJsonDepth("[[{\"a\":[]}]]", 4));
    EXPECT_THROW(checkJsonDepth("[[{\"a\":[[]]}]]", 4), ConverterError);
    EXPECT_NO_THROW(checkJsonDepth(R"(["[[[[[", "\"[[[[", {"k\\": "{{{{"}])", 2));
}

TEST(JsonNestingBound, TheMessageSaysWhere) {
    try {
        checkJsonDepth("[[[", 2);
        FAIL() << "no error";
    } catch (const ConverterError& e) {
        EXPECT_STREQ(e.what(), "input nested deeper than 2 levels (offset 2)");
    }
}

// Writes one structure with every kind of value and empty containers; text given as
// JSON already (raw) is copied as it is, so only the compact sample has it.
void writeSample(JsonTextWriter& w, bool withRaw) {
    w.beginObject();
    w.key("empty array");
    w.beginArray();
    w.endArray();
    w.key("empty object");
    w.beginObject();
    w.endObject();
    w.key("values");
    w.beginArray();
    w.string("quote \" backslash \\ tab \t control \x01 \xC3\xA9");
    w.number(-3LL);
    w.number(0.08);
    w.number(0.0);
    w.null();
    if (withRaw) w.raw("[1,2]");
    w.beginArray();
    w.beginObject();
    w.key("k");
    w.string("v");
    w.endObject();
    w.endArray();
    w.endArray();
    w.endObject();
}

TEST(JsonTextWriter, CompactAndIndentedLayoutsMatchTheJsonLibrary) {
    JsonTextWriter compact(0), indented(2);
    writeSample(compact, true);
    writeSample(indented, false);
    const std::string compactText = compact.take();
    EXPECT_EQ(compactText, parseJson(compactText).dump());
    const std::string indentedText = indented.take();
    EXPECT_EQ(indentedText, parseJson(indentedText).dump(2));
    EXPECT_NE(compactText.find("[1,2]"), std::string::npos);
}

TEST(JsonTextWriter, BrokenUtf8IsReplacedNotPassedOn) {
    std::string out;
    appendJsonString(out, "a\xFF" "b");
    EXPECT_EQ(out, "\"a\xEF\xBF\xBD" "b\"");
}

}  // namespace
}  // namespace qorva::convert
