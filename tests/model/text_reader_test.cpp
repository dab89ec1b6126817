// Reading the native text format where the input is not what the writer produces:
// hand-written files, other line ends, mended breaks and right-to-left marks, syntax
// errors and bad bytes. What the writer produces is read back by the round-trip
// properties and the welcome document.
#include "model/syntax_error.h"
#include "model/text_reader.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

const std::string kRlm = "\xE2\x80\x8F";

struct Case {
    const char* name;
    std::string text;
    std::string blocks;  // the model read, without its root
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case kCases[] = {
    {"EmptyLineAtTheEndIsAnEmptyParagraph", "abc\n\n", R"(["para",{"level":0},["plain","abc"]],["para",{"level":0}])"},
    {"FurtherEmptyLinesAtTheEndAddNothing", "abc\n\n\n", R"(["para",{"level":0},["plain","abc"]],["para",{"level":0}])"},
    {"ThirdLineEndIsASpace", "a\n\n\nb", R"(["para",{"level":0},["plain","a"]],["para",{"level":0},["plain"," b"]])"},
    {"FourthLineEndIsAnEmptyParagraph", "a\n\n\n\nb",
     R"(["para",{"level":0},["plain","a"]],["para",{"level":0}],["para",{"level":0},["plain","b"]])"},
    {"CrLfLineEnds", "a\r\nb\r\n\r\nc", R"(["para",{"level":0},["plain","a b"]],["para",{"level":0},["plain","c"]])"},
    {"CrLineEnds", "a\rb\r\rc", R"(["para",{"level":0},["plain","a b"]],["para",{"level":0},["plain","c"]])"},
    {"LineStartingLikeAnItemContinuesTheItem", "- a\n- b", R"(["bulleted",{"level":0},["plain","a - b"]])"},
    {"IndentedContinuationLinesJoinWithTheirSpaces", "a\n        b\n  c", R"(["para",{"level":0},["plain","a b   c"]])"},
    {"UnderlineWithoutLineEndIsText", "Title\n=====", R"(["para",{"level":0},["plain","Title ====="]])"},
    {"HashHeadings", "# a\n\n## b", R"(["heading",{"level":-3},["plain","a"]],["heading",{"level":-2},["plain","b"]])"},
    {"FourToSixHashesAreHeadingsFourToSix", "#### x\n\n###### y\n\n####### z",
     R"(["heading",{"level":0},["plain","x"]],["heading",{"level":2},["plain","y"]],["para",{"level":0},["plain","####### z"]])"},
    {"HashWithoutTextIsText", "# ", R"(["para",{"level":0},["plain","# "]])"},
    {"NewerConstructs",
     "~~~~ python\nx\n~~~~\n\n    ~~~~ {=html}\n    <b>\n    ~~~~\n\n![d \\] e](<p.png> \"T \\\"q\\\"\")\n\nTerm *a*\n"
     "~   Def ~~s~~ ^2\\ x^ ~i~ `<br>`{=html} `\\X`{=tex} [t](<u> \"ti\") 2^10 ~~ a~~\n\n[l]: <v> \"w\"",
     R"(["verbatim",{"level":0,"info":"python"},["plain","x"]],["html",{"level":1},["plain","<b>"]],)"
     R"(["image",{"level":0,"alt":"d ] e","title":"T \"q\""},["url","p.png"]],["term",{"level":0},["plain","Term "],["emph","a"]],)"
     R"(["definition",{"level":0,"spacing":"tight"},["plain","Def "],["strike","s"],["plain"," "],["sup","2 x"],["plain"," "],["sub","i"],)"
     R"(["plain"," "],["html","<br>"],["plain"," "],["tex","\\X"],["plain"," "],["linktext","t"],["url","u"],["title","ti"],)"
     R"(["plain"," 2^10 ~~ a~~"]],["link",{"level":0},["linkref","l"],["url","v"],["title","w"]])"},
    {"UnderlinedItemIsAHeading", "- a\n---\n", R"(["heading",{"level":-2},["plain","- a"]])"},
    // "*" and ")" mark loose items, "+" and "]" tight ones; the number of a list's first item is its start.
    {"StarBulletIsLoose", "* x\n\n+ y", R"(["bulleted",{"level":0,"spacing":"loose"},["plain","x"]],["bulleted",{"level":0,"spacing":"tight"},["plain","y"]])"},
    {"NumberWithParenthesisIsLoose", "1) x\n\n2. y\n\n3] z",
     R"(["numbered",{"level":0,"spacing":"loose"},["plain","x"]],["numbered",{"level":0},["plain","y"]],["numbered",{"level":0,"spacing":"tight"},["plain","z"]])"},
    {"ParenthesisWithoutSpaceIsText", "1)x", R"(["para",{"level":0},["plain","1)x"]])"},
    {"FirstNumberOfEachListIsItsStart", "12) a\n\n7. b\n\n    0. c\n\n    1. d\n\nx\n\n1234567890. e\n\n3. f",
     R"(["numbered",{"level":0,"spacing":"loose","start":"12"},["plain","a"]],["numbered",{"level":0},["plain","b"]],)"
     R"(["numbered",{"level":1,"start":"0"},["plain","c"]],["numbered",{"level":1},["plain","d"]],["para",{"level":0},["plain","x"]],)"
     R"(["numbered",{"level":0},["plain","e"]],["numbered",{"level":0},["plain","f"]])"},
    {"IndentationRoundsDown", "       - x", R"(["bulleted",{"level":1},["plain","x"]])"},
    {"LazyQuotationLine", "> a\nb", R"(["quote",{"level":0},["plain","a\nb"]])"},
    {"NoteWithoutLabel", "[^]: x", R"(["note",{"level":0},["noteref",""],["plain","x"]])"},
    {"LinkDefinitionWithoutLabel", "[]: <u>", R"(["link",{"level":0},["linkref",""],["url","u"]])"},
    {"ShortDividerIsText", std::string(79, '-'), R"(["para",{"level":0},["plain",")" + std::string(79, '-') + "\"]]"},
    {"FiveTildesAloneAreText", "~~~~~", R"(["para",{"level":0},["plain","~~~~~"]])"},
    {"FenceRightAfterFenceIsText", "~~~~\n~~~~", R"(["para",{"level":0},["plain","~~~~ ~~~~"]])"},
    {"CodeLevelAndIndentationFromTheOpeningFence", "    ~~~~~~~~\n    a\n\n      b\n~~~~~~~~",
     R"(["verbatim",{"level":1},["plain","a"],["break","\n"],["break","\n"],["plain","  b"]])"},
    {"UnclosedFenceIsText", "~~~~\ncode", R"(["para",{"level":0},["plain","~~~~ code"]])"},
    {"MathLevelFromTheClosingFence", "$$\n    x^2\n    $$", R"(["formula",{"level":1},["plain","x^2"]])"},
    {"IndentedOpeningMathFenceAtLevelZero", "    $$\nx\n$$", R"(["formula",{"level":0},["plain","x"]])"},
    {"TableRowsTakeTheirOwnCells", "+---+---+\n| a | b |\n+---+---+\n| c |\n+---+",
     R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])"},
    {"FirstDividerSaysAlignmentsAndWidths", "+:--+--:+ 0.50 1e-5\n| a | b |\n+:-:+---+\n| c |\n+---+",
     R"(["row",{"level":1,"align":"lr","widths":"0.5 1e-05"},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])"},
    {"WidthsThatAreNoNumbersMakeNoTable", "+--+ x\n| a |\n+--+", R"(["para",{"level":0},["plain","+--+ x | a | +--+"]])"},
    {"CellLinesJoin", "+--+\n| a |\n| b |\n|   |\n+--+", R"(["row",{"level":1},["plain","a b"]])"},
    {"TableWithoutClosingDividerIsText", "+--+\n| a |", R"(["para",{"level":0},["plain","+--+ | a |"]])"},
    {"EmphasisInsideAWord", "2*3*4", R"(["para",{"level":0},["plain","2"],["emph","3"],["plain","4"]])"},
    {"UnmatchedDoubleStar", "**a*", R"(["para",{"level":0},["plain","*"],["emph","a"]])"},
    {"InlineLinkWithoutAngleBrackets", "[t](u)", R"(["para",{"level":0},["linktext","t"],["url","u"]])"},
    {"AngleBracketTargetEndsOnlyAtItsBracket", "[x](<a(1)>) [y](<b)",
     R"j(["para",{"level":0},["linktext","x"],["url","a(1)"],["plain"," "],["linktext","y"],["url","b"]])j"},
    {"LinkTextKeepsCodeAndEmphasisOtherMarkUpStaysText", "[the `f()` *new* **API** $m$][l] [`x`{=html}](<u>) [a*b`c](u)",
     R"j(["para",{"level":0},["linktext","the "],["linkcode","f()"],["linktext"," "],["linkemph","new"],["linktext"," "],)j"
     R"(["linkstrong","API"],["linktext"," $m$"],["linkref","l"],["plain"," "],["linkcode","x"],["linktext","{=html}"],["url","u"],)"
     R"(["plain"," "],["linktext","a*b`c"],["url","u"]])"},
    {"LinkTextKeepsPicturesAndAPictureLeavingNoBracketIsText", R"([![a\]b](<s.png> "T")](<u>) [see ![](<x>) **b**][l] [x ![y](<z>))",
     R"(["para",{"level":0},["linkimage","a]b"],["linkimageurl","s.png"],["linkimagetitle","T"],["url","u"],["plain"," "],["linktext","see "],)"
     R"(["linkimage",""],["linkimageurl","x"],["linktext"," "],["linkstrong","b"],["linkref","l"],["plain"," "],["linktext","x ![y"],["url","z"]])"},
    {"PicturesAloneInBracketsWithNoTargetArePicturesOfTheText", R"(a [![b](<p.png> "T")![](<q>)] c [![d](<r>) e] [![f](<s>)][g])",
     R"(["para",{"level":0},["plain","a "],["linkimage","b"],["linkimageurl","p.png"],["linkimagetitle","T"],["linkimage",""],["linkimageurl","q"],)"
     R"(["plain"," c "],["linktext","![d"],["url","r"],["plain"," e] "],["linkimage","f"],["linkimageurl","s"],["linkref","g"]])"},
    {"NestedStylesCodeAndEmphasisInStrongCodeInEmphasis", "***x*** **a `b` *c* d** *e `f`* ***g* h** ***i**",
     R"j(["para",{"level":0},["strongemph","x"],["plain"," "],["strong","a "],["strongcode","b"],["strong"," "],["strongemph","c"],)j"
     R"(["strong"," d"],["plain"," "],["emph","e "],["emphcode","f"],["plain"," "],["strongemph","g"],["strong"," h"],["plain"," "],["strong","*i"]])"},
    {"LinksInsideEmphasisAndStrongEmphasis", "*see [x](<u>) more* **a *[`c`][1]* b** ***<w>*** *\\[y](\\<z>)*",
     R"(["para",{"level":0},["emph","see "],["linktext","x"],["emphurl","u"],["emph"," more"],["plain"," "],["strong","a "],["linkcode","c"],)"
     R"j(["strongemphlinkref","1"],["strong"," b"],["plain"," "],["strongemphurl","w"],["plain"," "],["emph","[y](<z>)"]])j"},
    {"FootnoteLabelAfterBracketsIsAReference", "[t][^1]", R"(["para",{"level":0},["plain","[t]"],["noteref","1"]])"},
    {"ItemContinuationIndentationIsNotText", "-   a  \n    b", R"(["bulleted",{"level":0},["plain","a"],["break","\n"],["plain","b"]])"},
    {"IndentedParagraphEmptyLineAfterABreak", "    a  \n      \n    b",
     R"(["para",{"level":1},["plain","a"],["break","\n"],["break","\n"],["plain","b"]])"},
    {"LevelZeroParagraphKeepsSpacesAfterABreak", "a  \n    b", R"(["para",{"level":0},["plain","a"],["break","\n"],["plain","    b"]])"},
    {"NoteContinuationIndentationIsNotText", "    [^1]: a  \n    b",
     R"(["note",{"level":1},["noteref","1"],["plain","a"],["break","\n"],["plain","b"]])"},
    {"QuotationBreakBetweenMarkedLines", "    >   a  \n    >   b", R"(["quote",{"level":1},["plain","a"],["break","\n"],["plain","b"]])"},
    {"CommentBreakBetweenMarkedLines", "        //  a  \n        //  b", R"(["comment",{"level":2},["plain","a"],["break","\n"],["plain","b"]])"},
    {"RightToLeftMarksStartingItemLines", kRlm + "-   a\n" + kRlm + "    b", R"(["bulleted",{"level":0,"direction":"rtl"},["plain","a b"]])"},
    {"RightToLeftMarksStartingQuotationLines", kRlm + ">   a  \n" + kRlm + ">   b\n" + kRlm + ">   c",
     R"(["quote",{"level":0,"direction":"rtl"},["plain","a"],["break","\n"],["plain","b c"]])"},
    {"RightToLeftMarksStartingCodeLines", kRlm + "    ~~~~\n" + kRlm + "    x\n" + kRlm + "\n" + kRlm + "    ~~~~",
     R"(["verbatim",{"level":1,"direction":"rtl"},["plain","x"],["break","\n"]])"},
    {"RightToLeftMarksStartingMathLines", kRlm + "$$\n" + kRlm + "x\n" + kRlm + "$$", R"(["formula",{"level":0,"direction":"rtl"},["plain","x"]])"},
    {"RightToLeftMarkInLeftToRightCodeIsText", "~~~~\n" + kRlm + "x\n~~~~", R"(["verbatim",{"level":0},["plain",")" + kRlm + "x\"]]"},
    {"InvalidUtf8IsReplaced", "a\xFF\xFE" "b", "[\"para\",{\"level\":0},[\"plain\",\"a\xEF\xBF\xBD\xEF\xBF\xBD" "b\"]]"},
    {"TruncatedSequenceIsOneReplacement", "a\xE2\x82z", "[\"para\",{\"level\":0},[\"plain\",\"a\xEF\xBF\xBDz\"]]"},
    {"EncodedSurrogatesAreReplaced", "\xED\xA0\x80", "[\"para\",{\"level\":0},[\"plain\",\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"]]"},
    {"ControlCharactersAreEscaped", std::string("a\0b\x1f\"\\", 6), R"(["para",{"level":0},["plain","a\u0000b\u001f\"\\"]])"},
};

class TextReader : public ::testing::TestWithParam<Case> {};

TEST_P(TextReader, Reads) { EXPECT_EQ(readTextFormat(GetParam().text), "[\"text\"," + GetParam().blocks + "]"); }

INSTANTIATE_TEST_SUITE_P(, TextReader, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

TEST(ReaderInline, ThousandsOfUnclosedMarkersStayText) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "[a <b [^c ";
    EXPECT_EQ(readTextFormat(text), R"(["text",["para",{"level":0},["plain",")" + text + "\"]]]");
}

// A quotation's item is read once, not again down each further mark (38 s for these 4 MB once).
TEST(ReaderBlocks, ItemsBehindAThousandQuotationMarksAreOneQuotation) {
    std::string text, marks;
    for (int depth = 0; depth < 1000; ++depth, marks += ">   ") text += marks + ">   -   x\n" + marks + ">\n";
    const std::string model = readTextFormat(text.substr(0, text.size() - 1));
    EXPECT_TRUE(model.starts_with(R"(["text",["quote",{"level":0},["plain","-   x)") && model.find(R"(["quote")", 9) == std::string::npos);
}

struct Failure {
    std::string message;
    TextPosition position;
};

Failure failure(const std::string& text) {
    try {
        readTextFormat(text);
    } catch (const SyntaxError& e) {
        return {e.what(), e.position()};
    }
    ADD_FAILURE() << "no syntax error for " << text;
    return {};
}

TEST(ReaderSyntaxErrors, MessagesListEveryTerminalTriedAtTheFurthestPositionFoundCharactersEscaped) {
    const struct {
        std::string text, message;
        std::size_t offset, line, column;
    } cases[] = {
        {"![](<a.png>) x", R"(Expected "\n" or "\r" but " " found.)", 12, 1, 13},
        {"~~~~\na\n~~~~\nx", R"(Expected "\n" or "\r" but "x" found.)", 12, 4, 1},
        {std::string(81, '-'), R"(Expected "\n" or "\r" but "-" found.)", 80, 1, 81},
        {std::string(80, '-') + "\nx", R"(Expected "\n" or "\r" but "x" found.)", 81, 2, 1},
        // A note is tried before headings, so an underline stops it.
        {"[^1]: a\n===\n", R"(Expected "\n" or "\r" but "=" found.)", 8, 2, 1},
        {"> a  \n    b", R"(Expected " ", "\n" or "\r" but "b" found.)", 10, 2, 5},
        // CR LF is one line end, U+2028 and a lone CR are one each; the astral character
        // counts two units.
        {"\xF0\x9F\x98\x80" "a\r\n\r\nb\xE2\x80\xA8" "c\r\r![](<x>)y", R"(Expected "\n" or "\r" but "y" found.)", 20, 6, 9},
    };
    for (const auto& c : cases) {
        const Failure f = failure(c.text);
        EXPECT_EQ(f.message, c.message) << c.text;
        EXPECT_EQ(f.position.offset, c.offset) << c.text;
        EXPECT_EQ(f.position.line, c.line) << c.text;
        EXPECT_EQ(f.position.column, c.column) << c.text;
    }
    for (const auto& [found, shown] : std::vector<std::pair<std::string, std::string>>{
             {"\t", "\\t"}, {"\x01", "%01"}, {"\xC3\xA9", "%E9"}, {"\xE2\x86\xA9", "%u21A9"}, {"\"", "\\\""}})
        EXPECT_EQ(failure("![](<a>)" + found).message, "Expected \"\\n\" or \"\\r\" but \"" + shown + "\" found.");
}

}  // namespace
}  // namespace qorva
