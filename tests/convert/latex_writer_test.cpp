#include "convert/converters.h"
#include "convert/latex_text.h"
#include "model/model_json.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva::convert {
namespace {

std::string latex(const std::string& blocks) { return WriteLatex(testing::textModel(blocks), nullptr); }

std::string tenWords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::string("abcdefghi") + char('0' + i);
    return text;
}

TEST(LatexText, WrapsAtEightyColumnsLessListIndentationAndEscapesTheTenSpecialCharacters) {
    EXPECT_EQ(wrapLatex(tenWords(10), "", ""), tenWords(7) + "\nabcdefghi7 abcdefghi8 abcdefghi9");
    // First line: 80 - len("    \item ") = 70 columns; continuation lines: 76.
    const std::string item = wrapLatex(tenWords(20), "    ", "    \\item ");
    EXPECT_EQ(item.substr(0, item.find('\n')), "    \\item " + tenWords(6));
    const std::string rest = item.substr(item.find('\n') + 1);
    EXPECT_EQ(rest.substr(0, rest.find('\n')).size(), 4u + 76u);
    EXPECT_EQ(wrapLatex("a\nb", "", ""), "a\\\\\nb");
    const std::string longWord(100, 'x');
    EXPECT_EQ(wrapLatex("a " + longWord + " b", "", ""), "a\n" + longWord + "\nb");
    EXPECT_EQ(wrapLatex("a  b", "", ""), "a  b");
    // 40 two-unit characters (outside the BMP) fill 80 columns: the next word moves on.
    std::string wide;
    for (int i = 0; i < 40; ++i) wide += "\xF0\x9F\x98\x80";
    EXPECT_EQ(wrapLatex(wide + " z", "", ""), wide + "\nz");
    EXPECT_EQ(escapeLatex("\\x^~%_&#{}$ plain"),
              "\\textbackslash{}x\\textasciicircum{}\\textasciitilde{}\\%\\_\\&\\#\\{\\}\\$ plain");
}

using Case = testing::WriterCase;

