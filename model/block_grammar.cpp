#include "model/block_grammar.h"

#include "model/table_columns.h"

#include "model/inline_scanner.h"
#include "model/syntax_error_text.h"
#include "model/utf8.h"

#include <algorithm>
#include <cstring>

namespace qorva {
namespace {

constexpr std::string_view kRlm = "\xE2\x80\x8F";
constexpr std::string_view kDashes =
    "--------------------------------------------------------------------------------";
static_assert(kDashes.size() == 80);

bool isEolChar(char c) { return c == '\n' || c == '\r'; }

std::string_view trimCell(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A cell's "\\|" is a vertical bar of its text.
void appendUnescapedBars(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '|') ++i;
        out += text[i];
    }
}

}  // namespace

BlockGrammar::BlockGrammar(std::string_view text) : s_(text), n_(text.size()) { arena.reserve(n_); }

// ---------------------------------------------------------------- terminals

bool BlockGrammar::lit(std::size_t& p, std::string_view literal, Exp e) {
    if (s_.substr(p, literal.size()) == literal) {
        p += literal.size();
        return true;
    }
    fail(p, e);
    return false;
}

bool BlockGrammar::ch(std::size_t& p, char c, Exp e) {
    if (p < n_ && s_[p] == c) {
        ++p;
        return true;
    }
    fail(p, e);
    return false;
}

// EOL: "\n" / "\r" "\n"?
bool BlockGrammar::eol(std::size_t& p) {
    if (p < n_ && s_[p] == '\n') {
        ++p;
        return true;
    }
    fail(p, NL);
    if (p < n_ && s_[p] == '\r') {
        ++p;
        if (p < n_ && s_[p] == '\n') ++p;
        else fail(p, NL);
        return true;
    }
    fail(p, CR);
    return false;
}

bool BlockGrammar::rlm(std::size_t& p) {
    if (rlmAt(p)) {
        p += kRlm.size();
        return true;
    }
    fail(p, RLM);
    return false;
}

bool BlockGrammar::anyChar(std::size_t& p) {
    if (p < n_) {
        p += utf8::sequenceLength(static_cast<unsigned char>(s_[p]));
        return true;
    }
    fail(p, ANY);
    return false;
}

// ---------------------------------------------------------------- silent tests

std::size_t BlockGrammar::eolLength(std::size_t p) const {
    if (p >= n_) return 0;
    if (s_[p] == '\n') return 1;
    if (s_[p] == '\r') return p + 1 < n_ && s_[p + 1] == '\n' ? 2 : 1;
    return 0;
}

bool BlockGrammar::rlmAt(std::size_t p) const { return s_.substr(p, kRlm.size()) == kRlm; }

std::size_t BlockGrammar::spaceRunEnd(std::size_t p) {
    if (p >= runFrom_ && p < runTo_) return runTo_;
    std::size_t q = p;
    while (q < n_ && s_[q] == ' ') ++q;
    if (q > p) runFrom_ = p, runTo_ = q;
    return q;
}

// Break: "  " " "* EOL
bool BlockGrammar::breakAt(std::size_t p) {
    const std::size_t end = spaceRunEnd(p);
    return end - p >= 2 && eolLength(end) > 0;
}

bool BlockGrammar::blockEndAt(std::size_t p) const {
    const std::size_t first = eolLength(p);
    return first > 0 && eolLength(p + first) > 0;
}

bool BlockGrammar::finalEolAt(std::size_t p) const {
    const std::size_t first = eolLength(p);
    return first > 0 && p + first == n_;
}

// Heading1Bottom / Heading2Bottom: EOL RLM? mark+ &(BlockEnd / FinalEOL)
bool BlockGrammar::underlineAt(std::size_t p, char mark) const {
    std::size_t q = p + eolLength(p);
    if (q == p) return false;
    if (rlmAt(q)) q += kRlm.size();
    const std::size_t start = q;
    while (q < n_ && s_[q] == mark) ++q;
    return q > start && (blockEndAt(q) || finalEolAt(q));
}

// The look-aheads of Char: where a heading underline, a blank line, a hard break or
// the final line end begins, running text stops.
bool BlockGrammar::charStopAt(std::size_t p) {
    if (p >= n_) return false;
    const char c = s_[p];
    if (c == ' ') return breakAt(p);
    if (!isEolChar(c)) return false;
    return underlineAt(p, '=') || underlineAt(p, '-') || blockEndAt(p) || finalEolAt(p);
}

// A line that can close a fence: Indent*, then a run of fence characters (whole groups
// of "~~~~", or two or more "$"), then the line's end. Returns the run's length, 0 when
// the line is something else.
std::size_t BlockGrammar::closingFenceRun(std::size_t p, Fence fence) const {
    while (s_.substr(p, 4) == "    ") p += 4;
    const char mark = fence == Fence::Tildes ? '~' : '$';
    std::size_t q = p;
    while (q < n_ && s_[q] == mark) ++q;
    const std::size_t run = q - p;
    if (fence == Fence::Tildes ? run < 4 || run % 4 != 0 : run < 2) return 0;
    return q == n_ || eolLength(q) > 0 ? run : 0;
}

