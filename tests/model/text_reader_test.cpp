// Reading the native text format: blocks, inline mark-up, tables, the mended line
// breaks and right-to-left marks, syntax errors and bad bytes.
#include "model/syntax_error.h"
#include "model/text_reader.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

std::string read(const std::string& text) { return readTextFormat(text); }

// The blocks without the root, to keep expectations short.
std::string blocks(const std::string& text) {
    const std::string json = read(text);
    return json.substr(8, json.size() - 9);  // strip ["text", and ]
}

struct Failure {
    std::string message;
    TextPosition position;
};

Failure failure(const std::string& text) {
    try {
        read(text);
    } catch (const SyntaxError& e) {
        return {e.what(), e.position()};
    }
    ADD_FAILURE() << "no syntax error for " << text;
    return {};
}

TEST(ReaderBlocks, EmptyInputAndLineEndsOfEveryKind) {
    EXPECT_EQ(read(""), R"(["text",["para",{"level":0}]])");
    EXPECT_EQ(read("abc"), read("abc\n"));
    EXPECT_EQ(blocks("abc\n\n"), R"(["para",{"level":0},["plain","abc"]],["para",{"level":0}])");
    EXPECT_EQ(blocks("abc\n\n\n"), blocks("abc\n\n"));
    EXPECT_EQ(blocks("a\n\n\nb"), R"(["para",{"level":0},["plain","a"]],["para",{"level":0},["plain"," b"]])");
    EXPECT_EQ(blocks("a\n\n\n\nb"), R"(["para",{"level":0},["plain","a"]],["para",{"level":0}],["para",{"level":0},["plain","b"]])");
    EXPECT_EQ(read("a\r\nb\r\n\r\nc"), read("a\nb\n\nc"));
    EXPECT_EQ(read("a\rb\r\rc"), read("a\nb\n\nc"));
    EXPECT_EQ(blocks("- a\n- b"), R"(["bulleted",{"level":0},["plain","a - b"]])");
    EXPECT_EQ(blocks("a\n        b\n  c"), R"(["para",{"level":0},["plain","a b   c"]])");
}