const Case kCases[] = {
    {"EmptyDocument", "", "\n"},
    {"TextEscapedMathNotAndStyles", R"(["para",{"level":0},["plain","5% of $x_1"],["math","x_1 + 5\\%"],["emph","e"],["strong","s"],["code","c_1"]])",
     "5\\% of \\$x\\_1$x_1 + 5\\%$\\emph{e}\\textbf{s}\\texttt{c\\_1}\n"},
    {"NestedStyles", R"(["para",{"level":0},["strongemph","_"],["strongcode","c"],["emphcode","e"]])",
     "\\textbf{\\emph{\\_}}\\textbf{\\texttt{c}}\\emph{\\texttt{e}}\n"},
    {"LinksWholeInEmphasisInsideItsCommands",
     R"(["para",{"level":0},["linktext","t"],["emphurl","u"],["linkemph","x"],["stronglinkref","L"],["strongemphurl","http://v"]],)"
     R"(["link",{"level":0},["linkref","L"],["url","http://u"]])",
     "\\emph{\\href{u}{t}}\\textbf{\\href{http://u}{\\emph{x}}}\\textbf{\\emph{\\url{http://v}}}\n"},
    {"ListsAndCodeInQuotations", R"(["numbered",{"level":0,"quote":"1"},["plain","a"]],["bulleted",{"level":1,"quote":"1"},["plain","b"]],["verbatim",{"level":0,"quote":"2"},["plain","c"]],["para",{"level":0},["plain","d"]])",
     "\\begin{quotation}\n\n\\begin{enumerate}\n\n\\item a\n\n    \\begin{itemize}\n\n    \\item b\n\n    \\end{itemize}\n\n\\end{enumerate}\n\n"
     "\\begin{quotation}\n\n\\begin{verbatim}\nc\n\\end{verbatim}\n\n\\end{quotation}\n\n\\end{quotation}\n\nd\n"},
    {"LineBreak", R"(["para",{"level":0},["plain","one"],["break","\n"],["plain","two"]])", "one\\\\\ntwo\n"},
    {"InlineLinkWithoutItsTitle", R"(["para",{"level":0},["linktext","t"],["url","http://u"],["title","T"],["url","v"],["title","w"]])",
     "\\href{http://u}{t}\\url{v}w\n"},
    {"LinkTextWithCodeAndEmphasis", R"(["para",{"level":0},["linktext","a_"],["linkcode","f_1"],["linkemph","e"],["linkstrong","s"],["url","http://u"],["linkcode","c"],["url","javascript:x"]])",
     "\\href{http://u}{a\\_\\texttt{f\\_1}\\emph{e}\\textbf{s}}\\texttt{c}\n"},
    {"LinkTextPictureIsItsDescription", R"(["para",{"level":0},["linkimage","a_b"],["linkimageurl","http://p/b.svg"],["linktext"," x"],["url","http://u"]])",
     "\\href{http://u}{a\\_b x}\n"},
    {"LinksThatCouldRunSomethingStayText",
     R"(["para",{"level":0},["linktext","t"],["url","javascript:x"],["url"," RUN:x"],["linktext","r"],["linkref","L"]],)"
     R"(["link",{"level":0},["linkref","L"],["url","java\tscript:y"]])",
     "t RUN:xr\n"},
    {"ReferenceLinksAndUrlsStayInsideTheirArgument",
     R"(["para",{"level":0},["linktext","a_b"],["linkref","L"],["plain"," "],["linktext","n"],["linkref","none"],["plain"," "],)"
     R"(["url","http://x/%41#f{}"]],["link",{"level":0},["linkref","L"],["url","http://l"]])",
     "\\href{http://l}{a\\_b} n \\url{http://x/\\%41\\#f%7B%7D}\n"},
    {"FootnoteInsideAFootnote",
     R"(["para",{"level":0},["plain","a"],["noteref","2"],["noteref","none"]],["note",{"level":0},["noteref","1"],["plain","inner"]],)"
     R"(["note",{"level":0},["noteref","2"],["plain","outer"],["noteref","1"]])",
     "a\\footnote{outer\\footnote{inner}}\n"},
    {"HeadingsSixLevelsEndingLists",
     R"(["heading",{"level":-3},["plain","A"]],["heading",{"level":-2},["plain","B"]],["heading",{"level":-1},["plain","C"]],)"
     R"(["bulleted",{"level":0},["plain","b"]],["heading",{"level":0},["plain","D"]],["heading",{"level":1},["plain","E"]],["heading",{"level":2},["plain","F"]])",
     "\\section{A}\n\n\\subsection{B}\n\n\\subsubsection{C}\n\n\\begin{itemize}\n\n\\item b\n\n\\end{itemize}\n\n"
     "\\paragraph{D}\n\n\\subparagraph{E}\n\n\\subparagraph{F}\n"},
    {"StrikeoutWithItsFallbackSuperscriptSubscript", R"(["para",{"level":0},["strike","s_"],["sup","2"],["sub","i"]])",
     "\\providecommand{\\sout}[1]{\\leavevmode{\\setbox0\\hbox{#1}\\rlap{\\rule[0.5ex]{\\wd0}{0.4pt}}\\box0}}\n\n"
     "\\sout{s\\_}\\textsuperscript{2}\\textsubscript{i}\n"},
    {"RawTexIsGuardedAndRawHtmlLeftOut",
     R"(["tex",{"level":0},["plain","\\begin{center}"],["break","\n"],["plain","\\write18{x}\\end{center}"]],["html",{"level":0},["plain","<b>"]],)"
     R"(["para",{"level":0},["tex","\\LaTeX{}"],["html","<kbd>"],["plain","k"]])",
     "\\begin{center}\n\\mbox{\\textbackslash{}write}18{x}\\end{center}\n\n\\LaTeX{}k\n"},
    {"DescriptionListOfTermsAndDefinitions",
     R"(["definition",{"level":0},["plain","lone"]],["term",{"level":0},["plain","T]"]],["definition",{"level":0},["plain","d"]],)"
     R"(["para",{"level":1},["plain","more"]],["para",{"level":0},["plain","after"]])",
     "\\begin{description}\n\n\\item[] lone\n\n\\item[{T]}]\n\nd\n\nmore\n\n\\end{description}\n\nafter\n"},
    {"Quotation", R"(["quote",{"level":0},["plain","q"]])", "\\begin{quotation}\nq\n\\end{quotation}\n"},
    {"CodeIsVerbatimWithItsLanguageNamed",
     R"(["verbatim",{"level":0},["plain","a_%"],["break","\n"],["plain","b"]],["verbatim",{"level":0,"info":"{.c++ x}"}],)"
     R"(["verbatim",{"level":0,"info":"odd\\name"}])",
     "\\begin{verbatim}\na_%\nb\n\\end{verbatim}\n\n% language: c++\n\\begin{verbatim}\n\n\\end{verbatim}\n\n\\begin{verbatim}\n\n\\end{verbatim}\n"},
    {"Formula", R"(["formula",{"level":0},["plain","x^2"]])", "\\begin{equation}\nx^2\n\\end{equation}\n"},
    // Document TeX typesets, but driver specials, file access and name building
    // are written out as text; "^^" cannot spell them either.
    {"MathCannotReachSpecialsOrFiles",
     R"(["para",{"level":0},["math","\\special{pdf:x}\\frac{a}{b}\\spe^^63ial\\begin{pmatrix}\\end{pmatrix}\\begin{special}"]],)"
     R"(["formula",{"level":0},["plain","\\input{f}\\csname x\\endcsname\\end{input}\\end{\\x}\\XeTeXpicfile\\NewCommandCopy\\lowercase{\\begin{OPENIN}}"]])",
     "$\\mbox{\\textbackslash{}special}{pdf:x}\\frac{a}{b}\\spe^{}^63ial\\begin{pmatrix}\\end{pmatrix}\\mbox{\\textbackslash{}begin}{special}$\n\n"
     "\\begin{equation}\n\\mbox{\\textbackslash{}input}{f}\\mbox{\\textbackslash{}csname} x\\mbox{\\textbackslash{}endcsname}"
     "\\mbox{\\textbackslash{}end}{input}\\mbox{\\textbackslash{}end}{\\x}\\mbox{\\textbackslash{}XeTeXpicfile}"
     "\\mbox{\\textbackslash{}NewCommandCopy}\\mbox{\\textbackslash{}lowercase}{\\mbox{\\textbackslash{}begin}{OPENIN}}\n"
     "\\end{equation}\n"},
    {"ImageWithItsDescriptionAsCaption", R"(["image",{"level":0},["url","a b.png"]],["image",{"level":0,"alt":"1%","title":"t"},["url","c"]])",
     "\\begin{figure}[H]\n\\centering\n\\includegraphics{a b.png}\n\\end{figure}\n\n"
     "\\begin{figure}[H]\n\\centering\n\\includegraphics{c}\n\\caption{1\\%}\n\\end{figure}\n"},
    {"DividerAndCommentLeftOut", R"(["divider",{"level":0}],["comment",{"level":0},["plain","c"]])", "\\hrulefill\n"},
    {"RightToLeftWrapsTheBlock", R"(["heading",{"level":-3,"direction":"rtl"},["plain","H"]],["para",{"level":0,"direction":"rtl"}])",
     "\\begin{RTL}\n\\section{H}\n\\end{RTL}\n"},
    {"ListLevelsOpenEnvironmentsAndSetTheirStart", R"(["numbered",{"level":1,"start":"5"},["plain","x"]],["para",{"level":0},["plain","after"]])",
     "\\begin{enumerate}\n\n    \\begin{enumerate}\n    \\setcounter{enumii}{4}\n\n    \\item x\n\n    \\end{enumerate}\n\n\\end{enumerate}\n\nafter\n"},
    {"ParagraphsContinueItemsAndKindsChange",
     R"(["bulleted",{"level":0},["plain","a"]],["para",{"level":1},["plain","more"]],["numbered",{"level":0},["plain","b"]])",
     "\\begin{itemize}\n\n\\item a\n\nmore\n\n\\end{itemize}\n\n\\begin{enumerate}\n\n\\item b\n\n\\end{enumerate}\n"},
};

