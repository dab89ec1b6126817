// Code blocks in LaTeX: whatever the code holds, LaTeX reads back exactly the code.
#include "convert/converters.h"
#include "convert/latex_verbatim.h"
#include "tests/convert/convert_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace qorva::convert {
namespace {

// What LaTeX takes as the code: a verbatim environment ends at the first
// "\end{verbatim}" after it begins; a \verb paragraph ends at its delimiter.
std::string readBack(const std::string& latex) {
    const std::string begin = "\\begin{verbatim}\n", end = "\n\\end{verbatim}", verb = "\\noindent\\verb";
    std::string code;
    std::size_t at = 0;
    for (bool first = true; at < latex.size(); first = false) {
        if (!first) code += '\n';
        if (latex.compare(at, begin.size(), begin) == 0) {
            // The environment ends wherever "\end{verbatim}" stands, even mid-line.
            const std::size_t from = at + begin.size() - 1;
            const std::size_t stop = latex.find(end.substr(1), from);
            if (stop == std::string::npos) return code + "<unclosed>";
            if (latex[stop - 1] != '\n') return code + "<ended mid-line>";
            code += latex.substr(from + 1, std::max(stop - 1, from + 1) - from - 1);
            at = stop + end.size() - 1;
        } else if (latex.compare(at, verb.size(), verb) == 0) {
            const char delimiter = latex[at + verb.size()];
            const std::size_t stop = latex.find(delimiter, at + verb.size() + 1);
            code += latex.substr(at + verb.size() + 1, stop - at - verb.size() - 1);
            at = latex.find("\\par", stop) + 4;
        } else {
            return code + "<stray:" + latex.substr(at, 20) + ">";
        }
        if (at < latex.size() && latex[at] == '\n') ++at;
    }
    return code;
}

// Code that names the end of its environment, generated, and LaTeX that code smuggles in
// after such an end, never run.
TEST(LatexVerbatim, CodeIsReadBackWholeThroughTheWriter) {
    const std::string pieces[] = {"\\end{verbatim}", "\n", "|", "!", "x", " ", "\\begin{verbatim}", "%", "{", "}", "\\end {verbatim}"};
    std::mt19937 random(18);
    for (int round = 0; round < 300; ++round) {
        std::string code;
        for (int n = random() % 12; n > 0; --n) code += pieces[random() % std::size(pieces)];
        EXPECT_EQ(readBack(latexVerbatim(code)), code) << code;
    }
    const std::string smuggled = "a\n\\end{verbatim}\n\\input{/etc/passwd}\nb";
    EXPECT_EQ(readBack(latexVerbatim(smuggled)), smuggled) << latexVerbatim(smuggled);
    const std::string latex = WriteLatex(testing::textModel(R"(["verbatim",{"level":0},["plain","\\end{verbatim}"]])"), nullptr);
    EXPECT_EQ(readBack(latex.substr(0, latex.find_last_not_of('\n') + 1)), "\\end{verbatim}") << latex;
}

}  // namespace
}  // namespace qorva::convert
