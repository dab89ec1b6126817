// Writing the native text format: options, what the welcome document does not show
// (it pins the ordinary form of every block and span), numbering, filling, tables,
// right-to-left marks and the escaping that keeps saved documents meaning what they meant.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

const char* kUnwrapped = "{\"wrap\":false}";
const char* kWrapped = "{\"wrap\":true}";
const char* kEscaped = "{\"wrap\":false,\"escape\":true}";
const std::string kRlm = "\xE2\x80\x8F";

std::string write(const std::string& blocks, const char* options = kUnwrapped) {
    return writeTextFormat("[\"text\"" + (blocks.empty() ? "" : "," + blocks) + "]", options);
}

std::string para(const std::string& text) { return R"(["para",{"level":0},)" + Json::array({"plain", text}).dump() + "]"; }

std::string repeated(int count, const std::string& piece, const std::string& separator = "") {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? separator : "") + piece;
    return text;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

struct Case {
    const char* name;
    std::string blocks;  // the model without its root
    std::string written;
    const char* options = kUnwrapped;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::string kItem = R"(["numbered",{"level":0},["plain","i"]])";
const std::string kItem4 = R"(["numbered",{"level":4},["plain","d"]])";
const std::string k2x3x4 = para("2*3*4");

const Case kCases[] = {
    {"EmptyDocument", "", "\n"},
    {"NoteWithoutLabel", R"(["note",{"level":0},["plain","n"]])", "[^]: n\n"},
    {"Divider", R"(["divider",{"level":0}])", std::string(80, '-') + "\n"},
    {"UnknownBlockIsAParagraph", R"(["whatever",{"level":1},["plain","w"]])", "    w\n"},
    {"CodeFenceNarrowsWithIndentation", R"(["verbatim",{"level":1},["plain","a"],["break","\n"],["plain","b"]])",
     "    " + std::string(76, '~') + "\n    a\n    b\n    " + std::string(76, '~') + "\n"},
    {"EmptyCodeBlock", R"(["verbatim",{"level":0}])", std::string(80, '~') + "\n\n" + std::string(80, '~') + "\n"},
    // The newer constructs, and paragraphs that look like them kept text by a mark after their first character.
    {"NewerConstructs",
     R"(["heading",{"level":1},["plain","h"]],["tex",{"level":1},["plain","\\x"]],["image",{"level":0,"alt":"a]","title":"t\""},["url","p"]],)"
     R"(["term",{"level":0},["plain","t"]],["definition",{"level":0,"spacing":"tight"},["sup","a b"],["sub","c"],["strike"," d"],["html","<i>"],)"
     R"(["linktext","l"],["url","u"],["title","v"]],["link",{"level":0},["linkref","k"],["url","u"],["title","w"]],)" +
         para("#### x") + "," + para(":   y ~z~ 2^3^"),
     "##### h\n\n    " + std::string(76, '~') + " {=tex}\n    \\x\n    " + std::string(76, '~') +
         "\n\n![a\\]](<p> \"t\\\"\")\n\nt\n~   ^a\\ b^~c~~~\\ d~~`<i>`{=html}[l](<u> \"v\")\n\n[k]: <u> \"w\"\n\n#" + kRlm +
         "### x\n\n:" + kRlm + "   y \\~z\\~ 2\\^3\\^\n"},
    {"NumberingContinuesPastDeeperBlocks", kItem + R"(,["para",{"level":1},["plain","p"]],)" + kItem, "1.  i\n\n    p\n\n2.  i\n"},
    {"ParagraphAtTheItemsLevelRestartsNumbering", kItem + "," + para("p") + "," + kItem, "1.  i\n\np\n\n1.  i\n"},
    {"BulletedItemRestartsNumbering", kItem + R"(,["bulleted",{"level":0},["plain","b"]],)" + kItem, "1.  i\n\n-   b\n\n1.  i\n"},
    {"LooseItemsAndStartNumbers",
     R"(["bulleted",{"level":0,"spacing":"loose"},["plain","b"]],["numbered",{"level":0,"start":"3"},["plain","i"]],)"
     R"(["numbered",{"level":0,"spacing":"loose","start":"9"},["plain","j"]],["numbered",{"level":1,"start":"0"},["plain","k"]],)"
     R"(["numbered",{"level":1,"start":"x"},["plain","l"]],["numbered",{"level":1,"spacing":"tight"},["plain","m"]],)"
     R"(["bulleted",{"level":0,"spacing":"tight"},["plain","n"]])",
     "*   b\n\n3.  i\n\n4)  j\n\n    0.  k\n\n    1.  l\n\n    2]  m\n\n+   n\n"},
    {"StartOfAListAfterAnotherAtItsLevel", kItem + "," + para("p") + R"(,["numbered",{"level":0,"start":"10"},["plain","i"]])", "1.  i\n\np\n\n10. i\n"},
    {"UnwrappedBreak", R"(["para",{"level":0},["plain","first"],["break","\n"],["plain","second"]])", "first  \nsecond\n"},
    {"EmptyLineInsideAParagraph", R"(["para",{"level":0},["plain","a"],["break","\n"],["break","\n"],["plain","b"]])", "a  \n  \nb\n"},
    {"ItemLineAfterABreakIsIndented", R"(["bulleted",{"level":0},["plain","a"],["break","\n"],["plain","b"]])", "-   a  \n    b\n"},
    {"LongWordStandsAlone", para("a " + std::string(100, 'x') + " b"), "a\n" + std::string(100, 'x') + "\nb\n", kWrapped},
    {"WidthsCountUtf16Units", para(repeated(40, "\xF0\x9F\x98\x80") + " b"), repeated(40, "\xF0\x9F\x98\x80") + "\nb\n", kWrapped},
    {"UnderlineWordIsNeverMovedToTheStartOfALine", para(std::string(78, 'x') + " ---"), std::string(78, 'x') + " ---\n", kWrapped},
    {"TableColumnsTakeTheWidestCell",
     R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","bb"]],["row",{"level":1},["plain","ccc"]],["col",{"level":2},["plain","d"]])",
     "+-----+----+\n| a   | bb |\n+-----+----+\n| ccc | d  |\n+-----+----+\n"},
    {"ShortRowDrawsOnlyItsCellsAndEmptyCellIsOneWide",
     R"(["row",{"level":1}],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])",
     "+---+---+\n|   | b |\n+---+---+\n| c |\n+---+---+\n"},
    {"FirstDividerSaysAlignmentsAndWidths",
     R"(["row",{"level":1,"align":"cr","widths":"0.25 0"},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])",
     "+:-:+--:+ 0.25 0\n| a | b |\n+---+---+\n| c |\n+---+---+\n"},
    {"TablesIgnoreDirection", R"(["row",{"level":1,"direction":"rtl"},["plain","a"]])", "+---+\n| a |\n+---+\n"},
    {"EscapeOnStars", k2x3x4, "2\\*3\\*4\n", kEscaped},
    {"EscapeOnEveryListedCharacter", para("a\\b <x> $ `"), "a\\\\b \\<x\\> \\$ \\`\n", kEscaped},
    {"EscapeOnLeavesBrackets", para("[x]"), "[x]\n", kEscaped},
    {"EscapeOnInsideEverySpanKind", R"(["para",{"level":0},["emph","a*b"],["code","c`"],["linktext","t]"],["url","u>"]])",
     "*a\\*b*`c\\``[t\\]](<u\\>>)\n", kEscaped},
    {"LinkTextRunInOneBracketPairItsMarksEscapedAndPlainLinkTextAsBefore",
     R"(["para",{"level":0},["plain","*a "],["linkcode","x]`"],["linktext","*"],["linkemph","e*"],["linkstrong","s"],["url","u"],["plain"," "],)"
     R"(["linktext","one * and ` stay"],["linkref","l"],["plain"," "],["linktext","**two**"],["linkref","l"]])",
     "\\*a [`x\\]\\``\\**e\\****s**](<u>) [one * and ` stay][l] [\\*\\*two\\*\\*][l]\n"},
    {"LinkTextPicturesAndTheBracketsThatWouldOpenOne",
     R"(["para",{"level":0},["linktext","a![b"],["linkimage","x]y\\"],["linkimageurl","s"],["linkimagetitle","T"],["linkemph","e"],["url","u"],)"
     R"(["plain"," then ["],["linkimage",""],["linkimageurl","p"],["url","v"]])",
     "[a!\\[b![x\\]y\\\\](<s> \"T\")*e*](<u>) then \\[[![](<p>)](<v>)\n"},
    {"PicturesOfTheTextAndABracketAfterThemEscapeOn", R"(["para",{"level":0},["linkimage","a"],["linkimageurl","p"],["plain","[1]"]])", "[![a](<p>)]\\[1]\n", kEscaped},
    {"NestedStylesInOnePairOfMarksTheirMarksEscapedAStrongEmphasisEndingStrongOnItsOwn",
     R"j(["para",{"level":0},["strong","a "],["strongcode","b**"],["strong"," "],["strongemph","c"],["strong"," d`"],["plain"," "],)j"
     R"(["emph","e "],["emphcode","f`"],["plain"," "],["strongemph","g*"],["strong"," 2*3"],["plain"," "],["strong","i "],["strongemph","j"]])",
     "**a `b\\*\\*` *c* d\\`** *e `f\\``* ***g\\** 2\\*3** **i *****j***\n"},
    {"LinksWholeInEmphasisInsideItsMarksTheirStarsAndTheTextsLinkOpenersEscaped",
     R"(["para",{"level":0},["emph","see "],["linktext","a*b"],["emphurl","u*"],["emph"," more"],["plain"," "],["linktext","x"],["stronglinkref","1"],)"
     R"(["plain"," "],["strong","a "],["linkcode","c"],["strongemphurl","v"],["title","t*"],["strong"," b"],["plain"," "],["strongemphurl","w"],)"
     R"(["plain"," "],["emph","[x](<u>) <y>"]])",
     "*see [a\\*b](<u\\*>) more* **[x][1]** **a *[`c`](<v> \"t\\*\")* b** ***<w>*** *\\[x](\\<u>) \\<y>*\n"},
    {"EscapeOffStarsThatWouldBeEmphasis", k2x3x4, "2\\*3\\*4\n"},
    {"EscapeOffOrdinaryTextStaysClean", para("a * b, 3 < 4, cost $5, C:\\dir, [note]"), "a * b, 3 < 4, cost $5, C:\\dir, [note]\n"},
    {"EscapeOffMarkUpLookalikes", para("see [1](x) and <u> and `c` and $m$"), "see \\[1\\](x) and \\<u\\> and \\`c\\` and \\$m\\$\n"},
    {"EscapeOffBackslashOnlyBeforeWhatItWouldEscape", R"(["para",{"level":0},["plain","a\\*"],["emph","e\\"]])", "a\\\\**e\\\\*\n"},
    {"ParagraphStartingLikeADefinition", para("[x]: y"), "\\[x]: y\n"},
    {"ParagraphStartingLikeAnItem", para("* item"), "\\* item\n"},
    {"ParagraphStartingLikeALooseNumberedItem", para("12) x"), "1" + kRlm + "2) x\n"},
    {"ParagraphStartingLikeTightItems", para("3] x") + "," + para("+ y"), "3" + kRlm + "] x\n\n+" + kRlm + " y\n"},
    {"ParagraphStartingLikeAQuotation", para("> quoted"), "\\> quoted\n"},
    {"ParagraphStartingLikeMath", para("$$"), "\\$$\n"},
    {"ParagraphStartingLikeAnImage", para("![](<x>)"), "!\\[](\\<x\\>)\n"},
    {"HeadingStartingLikeADefinition", R"(["heading",{"level":-3},["plain","[a]: b"]])", "\\[a]: b\n=======\n"},
    {"DefinitionLabelEndsAtTheFirstBracketEvenInsideASpan", R"(["para",{"level":0},["plain","[a "],["math","x]: y"]])", "\\[a $x]: y$\n"},
    {"LaterLinesOfABlockAreRunningText", R"(["para",{"level":0},["plain","a"],["break","\n"],["plain","* b"]])", "a  \n* b\n"},
    {"EmptyBlocksAreTheirPrefix", R"(["para",{"level":0}],["para",{"level":2}],)" + para("x"), "\n\n        \n\nx\n"},
    {"EmptyHeadingDoesNotSwallowTheNextBlock", R"(["heading",{"level":-3}],)" + para("x"), "\n\nx\n"},
    {"EmptyQuotationDoesNotSwallowTheNextBlock", R"(["quote",{"level":1}],)" + para("x"), "    \n\nx\n"},
    {"EmptyCommentDoesNotSwallowTheNextBlock", R"(["comment",{"level":0}],)" + para("x"), "\n\nx\n"},
};

