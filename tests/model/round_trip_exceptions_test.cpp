// What the text format cannot say at all. Each case is a document the editor can
// produce that does not survive writing and reading back; the tests pin down what it
// turns into, so that a change in either direction is noticed.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

struct Case {
    const char* name;
    std::string blocks;  // what is written, without the root
    std::string read;    // the blocks read back
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case kCases[] = {
    {"EmptyDocumentReadsAsOneEmptyParagraph", "", R"j(["para",{"level":0}])j"},
    {"ParagraphStartingLikeABulletedItemReadsAsOne", R"j(["para",{"level":0},["plain","- a"]])j", R"j(["bulleted",{"level":0},["plain","a"]])j"},
    {"ParagraphStartingLikeANumberedItemReadsAsOne", R"j(["para",{"level":0},["plain","1. a"]])j", R"j(["numbered",{"level":0},["plain","a"]])j"},
    // The same for the other marks no backslash can escape.
    {"ParagraphStartingLikeAHeadingReadsAsOne", R"j(["para",{"level":0},["plain","# a"]])j", R"j(["heading",{"level":-3},["plain","a"]])j"},
    {"ParagraphStartingLikeACommentReadsAsOne", R"j(["para",{"level":0},["plain","// a"]])j", R"j(["comment",{"level":0},["plain","a"]])j"},
    // Leading spaces of a block are indentation or marker padding.
    {"LeadingSpacesOfAParagraphAreIndentation", R"j(["para",{"level":0},["plain","    a"]])j", R"j(["para",{"level":1},["plain","a"]])j"},
    {"LeadingSpacesOfAnItemAreMarkerPadding", R"j(["bulleted",{"level":0},["plain"," a"]])j", R"j(["bulleted",{"level":0},["plain","a"]])j"},
    {"SpacesBeforeALineEndBelongToTheBreak", R"j(["para",{"level":0},["plain","a "],["break","\n"],["plain","b"]])j",
     R"j(["para",{"level":0},["plain","a"],["break","\n"],["plain","b"]])j"},
    // Two at the very end make a break of their own.
    {"TwoSpacesAtTheEndAreABreak", R"j(["para",{"level":0},["plain","a  "]])j", R"j(["para",{"level":0},["plain","a"],["break","\n"]])j"},
    {"LevelZeroParagraphWithAnUnderlineAfterItsOnlyBreakIsAHeading",
     R"j(["para",{"level":0},["plain","a"],["break","\n"],["plain","---"]])j", R"j(["heading",{"level":-2},["plain","a"]])j"},
    {"EmptyHeadingReadsAsAnEmptyParagraph", R"j(["heading",{"level":-2}],["para",{"level":0},["plain","x"]])j",
     R"j(["para",{"level":0}],["para",{"level":0},["plain","x"]])j"},
    {"EmptyQuotationReadsAsAnEmptyParagraph", R"j(["quote",{"level":1}])j", R"j(["para",{"level":1}])j"},
    {"MarkerBlocksCannotStartWithABreak", R"j(["bulleted",{"level":0},["break","\n"],["plain","a"]])j",
     R"j(["bulleted",{"level":0},["plain"," a"]])j"},
    {"LineBreakInATableCellBecomesASpace", R"j(["row",{"level":1},["plain","a"],["break","\n"],["plain","b"]])j",
     R"j(["row",{"level":1},["plain","a b"]])j"},
    {"LineBreakInAHeadingBecomesASpace", R"j(["heading",{"level":-3},["plain","a"],["break","\n"],["plain","b"]])j",
     R"j(["heading",{"level":-3},["plain","a b"]])j"},
    {"FootnoteReferenceFollowedByParenthesesReadsAsALink", R"j(["para",{"level":0},["plain","a"],["noteref","1"],["plain","(b)"]])j",
     R"j(["para",{"level":0},["plain","a"],["linktext","^1"],["url","b"]])j"},
    {"PicturesOfTheTextFollowedByParenthesesReadAsALink",
     R"j(["para",{"level":0},["linkimage","a"],["linkimageurl","p"],["plain","(b)"]])j",
     R"j(["para",{"level":0},["linkimage","a"],["linkimageurl","p"],["url","b"]])j"},
    {"LabelsStartingWithACaretReadAsFootnotes", R"j(["link",{"level":0},["linkref","^x"],["url","u"]])j",
     R"j(["note",{"level":0},["noteref","x"],["url","u"]])j"},
    {"RightToLeftMarkInRunningTextIsDirectionNotText", R"j(["para",{"level":0},["plain","a\u200fb"]])j",
     R"j(["para",{"level":0},["plain","ab"]])j"},
    // A term is the line directly above its definition; raw blocks and spans are code marked "{=html}" or "{=tex}".
    {"TermWithoutDefinitionReadsAsParagraph", R"j(["term",{"level":0},["plain","t"]])j", R"j(["para",{"level":0},["plain","t"]])j"},
    {"CodeInfoNamingARawFormatReadsAsRaw", R"j(["verbatim",{"level":0,"info":"{=html}"},["plain","x"]])j", R"j(["html",{"level":0},["plain","x"]])j"},
    {"CodeFollowedByARawFormatReadsAsRaw", R"j(["para",{"level":0},["code","x"],["plain","{=tex}"]])j", R"j(["para",{"level":0},["tex","x"]])j"},
    {"LinkTextWithoutTargetReadsAsPlainText", R"j(["para",{"level":0},["linktext","t"]])j", R"j(["para",{"level":0},["plain","[t]"]])j"},
};

class RoundTripException : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTripException, ReadsBackAsPinned) {
    const std::string& blocks = GetParam().blocks;
    const std::string written = writeTextFormat("[\"text\"" + (blocks.empty() ? "" : "," + blocks) + "]", TextWriterOptions{false, false});
    EXPECT_EQ(readTextFormat(written), "[\"text\"," + GetParam().read + "]");
}

INSTANTIATE_TEST_SUITE_P(, RoundTripException, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qorva
