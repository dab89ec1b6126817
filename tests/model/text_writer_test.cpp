// Writing the native text format: options, filling, numbering, tables, right-to-left
// marks and the escaping that keeps saved documents meaning what they meant.
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

const char* kUnwrapped = "{\"wrap\":false}";
const char* kWrapped = "{\"wrap\":true}";

std::string write(const std::string& blocks, const char* options = kUnwrapped) {
    return writeTextFormat("[\"text\"" + (blocks.empty() ? "" : "," + blocks) + "]", options);
}

std::string para(const std::string& spans, int level = 0) {
    return "[\"para\",{\"level\":" + std::to_string(level) + "}," + spans + "]";
}

std::string plain(const std::string& text) { return Json::array({"plain", text}).dump(); }

std::string words(int count, const std::string& word = "word") {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + word;
    return text;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

TEST(WriterOptions, DefaultsOnlyWithoutOptionsAndBadOptionsAreErrors) {
    const TextWriterOptions none = parseTextWriterOptions(nullptr);
    EXPECT_TRUE(none.wrap);
    EXPECT_TRUE(none.escape);
    const TextWriterOptions wrapOnly = parseTextWriterOptions(kWrapped);
    EXPECT_TRUE(wrapOnly.wrap);
    EXPECT_FALSE(wrapOnly.escape);  // a given object replaces the defaults
    EXPECT_FALSE(parseTextWriterOptions("{}").wrap);
    EXPECT_TRUE(parseTextWriterOptions("{\"escape\":1}").escape);
    EXPECT_THROW(parseTextWriterOptions("{\"wrap\":"), ConverterError);
    EXPECT_THROW(parseTextWriterOptions("[true]"), ConverterError);
}

TEST(WriterDocument, EmptyDocumentFragmentsAndMalformedModels) {
    EXPECT_EQ(write(""), "\n");
    EXPECT_EQ(writeTextFormat(R"(["inline",["para",{"level":0},["plain","a"]]])", kUnwrapped), "a\n");
    EXPECT_EQ(write(para(plain("a")) + "," + para(plain("b"))), "a\n\nb\n");
    EXPECT_THROW(writeTextFormat(R"(["html"])", kUnwrapped), ConverterError);
    EXPECT_THROW(writeTextFormat(R"(["text",["para",{"level":0},["plain"]]])", kUnwrapped), ConverterError);
    EXPECT_THROW(writeTextFormat(R"(["text",)", kUnwrapped), ConverterError);
}

TEST(WriterBlocks, EveryKind) {
    EXPECT_EQ(write(R"(["heading",{"level":-3},["plain","Title"]])"), "Title\n=====\n");
    EXPECT_EQ(write(R"(["heading",{"level":-2},["plain","Sub"]])"), "Sub\n---\n");
    EXPECT_EQ(write(R"(["heading",{"level":-1},["plain","Small"]])"), "### Small\n");
    EXPECT_EQ(write(R"(["bulleted",{"level":1},["plain","b"]])"), "    -   b\n");
    EXPECT_EQ(write(R"(["quote",{"level":1},["plain","q"]])"), "    >   q\n");
    EXPECT_EQ(write(R"(["comment",{"level":0},["plain","c"]])"), "//  c\n");
    EXPECT_EQ(write(R"(["link",{"level":0},["linkref","2"],["url","u"]])"), "[2]: <u>\n");
    EXPECT_EQ(write(R"(["note",{"level":1},["noteref","1"],["plain","n"]])"), "    [^1]: n\n");
    EXPECT_EQ(write(R"(["note",{"level":0},["plain","n"]])"), "[^]: n\n");
    EXPECT_EQ(write(R"(["image",{"level":1},["url","a b.png"]])"), "    ![](<a b.png>)\n");
    EXPECT_EQ(write(R"(["divider",{"level":0}])"), std::string(80, '-') + "\n");
    EXPECT_EQ(write(R"(["formula",{"level":0},["plain","x"]])"), "$$\nx\n$$\n");
    EXPECT_EQ(write(R"(["whatever",{"level":1},["plain","w"]])"), "    w\n");
}

TEST(WriterBlocks, CodeBlocks) {
    const std::string fence1 = "    " + std::string(76, '~');
    EXPECT_EQ(write(R"(["verbatim",{"level":1},["plain","a"],["break","\n"],["plain","b"]])"),
              fence1 + "\n    a\n    b\n" + fence1 + "\n");
    EXPECT_EQ(write(R"(["verbatim",{"level":0}])"), std::string(80, '~') + "\n\n" + std::string(80, '~') + "\n");
    // Deep levels still get a fence that reads as one.
    EXPECT_EQ(lines(write(R"(["verbatim",{"level":25}])"))[0], std::string(100, ' ') + "~~~~");
}

TEST(WriterNumbering, CountersPerLevel) {
    const std::string item0 = R"(["numbered",{"level":0},["plain","i"]])";
    const std::string para1 = R"(["para",{"level":1},["plain","p"]])";
    EXPECT_EQ(write(item0 + "," + para1 + "," + item0), "1.  i\n\n    p\n\n2.  i\n");
    // Any other block at the item's level starts the count again.
    EXPECT_EQ(write(item0 + "," + para(plain("p")) + "," + item0), "1.  i\n\np\n\n1.  i\n");
    EXPECT_EQ(write(item0 + R"(,["bulleted",{"level":0},["plain","b"]],)" + item0), "1.  i\n\n-   b\n\n1.  i\n");
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += (i ? "," : "") + item0;
    EXPECT_EQ(lines(write(ten))[18], "10. i");
    const std::string item4 = R"(["numbered",{"level":4},["plain","d"]])";
    EXPECT_EQ(lines(write(item4 + "," + item4 + "," + item4))[4], "                3.  d");
}

TEST(WriterFilling, UnwrappedLineBreaks) {
    EXPECT_EQ(write(para(plain("first") + R"(,["break","\n"],)" + plain("second"))), "first  \nsecond\n");
    EXPECT_EQ(write(para(plain("a") + R"(,["break","\n"],["break","\n"],)" + plain("b"))), "a  \n  \nb\n");
    EXPECT_EQ(write(R"(["bulleted",{"level":0},["plain","a"],["break","\n"],["plain","b"]])"), "-   a  \n    b\n");
}

TEST(WriterFilling, WrappedWidths) {
    for (const auto& [block, prefix, width] : std::vector<std::tuple<std::string, std::string, std::size_t>>{
             {para(plain(words(60))), "", 80},
             {R"(["bulleted",{"level":0},)" + plain(words(60)) + "]", "    ", 80},
         }) {
        const auto out = lines(write(block, kWrapped));
        ASSERT_GT(out.size(), 2u);
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_LE(out[i].size(), width) << out[i];
            if (i > 0) EXPECT_EQ(out[i].compare(0, prefix.size(), prefix), 0) << out[i];
        }
        EXPECT_GT(out[0].size(), width - 6);  // filled, not merely cut
    }
    EXPECT_EQ(lines(write(R"(["bulleted",{"level":0},)" + plain(words(60)) + "]", kWrapped))[0].substr(0, 4), "-   ");
}

