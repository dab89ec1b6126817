// Reading Pandoc's JSON: the 1.11 form and current Pandoc's form (pandoc-types 1.17 to
// 1.23), translated to it. What the installed Pandoc gives for ordinary documents (the
// three heading levels, nested lists and quotations, links, notes, tables, Div and Span)
// is read back in PandocRoundTrip; these are the rest.
#include "convert/converters.h"
#include "convert/front_matter.h"
#include "model/model_json.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

const std::string kAttr = R"(["",[],[]])";

// The model's blocks, compact, for a Pandoc document.
std::string blocksOf(const std::string& document, const char* options = nullptr) {
    Json parsed = parseJson(ReadPandocJson(document, options));
    EXPECT_EQ(parsed[0], "text");
    parsed.erase(parsed.begin());
    return dumpCompact(parsed);
}

// 1.11 form.
std::string readBlocks(const std::string& blocks, const char* options = nullptr) {
    return blocksOf(R"([{"docTitle":[],"docAuthors":[],"docDate":[]},)" + blocks + "]", options);
}
std::string para(const std::string& inlines) { return R"({"Para":[)" + inlines + "]}"; }
std::string readInlines(const std::string& inlines) { return readBlocks("[" + para(inlines) + "]"); }
std::string str(const std::string& text) { return R"({"Str":")" + text + R"("})"; }

// Current form.
std::string readCurrent(const std::string& blocks, const std::string& meta = "{}", const std::string& version = "[1,22,2,1]") {
    return blocksOf(R"({"pandoc-api-version":)" + version + R"(,"meta":)" + meta + R"(,"blocks":)" + blocks + "}");
}
std::string plain(const std::string& text) { return R"({"t":"Plain","c":[{"t":"Str","c":")" + text + R"("}]})"; }

