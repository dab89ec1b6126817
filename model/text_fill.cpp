#include "model/text_fill.h"

#include "model/utf8.h"

#include <algorithm>
#include <vector>

namespace qorva {
namespace {

std::string_view trimSpaces(std::string_view line) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    return line;
}

bool looksLikeUnderline(std::string_view word) {
    return !word.empty() && (word.find_first_not_of('=') == std::string_view::npos ||
                             word.find_first_not_of('-') == std::string_view::npos);
}

// Fills one piece (no hard line ends) into lines; appends them joined by `joiner`. With
// `keepLeading` the spaces the piece starts with stay at the start of its first line
// (a line after a hard break reads back with them).
void fillPiece(std::string& out, std::string_view piece, std::size_t firstWidth, std::size_t width,
               std::string_view joiner, bool keepUnderlines, bool keepLeading) {
    std::string_view lead;
    if (keepLeading) {
        lead = piece.substr(0, std::min(piece.find_first_not_of(' '), piece.size()));
        piece.remove_prefix(lead.size());
        firstWidth = firstWidth > lead.size() ? firstWidth - lead.size() : 0;
    }
    std::string current;
    std::size_t currentWidth = 0;
    bool finishedAny = false;
    auto finish = [&]() {
        if (finishedAny) out += joiner;
        else out += lead;
        out += trimSpaces(current);
        finishedAny = true;
    };
    // Lines are cut only at single spaces: a run of spaces stays inside its line,
    // where it reads back as it was.
    auto nextCut = [&](std::size_t from) {
        for (std::size_t at = piece.find(' ', from); at != std::string_view::npos; at = piece.find(' ', at + 1)) {
            const bool lone = (at == 0 || piece[at - 1] != ' ') && (at + 1 == piece.size() || piece[at + 1] != ' ');
            if (lone) return at;
            at = std::min(piece.find_first_not_of(' ', at), piece.size()) - 1;
        }
        return std::string_view::npos;
    };
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = nextCut(start);
        const std::string_view word = piece.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);
        const std::size_t wordWidth = textWidth(word);
        const std::size_t candidateWidth = current.empty() ? wordWidth : currentWidth + 1 + wordWidth;
        const std::size_t limit = finishedAny ? width : firstWidth;
        // A line starting ":   " after the first would make the first a definition's term.
        const bool fits = candidateWidth <= limit || (keepUnderlines && looksLikeUnderline(word)) || word.substr(0, 4) == ":   ";
        if (fits || current.empty()) {
            if (!current.empty()) current += ' ';
            current += word;
            currentWidth = candidateWidth;
        } else {
            finish();
            current.assign(word);
            currentWidth = wordWidth;
        }
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    if (!current.empty() || (!finishedAny && !lead.empty())) finish();
}

std::size_t room(std::string_view prefix) {
    const std::size_t used = textWidth(prefix);
    return used >= 80 ? 0 : 80 - used;
}

}  // namespace

std::size_t textWidth(std::string_view text) { return utf8::utf16Length(text); }

std::string fill(std::string_view text, std::string_view continuation, std::string_view first, bool wrap) {
    std::string out(first);
    std::string hardEnd = "  \n";
    hardEnd += continuation;
    if (!wrap) {
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
            out.append(text.substr(start, end - start));
            out += hardEnd;
        }
        out.append(text.substr(start));
        return out;
    }
    std::string softEnd = "\n";
    softEnd += continuation;
    const std::size_t firstWidth = room(first), width = room(continuation);
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        fillPiece(out, text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start),
                  firstWidth, width, softEnd, continuation.empty(), true);
        if (end == std::string_view::npos) break;
        out += hardEnd;
        start = end + 1;
    }
    return out;
}

std::string fillCell(std::string_view text, std::size_t width) {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        fillPiece(out, text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start),
                  width, width, "\n", false, false);
        if (end == std::string_view::npos) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

}  // namespace qorva