// Whether some line end at or after `p` is followed by a line that closes a fence of
// `openRun` characters (after an optional right-to-left mark in a right-to-left block):
// without one a fenced block cannot close, which is known here without scanning the
// rest of the input again.
bool BlockGrammar::closingFenceAfter(std::size_t p, Fence fence, bool rtl, std::size_t openRun) {
    FenceLines& lines = fenceLines_[fence == Fence::Dollars][rtl];
    if (!lines.computed) {
        lines.computed = true;
        for (std::size_t i = 0; i < n_;) {
            const std::size_t length = eolLength(i);
            if (length == 0) {
                ++i;
                continue;
            }
            std::size_t next = i + length;
            if (rtl && rlmAt(next)) next += kRlm.size();
            if (const std::size_t run = closingFenceRun(next, fence)) {
                lines.eols.push_back(i);
                lines.longestFrom.push_back(run);
            }
            i += length;
        }
        for (std::size_t k = lines.longestFrom.size(); k-- > 1;)
            lines.longestFrom[k - 1] = std::max(lines.longestFrom[k - 1], lines.longestFrom[k]);
    }
    const auto at = std::lower_bound(lines.eols.begin(), lines.eols.end(), p);
    return at != lines.eols.end() && lines.longestFrom[static_cast<std::size_t>(at - lines.eols.begin())] >= openRun;
}

// ---------------------------------------------------------------- shared rule parts

// Indent*: the number of four-space units; the result at a block start is cached
// because every block rule begins with it.
long BlockGrammar::indents(std::size_t& p) {
    if (p != indentFrom_) {
        std::size_t q = p;
        long count = 0;
        while (s_.substr(q, 4) == "    ") q += 4, ++count;
        indentFrom_ = p, indentTo_ = q, indentCount_ = count;
    }
    fail(indentTo_, INDENT);
    p = indentTo_;
    return indentCount_;
}

// " "*
void BlockGrammar::spaces(std::size_t& p) {
    p = spaceRunEnd(p);
    fail(p, SPACE);
}

// " "+
bool BlockGrammar::spacesPlus(std::size_t& p) {
    if (!ch(p, ' ', SPACE)) return false;
    spaces(p);
    return true;
}

// NotIndent?: "   " / "  " / " "
void BlockGrammar::optionalNotIndent(std::size_t& p) {
    if (lit(p, "   ", THREE_SPACES)) return;
    if (lit(p, "  ", TWO_SPACES)) return;
    lit(p, " ", SPACE);
}

// EOL RLM? Indent*: a soft line end and the next line's indentation.
bool BlockGrammar::lineContinues(std::size_t& p, bool rtl) {
    if (!eol(p)) return false;
    if (rtl) optionalRlm(p);
    while (lit(p, "    ", INDENT)) {}
    return true;
}

// .: one character, copied as it is.
bool BlockGrammar::copyChar(std::size_t& p, std::string& out) {
    const std::size_t start = p;
    if (!anyChar(p)) return false;
    out.append(s_.substr(start, p - start));
    return true;
}

// Char: a right-to-left mark (dropped), a soft line end with the next line's
// indentation (one space), or any other character.
bool BlockGrammar::blockChar(std::size_t& p, std::string& out, bool rtl) {
    if (charStopAt(p)) return false;
    if (rlmAt(p)) {
        p += kRlm.size();
        return true;
    }
    fail(p, RLM);
    std::size_t q = p;
    if (lineContinues(q, rtl)) {
        out += ' ';
        p = q;
        return true;
    }
    return copyChar(p, out);
}

// Inline: Char+, with a fast path over runs of characters that can only be themselves.
bool BlockGrammar::inlineText(std::size_t& p, std::string& out, bool rtl) {
    InlineMemo& memo = inlineMemo_;
    if (memo.from == p && memo.rtl == rtl) {
        if (memo.ok) {
            out += memo.text;
            p = memo.to;
        }
        return memo.ok;
    }
    const std::size_t from = p, outStart = out.size();
    constexpr std::uint64_t kOrdinary = (std::uint64_t{1} << RLM) | (std::uint64_t{1} << NL) | (std::uint64_t{1} << CR);
    bool any = false;
    for (;;) {
        std::size_t q = p, last = p;
        while (q < n_) {
            const auto c = static_cast<unsigned char>(s_[q]);
            if (c == '\n' || c == '\r' || c == 0xE2) break;
            // A single space between words cannot begin a hard break.
            if (c == ' ' && (q + 1 >= n_ || s_[q + 1] == ' ' || isEolChar(s_[q + 1]))) break;
            last = q;
            q += utf8::sequenceLength(c);
        }
        if (q > p) {
            out.append(s_.substr(p, q - p));
            failMask(last, kOrdinary);  // what each of those Chars tried before "."
            p = q;
            any = true;
        }
        if (!blockChar(p, out, rtl)) break;
        any = true;
    }
    memo.from = from, memo.rtl = rtl, memo.ok = any, memo.to = p;
    memo.text.assign(out, outStart, std::string::npos);
    return any;
}

// Break: "  " " "* EOL
bool BlockGrammar::hardBreak(std::size_t& p) {
    const std::size_t end = spaceRunEnd(p);
    if (end - p < 2) {
        fail(p, TWO_SPACES);
        return false;
    }
    fail(end, SPACE);
    std::size_t q = end;
    if (!eol(q)) return false;
    p = q;
    return true;
}

