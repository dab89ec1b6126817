// Content that looks like the format's own mark-up reads back as what it was: code
// lines that look like fences, "$$" lines in math, bars in table cells, indented lines
// after a break in a quotation, an empty link target. Each case is written wrapped and
// unwrapped.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

struct Case {
    const char* name;
    std::string blocks;  // the document without its root
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::string k80(80, '~');

const Case kCases[] = {
    {"CodeLineOfFourTildes", R"j(["verbatim",{"level":0},["plain","~~~~"],["break","\n"],["plain","x"]])j"},
    {"CodeLineAsLongAsTheFence", R"j(["verbatim",{"level":0},["plain",")j" + k80 + R"j("]])j"},
    {"CodeLineLongerThanTheFence", R"j(["verbatim",{"level":1},["plain",")j" + k80 + "~~~" + R"j("]])j"},
    {"IndentedFenceLineInDeepCode", R"j(["verbatim",{"level":5},["plain","        ~~~~~~~~"],["break","\n"],["plain","~~~~ x"]])j"},
    {"RightToLeftCodeWithFenceLine", R"j(["verbatim",{"level":2,"direction":"rtl"},["plain","~~~~~~~~"]])j"},
    {"MathLineOfTwoDollars", R"j(["formula",{"level":0},["plain","a"],["break","\n"],["plain","$$"],["break","\n"],["plain","b"]])j"},
    {"MathLinesOfManyDollars", R"j(["formula",{"level":3},["plain","$$$"],["break","\n"],["plain","    $$"]])j"},
    {"ParagraphOfDollarsOnly", R"j(["para",{"level":0},["plain","$$$"]])j"},
    {"BarInACell", R"j(["row",{"level":1},["plain","a|b"]],["col",{"level":2},["code","|"]])j"},
    {"BackslashBeforeABarInACell", R"j(["row",{"level":1},["plain","a\\|b c\\"]],["col",{"level":2},["plain","||"]])j"},
    {"IndentedLineAfterABreakInAQuotation",
     R"j(["quote",{"level":0},["plain","listing:"],["break","\n"],["plain","    indented"],["break","\n"],["plain","  two"]])j"},
    {"IndentedLineInADeepRightToLeftComment",
     R"j(["comment",{"level":2,"direction":"rtl"},["plain","a"],["break","\n"],["plain","   b"]])j"},
    {"QuotationStartingWithSpaces", R"j(["quote",{"level":1},["plain","  a"]])j"},
    {"QuotationWithAnEmptyLine", R"j(["quote",{"level":0},["plain","a"],["break","\n"],["break","\n"],["plain","b"]])j"},
    {"QuotationEndingWithABreak", R"j(["quote",{"level":1},["plain","a"],["break","\n"]],["para",{"level":0},["plain","b"]])j"},
    {"IndentedLineAfterABreakInAnItem", R"j(["bulleted",{"level":1},["plain","a"],["break","\n"],["plain","      b"]])j"},
    {"RunOfSpacesWhereALineIsCut", R"j(["para",{"level":0},["plain",")j" + std::string(75, 'w') + R"j( a"],["code","    b"]])j"},
    {"LinkDefinitionWithAnEmptyTarget", R"j(["link",{"level":0},["linkref","x"],["url",""]])j"},
    {"BackslashesEndingSpans", R"j(["para",{"level":0},["code","\\"],["plain"," and "],["emph","a\\"],["math","x\\$"],)j"
                               R"j(["linktext","q\\"],["url","u\\"],["plain"," "],["code","C:\\dir\\*"]])j"},
};

class HostileContent : public ::testing::TestWithParam<Case> {};

TEST_P(HostileContent, ReadsBackUnchangedWrappedUnwrappedAndEscaped) {
    const std::string compact = dumpCompact(Json::parse("[\"text\"," + GetParam().blocks + "]"));
    for (const TextWriterOptions options : {TextWriterOptions{false, false}, TextWriterOptions{true, false},
                                            TextWriterOptions{false, true}}) {
        const std::string written = writeTextFormat(compact, options);
        std::string read;
        try {
            read = readTextFormat(written);
        } catch (const std::exception& e) {
            read = std::string("error: ") + e.what();
        }
        EXPECT_EQ(read, compact) << (options.wrap ? "wrapped" : "unwrapped") << (options.escape ? ", escaped" : "")
                                 << ", written:\n" << written;
    }
}

INSTANTIATE_TEST_SUITE_P(, HostileContent, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

TEST(HostileContentFence, FenceGrowsOnlyWhenALineWouldCloseIt) {
    const auto written = [](const std::string& line) {
        return writeTextFormat(R"(["text",["verbatim",{"level":0},["plain",")" + line + R"("]]])", TextWriterOptions{false, false});
    };
    EXPECT_EQ(written("~~~~ x"), k80 + "\n~~~~ x\n" + k80 + "\n");
    EXPECT_EQ(written(k80), k80 + "~~~~\n" + k80 + "\n" + k80 + "~~~~\n");
}

}  // namespace
}  // namespace qorva