class TextWriter : public ::testing::TestWithParam<Case> {};

TEST_P(TextWriter, Writes) { EXPECT_EQ(write(GetParam().blocks, GetParam().options), GetParam().written); }

INSTANTIATE_TEST_SUITE_P(, TextWriter, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

TEST(WriterEscaping, MarkedTextReadsBackAsItWas) {
    for (const std::string& block : {k2x3x4, para(std::string(78, 'x') + " ---"), std::string(R"(["para",{"level":0},["plain","[a "],["math","x]: y"]])")})
        for (const char* options : {kUnwrapped, kWrapped}) EXPECT_EQ(readTextFormat(write(block, options)), "[\"text\"," + block + "]") << block;
}

TEST(WriterOptions, DefaultsOnlyWithoutOptionsAndBadOptionsAreErrors) {
    const auto both = [](const char* options) {
        const TextWriterOptions parsed = parseTextWriterOptions(options);
        return std::pair(parsed.wrap, parsed.escape);
    };
    EXPECT_EQ(both(nullptr), std::pair(true, true));
    EXPECT_EQ(both(kWrapped), std::pair(true, false)) << "a given object replaces the defaults";
    EXPECT_EQ(both("{\"escape\":1}"), std::pair(false, true));
    EXPECT_THROW(parseTextWriterOptions("{\"wrap\":"), ConverterError);
    EXPECT_THROW(parseTextWriterOptions("[true]"), ConverterError);
}

TEST(WriterDocument, FragmentsDeepCodeFencesNumbersPastNineAndDeepCounters) {
    EXPECT_EQ(writeTextFormat(R"(["inline",["para",{"level":0},["plain","a"]]])", kUnwrapped), "a\n");
    EXPECT_EQ(lines(write(R"(["verbatim",{"level":25}])"))[0], std::string(100, ' ') + "~~~~");
    EXPECT_EQ(lines(write(repeated(10, kItem, ",")))[18], "10. i");
    EXPECT_EQ(lines(write(repeated(3, kItem4, ",")))[4], "                3.  d");
}

TEST(WriterLines, StyledCellsCappedWidthsAndTheRightToLeftMarkOnEveryLineOfAWrappedItem) {
    EXPECT_EQ(lines(write(R"(["row",{"level":1},["strong","Features"]])"))[1], "| **Features** |");
    const std::string word41(41, 'w');
    const auto wide = lines(write(R"(["row",{"level":1},)" + Json::array({"plain", word41 + " a"}).dump() + "]"));
    EXPECT_EQ(wide[0], "+" + std::string(42, '-') + "+");
    EXPECT_EQ(wide[1], "| " + word41 + " |");
    EXPECT_EQ(wide[2], "| a" + std::string(39, ' ') + " |");
    const std::string word45(45, 'v');
    EXPECT_EQ(lines(write(R"(["row",{"level":1},["plain",")" + word45 + "\"]]"))[1], "| " + word45 + " |");
    const auto out = lines(write(R"(["bulleted",{"level":0,"direction":"rtl"},["plain",")" + repeated(25, "word", " ") + "\"]]", kWrapped));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].substr(0, kRlm.size() + 4), kRlm + "-   ");
    EXPECT_EQ(out[1].substr(0, kRlm.size() + 4), kRlm + "    ");
}

}  // namespace
}  // namespace qorva