// A hard break followed by the continuation prefix the writer puts after it: the
// right-to-left mark of a right-to-left block and up to `maxIndents` indentation units.
bool BlockGrammar::continuedBreak(std::size_t& p, long maxIndents, bool rtl) {
    if (!hardBreak(p)) return false;
    if (rtl) optionalRlm(p);
    for (long i = 0; i < maxIndents && lit(p, "    ", INDENT); ++i) {}
    return true;
}

// InlinesWithBreaks: (Inline / Break)*
void BlockGrammar::inlinesWithBreaks(std::size_t& p, long maxIndents, bool rtl) {
    std::string text;
    for (;;) {
        text.clear();
        std::size_t q = p;
        if (inlineText(q, text, rtl)) {
            pushPiece(text);
            p = q;
            continue;
        }
        if (continuedBreak(q, maxIndents, rtl)) {
            pushSpan("break", "\n");
            p = q;
            continue;
        }
        return;
    }
}

// The label of a definition: (!("]" / EOL) .)*
void BlockGrammar::label(std::size_t& p) {
    while (p < n_ && s_[p] != ']' && !isEolChar(s_[p])) p += utf8::sequenceLength(static_cast<unsigned char>(s_[p]));
    if (p == n_) fail(p, ANY);
}

// ---------------------------------------------------------------- blocks

void BlockGrammar::parse() {
    std::size_t p = 0;
    block(p);
    for (;;) {
        if (termPending_) {  // a term and its first definition: one line end apart
            termPending_ = false;
            block(p);
            continue;
        }
        std::size_t q = p;
        if (eol(q)) {
            if (q == n_) {  // FinalEOL
                p = q;
                continue;
            }
        }
        q = p;
        if (eol(q) && eol(q)) {  // BlockEnd Block
            p = q;
            block(p);
            continue;
        }
        break;
    }
    if (p != n_) throwError(p > maxFail_ ? p : maxFail_);
}

void BlockGrammar::throwError(std::size_t at) {
    static const char* const kLiterals[EXP_COUNT] = {
        "\n", "\r", "\xE2\x80\x8F", " ", "  ", "   ", "    ", "~~~~", nullptr, nullptr, "$$", "+",
        "-", "|", "[^", "]:", "[", "![](<", ">)", "=", "# ", "## ", "### ", "*", ".", ">", "//", nullptr,
        "#### ", "##### ", "###### ", ":   ",
    };
    std::vector<std::string> expected;
    for (int e = 0; e < EXP_COUNT; ++e) {
        if (!(expected_ & (std::uint64_t{1} << e))) continue;
        if (e == DASHES) expected.push_back(describeLiteral(kDashes));
        else if (e == DIGIT) expected.push_back("[0-9]");
        else if (e == ANY) expected.push_back("any character");
        else expected.push_back(describeLiteral(kLiterals[e]));
    }
    throw makeSyntaxError(std::move(expected), s_, at);
}

// Block: RLM? BlockNoRLM. Para always matches, so a block is always found.
void BlockGrammar::block(std::size_t& p) {
    const bool rtl = rlm(p);
    if (fenced(p, rtl, Fence::Tildes) || fenced(p, rtl, Fence::Dollars) || divider(p, rtl) ||
        table(p, rtl) || definition(p, rtl, true) || definition(p, rtl, false) || image(p, rtl) ||
        definitionItem(p, rtl) || term(p, rtl) || heading(p, rtl) || listItem(p, rtl, false) || listItem(p, rtl, true) ||
        quotedBlock(p, rtl) || quoted(p, rtl, ">", GT, "quote") || quoted(p, rtl, "//", SLASHES, "comment"))
        return;
    para(p, rtl);
}

