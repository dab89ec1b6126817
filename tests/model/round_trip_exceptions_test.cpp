// What the text format cannot say at all. Each case is a document the editor can
// produce that does not survive writing and reading back; the tests pin down what it
// turns into, so that a change in either direction is noticed.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

std::string roundTrip(const std::string& blocks, bool wrap = false) {
    return readTextFormat(writeTextFormat("[\"text\"" + (blocks.empty() ? "" : "," + blocks) + "]",
                                          TextWriterOptions{wrap, false}));
}

TEST(RoundTripException, EmptyDocumentReadsAsOneEmptyParagraph) {
    EXPECT_EQ(roundTrip(""), R"j(["text",["para",{"level":0}]])j");
}

TEST(RoundTripException, ParagraphStartingLikeAListItemReadsAsOne) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","- a"]])j"), R"j(["text",["bulleted",{"level":0},["plain","a"]]])j");
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","1. a"]])j"), R"j(["text",["numbered",{"level":0},["plain","a"]]])j");
    // The same for the other marks no backslash can escape.
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","# a"]])j"), R"j(["text",["heading",{"level":-3},["plain","a"]]])j");
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","// a"]])j"), R"j(["text",["comment",{"level":0},["plain","a"]]])j");
}

TEST(RoundTripException, LeadingSpacesOfABlockAreIndentationOrMarkerPadding) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","    a"]])j"), R"j(["text",["para",{"level":1},["plain","a"]]])j");
    EXPECT_EQ(roundTrip(R"j(["bulleted",{"level":0},["plain"," a"]])j"), R"j(["text",["bulleted",{"level":0},["plain","a"]]])j");
}

TEST(RoundTripException, SpacesBeforeALineEndBelongToTheBreak) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","a "],["break","\n"],["plain","b"]])j"),
              R"j(["text",["para",{"level":0},["plain","a"],["break","\n"],["plain","b"]]])j");
    // Two at the very end make a break of their own.
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","a  "]])j"), R"j(["text",["para",{"level":0},["plain","a"],["break","\n"]]])j");
}

TEST(RoundTripException, LevelZeroParagraphWithAnUnderlineAfterItsOnlyBreakIsAHeading) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","a"],["break","\n"],["plain","---"]])j"),
              R"j(["text",["heading",{"level":-2},["plain","a"]]])j");
}

TEST(RoundTripException, EmptyHeadingsQuotationsAndCommentsReadAsEmptyParagraphs) {
    EXPECT_EQ(roundTrip(R"j(["heading",{"level":-2}],["para",{"level":0},["plain","x"]])j"),
              R"j(["text",["para",{"level":0}],["para",{"level":0},["plain","x"]]])j");
    EXPECT_EQ(roundTrip(R"j(["quote",{"level":1}])j"), R"j(["text",["para",{"level":1}]])j");
}

TEST(RoundTripException, MarkerBlocksCannotStartWithABreak) {
    EXPECT_EQ(roundTrip(R"j(["bulleted",{"level":0},["break","\n"],["plain","a"]])j"),
              R"j(["text",["bulleted",{"level":0},["plain"," a"]]])j");
}

TEST(RoundTripException, QuotationsCannotEndWithABreakOrHoldTwoInARow) {
    EXPECT_THROW(roundTrip(R"j(["quote",{"level":0},["plain","a"],["break","\n"]])j"), ConverterError);
    EXPECT_EQ(roundTrip(R"j(["quote",{"level":0},["plain","a"],["break","\n"],["break","\n"],["plain","b"]])j"),
              R"j(["text",["quote",{"level":0},["plain","a"],["break","\n"],["plain"," b"]]])j");
}

TEST(RoundTripException, LineBreakInATableCellBecomesASpace) {
    EXPECT_EQ(roundTrip(R"j(["row",{"level":1},["plain","a"],["break","\n"],["plain","b"]])j"),
              R"j(["text",["row",{"level":1},["plain","a b"]]])j");
}

TEST(RoundTripException, LineBreakInAHeadingBecomesASpace) {
    EXPECT_EQ(roundTrip(R"j(["heading",{"level":-3},["plain","a"],["break","\n"],["plain","b"]])j"),
              R"j(["text",["heading",{"level":-3},["plain","a b"]]])j");
}

TEST(RoundTripException, VerticalBarInATableCellSplitsIt) {
    EXPECT_EQ(roundTrip(R"j(["row",{"level":1},["plain","a|b"]])j"),
              R"j(["text",["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]]])j");
}

TEST(RoundTripException, InlineLinkTargetCannotHoldAClosingParenthesis) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["linktext","t"],["url","a)b"]])j"),
              R"j(["text",["para",{"level":0},["linktext","t"],["url","a"],["plain","b>)"]]])j");
}

TEST(RoundTripException, FootnoteReferenceFollowedByParenthesesReadsAsALink) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","a"],["noteref","1"],["plain","(b)"]])j"),
              R"j(["text",["para",{"level":0},["plain","a"],["linktext","^1"],["url","b"]]])j");
}

TEST(RoundTripException, LabelsStartingWithACaretReadAsFootnotes) {
    EXPECT_EQ(roundTrip(R"j(["link",{"level":0},["linkref","^x"],["url","u"]])j"),
              R"j(["text",["note",{"level":0},["noteref","x"],["url","u"]]])j");
}

TEST(RoundTripException, CodeLineStartingWithAFenceUndoesTheBlock) {
    const std::string fence(80, '~');
    EXPECT_EQ(roundTrip(R"j(["verbatim",{"level":0},["plain","~~~~ x"]])j"),
              R"j(["text",["para",{"level":0},["plain",")j" + fence + " ~~~~ x " + fence + "\"]]]");
}

TEST(RoundTripException, RightToLeftMarkInRunningTextIsDirectionNotText) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["plain","a\u200fb"]])j"), R"j(["text",["para",{"level":0},["plain","ab"]]])j");
}

TEST(RoundTripException, LinkTextWithoutTargetReadsAsPlainText) {
    EXPECT_EQ(roundTrip(R"j(["para",{"level":0},["linktext","t"]])j"), R"j(["text",["para",{"level":0},["plain","[t]"]]])j");
}

}  // namespace
}  // namespace qorva
