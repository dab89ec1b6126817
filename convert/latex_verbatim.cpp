#include "convert/latex_verbatim.h"

#include "convert/latex_text.h"

#include <vector>

namespace qorva::convert {
namespace {

constexpr std::string_view kEnd = "\\end{verbatim}";
constexpr std::string_view kDelimiters = "|!+=@/;:~^\"'-*,.?_<>0123456789";

// One line as a paragraph of its own: \verb with a delimiter the line lacks, or,
// for a line that holds every one of them, escaped text in the same type.
std::string verbLine(std::string_view line) {
    for (char delimiter : kDelimiters) {
        if (line.find(delimiter) != std::string_view::npos) continue;
        return "\\noindent\\verb" + std::string(1, delimiter) + std::string(line) + delimiter + "\\par";
    }
    return "\\noindent\\texttt{" + escapeLatex(line) + "}\\par";
}

}  // namespace

std::string latexVerbatim(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    std::string out;
    std::string environment;  // the safe lines gathered since the last unsafe one
    bool open = false;
    auto flush = [&] {
        if (!open) return;
        if (!out.empty()) out += '\n';
        out += "\\begin{verbatim}\n" + environment + "\n\\end{verbatim}";
        environment.clear();
        open = false;
    };
    for (std::string_view line : lines) {
        if (line.find(kEnd) == std::string_view::npos) {
            if (open) environment += '\n';
            environment += line;
            open = true;
            continue;
        }
        flush();
        if (!out.empty()) out += '\n';
        out += verbLine(line);
    }
    flush();
    return out;
}

}  // namespace qorva::convert