TEST(PandocReaderBlocks, DeepHeadersEmptyItemsDefinitionsAndIgnoredBlocks) {
    EXPECT_EQ(readBlocks(R"([{"Header":[6,["id",[],[]],[{"Str":"h"}]]},{"Header":[9,["",[],[]],[{"Str":"i"}]]}])"),
              R"([["heading",{"level":2},["plain","h"]],["heading",{"level":2},["plain","i"]]])");
    EXPECT_EQ(readBlocks(R"([{"OrderedList":[[3,"LowerRoman","Period"],[[)" + para(str("a")) + "," + para(str("more")) + "],[],[" +
                         para(str("b")) + R"(],[{"BulletList":[[{"Plain":[{"Str":"x"}]}]]}]]]}])"),
              R"([["numbered",{"level":0,"start":"3"},["plain","a"]],["para",{"level":1},["plain","more"]],["numbered",{"level":0}],)"
              R"(["numbered",{"level":0},["plain","b"]],["numbered",{"level":0}],["bulleted",{"level":1},["plain","x"]]])");
    // One Para item makes a list of one-paragraph items loose, every item of it; with nested lists
    // every item must be a Para; the nested list says its own spacing, and what its items hold is
    // theirs. Two lists in a row stay two.
    const std::string plainItem = R"({"Plain":[{"Str":"x"}]})";
    EXPECT_EQ(readBlocks(R"([{"BulletList":[[{"Plain":[{"Str":"a"}]}],[)" + para(str("b")) + R"(]]},{"Para":[]},)"
                         R"({"BulletList":[[{"Plain":[{"Str":"c"}]},{"OrderedList":[[0,"Decimal","Period"],[[)" + para(str("x")) + "],[" +
                         para(str("x")) + "]]]}],[" + para(str("d")) + R"(]]},{"OrderedList":[[1,"Decimal","Period"],[[)" + plainItem + "]]]}]"),
              R"([["bulleted",{"level":0,"spacing":"loose"},["plain","a"]],["bulleted",{"level":0,"spacing":"loose"},["plain","b"]],["para",{"level":0}],)"
              R"(["bulleted",{"level":0},["plain","c"]],["numbered",{"level":1,"spacing":"loose","start":"0"},["plain","x"]],)"
              R"(["numbered",{"level":1,"spacing":"loose"},["plain","x"]],["bulleted",{"level":0},["plain","d"]],["numbered",{"level":0},["plain","x"]]])");
    EXPECT_EQ(readBlocks(R"([{"BulletList":[[)" + para(str("a")) + R"(,{"BulletList":[[)" + para(str("y")) + R"(,{"CodeBlock":[["",[],[]],"c"]}]]}],[)" +
                         para(str("b")) + "]]}]"),
              R"([["bulleted",{"level":0,"spacing":"loose"},["plain","a"]],["bulleted",{"level":1},["plain","y"]],)"
              R"(["verbatim",{"level":2},["plain","c"]],["bulleted",{"level":0,"spacing":"loose"},["plain","b"]]])");
    // A list of Plain items holding a block besides their text and lists says it is tight; not with a
    // further paragraph, which Pandoc writes loose; with a second block unless blank lines loosen lists.
    const std::string code = R"({"CodeBlock":[["",[],[]],"c"]})";
    EXPECT_EQ(readBlocks(R"([{"BulletList":[[)" + plainItem + "," + code + "],[" + plainItem + R"(,{"BulletList":[[)" + plainItem + "," +
                         code + "]]}]]},{\"OrderedList\":[[1,\"Decimal\",\"Period\"],[[" + plainItem + "," + code + "," +
                         R"({"Plain":[{"Str":"p"}]}]]]}])"),
              R"([["bulleted",{"level":0,"spacing":"tight"},["plain","x"]],["verbatim",{"level":1},["plain","c"]],)"
              R"(["bulleted",{"level":0,"spacing":"tight"},["plain","x"]],["bulleted",{"level":1,"spacing":"tight"},["plain","x"]],)"
              R"(["verbatim",{"level":2},["plain","c"]],["numbered",{"level":0},["plain","x"]],)"
              R"(["verbatim",{"level":1},["plain","c"]],["para",{"level":1},["plain","p"]]])");
    const std::string twoBlocks = R"([{"BulletList":[[)" + plainItem + "," + code + "," + code + "]]}]";
    const std::string itemBlocks = R"(["plain","x"]],["verbatim",{"level":1},["plain","c"]],["verbatim",{"level":1},["plain","c"]]])";
    EXPECT_EQ(readBlocks(twoBlocks), R"([["bulleted",{"level":0,"spacing":"tight"},)" + itemBlocks);
    EXPECT_EQ(readBlocks(twoBlocks, R"({"blankLinesLoosen":true})"), R"([["bulleted",{"level":0},)" + itemBlocks);
    // A paragraph after a nested list at the very end of the list keeps it tight, save where blank lines loosen lists.
    const std::string closing = R"([{"BulletList":[[)" + plainItem + R"(,{"BulletList":[[)" + plainItem + "]]}," + para(str("p")) + "]]}]";
    EXPECT_EQ(readBlocks(closing), R"([["bulleted",{"level":0,"spacing":"tight"},["plain","x"]],["bulleted",{"level":1},["plain","x"]],)"
                                   R"(["para",{"level":1},["plain","p"]]])");
    EXPECT_EQ(readBlocks(closing, R"({"blankLinesLoosen":true})").find("tight"), std::string::npos);
    // A term's link is defined after its definitions, which must follow the term directly; a Plain
    // definition is tight.
    EXPECT_EQ(readBlocks(R"([{"DefinitionList":[[[{"Link":[[{"Str":"term"}],["u",""]]}],[[)" + para(str("d1")) + "," + para(str("more")) +
                         "],[" + R"({"Plain":[{"Str":"d2"}]})" + R"(]]],[[],[[{"RawBlock":["latex","\\x\n\n\\y"]}]]]]}])"),
              R"([["term",{"level":0},["linktext","term"],["linkref","1"]],["definition",{"level":0},["plain","d1"]],)"
              R"(["para",{"level":1},["plain","more"]],["definition",{"level":0,"spacing":"tight"},["plain","d2"]],)"
              R"(["link",{"level":1},["linkref","1"],["url","u"]],["term",{"level":0}],)"
              R"(["definition",{"level":0},["tex","\\x"],["break","\n"],["break","\n"],["tex","\\y"]]])");
    EXPECT_EQ(readBlocks(R"([{"RawBlock":["html","<div>\n"]},{"RawBlock":["rtf","x"]},"HorizontalRule",{"Mystery":[1,2]},"Null",)" +
                         para(R"("Space")") + "]"),
              R"([["html",{"level":0},["plain","<div>"]],["divider",{"level":0}]])");
    // Only a heading found inside a list item lifts what follows it; at the top it stays where it is.
    // A quotation right after another is kept apart from it by an empty paragraph at its level.
    EXPECT_EQ(readBlocks(R"([{"Header":[1,["",[],[]],[{"Str":"h"}]]},{"BlockQuote":[{"BlockQuote":[)" + para(str("q")) + R"(]},{"BlockQuote":[)" +
                         para(str("r")) + "]}," + para(str("s")) + R"(]},{"BlockQuote":[)" + para(str("t")) + "]}]"),
              R"([["heading",{"level":-3},["plain","h"]],["quote",{"level":1},["plain","q"]],["para",{"level":1}],["quote",{"level":1},["plain","r"]],)"
              R"(["quote",{"level":0},["plain","s"]],["para",{"level":0}],["quote",{"level":0},["plain","t"]]])");
    // A quotation's code stays code; its list stays one only where the items hold nothing but items and
    // code, and the quotation stands outside lists; else the list is quotation paragraphs, as before.
    EXPECT_EQ(readBlocks(R"([{"BlockQuote":[{"BulletList":[[)" + para(str("a")) + "," + para(str("b")) + R"(]]},{"CodeBlock":[["",[],[]],"c"]}]},)"
                         R"({"BulletList":[[{"Plain":[{"Str":"i"}]},{"BlockQuote":[{"BulletList":[[{"Plain":[{"Str":"j"}]}]]}]}]]}])"),
              R"([["quote",{"level":0},["plain","a"]],["quote",{"level":1},["plain","b"]],["verbatim",{"level":0,"quote":"1"},["plain","c"]],)"
              R"(["bulleted",{"level":0,"spacing":"tight"},["plain","i"]],["quote",{"level":1},["plain","j"]]])");
}