// Verbatim and Formula: an opening fence line, lines and line ends, a closing fence
// line. The closing fence is a line of at least as many fence characters as the
// opening one and nothing else, so a longer fence can hold lines that look like a
// shorter one. A code block's level is the indentation of its opening fence, a math
// block's that of its closing one.
bool BlockGrammar::fenced(std::size_t& p, bool rtl, Fence fence) {
    const bool tildes = fence == Fence::Tildes;
    std::size_t q = p;
    const long openLevel = indents(q);
    const std::size_t markStart = q;
    if (tildes) {
        if (!lit(q, "~~~~", TILDES)) return false;
        while (lit(q, "~~~~", TILDES)) {}
    } else {
        if (!lit(q, "$$", DOLLARS)) return false;
        while (q < n_ && s_[q] == '$') ++q;
    }
    const std::size_t openRun = q - markStart;
    // A code fence may carry an info string: one space, then the rest of the line.
    std::string_view info;
    if (tildes && q + 1 < n_ && s_[q] == ' ' && !isEolChar(s_[q + 1])) {
        std::size_t r = q + 1;
        while (r < n_ && !isEolChar(s_[r])) ++r;
        info = s_.substr(q + 1, r - q - 1);
        q = r;
    }
    if (!eol(q)) return false;
    if (rtl) optionalRlm(q);

    if (!closingFenceAt(q, fence, openRun) && !closingFenceAfter(q, fence, rtl, openRun)) {
        // The lines would run to the end of the input: what they try there.
        if (rtl && q < n_ && isEolChar(s_[n_ - 1])) fail(n_, RLM);
        failMask(n_, (std::uint64_t{1} << ANY) | (std::uint64_t{1} << NL) | (std::uint64_t{1} << CR));
        return false;
    }
    struct Line { bool isBreak; std::size_t begin, end; };
    std::vector<Line> lines;
    for (;;) {
        if (!closingFenceAt(q, fence, openRun)) {  // a line: (!EOL .)+
            std::size_t r = q;
            while (r < n_ && !isEolChar(s_[r])) ++r;
            if (r == n_) fail(n_, ANY);
            if (r > q) {
                lines.push_back({false, q, r});
                q = r;
                continue;
            }
        }
        std::size_t r = q;  // a line end not followed by a closing fence line
        if (eol(r)) {
            if (rtl) optionalRlm(r);
            if (!closingFenceAt(r, fence, openRun)) {
                lines.push_back({true, 0, 0});
                q = r;
                continue;
            }
        }
        break;
    }
    if (!eol(q)) return false;
    if (rtl) optionalRlm(q);
    const long closeLevel = indents(q);
    q += closingFenceRun(q, fence);
    p = q;

    const long level = tildes ? openLevel : closeLevel;
    const Mark from = mark();
    for (const Line& line : lines) {
        if (line.isBreak) {
            pushSpan("break", "\n");
            continue;
        }
        // Drop the first 4 x level characters of the line, whatever they are.
        std::size_t begin = line.begin;
        for (long k = 0; k < 4 * level && begin < line.end; ++k)
            begin += utf8::sequenceLength(static_cast<unsigned char>(s_[begin]));
        pushSpan("plain", s_.substr(begin, line.end - begin));
    }
    // Raw HTML and TeX, and the YAML metadata, are code blocks of their own format.
    const char* tag = !tildes                                     ? "formula"
                      : info == "{=html}"                         ? "html"
                      : info == "{=tex}" || info == "{=latex}"    ? "tex"
                      : info == "{=yaml}"                         ? "metadata"
                                                                  : "verbatim";
    pushBlock(tag, level, rtl, from);
    if (tag[0] == 'v' && !info.empty()) {
        blocks.back().attributes = static_cast<std::uint32_t>(attributes.size());
        attributes.push_back({std::string(info), {}, {}});
    }
    return true;
}

bool BlockGrammar::divider(std::size_t& p, bool rtl) {
    if (!lit(p, kDashes, DASHES)) return false;
    pushBlock("divider", 0, rtl, mark());
    return true;
}

// TableDivider: "+" (":"? "-"+ ":"? "+")+. Colons at a column's left, right or both
// ends say its alignment; only the first divider of a table is read for them. The
// colon is not listed among the expected characters.
bool BlockGrammar::tableDivider(std::size_t& p, std::vector<char>* align) {
    std::size_t q = p;
    if (!ch(q, '+', PLUS)) return false;
    int groups = 0;
    for (;;) {
        std::size_t r = q;
        const bool left = r < n_ && s_[r] == ':';
        if (left) ++r;
        if (!ch(r, '-', MINUS)) break;
        while (ch(r, '-', MINUS)) {}
        const bool right = r < n_ && s_[r] == ':';
        if (right) ++r;
        if (!ch(r, '+', PLUS)) break;
        q = r;
        ++groups;
        if (align) align->push_back(left && right ? 'c' : left ? 'l' : right ? 'r' : 'd');
    }
    if (groups == 0) return false;
    p = q;
    return true;
}

// TableWidths: (" " Width (" " Width)*)? before the end of the first divider's line,
// each Width a number as the "widths" attribute writes it.
bool BlockGrammar::tableWidths(std::size_t& p, std::string& widths) {
    if (p >= n_ || s_[p] != ' ') return true;
    std::size_t end = p + 1;
    while (end < n_ && !isEolChar(s_[end])) ++end;
    const std::vector<double> values = readColumnWidths(s_.substr(p + 1, end - p - 1));
    if (values.empty()) return false;
    widths = columnWidthsText(values);
    p = end;
    return true;
}

// TableLine: "|" TableCellLine+ EOL, TableCellLine: ("\\|" / !("|" / EOL) .)+ "|"
bool BlockGrammar::tableLine(std::size_t& p, std::vector<std::string_view>& cells) {
    std::size_t q = p;
    if (!ch(q, '|', BAR)) return false;
    cells.clear();
    for (;;) {
        std::size_t r = q;
        while (r < n_ && s_[r] != '|' && !isEolChar(s_[r]))
            r += s_[r] == '\\' && r + 1 < n_ && s_[r + 1] == '|' ? 2 : utf8::sequenceLength(static_cast<unsigned char>(s_[r]));
        if (r == n_) fail(n_, ANY);
        if (r == q) break;
        const std::size_t textEnd = r;
        if (!ch(r, '|', BAR)) break;
        cells.push_back(s_.substr(q, textEnd - q));
        q = r;
    }
    if (cells.empty() || !eol(q)) return false;
    p = q;
    return true;
}