class LatexWriter : public ::testing::TestWithParam<Case> {};

TEST_P(LatexWriter, Writes) { EXPECT_EQ(latex(GetParam().blocks), GetParam().written); }

INSTANTIATE_TEST_SUITE_P(, LatexWriter, ::testing::ValuesIn(kCases), [](const auto& info) { return std::string(info.param.name); });

TEST(LatexTables, ColumnWidthsFollowTheCellsConsecutiveRowsAreOneTableRaggedRowsKeepTheirCells) {
    EXPECT_EQ(latex(R"(["row",{"level":1},["plain","a"]],["col",{"level":2},["plain","b"]],)"
                    R"(["row",{"level":1},["plain","c"]],["col",{"level":2},["plain","d"]])"),
              "\\begin{longtable}{ | p{0.05\\textwidth} | p{0.05\\textwidth} |}\n\\hline\na & b \\\\\n\\hline\n"
              "c & d \\\\\n\\hline\n\\end{longtable}\n");
    const std::string out = latex(R"(["row",{"level":1},["plain","a"]],["row",{"level":1},["plain","b"]])");
    EXPECT_EQ(out.find("\\begin{longtable}"), out.rfind("\\begin{longtable}"));
    const std::string wide(60, 'w');
    EXPECT_EQ(latex(R"(["row",{"level":1},["plain",")" + wide + R"("]],["col",{"level":2},["plain",")" + std::string(30, 'v') +
                    R"("]],["col",{"level":2},["plain","z"]],["row",{"level":1},["plain","r"]])"),
              "\\begin{longtable}{ | p{0.5\\textwidth} | p{0.3\\textwidth} | p{0.05\\textwidth} |}\n\\hline\n" + wide +
                  " & " + std::string(30, 'v') + " & z \\\\\n\\hline\nr \\\\\n\\hline\n\\end{longtable}\n");
}

// Malformed models in general are ModelMessages' cases: the writers read models alike.
TEST(LatexBadInput, MathSpanInAFormulaIsRefused) {
    const std::string error = testing::errorOf([] { latex(R"(["formula",{"level":0},["math","x"]])"); });
    EXPECT_NE(error.find("\"math\" span"), std::string::npos) << error;
}

}  // namespace
}  // namespace qorva::convert