TEST(ReaderBlocks, Headings) {
    EXPECT_EQ(blocks("Title\n=====\n\nText"), R"(["heading",{"level":-3},["plain","Title"]],["para",{"level":0},["plain","Text"]])");
    EXPECT_EQ(blocks("Title\n-----\n"), R"(["heading",{"level":-2},["plain","Title"]])");
    EXPECT_EQ(blocks("Title\n====="), R"(["para",{"level":0},["plain","Title ====="]])");
    EXPECT_EQ(blocks("# a\n\n## b\n\n### c"),
              R"(["heading",{"level":-3},["plain","a"]],["heading",{"level":-2},["plain","b"]],["heading",{"level":-1},["plain","c"]])");
    EXPECT_EQ(blocks("#### x"), R"(["para",{"level":0},["plain","#### x"]])");
    EXPECT_EQ(blocks("# "), R"(["para",{"level":0},["plain","# "]])");
    EXPECT_EQ(blocks("- a\n---\n"), R"(["heading",{"level":-2},["plain","- a"]])");
}

TEST(ReaderBlocks, ListItemsAndLevels) {
    EXPECT_EQ(blocks("* x"), R"(["bulleted",{"level":0},["plain","x"]])");
    EXPECT_EQ(blocks("12. x"), R"(["numbered",{"level":0},["plain","x"]])");
    EXPECT_EQ(blocks("1) x"), R"(["para",{"level":0},["plain","1) x"]])");
    EXPECT_EQ(blocks("        -   x"), R"(["bulleted",{"level":2},["plain","x"]])");
    EXPECT_EQ(blocks("       - x"), R"(["bulleted",{"level":1},["plain","x"]])");
    EXPECT_EQ(blocks("            p"), R"(["para",{"level":3},["plain","p"]])");
}

TEST(ReaderBlocks, QuotationsCommentsDefinitionsImagesAndDividers) {
    EXPECT_EQ(blocks(">   a\n>   b"), R"(["quote",{"level":0},["plain","a b"]])");
    EXPECT_EQ(blocks("> a\nb"), R"(["quote",{"level":0},["plain","a\nb"]])");
    EXPECT_EQ(blocks("    //  note to self"), R"(["comment",{"level":1},["plain","note to self"]])");
    EXPECT_EQ(blocks("[^]: x"), R"(["note",{"level":0},["noteref",""],["plain","x"]])");
    EXPECT_EQ(blocks("[]: <u>"), R"(["link",{"level":0},["linkref",""],["url","u"]])");
    EXPECT_EQ(blocks("    [2]: <http://example.org>"), R"(["link",{"level":1},["linkref","2"],["url","http://example.org"]])");
    EXPECT_EQ(blocks("![](<a b.png>)"), R"(["image",{"level":0},["url","a b.png"]])");
    EXPECT_EQ(blocks(std::string(80, '-')), R"(["divider",{"level":0}])");
    EXPECT_EQ(blocks(std::string(79, '-')), R"(["para",{"level":0},["plain",")" + std::string(79, '-') + "\"]]");
}

TEST(ReaderFences, CodeBlocksAndMathBlocksTakingTheirLevelFromTheClosingFence) {
    EXPECT_EQ(blocks("~~~~~"), R"(["para",{"level":0},["plain","~~~~~"]])");
    EXPECT_EQ(blocks("~~~~\n\n~~~~"), R"(["verbatim",{"level":0}])");
    EXPECT_EQ(blocks("~~~~\n~~~~"), R"(["para",{"level":0},["plain","~~~~ ~~~~"]])");
    EXPECT_EQ(blocks("    ~~~~~~~~\n    a\n\n      b\n~~~~~~~~"),
              R"(["verbatim",{"level":1},["plain","a"],["break","\n"],["break","\n"],["plain","  b"]])");
    // Only a line of at least as many tildes and nothing else closes the block.
    EXPECT_EQ(blocks("~~~~~~~~\n~~~~\n~~~~ x\n~~~~~~~~~~~~"), R"(["verbatim",{"level":0},["plain","~~~~"],["break","\n"],["plain","~~~~ x"]])");
    EXPECT_EQ(blocks("$$$\n$$\n$$$"), R"(["formula",{"level":0},["plain","$$"]])");
    // An unclosed fence is ordinary text.
    EXPECT_EQ(blocks("~~~~\ncode"), R"(["para",{"level":0},["plain","~~~~ code"]])");
    EXPECT_EQ(blocks("$$\n    x^2\n    $$"), R"(["formula",{"level":1},["plain","x^2"]])");
    EXPECT_EQ(blocks("    $$\nx\n$$"), R"(["formula",{"level":0},["plain","x"]])");
}

TEST(ReaderTables, CellsJoinTheirLinesAndRowsTakeTheLongestLine) {
    EXPECT_EQ(blocks("+---+---+\n| a | b |\n+---+---+\n| c |\n+---+"),
              R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])");
    EXPECT_EQ(blocks("+--+\n| a |\n| b |\n|   |\n+--+"), R"(["row",{"level":1},["plain","a b"]])");
    EXPECT_EQ(blocks("+--+--+\n|  | *x* |\n+--+"), R"(["row",{"level":1}],["col",{"level":2},["emph","x"]])");
    // Without its closing divider a table is a paragraph.
    EXPECT_EQ(blocks("+--+\n| a |"), R"(["para",{"level":0},["plain","+--+ | a |"]])");
}

TEST(ReaderInline, EmphasisAndEscapes) {
    EXPECT_EQ(blocks("2*3*4"), R"(["para",{"level":0},["plain","2"],["emph","3"],["plain","4"]])");
    EXPECT_EQ(blocks("2\\*3\\*4"), R"(["para",{"level":0},["plain","2*3*4"]])");
    EXPECT_EQ(blocks("a\\b"), R"(["para",{"level":0},["plain","a\\b"]])");
    EXPECT_EQ(blocks("**a*"), R"(["para",{"level":0},["plain","*"],["emph","a"]])");
    EXPECT_EQ(blocks("*a \\* b*"), R"(["para",{"level":0},["emph","a * b"]])");
    EXPECT_EQ(blocks("**s** `c` $m$ <u>"),
              R"(["para",{"level":0},["strong","s"],["plain"," "],["code","c"],["plain"," "],["math","m"],["plain"," "],["url","u"]])");
    // Spans never nest: other markers inside stay text.
    EXPECT_EQ(blocks("*a `b` c*"), R"(["para",{"level":0},["emph","a `b` c"]])");
}

TEST(ReaderInline, LinksAndReferences) {
    EXPECT_EQ(blocks("[t](u)"), R"(["para",{"level":0},["linktext","t"],["url","u"]])");
    EXPECT_EQ(blocks("[t](<u>)"), R"(["para",{"level":0},["linktext","t"],["url","u"]])");
    EXPECT_EQ(blocks("[t][1]"), R"(["para",{"level":0},["linktext","t"],["linkref","1"]])");
    EXPECT_EQ(blocks("[t][^1]"), R"(["para",{"level":0},["plain","[t]"],["noteref","1"]])");
    EXPECT_EQ(blocks("a[^n] b"), R"(["para",{"level":0},["plain","a"],["noteref","n"],["plain"," b"]])");
}