// TableRow: TableDivider EOL TableLine+. The n-th cell joins the n-th cell texts of
// its lines, trimmed, with single spaces.
// The first row's divider also gives the table's columns.
bool BlockGrammar::tableRow(std::size_t& p, std::vector<std::string>& cells, RawAttributes* columns) {
    std::size_t q = p;
    std::vector<char> align;
    if (!tableDivider(q, columns ? &align : nullptr) || (columns && !tableWidths(q, columns->widths)) || !eol(q)) return false;
    if (columns) columns->align = columnAlignmentsText(align);
    std::vector<std::string_view> lineCells;
    cells.clear();
    bool any = false;
    while (tableLine(q, lineCells)) {
        any = true;
        if (cells.size() < lineCells.size()) cells.resize(lineCells.size());
        for (std::size_t k = 0; k < lineCells.size(); ++k) {
            const std::string_view text = trimCell(lineCells[k]);
            if (text.empty()) continue;
            if (!cells[k].empty()) cells[k] += ' ';
            appendUnescapedBars(cells[k], text);
        }
    }
    if (!any) return false;
    p = q;
    return true;
}

// Table: TableRow+ TableDivider
bool BlockGrammar::table(std::size_t& p, bool rtl) {
    std::size_t q = p;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> cells;
    RawAttributes columns;
    while (tableRow(q, cells, rows.empty() ? &columns : nullptr)) rows.push_back(cells);
    if (rows.empty() || !tableDivider(q, nullptr)) return false;
    p = q;
    bool first = true;
    for (const auto& row : rows) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            const Mark from = mark();
            if (!row[k].empty()) pushPiece(row[k]);
            pushBlock(k == 0 ? "row" : "col", k == 0 ? 1 : 2, rtl && first, from);
            if (first && (!columns.align.empty() || !columns.widths.empty())) {
                blocks.back().attributes = static_cast<std::uint32_t>(attributes.size());
                attributes.push_back(std::move(columns));
            }
            first = false;
        }
    }
    return true;
}

// Note: Indent* "[^" label "]:" " "* InlinesWithBreaks
// Link: Indent* "[" !"^" label "]:" " "* InlinesWithBreaks
bool BlockGrammar::definition(std::size_t& p, bool rtl, bool note) {
    std::size_t q = p;
    const long level = indents(q);
    if (note) {
        if (!lit(q, "[^", NOTE_OPEN)) return false;
    } else {
        if (!ch(q, '[', BRACKET) || (q < n_ && s_[q] == '^')) return false;
    }
    const std::size_t labelStart = q;
    label(q);
    const std::size_t labelEnd = q;
    if (!lit(q, "]:", LABEL_CLOSE)) return false;
    spaces(q);
    const Mark from = mark();
    pushSpan(note ? "noteref" : "linkref", s_.substr(labelStart, labelEnd - labelStart));
    if (!note && s_.substr(q, 2) == "<>" && (q + 2 == n_ || eolLength(q + 2) > 0)) {
        // An empty target, which running text has no way to say.
        pushSpan("url", "");
        q += 2;
    } else if (!note && linkWithTitle(q)) {
    } else {
        inlinesWithBreaks(q, level, rtl);
    }
    pushBlock(note ? "note" : "link", level, rtl, from);
    p = q;
    return true;
}

// The rest of a link definition that is exactly a target and a title:
// "<" target ">" " \"" title "\"" at the end of the block. A backslash escapes the
// special characters in the target, and "\"" and "\\" in the title.
bool BlockGrammar::linkWithTitle(std::size_t& p) {
    std::size_t q = p;
    if (q >= n_ || s_[q] != '<') return false;
    std::string target, title;
    for (++q; q < n_ && s_[q] != '>'; ++q) {
        if (isEolChar(s_[q])) return false;
        if (s_[q] == '\\' && q + 1 < n_ && isScriptSpecial(s_[q + 1])) {
            if (!isSpecial(s_[q + 1])) target += '\\';
            ++q;
        }
        target += s_[q];
    }
    if (s_.substr(q, 3) != "> \"") return false;
    for (q += 3; q < n_ && s_[q] != '"'; ++q) {
        if (isEolChar(s_[q])) return false;
        if (s_[q] == '\\' && q + 1 < n_ && (s_[q + 1] == '"' || s_[q + 1] == '\\')) ++q;
        title += s_[q];
    }
    if (q == n_ || !(q + 1 == n_ || blockEndAt(q + 1) || finalEolAt(q + 1))) return false;
    pushSpan("url", target);
    pushSpan("title", title);
    p = q + 1;
    return true;
}

// Image: Indent* "![](<" (!(">" / EOL) .)+ ">)", or with a description and a title:
// "![" description "](<" path ">" (" \"" title "\"")? ")", where a backslash escapes "]"
// and "\\" in the description, "\"" and "\\" in the title.
bool BlockGrammar::image(std::size_t& p, bool rtl) {
    std::size_t q = p;
    const long level = indents(q);
    std::string alt, title;
    auto quoted = [&](std::size_t& r, char close, std::string& out) {
        for (; r < n_ && s_[r] != close; ++r) {
            if (isEolChar(s_[r])) return false;
            if (s_[r] == '\\' && r + 1 < n_ && (s_[r + 1] == close || s_[r + 1] == '\\')) ++r;
            out += s_[r];
        }
        return r < n_;
    };
    if (s_.substr(q, 2) == "![" && s_.substr(q, 5) != "![](<") {
        std::size_t r = q + 2;
        if (!quoted(r, ']', alt) || s_.substr(r, 3) != "](<") return false;
        q = r + 3;
    } else if (!lit(q, "![](<", IMAGE_OPEN)) {
        return false;
    }
    const std::size_t start = q;
    while (q < n_ && s_[q] != '>' && !isEolChar(s_[q])) q += utf8::sequenceLength(static_cast<unsigned char>(s_[q]));
    if (q == n_) fail(n_, ANY);
    if (q == start) return false;
    const std::size_t end = q;
    if (s_.substr(q, 3) == "> \"") {
        std::size_t r = q + 3;
        if (quoted(r, '"', title) && r + 1 < n_ && s_[r + 1] == ')') q = r + 2;
    }
    if (q == end && !lit(q, ">)", IMAGE_CLOSE)) return false;
    // The newer forms are pictures only when the line ends there; before, such a line
    // was running text.
    if ((!alt.empty() || q != end + 2) && q < n_ && !isEolChar(s_[q])) return false;
    const Mark from = mark();
    pushSpan("url", s_.substr(start, end - start));
    pushBlock("image", level, rtl, from);
    if (!alt.empty() || !title.empty()) {
        blocks.back().attributes = static_cast<std::uint32_t>(attributes.size());
        attributes.push_back({{}, std::move(alt), std::move(title)});
    }
    p = q;
    return true;
}

