#include "convert/converters.h"
#include "model/model_json.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

const std::string kNoMeta = R"({"docTitle":[],"docAuthors":[],"docDate":[]})";

// The model's blocks, compact, for a 1.11 document of `blocks`.
std::string readBlocks(const std::string& blocks, const std::string& meta = kNoMeta) {
    const std::string model = ReadPandocJson("[" + meta + "," + blocks + "]", nullptr);
    Json parsed = parseJson(model);
    EXPECT_EQ(parsed[0], "text");
    parsed.erase(parsed.begin());
    return dumpCompact(parsed);
}

std::string para(const std::string& inlines) { return R"({"Para":[)" + inlines + "]}"; }
std::string str(const std::string& text) { return R"({"Str":")" + text + R"("})"; }

TEST(PandocReaderDocument, MetadataGivesParagraphsAndHeadersMapToThreeHeadingLevels) {
    EXPECT_EQ(readBlocks("[]"), "[]");
    EXPECT_EQ(readBlocks("[]", R"({"docTitle":[{"Str":"T"}],"docAuthors":[[{"Str":"A"}],[{"Str":"B"}]],"docDate":[]})"),
              R"([["para",{"level":0},["plain","T"]],["para",{"level":0},["plain","A"]],["para",{"level":0},["plain","B"]]])");
    std::string blocks;
    for (int level : {1, 2, 3, 6}) blocks += R"(,{"Header":[)" + std::to_string(level) + R"(,["id",[],[]],[{"Str":"h"}]]})";
    EXPECT_EQ(readBlocks("[" + blocks.substr(1) + "]"),
              R"([["heading",{"level":-3},["plain","h"]],["heading",{"level":-2},["plain","h"]],)"
              R"(["heading",{"level":-1},["plain","h"]],["heading",{"level":-1},["plain","h"]]])");
}

TEST(PandocReaderLists, NestedItemsContinuationParagraphsEmptyItemsAndDefinitions) {
    const std::string blocks = R"([{"BulletList":[[)" + para(str("a")) + R"(,{"BulletList":[[)" + para(str("b")) +
                               "],[" + para(str("c")) + "]]}],[" + para(str("d")) + "]]}]";
    EXPECT_EQ(readBlocks(blocks),
              R"([["bulleted",{"level":0},["plain","a"]],["bulleted",{"level":1},["plain","b"]],)"
              R"(["bulleted",{"level":1},["plain","c"]],["bulleted",{"level":0},["plain","d"]]])");
    const std::string ordered = R"([{"OrderedList":[[3,"LowerRoman","Period"],[[)" + para(str("a")) + "," +
                               para(str("more")) + "],[],[" + para(str("b")) + "]]]}]";
    EXPECT_EQ(readBlocks(ordered),
              R"([["numbered",{"level":0},["plain","a"]],["para",{"level":1},["plain","more"]],)"
              R"(["numbered",{"level":0},["plain","b"]]])");
    // A definition list gives the term, then bulleted definitions.
    const std::string definitions = R"([{"DefinitionList":[[[{"Str":"term"}],[[)" + para(str("d1")) + "],[" +
                               para(str("d2")) + "]]]]}]";
    EXPECT_EQ(readBlocks(definitions),
              R"([["para",{"level":0},["plain","term"]],["bulleted",{"level":0},["plain","d1"]],)"
              R"(["bulleted",{"level":0},["plain","d2"]]])");
}

TEST(PandocReaderQuotations, ParagraphsNestedQuotationsAndHeadingsTakeTheQuotationsLevel) {
    const std::string blocks = R"([{"BlockQuote":[)" + para(str("a")) + "," + para(str("b")) + R"(,{"BlockQuote":[)" +
                               para(str("c")) + "]}]}]";
    EXPECT_EQ(readBlocks(blocks),
              R"([["quote",{"level":0},["plain","a"]],["quote",{"level":0},["plain","b"]],)"
              R"(["quote",{"level":1},["plain","c"]]])");
    const std::string heading = R"({"Header":[1,["",[],[]],[{"Str":"H"}]]})";
    EXPECT_EQ(readBlocks(R"([{"BlockQuote":[{"BlockQuote":[)" + heading + "]}]}]"),
              R"([["quote",{"level":1},["plain","H"]]])");
}

TEST(PandocReaderCode, CodeBlockEdgeLinesAndDisplayMathAsAFormulaBlock) {
    EXPECT_EQ(readBlocks(R"([{"CodeBlock":[["",["c"],[]],"\n\nx = 1\n  \ny\n\n"]}])"),
              R"([["verbatim",{"level":0},["plain","x = 1"],["break","\n"],["plain","  "],["break","\n"],["plain","y"]]])");
    EXPECT_EQ(readBlocks("[" + para(str("a") + R"(,{"Math":["DisplayMath","x\ny"]},)" + str("b")) + "]"),
              R"([["para",{"level":0},["plain","a"]],["formula",{"level":0},["plain","x"],["break","\n"],["plain","y"]],)"
              R"(["para",{"level":0},["plain","b"]]])");
    EXPECT_EQ(readBlocks("[" + para(R"({"Math":["InlineMath","a\nb"]})") + "]"),
              R"([["para",{"level":0},["math","a b"]]])");
}