TEST(ReaderInline, ThousandsOfUnclosedMarkersStayText) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "[a <b [^c ";
    EXPECT_EQ(blocks(text), R"(["para",{"level":0},["plain",")" + text + "\"]]");
}

TEST(ReaderMendedBreaks, ContinuationIndentationAfterABreakIsNotText) {
    EXPECT_EQ(blocks("-   a  \n    b"), R"(["bulleted",{"level":0},["plain","a"],["break","\n"],["plain","b"]])");
    EXPECT_EQ(blocks("    a  \n      \n    b"),
              R"(["para",{"level":1},["plain","a"],["break","\n"],["break","\n"],["plain","b"]])");
    // At level 0 a paragraph keeps the spaces after its break: they are its text.
    EXPECT_EQ(blocks("a  \n    b"), R"(["para",{"level":0},["plain","a"],["break","\n"],["plain","    b"]])");
    EXPECT_EQ(blocks("    [^1]: a  \n    b"), R"(["note",{"level":1},["noteref","1"],["plain","a"],["break","\n"],["plain","b"]])");
    EXPECT_EQ(blocks("    >   a  \n    >   b"), R"(["quote",{"level":1},["plain","a"],["break","\n"],["plain","b"]])");
    EXPECT_EQ(blocks("        //  a  \n        //  b"), R"(["comment",{"level":2},["plain","a"],["break","\n"],["plain","b"]])");
}

TEST(ReaderMendedRightToLeft, MarksAtLineStartsAreDropped) {
    const std::string rlm = "\xE2\x80\x8F";
    EXPECT_EQ(blocks(rlm + "-   a\n" + rlm + "    b"), R"(["bulleted",{"level":0,"direction":"rtl"},["plain","a b"]])");
    EXPECT_EQ(blocks(rlm + ">   a  \n" + rlm + ">   b\n" + rlm + ">   c"),
              R"(["quote",{"level":0,"direction":"rtl"},["plain","a"],["break","\n"],["plain","b c"]])");
    EXPECT_EQ(blocks(rlm + "    ~~~~\n" + rlm + "    x\n" + rlm + "\n" + rlm + "    ~~~~"),
              R"(["verbatim",{"level":1,"direction":"rtl"},["plain","x"],["break","\n"]])");
    EXPECT_EQ(blocks(rlm + "$$\n" + rlm + "x\n" + rlm + "$$"), R"(["formula",{"level":0,"direction":"rtl"},["plain","x"]])");
    // In a block written left to right a mark in code stays a character.
    EXPECT_EQ(blocks("~~~~\n" + rlm + "x\n~~~~"), R"(["verbatim",{"level":0},["plain",")" + rlm + "x\"]]");
}

TEST(ReaderSyntaxErrors, MessagesListEveryTerminalTriedAtTheFurthestPosition) {
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
}

TEST(ReaderSyntaxErrors, FoundCharactersAreEscaped) {
    for (const auto& [found, shown] : std::vector<std::pair<std::string, std::string>>{
             {"\t", "\\t"}, {"\x01", "%01"}, {"\xC3\xA9", "%E9"}, {"\xE2\x86\xA9", "%u21A9"}, {"\"", "\\\""}})
        EXPECT_EQ(failure("![](<a>)" + found).message, "Expected \"\\n\" or \"\\r\" but \"" + shown + "\" found.");
}

TEST(ReaderBadBytes, InvalidUtf8IsReplacedAndControlCharactersAreEscaped) {
    EXPECT_EQ(blocks("a\xFF\xFE" "b"), "[\"para\",{\"level\":0},[\"plain\",\"a\xEF\xBF\xBD\xEF\xBF\xBD" "b\"]]");
    // A truncated sequence is one replacement, and what follows survives.
    EXPECT_EQ(blocks("a\xE2\x82z"), "[\"para\",{\"level\":0},[\"plain\",\"a\xEF\xBF\xBDz\"]]");
    // Surrogates encoded in UTF-8 are not characters.
    EXPECT_EQ(blocks("\xED\xA0\x80"), "[\"para\",{\"level\":0},[\"plain\",\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"]]");
    EXPECT_EQ(blocks(std::string("a\0b\x1f\"\\", 6)), R"(["para",{"level":0},["plain","a\u0000b\u001f\"\\"]])");
}

}  // namespace
}  // namespace qorva