// Definition: Indent* (":   " / "~   ") " "* InlinesWithBreaks
// "~" marks a tight definition. It is not listed among the expected characters.
bool BlockGrammar::definitionItem(std::size_t& p, bool rtl) {
    std::size_t q = p;
    const long level = indents(q);
    const bool tight = s_.substr(q, 4) == "~   ";
    if (tight) q += 4;
    else if (!lit(q, ":   ", COLON)) return false;
    spaces(q);
    const Mark from = mark();
    inlinesWithBreaks(q, level + 1, rtl);
    pushBlock("definition", level, rtl, from);
    if (tight) blocks.back().spacing = "tight";
    p = q;
    return true;
}

// Term: Indent* a line that does not end in a space, directly followed by the line of
// a definition at the same level (RLM? Indent* (":   " / "~   ")). The definition is read next.
bool BlockGrammar::term(std::size_t& p, bool rtl) {
    std::size_t q = p;
    const long level = indents(q);
    const std::size_t start = q;
    {  // the line's end: the first "\n", or an earlier "\r"
        const char* base = s_.data();
        const void* lf = std::memchr(base + q, '\n', n_ - q);
        const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : n_;
        const void* cr = std::memchr(base + q, '\r', end - q);
        q = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - base) : end;
    }
    if (q == start || s_[q - 1] == ' ' || q == n_) return false;
    std::size_t r = q + eolLength(q);
    if (rlmAt(r)) r += kRlm.size();
    long next = 0;
    while (s_.substr(r, 4) == "    ") r += 4, ++next;
    if (next != level || (s_.substr(r, 4) != ":   " && s_.substr(r, 4) != "~   ")) return false;
    std::string text;
    for (std::size_t i = start; i < q;) {  // the right-to-left mark is direction, not text
        if (rlmAt(i)) {
            i += kRlm.size();
            continue;
        }
        text += s_[i++];
    }
    const Mark from = mark();
    if (!text.empty()) pushPiece(text);
    pushBlock("term", level, rtl, from);
    p = q + eolLength(q);
    termPending_ = true;
    return true;
}

bool BlockGrammar::heading(std::size_t& p, bool rtl) {
    return underlined(p, rtl, '=', -3) || underlined(p, rtl, '-', -2) || atx(p, rtl, "# ", ATX1, -3) ||
           atx(p, rtl, "## ", ATX2, -2) || atx(p, rtl, "### ", ATX3, -1) || atx(p, rtl, "#### ", ATX4, 0) ||
           atx(p, rtl, "##### ", ATX5, 1) || atx(p, rtl, "###### ", ATX6, 2);
}

// Heading1 / Heading2: Inline " "* EOL RLM? mark+ &(BlockEnd / FinalEOL)
bool BlockGrammar::underlined(std::size_t& p, bool rtl, char underline, long level) {
    std::size_t q = p;
    std::string text;
    if (!inlineText(q, text, rtl)) return false;
    spaces(q);
    if (!eol(q)) return false;
    optionalRlm(q);
    const Exp e = underline == '=' ? EQUALS : MINUS;
    if (!ch(q, underline, e)) return false;
    while (ch(q, underline, e)) {}
    if (!blockEndAt(q) && !finalEolAt(q)) return false;
    const Mark from = mark();
    pushPiece(text);
    pushBlock("heading", level, rtl, from);
    p = q;
    return true;
}

// HeadingNAtx: marker Inline " "*
bool BlockGrammar::atx(std::size_t& p, bool rtl, std::string_view marker, Exp e, long level) {
    std::size_t q = p;
    std::string text;
    if (!lit(q, marker, e) || !inlineText(q, text, rtl)) return false;
    spaces(q);
    const Mark from = mark();
    pushPiece(text);
    pushBlock("heading", level, rtl, from);
    p = q;
    return true;
}