TEST(WriterFilling, LongWordsStandAloneAndWidthsCountUtf16Units) {
    const std::string longWord(100, 'x');
    EXPECT_EQ(write(para(plain("a " + longWord + " b")), kWrapped), "a\n" + longWord + "\nb\n");
    // 40 astral characters are 80 units: a full line.
    std::string astral;
    for (int i = 0; i < 40; ++i) astral += "\xF0\x9F\x98\x80";
    EXPECT_EQ(write(para(plain(astral + " b")), kWrapped), astral + "\nb\n");
}

TEST(WriterFilling, AnUnderlineWordIsNeverMovedToTheStartOfALine) {
    const std::string text = std::string(78, 'x') + " ---";
    EXPECT_EQ(write(para(plain(text)), kWrapped), text + "\n");
    EXPECT_EQ(readTextFormat(write(para(plain(text)), kWrapped)), "[\"text\"," + para(plain(text)) + "]");
}

TEST(WriterTables, RowsCellsDividersAndCappedWidths) {
    EXPECT_EQ(write(R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","bb"]],["row",{"level":1},["plain","ccc"]],["col",{"level":2},["plain","d"]])"),
              "+-----+----+\n| a   | bb |\n+-----+----+\n| ccc | d  |\n+-----+----+\n");
    // A shorter row draws only its own cells; an empty table cell is one wide.
    EXPECT_EQ(write(R"(["row",{"level":1}],["col",{"level":2},["plain","b"]],["row",{"level":1},["plain","c"]])"),
              "+---+---+\n|   | b |\n+---+---+\n| c |\n+---+---+\n");
    const auto bold = lines(write(R"(["row",{"level":1},["strong","Features"]])"));
    EXPECT_EQ(bold[1], "| **Features** |");
    const std::string word41(41, 'w');
    const auto wide = lines(write(R"(["row",{"level":1},)" + plain(word41 + " a") + "]"));
    EXPECT_EQ(wide[0], "+" + std::string(42, '-') + "+");
    EXPECT_EQ(wide[1], "| " + word41 + " |");
    EXPECT_EQ(wide[2], "| a" + std::string(39, ' ') + " |");
    const std::string word45(45, 'v');
    EXPECT_EQ(lines(write(R"(["row",{"level":1},)" + plain(word45) + "]"))[1], "| " + word45 + " |");
}