TEST(PandocReaderCode, EdgeLinesTrimmedEmptyOnesKeptForTheirInfoDisplayMathSplitsItsParagraphInlineMathIsOneLine) {
    EXPECT_EQ(readBlocks(R"([{"CodeBlock":[["",["c"],[]],"\n\nx = 1\n  \ny\n\n"]},)"
                         R"({"CodeBlock":[["i",["hs","numberLines"],[["from","1\""]]],"z"]},)"
                         R"({"CodeBlock":[["",["{versionadded}"],[]],""]},{"CodeBlock":[["",[],[]],""]}])"),
              R"([["verbatim",{"level":0,"info":"c"},["plain","x = 1"],["break","\n"],["plain","  "],["break","\n"],["plain","y"]],)"
              R"(["verbatim",{"level":0,"info":"{#i .hs .numberLines from=\"1\\\"\"}"},["plain","z"]],)"
              R"(["verbatim",{"level":0,"info":"{versionadded}"}]])");
    EXPECT_EQ(readInlines(str("a") + R"(,{"Math":["DisplayMath","x\ny"]},)" + str("b")),
              R"([["para",{"level":0},["plain","a"]],["formula",{"level":0},["plain","x"],["break","\n"],["plain","y"]],)"
              R"(["para",{"level":0},["plain","b"]]])");
    EXPECT_EQ(readInlines(R"({"Math":["InlineMath","a\nb"]})"), R"([["para",{"level":0},["math","a b"]]])");
    // So is raw HTML or TeX inline, unless a TeX comment would swallow what follows the line end;
    // the space Pandoc takes into a TeX command from the text after it stays text.
    EXPECT_EQ(readInlines(R"({"RawInline":["html","<img\n alt=x>"]},{"RawInline":["tex","\\a\n\\b"]},{"RawInline":["tex","\\a%c\n\\b"]},)"
                          R"({"RawInline":["tex","\\c "]},{"Str":"d"})"),
              R"([["para",{"level":0},["html","<img  alt=x>"],["tex","\\a \\b"],["tex","\\a%c\n\\b"],["tex","\\c"],["plain"," d"]]])");
}