// Bulleted: Indent* NotIndent? ("-" / "*" / "+") " "+ InlinesWithBreaks
// Numbered: Indent* NotIndent? Digit+ ("." / ")" / "]") " "+ InlinesWithBreaks
// "*" and ")" mark a loose item, "+" and "]" a tight one whose list the writers would
// otherwise take for loose. Neither is listed among the expected characters.
bool BlockGrammar::listItem(std::size_t& p, bool rtl, bool numbered) {
    std::size_t q = p;
    const long level = indents(q);
    optionalNotIndent(q);
    long number = 0;
    const char* spacing = nullptr;
    const auto spacingMark = [&](char loose, char tight) {
        if (q < n_ && (s_[q] == loose || s_[q] == tight)) spacing = s_[q++] == loose ? "loose" : "tight";
        return spacing != nullptr;
    };
    if (numbered) {
        const std::size_t start = q;
        while (q < n_ && s_[q] >= '0' && s_[q] <= '9') {
            number = number > 99999999 ? 1000000000 : number * 10 + (s_[q] - '0');
            ++q;
        }
        fail(q, DIGIT);
        if (q == start) return false;
        if (!spacingMark(')', ']') && !ch(q, '.', DOT)) return false;
        if (number > 999999999) number = 1;  // too large to be a list's start
    } else {
        // "*" is tried again only to be listed among the expected characters.
        if (!spacingMark('*', '+') && !ch(q, '-', MINUS) && !ch(q, '*', STAR)) return false;
    }
    if (!spacesPlus(q)) return false;
    const Mark from = mark();
    inlinesWithBreaks(q, level + 1, rtl);
    pushBlock(numbered ? "numbered" : "bulleted", level, rtl, from);
    blocks.back().number = number;
    blocks.back().spacing = spacing;
    p = q;
    return true;
}

// NotIndent? marker " "+. Where a line of the quotation's own text starts (its first
// line and the line after a hard break), the marker and its padding fill four columns
// (">   ", "//  ") and further spaces belong to the text: an indented listing keeps its
// indentation.
bool BlockGrammar::quoteMarker(std::size_t& p, std::string_view marker, Exp e, bool lineStart) {
    std::size_t q = p;
    optionalNotIndent(q);
    if (!lit(q, marker, e)) return false;
    if (!lineStart) {
        if (!spacesPlus(q)) return false;
    } else {
        if (!ch(q, ' ', SPACE)) return false;
        for (std::size_t padding = 4 - marker.size(); padding > 1 && q < n_ && s_[q] == ' '; --padding) ++q;
    }
    p = q;
    return true;
}

// A marker line with no text: before a line end inside the quotation it is a line
// break of its own (`isBreak`); before a blank line or the end it ends the quotation.
bool BlockGrammar::emptyQuoteLine(std::size_t& p, std::string_view marker, long level, bool rtl, bool& isBreak) {
    ++silent_;
    std::size_t q = p;
    optionalNotIndent(q);
    const bool marked = lit(q, marker, GT);
    --silent_;
    if (!marked) return false;
    const std::size_t end = spaceRunEnd(q);
    if (end == n_ || blockEndAt(end) || finalEolAt(end)) {
        isBreak = false;
        p = end;
        return true;
    }
    if (end - q < 2 || eolLength(end) == 0) return false;
    isBreak = true;
    q = end + eolLength(end);
    if (rtl && rlmAt(q)) q += kRlm.size();
    for (long i = 0; i < level && s_.substr(q, 4) == "    "; ++i) q += 4;
    p = q;
    return true;
}

// QuoteChar: !BlockEnd !Break !FinalEOL (EOL Indent* NotIndent? marker " "+ / .)
bool BlockGrammar::quoteChar(std::size_t& p, std::string& out, std::string_view marker, Exp e, bool rtl) {
    if (p < n_ && (s_[p] == ' ' ? breakAt(p) : (blockEndAt(p) || finalEolAt(p)))) return false;
    std::size_t q = p;
    if (lineContinues(q, rtl) && quoteMarker(q, marker, e)) {
        out += ' ';
        p = q;
        return true;
    }
    return copyChar(p, out);
}

// QuoteInline: (NotIndent? marker " "+ QuoteChar+)+
bool BlockGrammar::quoteInline(std::size_t& p, std::string& out, std::string_view marker, Exp e, bool rtl) {
    constexpr std::uint64_t kOrdinary = (std::uint64_t{1} << NL) | (std::uint64_t{1} << CR);
    bool any = false;
    for (;;) {
        std::size_t q = p;
        if (!quoteMarker(q, marker, e, true)) break;
        bool chars = false;
        for (;;) {
            std::size_t r = q, last = q;
            while (r < n_) {
                const auto c = static_cast<unsigned char>(s_[r]);
                if (c == '\n' || c == '\r') break;
                if (c == ' ' && (r + 1 >= n_ || s_[r + 1] == ' ' || isEolChar(s_[r + 1]))) break;
                last = r;
                r += utf8::sequenceLength(c);
            }
            if (r > q) {
                out.append(s_.substr(q, r - q));
                failMask(last, kOrdinary);
                q = r;
                chars = true;
            }
            if (!quoteChar(q, out, marker, e, rtl)) break;
            chars = true;
        }
        if (!chars) break;
        p = q;
        any = true;
    }
    return any;
}