TEST(PandocReaderInlines, OutermostStyleWinsAndSpacesJoinLikeStyledWords) {
    const std::string inlines = R"({"Emph":[{"Str":"a"},{"Strong":[{"Str":"b"}]}]},"Space",{"Emph":[{"Str":"c"}]},)"
                                R"("Space",{"Strong":[{"Str":"d"}]})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              R"([["para",{"level":0},["emph","ab c"],["plain"," "],["strong","d"]]])");
}

TEST(PandocReaderInlines, DroppedFormattingQuotesCitationsCodeAndBreaks) {
    const std::string inlines =
        R"({"Strikeout":[{"Str":"s"}]},{"Quoted":["SingleQuote",[{"Str":"q"}]]},{"Quoted":["DoubleQuote",[{"Str":"d"}]]},)"
        R"({"Cite":[[{"citationId":"k1"},{"citationId":"k2"}],[{"Str":"ignored"}]]},)"
        R"({"Cite":[[{"citationId":"doe99","citationMode":{"AuthorInText":[]}}],[]]},)"
        R"({"Cite":[[{"citationId":"k3","citationMode":"SuppressAuthor"}],[]]},{"Code":[["",[],[]],"x<y"]},)"
        R"("LineBreak",{"RawInline":["html","<b>"]},{"Unknown":1})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              "[[\"para\",{\"level\":0},[\"plain\",\"s\u2018q\u2019\u201Cd\u201D[@k1; @k2]@doe99[-@k3]\"],"
              "[\"code\",\"x<y\"],[\"break\",\"\\n\"]]]");
}

TEST(PandocReaderLinks, UrlSpansAndReferenceLinksWithDefinitionsAfterTheParagraph) {
    EXPECT_EQ(readBlocks("[" + para(R"({"Link":[[{"Str":"http://x"}],["http://x",""]]})") + "]"),
              R"([["para",{"level":0},["url","http://x"]]])");
    const std::string inlines = R"({"Link":[[{"Str":"a"},"Space",{"Emph":[{"Str":"b"}]}],["http://u","title"]]},)"
                                R"("Space",{"Link":[[{"Str":"c"}],["http://v",""]]})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              R"([["para",{"level":0},["linktext","a b"],["linkref","1"],["plain"," "],["linktext","c"],["linkref","2"]],)"
              R"(["link",{"level":0},["linkref","1"],["url","http://u"]],["link",{"level":0},["linkref","2"],["url","http://v"]]])");
}

TEST(PandocReaderLinks, LinkedImageKeepsTheImageAndNoteInLinkTextKeepsItsReference) {
    const std::string inlines = R"({"Link":[[{"Str":"t"},{"Note":[)" + para(str("n")) +
                                R"(]},{"Image":[[],["i.png",""]]}],["http://u",""]]})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              R"([["para",{"level":0},["linktext","t"],["linkref","2"],["noteref","1"]],)"
              R"(["image",{"level":0},["url","i.png"]],)"
              R"(["note",{"level":0},["noteref","1"],["plain","n"]],["link",{"level":0},["linkref","2"],["url","http://u"]]])");
}

TEST(PandocReaderNotes, NumberedInOrderAfterTheParagraphWithNotesInNotesLabelledHigher) {
    const std::string inlines = str("a") + R"(,{"Note":[)" + para(str("one")) + "," + para(str("two")) + R"(]},)" +
                                R"({"Note":[]})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              R"([["para",{"level":0},["plain","a"],["noteref","1"],["noteref","2"]],)"
              R"(["note",{"level":0},["noteref","1"],["plain","one"],["break","\n"],["break","\n"],["plain","two"]],)"
              R"(["note",{"level":0},["noteref","2"]]])");
    const std::string inner = R"({"Note":[)" + para(str("inner")) + "]}";
    const std::string outer = R"({"Note":[)" + para(str("outer") + "," + inner) + "]}";
    EXPECT_EQ(readBlocks("[" + para(outer) + "]"),
              R"([["para",{"level":0},["noteref","1"]],["note",{"level":0},["noteref","1"],["plain","outer"],["noteref","2"]],)"
              R"(["note",{"level":0},["noteref","2"],["plain","inner"]]])");
}

TEST(PandocReaderTables, RowsCellsAndEmptyCellsKeepTheirPlaces) {
    const std::string cell = "[" + para(str("x")) + "]";
    const std::string blocks = R"([{"Table":[[],["AlignDefault","AlignDefault"],[0,0],[)" + cell + "," + cell +
                               "],[[" + cell + ",[" + para(str("p1")) + "," + para(str("p2")) + "]]]]}]";
    EXPECT_EQ(readBlocks(blocks),
              R"([["row",{"level":1},["plain","x"]],["col",{"level":2},["plain","x"]],)"
              R"(["row",{"level":1},["plain","x"]],["col",{"level":2},["plain","p1 p2"]]])");
    // Empty cells keep their column; a row of only empty cells holds nothing.
    EXPECT_EQ(readBlocks(R"([{"Table":[[],["AlignDefault","AlignDefault"],[0,0],[[],[]],[[[],)" + cell + "],[[],[]]]]}]"),
              R"([["row",{"level":1}],["col",{"level":2},["plain","x"]]])");
}

TEST(PandocReaderMerging, NoteReferencesUrlsAndLineBreaksStayApart) {
    const std::string inlines = R"({"Note":[]},{"Note":[]},{"Link":[[{"Str":"u"}],["u",""]]},"Space",)"
                                R"({"Link":[[{"Str":"v"}],["v",""]]},{"Code":[["",[],[]],"a"]},{"Code":[["",[],[]],"b"]})";
    EXPECT_EQ(readBlocks("[" + para(inlines) + "]"),
              R"([["para",{"level":0},["noteref","1"],["noteref","2"],["url","u"],["plain"," "],["url","v"],["code","ab"]],)"
              R"(["note",{"level":0},["noteref","1"]],["note",{"level":0},["noteref","2"]]])");
    EXPECT_EQ(readBlocks("[" + para(R"("LineBreak","LineBreak",{"Str":"a"})") + "]"),
              R"([["para",{"level":0},["break","\n"],["break","\n"],["plain","a"]]])");
}

TEST(PandocReaderIgnored, RawBlocksRulesUnknownBlocksAndParagraphsOfOnlyASpaceGiveNothing) {
    EXPECT_EQ(readBlocks(R"([{"RawBlock":["html","<div>"]},"HorizontalRule",{"Mystery":[1,2]},"Null",)" + para(R"("Space")") + "]"),
              "[]");
}

// The model the reader gives is the one the editor and the text format keep, so the
// first save is the only one that changes anything.
TEST(PandocReaderCanonical, EmptyCodeLinesEmptyLinkTextsAndSpacesAtLineEdges) {
    EXPECT_EQ(readBlocks(R"([{"CodeBlock":[["",[],[]],"a\n\nb"]}])"),
              R"([["verbatim",{"level":0},["plain","a"],["break","\n"],["break","\n"],["plain","b"]]])");
    EXPECT_EQ(readBlocks("[" + para(R"({"Link":[[],["http://u.org/",""]]})") + "]"),
              R"([["para",{"level":0},["url","http://u.org/"]]])");
    EXPECT_EQ(readBlocks("[" + para(R"("Space",)" + str("a") + R"(,"Space","LineBreak","Space",)" + str("b") + R"(,"Space")") + "]"),
              R"([["para",{"level":0},["plain","a"],["break","\n"],["plain","b"]]])");
    // An address Pandoc links inside a link's text stays that link's text.
    EXPECT_EQ(readBlocks("[" + para(R"({"Link":[[{"Link":[[)" + str("w.org") + R"(],["http://w.org",""]]}],["http://w.org",""]]})") + "]"),
              R"([["para",{"level":0},["linktext","w.org"],["linkref","1"]],["link",{"level":0},["linkref","1"],["url","http://w.org"]]])");
    // Code opening a list item stays code.
    EXPECT_EQ(readBlocks(R"([{"BulletList":[[{"CodeBlock":[["",[],[]],"  x\n\ny"]}]]}])"),
              R"([["bulleted",{"level":0},["code","  x"],["break","\n"],["break","\n"],["code","y"]]])");
}

TEST(PandocReaderCanonical, LineEndAfterAnAbbreviationIsTheNoBreakSpaceOfASavedFile) {
    const auto read = [](const std::string& inlines) {
        return ReadPandocJson(R"({"pandoc-api-version":[1,22],"meta":{},"blocks":[{"t":"Para","c":[)" + inlines + "]}]}", nullptr);
    };
    EXPECT_EQ(read(R"({"t":"Str","c":"(e.g."},{"t":"SoftBreak"},{"t":"Str","c":"x"})"),
              "[\"text\",[\"para\",{\"level\":0},[\"plain\",\"(e.g.\u00A0x\"]]]");
    EXPECT_EQ(read(R"({"t":"Str","c":"eg."},{"t":"SoftBreak"},{"t":"Str","c":"x"})"),
              R"(["text",["para",{"level":0},["plain","eg. x"]]])");
}

}  // namespace
}  // namespace qorva::convert