TEST(PandocReaderInlines, NestedStylesPairUpOutermostStyleWinsAndDroppedFormattingQuotesCitationsCodeAndBreaks) {
    EXPECT_EQ(readInlines(R"({"Emph":[{"Str":"a"},"Space",{"Strong":[{"Str":"b"}]}]},"Space",{"Emph":[{"Str":"c"},"Space",{"Str":"e"}]},"Space",)"
                          R"({"Strong":[{"Quoted":["DoubleQuote",[{"Str":"d"}]]},"Space"]},"Space",)"
                          R"({"Strong":[{"Str":"x"},"Space",{"Code":[["",[],[]],"y"]},"Space",{"Emph":[{"Strong":[{"Str":"z"}]}]}]},)"
                          R"({"Emph":[{"Code":[["",[],[]],"c"]}]})"),
              R"([["para",{"level":0},["emph","a "],["strongemph","b"],["plain"," "],["emph","c e"],["plain"," "],["strong","“d”"],)"
              R"(["plain"," "],["strong","x "],["strongcode","y"],["strong"," "],["strongemph","z"],["emphcode","c"]]])");
    EXPECT_EQ(readInlines(R"({"Strikeout":[{"Str":"s"},{"Strong":[{"Str":"t"}]}]},{"Superscript":[{"Str":"2"}]},{"Subscript":[{"Str":"i"}]},)"
                          R"({"SmallCaps":[{"Str":"c"}]},{"Quoted":["SingleQuote",[{"Str":"q"}]]},{"Quoted":["DoubleQuote",[{"Str":"d"}]]},)"
                          R"({"Cite":[[{"citationId":"k1"},{"citationId":"k2"}],[{"Str":"ignored"}]]},)"
                          R"({"Cite":[[{"citationId":"doe99","citationMode":{"AuthorInText":[]}}],[]]},)"
                          R"({"Cite":[[{"citationId":"k3","citationMode":"SuppressAuthor"}],[]]},{"Code":[["",[],[]],"x<y"]},)"
                          R"("LineBreak",{"RawInline":["html","<b>"]},{"RawInline":["html","<i>"]},{"RawInline":["tex","\\TeX"]},)"
                          R"({"RawInline":["rtf","x"]},{"Unknown":1})"),
              R"([["para",{"level":0},["strike","st"],["sup","2"],["sub","i"],["plain","c‘q’“d”[@k1; @k2]@doe99[-@k3]"],)"
              R"(["code","x<y"],["break","\n"],["html","<b>"],["html","<i>"],["tex","\\TeX"]]])");
    // Citations word for word: prefix, locator and suffix, several in the text and in brackets.
    const std::string see = R"("citationPrefix":[{"Str":"see"}],"citationSuffix":[{"Str":","},"Space",{"Str":"p. 33"}])";
    EXPECT_EQ(readInlines(R"({"Cite":[[{"citationId":"doe",)" + see + R"(},{"citationId":"roe","citationMode":"SuppressAuthor",)"
                          R"("citationPrefix":[{"Str":"also"}]}],[]]},"Space",{"Cite":[[{"citationId":"doe","citationMode":"AuthorInText",)"
                          R"("citationSuffix":[{"Str":"p. 33"}]},{"citationId":"x","citationPrefix":[{"Emph":[{"Str":"cf."}]}]}],[]]})"),
              R"([["para",{"level":0},["plain","[see @doe, p. 33; also -@roe] @doe [p. 33; cf. @x]"]]])");
}

