#include "convert/latex_text.h"

#include "convert/text_measure.h"

#include <vector>

namespace qorva::convert {
namespace {

constexpr std::size_t kLineWidth = 80;

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// One segment (no line feeds) filled into lines joined by a line feed and `indent`.
std::string fillSegment(std::string_view segment, std::string_view indent, std::size_t firstWidth,
                        std::size_t nextWidth) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t currentLength = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t space = segment.find(' ', start);
        const std::string_view word =
            segment.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);
        const std::size_t wordLength = utf16Length(word);
        const std::size_t candidateLength = currentLength + (current.empty() ? 0 : 1) + wordLength;
        const std::size_t width = lines.empty() ? firstWidth : nextWidth;
        if (candidateLength <= width || current.empty()) {
            if (!current.empty()) current += ' ';
            current += word;
            currentLength = candidateLength;
        } else {
            lines.emplace_back(trimmed(current));
            current.assign(word);
            currentLength = wordLength;
        }
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    if (!current.empty()) lines.emplace_back(trimmed(current));
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            out += '\n';
            out += indent;
        }
        out += lines[i];
    }
    return out;
}

std::size_t widthAfter(std::string_view lead) {
    const std::size_t length = utf16Length(lead);
    return length >= kLineWidth ? 0 : kLineWidth - length;
}

}  // namespace

void appendEscapedLatex(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\textbackslash{}"; break;
            case '^': out += "\\textasciicircum{}"; break;
            case '~': out += "\\textasciitilde{}"; break;
            case '%': out += "\\%"; break;
            case '_': out += "\\_"; break;
            case '&': out += "\\&"; break;
            case '#': out += "\\#"; break;
            case '{': out += "\\{"; break;
            case '}': out += "\\}"; break;
            case '$': out += "\\$"; break;
            default: out += c;
        }
    }
}

std::string escapeLatex(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscapedLatex(out, text);
    return out;
}

std::string wrapLatex(std::string_view text, std::string_view indent, std::string_view prefix) {
    const std::size_t firstWidth = widthAfter(prefix);
    const std::size_t nextWidth = widthAfter(indent);
    std::string out(prefix);
    std::size_t start = 0;
    bool firstSegment = true;
    while (true) {
        const std::size_t feed = text.find('\n', start);
        if (!firstSegment) {
            out += "\\\\\n";
            out += indent;
        }
        firstSegment = false;
        out += fillSegment(text.substr(start, feed == std::string_view::npos ? std::string_view::npos : feed - start),
                           indent, firstWidth, nextWidth);
        if (feed == std::string_view::npos) break;
        start = feed + 1;
    }
    return out;
}

}  // namespace qorva::convert