// Quote / Comment: Indent* &(NotIndent? marker " "+) (QuoteInline / Break)+
bool BlockGrammar::quoted(std::size_t& p, bool rtl, std::string_view marker, Exp e, const char* tag) {
    std::size_t q = p;
    const long level = indents(q);
    {
        ++silent_;
        std::size_t look = q;
        const bool ahead = quoteMarker(look, marker, e);
        --silent_;
        if (!ahead) return false;
    }
    const Mark from = mark();
    std::string text;
    bool any = false;
    for (;;) {
        text.clear();
        std::size_t r = q;
        if (quoteInline(r, text, marker, e, rtl)) {
            // The mark the writer puts after the first character of text that would open
            // a list item or code block in the quotation.
            if (!any && tag == std::string_view("quote") && text.compare(1, kRlm.size(), kRlm) == 0) {
                std::string bare = text;
                if (opensQuotedBlock(bare.erase(1, kRlm.size()))) text = std::move(bare);
            }
            pushPiece(text);
        } else if (continuedBreak(r, level, rtl)) {
            pushSpan("break", "\n");
        } else if (bool isBreak = false; any && emptyQuoteLine(r, marker, level, rtl, isBreak)) {
            q = r;
            if (!isBreak) break;
            pushSpan("break", "\n");
        } else {
            break;
        }
        q = r;
        any = true;
    }
    if (!any) {
        rollback(from);
        return false;
    }
    pushBlock(tag, level, rtl, from);
    p = q;
    return true;
}

bool opensQuotedBlock(std::string_view text) {
    while (text.starts_with("    ")) text.remove_prefix(4);
    if (text.starts_with("~~~~")) return true;
    std::size_t marker = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == '*' || text[0] == '+')) {
        marker = 1;
    } else {
        marker = std::min(text.find_first_not_of("0123456789"), text.size());
        if (marker == 0 || marker >= text.size() || std::strchr(".)]", text[marker]) == nullptr) return false;
        ++marker;
    }
    const std::size_t padded = std::max<std::size_t>(4, marker + 1);
    if (text.size() < padded || (text.size() > padded && text[padded] == ' ')) return false;
    return text.substr(marker, padded - marker).find_first_not_of(' ') == std::string_view::npos;
}

// QuotedBlock: a list item or code block in quotations, written as it would stand alone
// with each line behind the quotation's marker (`>` alone on an empty line): Indent*
// ">   " then a line opensQuotedBlock takes, and the lines after it that carry the same
// marker. It stands in one quotation more than its indentation says. Its lines are read
// again as a document of their own, in which no such block is looked for: a model
// block stands in its quotations once, and hostile nesting cannot recurse.
bool BlockGrammar::quotedBlock(std::size_t& p, bool rtl) {
    if (insideQuotation_) return false;
    std::size_t q = p;
    const long level = indents(q);
    if (s_.substr(q, 4) != ">   " || !opensQuotedBlock(s_.substr(q + 4, s_.find_first_of("\r\n", q + 4) - (q + 4)))) return false;
    const std::string prefix = std::string(4 * static_cast<std::size_t>(level), ' ') + ">";
    std::string inner;
    std::size_t end = p;
    for (std::size_t line = p;;) {
        if (line != p && rtl && rlmAt(line)) line += kRlm.size();
        if (s_.substr(line, prefix.size()) != prefix) break;
        std::size_t text = line + prefix.size();
        const std::size_t eolAt = std::min(s_.find_first_of("\r\n", text), n_);
        if (text != eolAt) {
            if (s_.substr(text, 3) != "   ") break;
            text += 3;
        }
        if (line != p) inner += '\n';
        inner.append(s_.substr(text, eolAt - text));
        end = eolAt;
        if (eolLength(eolAt) == 0) break;
        line = eolAt + eolLength(eolAt);
    }
    BlockGrammar quoted(inner);
    quoted.insideQuotation_ = true;
    try {
        quoted.parse();
    } catch (const SyntaxError&) {
        return false;
    }
    if (quoted.blocks.size() != 1) return false;
    RawBlock block = quoted.blocks.front();
    const std::string_view tag = block.tag;
    if (tag != "bulleted" && tag != "numbered" && tag != "verbatim") return false;
    block.rtl = rtl;
    block.quote = static_cast<int>(std::min(level + 1, 5L));  // the deepest a model block says
    if (block.attributes != 0) {
        attributes.push_back(quoted.attributes[block.attributes]);
        block.attributes = static_cast<std::uint32_t>(attributes.size() - 1);
    }
    const std::size_t arenaBase = arena.size();
    block.firstElement = elements.size();
    arena += quoted.arena;
    for (BlockElement element : quoted.elements) {
        element.begin += arenaBase;
        elements.push_back(element);
    }
    blocks.push_back(block);
    p = end;
    return true;
}

// Para: Indent* InlinesWithBreaks
void BlockGrammar::para(std::size_t& p, bool rtl) {
    const long level = indents(p);
    const Mark from = mark();
    inlinesWithBreaks(p, level, rtl);
    pushBlock("para", level, rtl, from);
}

// ---------------------------------------------------------------- result

void BlockGrammar::pushPiece(std::string_view text) {
    elements.push_back({BlockElement::Piece, nullptr, arena.size(), text.size()});
    arena.append(text);
}

void BlockGrammar::pushSpan(const char* tag, std::string_view text) {
    elements.push_back({BlockElement::Span, tag, arena.size(), text.size()});
    arena.append(text);
}

void BlockGrammar::pushBlock(const char* tag, long level, bool rtl, Mark from) {
    blocks.push_back({tag, level, rtl, 0, from.elements, elements.size() - from.elements});
}

}  // namespace qorva