TEST(PandocReaderLinks, LinksWholeInEmphasisSayItOnTheirTargetKeepingTheTextsOtherStylesOtherStylesAsBefore) {
    EXPECT_EQ(readInlines(R"({"Emph":[{"Str":"See"},"Space",{"Link":[[{"Str":"d"}],["d.md",""]]},"Space",{"Str":"more"}]},"Space",)"
                          R"j({"Strong":[{"Link":[[{"Code":[["",[],[]],"c"]},{"Strong":[{"Str":"s"}]},{"Emph":[{"Str":"e"}]}],["u",""]]}]},)j"
                          R"({"Strikeout":[{"Link":[[{"Str":"k"}],["k",""]]}]},{"Emph":[{"Strong":[{"Link":[[{"Str":"http://w"}],["http://w",""]]}]}]})"),
              R"j([["para",{"level":0},["emph","See "],["linktext","d"],["emphlinkref","1"],["emph"," more"],["plain"," "],["linkcode","c"],)j"
              R"j(["linktext","s"],["linkemph","e"],["stronglinkref","2"],["url","k"],["strongemphurl","http://w"]],)j"
              R"(["link",{"level":0},["linkref","1"],["url","d.md"]],["link",{"level":0},["linkref","2"],["url","u"]]])");
}

TEST(PandocReaderLinks, StyledOrFlattenedTextDefinitionsAfterTheirPieceOfTheParagraphLinkedImagesAndNotes) {
    EXPECT_EQ(readInlines(R"({"Link":[[{"Str":"a"},"Space",{"Emph":[{"Str":"b"}]}],["http://u","title"]]},"Space",{"Link":[[{"Str":"c"}],["http://v",""]]},)"
                          R"({"Link":[[{"Str":"http://w"}],["http://w","t"]]},{"Image":[[{"Str":"al"},{"Emph":[{"Str":"t"}]}],["i.png","fig:T"]]})"),
              R"([["para",{"level":0},["linktext","a "],["linkemph","b"],["linkref","1"],["plain"," "],["linktext","c"],["linkref","2"],["linktext","http://w"],["linkref","3"],)"
              R"(["linkimage","alt"],["linkimageurl","i.png"],["linkimagetitle","T"]],)"
              R"(["link",{"level":0},["linkref","1"],["url","http://u"],["title","title"]],["link",{"level":0},["linkref","2"],["url","http://v"]],)"
              R"(["link",{"level":0},["linkref","3"],["url","http://w"],["title","t"]]])");
    // Code and emphasis of words keep their style, in quotation marks too; a style holding another stays flat.
    EXPECT_EQ(readInlines(R"j({"Link":[[{"Code":[["",[],[]],"f()"]},"Space",{"Emph":[{"Str":"a"},"Space",{"Str":"b"}]},{"Strong":[{"Str":"s"}]}],["http://u",""]]},)j"
                          R"({"Emph":[{"Link":[[{"Code":[["",[],[]],"e"]}],["http://e",""]]}]},)"
                          R"({"Link":[[{"Emph":[{"Code":[["",[],[]],"c"]}]}],["http://c",""]]},{"Link":[[{"Quoted":[{"DoubleQuote":[]},[{"Code":[["",[],[]],"L"]}]]}],["L",""]]})"),
              R"j([["para",{"level":0},["linkcode","f()"],["linktext"," "],["linkemph","a b"],["linkstrong","s"],["linkref","1"],)j"
              R"(["linkcode","e"],["emphlinkref","2"],["linktext","c"],["linkref","3"],["linktext","“"],["linkcode","L"],["linktext","”"],["linkref","4"]],)"
              R"(["link",{"level":0},["linkref","1"],["url","http://u"]],["link",{"level":0},["linkref","2"],["url","http://e"]],)"
              R"(["link",{"level":0},["linkref","3"],["url","http://c"]],["link",{"level":0},["linkref","4"],["url","L"]]])");
    // Pictures among words stay in the link's text; one without a source stands after its link.
    EXPECT_EQ(readInlines(R"({"Link":[[{"Image":[[{"Str":"build"},"Space",{"Str":"ok"}],["b.svg","T"]]}],["http://ci",""]]},)"
                          R"({"Link":[[{"Str":"see"},"Space",{"Image":[[],["p.png",""]]},{"Strong":[{"Str":"s"}]}],["http://s",""]]},)"
                          R"({"Link":[[{"Image":[[],["",""]]}],["http://e",""]]})"),
              R"([["para",{"level":0},["linkimage","build ok"],["linkimageurl","b.svg"],["linkimagetitle","T"],["linkref","1"],["linktext","see "],)"
              R"(["linkimage",""],["linkimageurl","p.png"],["linkstrong","s"],["linkref","2"],["url","http://e"]],)"
              R"(["link",{"level":0},["linkref","1"],["url","http://ci"]],["link",{"level":0},["linkref","2"],["url","http://s"]],["image",{"level":0},["url",""]]])");
    // A link in a note in a link's text is a link of its own. Pictures outside links stay in the text
    // beside words or another picture, save one right before a link's text, which would take it in.
    EXPECT_EQ(readInlines(R"({"Link":[[{"Str":"t"},{"Note":[)" + para(R"({"Link":[[{"Str":"n"}],["http://n",""]]})") +
                          R"(]},{"Image":[[],["i.png",""]]}],["http://u",""]]},{"Image":[[],["j.png",""]]},)"
                          R"({"Link":[[{"Str":"v"}],["http://v",""]]})"),
              R"([["para",{"level":0},["linktext","t"],["linkref","3"],["noteref","1"],["linkimage",""],["linkimageurl","i.png"]],)"
              R"(["note",{"level":0},["noteref","1"],["linktext","n"],["linkref","2"]],["link",{"level":0},["linkref","2"],["url","http://n"]],)"
              R"(["link",{"level":0},["linkref","3"],["url","http://u"]],["image",{"level":0},["url","j.png"]],)"
              R"(["para",{"level":0},["linktext","v"],["linkref","4"]],["link",{"level":0},["linkref","4"],["url","http://v"]]])");
}

TEST(PandocReaderNotes, NumberedInOrderAfterTheParagraphNestedOnesHigher) {
    EXPECT_EQ(readInlines(str("a") + R"(,{"Note":[)" + para(str("one")) + "," + para(str("two")) + R"(]},{"Note":[]})"),
              R"([["para",{"level":0},["plain","a"],["noteref","1"],["noteref","2"]],)"
              R"(["note",{"level":0},["noteref","1"],["plain","one"],["break","\n"],["break","\n"],["plain","two"]],)"
              R"(["note",{"level":0},["noteref","2"]]])");
    EXPECT_EQ(readInlines(R"({"Note":[)" + para(str("outer") + R"(,{"Note":[)" + para(str("inner")) + "]}") + "]}"),
              R"([["para",{"level":0},["noteref","1"]],["note",{"level":0},["noteref","1"],["plain","outer"],["noteref","2"]],)"
              R"(["note",{"level":0},["noteref","2"],["plain","inner"]]])");
}

TEST(PandocReaderTables, CellParagraphsJoinAndAHeaderOfOnlyEmptyCellsHoldsNothing) {
    const std::string cell = "[" + para(str("x")) + "]";
    EXPECT_EQ(readBlocks(R"([{"Table":[[],["AlignDefault","AlignDefault"],[0,0],[)" + cell + "," + cell + "],[[" + cell + ",[" +
                         para(str("p1")) + "," + para(str("p2")) + "]]]]}]"),
              R"([["row",{"level":1},["plain","x"]],["col",{"level":2},["plain","x"]],)"
              R"(["row",{"level":1},["plain","x"]],["col",{"level":2},["plain","p1 p2"]]])");
    // An empty row of the body stays, unless the flavour loses such rows (Pandoc Markdown).
    const std::string headerless = R"([{"Table":[[],["AlignDefault","AlignDefault"],[0,0],[[],[]],[[[],)" + cell + "],[[],[]]]]}]";
    EXPECT_EQ(readBlocks(headerless), R"([["row",{"level":1}],["col",{"level":2},["plain","x"]],["row",{"level":1}],["col",{"level":2}]])");
    EXPECT_EQ(readBlocks(headerless, R"({"emptyRows":false})"), R"([["row",{"level":1}],["col",{"level":2},["plain","x"]]])");
}

TEST(PandocReaderMerging, NoteReferencesUrlsAndLineBreaksStayApart) {
    EXPECT_EQ(readInlines(R"({"Note":[]},{"Note":[]},{"Link":[[{"Str":"u"}],["u",""]]},"Space",)"
                          R"({"Link":[[{"Str":"v"}],["v",""]]},{"Code":[["",[],[]],"a"]},{"Code":[["",[],[]],"b"]})"),
              R"([["para",{"level":0},["noteref","1"],["noteref","2"],["url","u"],["plain"," "],["url","v"],["code","ab"]],)"
              R"(["note",{"level":0},["noteref","1"]],["note",{"level":0},["noteref","2"]]])");
    EXPECT_EQ(readInlines(R"("LineBreak","LineBreak",{"Str":"a"})"), R"([["para",{"level":0},["break","\n"],["break","\n"],["plain","a"]]])");
}

// The model the reader gives is the one the editor and the text format keep, so the
// first save is the only one that changes anything.
TEST(PandocReaderCanonical, EmptyCodeLinesEmptyLinkTextsSpacesAtLineEdgesAndAbbreviations) {
    EXPECT_EQ(readBlocks(R"([{"CodeBlock":[["",[],[]],"a\n\nb"]}])"),
              R"([["verbatim",{"level":0},["plain","a"],["break","\n"],["break","\n"],["plain","b"]]])");
    EXPECT_EQ(readInlines(R"({"Link":[[],["http://u.org/",""]]})"), R"([["para",{"level":0},["url","http://u.org/"]]])");
    EXPECT_EQ(readInlines(R"("Space",)" + str("a") + R"(,"Space","LineBreak","Space",)" + str("b") + R"(,"Space")"),
              R"([["para",{"level":0},["plain","a"],["break","\n"],["plain","b"]]])");
    // An address Pandoc links inside a link's text stays that link's text.
    EXPECT_EQ(readInlines(R"({"Link":[[{"Link":[[)" + str("w.org") + R"(],["http://w.org",""]]}],["http://w.org",""]]})"),
              R"([["para",{"level":0},["linktext","w.org"],["linkref","1"]],["link",{"level":0},["linkref","1"],["url","http://w.org"]]])");
    // Code opening a list item stays code, lines of spaces too.
    EXPECT_EQ(readBlocks(R"([{"BulletList":[[{"CodeBlock":[["",[],[]],"  x\n\ny\n   \nz"]}]]}])"),
              R"([["bulleted",{"level":0},["code","  x"],["break","\n"],["break","\n"],["code","y"],["break","\n"],)"
              R"(["code","   "],["break","\n"],["code","z"]]])");
    // A line end after an abbreviation is a space like any other; the no-break space Pandoc
    // Markdown reads after one inside a line stays.
    EXPECT_EQ(readCurrent("[{\"t\":\"Para\",\"c\":[{\"t\":\"Str\",\"c\":\"(e.g.\"},{\"t\":\"SoftBreak\"},{\"t\":\"Str\",\"c\":\"i.e.\u00A0x\"}]}]"),
              "[[\"para\",{\"level\":0},[\"plain\",\"(e.g. i.e.\u00A0x\"]]]");
}

TEST(PandocCurrentForm, MetadataSoftBreaksQuotesDivSpanEmojiUnderlineLineBlockAndFigure) {
    EXPECT_EQ(readCurrent("[]", R"({"title":{"t":"MetaInlines","c":[{"t":"Str","c":"T"}]},)"
                                R"("author":{"t":"MetaList","c":[{"t":"MetaInlines","c":[{"t":"Str","c":"A"}]},{"t":"MetaString","c":"B"}]},)"
                                R"("date":{"t":"MetaInlines","c":[{"t":"Str","c":"D"}]}})"),
              R"([["para",{"level":0},["plain","T"]],["para",{"level":0},["plain","A"]],)"
              R"(["para",{"level":0},["plain","B"]],["para",{"level":0},["plain","D"]]])");
    EXPECT_EQ(readCurrent(R"([{"t":"Para","c":[{"t":"Str","c":"a"},{"t":"SoftBreak"},{"t":"Str","c":"b"},)"
                          R"({"t":"Quoted","c":[{"t":"SingleQuote"},[{"t":"Str","c":"q"}]]}]}])"),
              "[[\"para\",{\"level\":0},[\"plain\",\"a b\u2018q\u2019\"]]]");
    EXPECT_EQ(readCurrent(R"([{"t":"Div","c":[)" + kAttr + R"(,[{"t":"Para","c":[{"t":"Span","c":[)" + kAttr +
                          R"(,[{"t":"Str","c":"s"}]]},{"t":"Underline","c":[{"t":"Str","c":"u"}]}]},)" +
                          R"({"t":"Div","c":[)" + kAttr + R"(,[)" + plain("deep") + R"(]]}]]},)" +
                          R"({"t":"LineBlock","c":[[{"t":"Str","c":"l1"}],[{"t":"Str","c":"l2"}]]},{"t":"Null"}])"),
              R"([["para",{"level":0},["plain","su"]],["para",{"level":0},["plain","deep"]],)"
              R"(["para",{"level":0},["plain","l1"],["break","\n"],["plain","l2"]]])");
    // A document's own divisions (Pandoc Markdown's) are kept as the HTML tags around their blocks.
    EXPECT_EQ(blocksOf(R"({"pandoc-api-version":[1,22,2,1],"meta":{},"blocks":[{"t":"Div","c":[["d",["c"],[]],[)" + plain("x") + "]]}]}",
                       R"({"divsAndSpans":true})"),
              R"([["html",{"level":0},["plain","<div id=\"d\" class=\"c\">"]],["para",{"level":0},["plain","x"]],)"
              R"(["html",{"level":0},["plain","</div>"]]])");
    // An emoji keeps the name it was written with.
    EXPECT_EQ(readCurrent(R"([{"t":"Para","c":[{"t":"Span","c":[["",["emoji"],[["data-emoji","office"]]],[{"t":"Str","c":"x"}]]},)"
                          R"({"t":"Span","c":[["",["emoji"],[["data-emoji","a b"]]],[{"t":"Str","c":"y"}]]}]}])"),
              R"([["para",{"level":0},["plain",":office:y"]]])");
    EXPECT_EQ(readCurrent(R"([{"t":"Figure","c":[)" + kAttr + R"(,[null,[)" + plain("cap") + R"(]],[{"t":"Plain","c":[{"t":"Image","c":[)" +
                              kAttr + R"(,[{"t":"Str","c":"cap"}],["i.png",""]]}]}]]}])",
                          "{}", "[1,23,1]"),
              R"([["image",{"level":0,"alt":"cap"},["url","i.png"]]])");
}

TEST(PandocCurrentForm, TablesWithHeadBodiesFootSpanningCellAndThe117Shape) {
    auto cell = [](const std::string& blocks, int colspan = 1) {
        return "[" + kAttr + R"(,{"t":"AlignDefault"},1,)" + std::to_string(colspan) + "," + blocks + "]";
    };
    auto row = [](const std::string& cells) { return "[" + kAttr + ",[" + cells + "]]"; };
    EXPECT_EQ(readCurrent(R"([{"t":"Table","c":[)" + kAttr + R"(,[null,[]],[[{"t":"AlignDefault"},{"t":"ColWidthDefault"}],)"
                          R"([{"t":"AlignLeft"},{"t":"ColWidth","c":0.5}]],)" +
                          "[" + kAttr + ",[" + row(cell("[" + plain("h1") + "]") + "," + cell("[" + plain("h2") + "]")) + "]]," +
                          "[[" + kAttr + ",0,[],[" + row(cell("[" + plain("wide") + "]", 2)) + "," +
                          row(cell("[]") + "," + cell("[" + plain("b") + "]")) + "]]]," +
                          "[" + kAttr + ",[" + row(cell("[" + plain("f") + "]") + "," + cell("[]")) + "]]]}]"),
              R"([["row",{"level":1,"align":"dl","widths":"0 0.5"},["plain","h1"]],["col",{"level":2},["plain","h2"]],["row",{"level":1},["plain","wide"]],["col",{"level":2}],)"
              R"(["row",{"level":1}],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","f"]],["col",{"level":2}]])");
    EXPECT_EQ(readCurrent(R"([{"t":"Table","c":[[],[{"t":"AlignDefault"}],[0],[[)" + plain("h") + R"(]],[[[)" + plain("b") + "]]]]}]",
                          "{}", "[1,17,5,4]"),
              R"([["row",{"level":1},["plain","h"]],["row",{"level":1},["plain","b"]]])");
    // A picture in a cell stays a picture in its text; one without a source, which the text cannot
    // hold, as the HTML that shows one.
    EXPECT_EQ(readBlocks(R"([{"Table":[[],["AlignDefault"],[0],[[]],[[[{"Plain":[{"Image":[[{"Str":"a"}],["p.png","T"]]}]},)"
                         R"({"Plain":[{"Image":[[{"Str":"b"}],["","&"]]}]}]]]]}])"),
              R"([["row",{"level":1},["linkimage","a"],["linkimageurl","p.png"],["linkimagetitle","T"],["plain"," "],)"
              R"(["html","<img src=\"\" alt=\"b\" title=\"&amp;\">"]]])");
    // An empty header leaves the columns to the first body row; where the flavour does not tell
    // left from the default (Pandoc Markdown), left is the default.
    const std::string aligned = R"([{"t":"Table","c":[[],[{"t":"AlignCenter"},{"t":"AlignRight"},{"t":"AlignLeft"}],)"
                                R"([0.1388888888888889,0.3,0.001],[[],[],[]],[[[)" + plain("b") + R"(],[],[]]]]}])";
    EXPECT_EQ(readCurrent(aligned, "{}", "[1,17,5,4]"),
              R"([["row",{"level":1,"align":"crl","widths":"0.1388888888888889 0.3 0.001"},["plain","b"]],["col",{"level":2}],["col",{"level":2}]])");
    EXPECT_EQ(blocksOf(R"({"pandoc-api-version":[1,17,5,4],"meta":{},"blocks":)" + aligned + "}", R"({"leftAlignment":false})"),
              R"([["row",{"level":1,"align":"crd","widths":"0.1388888888888889 0.3 0.001"},["plain","b"]],["col",{"level":2}],["col",{"level":2}]])");
}

// Front matter is what Pandoc's readers take for YAML metadata at the start: anything else stays text.
TEST(FrontMatter, FoundOnlyAsAMappingBetweenMarkerLinesAtTheStart) {
    struct Row { const char* text; const char* yaml; const char* rest; };
    for (const Row& row : {Row{"---\ntitle: A\nb:\n  - c\n---\n\n# A\n", "title: A\nb:\n  - c", "\n# A\n"},
                           Row{"---\r\nk: v\r\n...  \r\nrest", "k: v", "rest"},
                           Row{"---\n\"q k\": v\n---", "\"q k\": v", ""},
                           Row{"---\n\ntitle: A\n---\n", nullptr, nullptr},    // a blank line: a rule
                           Row{"---\nTitle\n---\n", nullptr, nullptr},          // a rule and a heading
                           Row{"---\ntitle: A\n\nno end\n", nullptr, nullptr},
                           Row{"text\n---\nk: v\n---\n", nullptr, nullptr},
                           Row{"----\nk: v\n---\n", nullptr, nullptr}}) {
        const auto found = FindFrontMatter(row.text);
        ASSERT_EQ(found.has_value(), row.yaml != nullptr) << row.text;
        if (!found) continue;
        EXPECT_EQ(found->yaml, row.yaml);
        EXPECT_EQ(found->rest, row.rest);
    }
    EXPECT_EQ(WithMetadataBlock(R"(["text",["para",{"level":0},["plain","p"]]])", "a: 1\n\n  b: \"\\\""),
              R"(["text",["metadata",{"level":0},["plain","a: 1"],["break","\n"],["break","\n"],["plain","  b: \"\\\""]],)"
              R"(["para",{"level":0},["plain","p"]]])");
    EXPECT_EQ(WithMetadataBlock(R"(["text"])", "a: 1"), R"(["text",["metadata",{"level":0},["plain","a: 1"]]])");
}

}  // namespace
}  // namespace qorva::convert