TEST(WriterRightToLeft, EveryLineStartsWithTheMark) {
    const std::string rlm = "\xE2\x80\x8F";
    const auto out = lines(write(R"(["bulleted",{"level":0,"direction":"rtl"},)" + plain(words(25)) + "]", kWrapped));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].substr(0, rlm.size() + 4), rlm + "-   ");
    EXPECT_EQ(out[1].substr(0, rlm.size() + 4), rlm + "    ");
    // Tables ignore direction.
    EXPECT_EQ(write(R"(["row",{"level":1,"direction":"rtl"},["plain","a"]])"), "+---+\n| a |\n+---+\n");
}

TEST(WriterEscaping, EscapeOnFollowsEverySpanKind) {
    const char* on = "{\"wrap\":false,\"escape\":true}";
    EXPECT_EQ(write(para(plain("2*3*4")), on), "2\\*3\\*4\n");
    EXPECT_EQ(write(para(plain("a\\b <x> $ `")), on), "a\\\\b \\<x\\> \\$ \\`\n");
    EXPECT_EQ(write(para(plain("[x]")), on), "[x]\n");
    EXPECT_EQ(write(para(R"(["emph","a*b"],["code","c`"],["linktext","t]"],["url","u>"])"), on), "*a\\*b*`c\\``[t\\]](<u\\>>)\n");
}

TEST(WriterEscaping, EscapeOffMarksOnlyWhatWouldBeReadAsMarkUp) {
    // "2*3*4" would read as emphasis: both stars get a backslash, and it reads back.
    EXPECT_EQ(write(para(plain("2*3*4"))), "2\\*3\\*4\n");
    EXPECT_EQ(readTextFormat(write(para(plain("2*3*4")))), "[\"text\"," + para(plain("2*3*4")) + "]");
    // Ordinary text stays clean.
    EXPECT_EQ(write(para(plain("a * b, 3 < 4, cost $5, C:\\dir, [note]"))), "a * b, 3 < 4, cost $5, C:\\dir, [note]\n");
    EXPECT_EQ(write(para(plain("see [1](x) and <u> and `c` and $m$"))),
              "see \\[1\\](x) and \\<u\\> and \\`c\\` and \\$m\\$\n");
    // A backslash gets one only before a character it would escape.
    EXPECT_EQ(write(para(plain("a\\*") + R"(,["emph","e\\"])")), "a\\\\**e\\\\*\n");
}

TEST(WriterEscaping, EscapeOffProtectsTheStartOfAParagraph) {
    EXPECT_EQ(write(para(plain("[x]: y"))), "\\[x]: y\n");
    EXPECT_EQ(write(para(plain("* item"))), "\\* item\n");
    EXPECT_EQ(write(para(plain("> quoted"))), "\\> quoted\n");
    EXPECT_EQ(write(para(plain("$$"))), "\\$$\n");
    EXPECT_EQ(write(para(plain("![](<x>)"))), "!\\[](\\<x\\>)\n");
    EXPECT_EQ(write(R"(["heading",{"level":-3},["plain","[a]: b"]])"), "\\[a]: b\n=======\n");
    // The label of a definition ends at the first "]" of the line, even inside another span.
    const std::string bracketThenMath = para(plain("[a ") + R"(,["math","x]: y"])");
    EXPECT_EQ(write(bracketThenMath), "\\[a $x]: y$\n");
    EXPECT_EQ(readTextFormat(write(bracketThenMath)), "[\"text\"," + bracketThenMath + "]");
    // Later lines of a block are running text.
    EXPECT_EQ(write(R"(["para",{"level":0},["plain","a"],["break","\n"],["plain","* b"]])"), "a  \n* b\n");
}

TEST(WriterMendedBlocks, EmptyBlocksAreTheirPrefixAndDoNotSwallowTheNextBlock) {
    EXPECT_EQ(write(R"(["para",{"level":0}],["para",{"level":2}],["para",{"level":0},["plain","x"]])"), "\n\n        \n\nx\n");
    EXPECT_EQ(write(R"(["heading",{"level":-3}],)" + para(plain("x"))), "\n\nx\n");
    EXPECT_EQ(write(R"(["quote",{"level":1}],)" + para(plain("x"))), "    \n\nx\n");
    EXPECT_EQ(write(R"(["comment",{"level":0}],)" + para(plain("x"))), "\n\nx\n");
}

}  // namespace
}  // namespace qorva
