#include "model/text_writer.h"

#include "model/block_grammar.h"
#include "model/list_counter.h"
#include "model/model_view.h"
#include "model/model_json.h"
#include "model/span_writer.h"
#include "model/table_columns.h"
#include "model/text_fill.h"

#include <algorithm>
#include <vector>

namespace qorva {
namespace {

constexpr std::string_view kRlm = "\xE2\x80\x8F";

std::string indent(long level) { return level > 0 ? std::string(4 * static_cast<std::size_t>(level), ' ') : std::string(); }

// The run of fence characters a code or math line is made of, after whole indentation
// units: the reader would take such a line for a closing fence of that many characters.
std::size_t fenceRunOf(std::string_view line, char mark) {
    while (line.substr(0, 4) == "    ") line.remove_prefix(4);
    if (line.empty() || line.find_first_not_of(mark) != std::string_view::npos) return 0;
    return line.size();
}

// A vertical bar inside a cell is written "\\|", so it does not end the cell.
std::string escapeBars(std::string text) {
    for (std::size_t at = 0; (at = text.find('|', at)) != std::string::npos; at += 2) text.insert(at, 1, '\\');
    return text;
}

// Text at the start of a paragraph or term that would begin another block: headings 4
// to 6 (at the left margin), a fence, a definition, a picture with a description or
// title, a loose or tight numbered item, a tight bulleted one. A right-to-left mark after its first character (which running text drops)
// keeps it text.
bool startsLikeNewerBlock(std::string_view text, long level) {
    if (level <= 0 && text.substr(0, 4) == "####") {
        const std::size_t hashes = std::min(text.find_first_not_of('#'), text.size());
        if (hashes <= 6 && hashes < text.size() && text[hashes] == ' ') return true;
    }
    if (text.substr(0, 4) == "~~~~" || text.substr(0, 4) == ":   " || text.substr(0, 4) == "~   ") return true;
    const std::size_t digits = std::min(text.find_first_not_of("0123456789"), text.size());
    if (digits > 0 && (text.substr(digits, 2) == ") " || text.substr(digits, 2) == "] ")) return true;  // a loose or tight numbered item
    if (text.substr(0, 2) == "+ ") return true;  // a tight bulleted item
    if (text.substr(0, 2) != "![") return false;
    const std::string_view line = text.substr(0, text.find('\n'));
    return line.find("](<") != std::string_view::npos && line.back() == ')';
}

std::string keepStartAsText(std::string text, long level) {
    if (startsLikeNewerBlock(text, level)) text.insert(1, kRlm);
    return text;
}

// A description or title with a backslash before `close` and before a backslash.
std::string escapeQuoted(std::string_view text, char close) {
    std::string out;
    for (char c : text) {
        if (c == close || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// A JSON value as a condition, the way a script would test it.
bool truthy(const Json& value) {
    if (value.is_boolean()) return value.get<bool>();
    if (value.is_number()) return value.get<double>() != 0;
    if (value.is_string()) return !value.get_ref<const std::string&>().empty();
    return value.is_array() || value.is_object();
}

class Writer {
public:
    explicit Writer(const TextWriterOptions& options) : options_(options) {}

    std::string writeDocument(const ModelView& doc) {
        doc_ = &doc;
        std::string out;
        out.reserve(doc.texts.size() + doc.texts.size() / 4 + 16 * doc.blocks.size() + 1);
        const std::vector<ModelBlock>& blocks = doc.blocks;
        bool termBefore = false;
        for (std::size_t i = 0; i < blocks.size();) {
            // A term and its first definition stand on consecutive lines.
            if (i > 0) out += termBefore ? "\n" : "\n\n";
            termBefore = blocks[i].kind == BlockKind::Term && sayableTerm(i);
            if (blocks[i].kind == BlockKind::Row) {
                std::size_t end = i + 1;
                while (end < blocks.size() && (blocks[end].kind == BlockKind::Row || blocks[end].kind == BlockKind::Col)) ++end;
                out += writeTable(i, end);
                i = end;
                continue;
            }
            const ModelBlock& block = blocks[i++];
            std::string text = writeBlock(block);
            if (const int quotes = doc_->quoteDepth(block)) text = behindQuoteMarker(text, quotes);
            if (block.rtl) out += markRightToLeft(text);
            else out += text;
        }
        out += '\n';
        return out;
    }

private:
    std::string spans(const ModelBlock& block, std::size_t first, TextStart start = TextStart::Running) {
        return writeSpans(*doc_, block, first, options_.escape, start);
    }
    std::string fillText(std::string_view text, std::string_view continuation, std::string_view first) {
        return fill(text, continuation, first, options_.wrap);
    }

    // A term reads back as one only as a single line followed by a definition at its level.
    bool sayableTerm(std::size_t i) const {
        const ModelBlock& block = doc_->blocks[i];
        if (i + 1 == doc_->blocks.size()) return false;
        const ModelBlock& next = doc_->blocks[i + 1];
        if (next.kind != BlockKind::Definition || next.level != block.level || block.spanCount == 0) return false;
        for (const ModelSpan& span : doc_->spansOf(block))
            if (span.kind == SpanKind::Break || doc_->text(span).find('\n') != std::string_view::npos) return false;
        return true;
    }

    std::string writeBlock(const ModelBlock& block) {
        const BlockKind kind = block.kind;
        const long level = block.level;
        // Headings of every level end all lists, so they restart every count.
        const long number = numbering_.next(kind == BlockKind::Heading ? std::min(level, -1L) : level,
                                            kind == BlockKind::Numbered, doc_->startNumber(block), doc_->quoteDepth(block));
        const std::size_t count = block.spanCount;

        switch (kind) {
            case BlockKind::Heading: {
                // Underlined when the underline can be read back: never for an empty
                // heading, which is written as an empty paragraph rather than swallow
                // what follows.
                if (count == 0) return "";
                if (level >= 0 && level <= 2) return std::string(static_cast<std::size_t>(level) + 4, '#') + " " + spans(block, 0);
                if (level != -3 && level != -2) return "### " + spans(block, 0);
                std::string text = spans(block, 0, TextStart::Heading);
                const std::size_t width = textWidth(text);
                text += '\n';
                text.append(width, level == -3 ? '=' : '-');
                return text;
            }
            // A loose item's marker is "*" or ")", one said to be tight "+" or "]", any other "-" or ".".
            case BlockKind::Bulleted:
                return fillText(spans(block, 0), indent(level + 1),
                                indent(level) + (doc_->loose(block) ? "*   " : doc_->tight(block) ? "+   " : "-   "));
            case BlockKind::Numbered: {
                std::string marker = std::to_string(number) + (doc_->loose(block) ? ") " : doc_->tight(block) ? "] " : ". ");
                if (marker.size() < 4) marker += ' ';
                return fillText(spans(block, 0), indent(level + 1), indent(level) + marker);
            }
            case BlockKind::Quote:
            case BlockKind::Comment: {
                // A marker with nothing after it does not read back as a quotation and
                // would join the next block: an empty one is written as an empty paragraph.
                if (count == 0) return indent(level);
                const std::string prefix = indent(level) + (kind == BlockKind::Quote ? ">   " : "//  ");
                std::string text = spans(block, 0);
                // Text that would read as a list item or code block in the quotation stays
                // text: a fence's first tilde escaped (a mark after it would pair the
                // tildes around it), a mark after any other first character.
                if (kind == BlockKind::Quote && opensQuotedBlock(text)) {
                    if (text[0] == '~') text.insert(0, 1, '\\');
                    else text.insert(1, kRlm);
                }
                return fillText(text, prefix, prefix);
            }
            case BlockKind::Definition:  // a tight one's marker is "~"
                return fillText(spans(block, 0), indent(level + 1), indent(level) + (doc_->tight(block) ? "~   " : ":   "));
            case BlockKind::Term:
                if (&block + 1 < doc_->blocks.data() + doc_->blocks.size() && sayableTerm(static_cast<std::size_t>(&block - doc_->blocks.data())))
                    return indent(level) + keepStartAsText(spans(block, 0, TextStart::Paragraph), level);
                return paragraph(block);
            case BlockKind::Note:
            case BlockKind::Link: {
                const SpanKind labelKind = kind == BlockKind::Note ? SpanKind::NoteRef : SpanKind::LinkRef;
                std::string_view label;
                std::size_t first = 0;
                if (count > 0 && doc_->span(block, 0).kind == labelKind) {
                    label = doc_->text(doc_->span(block, 0));
                    first = 1;
                }
                std::string lead = indent(level) + (kind == BlockKind::Note ? "[^" : "[");
                lead += label;
                lead += "]: ";
                // A target with a title, and nothing else, is one line.
                if (kind == BlockKind::Link && first == 1 && count == 3 && doc_->isLinkTitle(block, 2)) {
                    return lead + writeSpans(*doc_, block, 1, options_.escape, TextStart::Running, 2) + " \"" + escapeQuoted(doc_->text(doc_->span(block, 2)), '"') + "\"";
                }
                return fillText(spans(block, first), indent(level), lead);
            }
            case BlockKind::Image: {
                // The path is never cut into lines: a line end inside it would lose the image.
                std::string text = indent(level) + "![" + escapeQuoted(doc_->alt(block), ']') + "](";
                for (std::size_t i = 0; i < count; ++i) {
                    const ModelSpan& span = doc_->span(block, i);
                    if (span.kind != SpanKind::Url) {
                        text += spans(block, i);
                        break;
                    }
                    text += '<';
                    for (char c : doc_->text(span)) {
                        if (options_.escape && c == '>') text += '\\';
                        text += c;
                    }
                    text += '>';
                    if (i == 0 && !doc_->title(block).empty()) {
                        text += " \"" + escapeQuoted(doc_->title(block), '"') + "\"";
                    }
                }
                return text + ")";
            }
            case BlockKind::Verbatim:
            case BlockKind::Html:
            case BlockKind::Tex:
            case BlockKind::Metadata:
            case BlockKind::Formula: {
                const bool tildes = kind != BlockKind::Formula;
                const std::string pad = indent(level);
                std::string lines;
                // A line that looks like a closing fence makes the fence longer than it.
                // Levels beyond 19 leave no room for tildes; one group still reads as a fence.
                std::size_t run = tildes ? static_cast<std::size_t>(std::max(4L, 80 - 4 * level)) : 2;
                for (std::size_t i = 0; i < count; ++i) {
                    const ModelSpan& span = doc_->span(block, i);
                    if (span.kind == SpanKind::Break) {
                        lines += doc_->text(span);
                        continue;
                    }
                    lines += pad;
                    lines += doc_->text(span);
                    const std::size_t lineRun = fenceRunOf(doc_->text(span), tildes ? '~' : '$');
                    if (lineRun >= run) run = tildes ? (lineRun / 4 + 1) * 4 : lineRun + 1;
                }
                const std::string fence = pad + std::string(run, tildes ? '~' : '$');
                std::string open = fence;
                if (kind == BlockKind::Html) open += " {=html}";
                else if (kind == BlockKind::Tex) open += " {=tex}";
                else if (kind == BlockKind::Metadata) open += " {=yaml}";
                else if (!doc_->info(block).empty()) (open += ' ') += doc_->info(block);
                return open + "\n" + lines + "\n" + fence;
            }
            case BlockKind::Divider:
                return std::string(80, '-');
            default:
                return paragraph(block);
        }
    }

    // "para" and every tag without a rule of its own.
    std::string paragraph(const ModelBlock& block) {
        return fillText(keepStartAsText(spans(block, 0, TextStart::Paragraph), block.level), indent(block.level), indent(block.level));
    }

    // A list item or code block in quotations: each of its lines behind the marker of the
    // innermost quotation, at that quotation's indentation.
    static std::string behindQuoteMarker(std::string_view text, int quotes) {
        const std::string marker = indent(quotes - 1) + ">";
        std::string out;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            out += marker;
            if (end > start) (out += "   ") += text.substr(start, end - start);
            if (end == text.size()) break;
            out += '\n';
            start = end + 1;
        }
        return out;
    }

    static std::string markRightToLeft(const std::string& text) {
        std::string out(kRlm);
        for (char c : text) {
            out += c;
            if (c == '\n') out += kRlm;
        }
        return out;
    }

    std::string writeTable(std::size_t begin, std::size_t end) {
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = begin; i < end; ++i) {
            const ModelBlock& block = doc_->blocks[i];
            if (block.kind == BlockKind::Row) rows.emplace_back();
            rows.back().push_back(escapeBars(spans(block, 0)));
        }
        std::size_t columns = 0;
        for (const auto& row : rows) columns = std::max(columns, row.size());
        std::vector<std::size_t> widths(columns, 1);
        for (const auto& row : rows)
            for (std::size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], std::min<std::size_t>(40, textWidth(row[k])));

        std::string divider = "+";
        for (std::size_t k = 0; k < columns; ++k) divider += std::string(widths[k] + 2, '-') + "+";

        std::string out = firstDivider(doc_->blocks[begin], divider);
        for (const auto& row : rows) {
            std::vector<std::vector<std::string>> cellLines(row.size());
            std::size_t height = 1;
            for (std::size_t k = 0; k < row.size(); ++k) {
                const std::string filled = fillCell(row[k], widths[k]);
                std::size_t start = 0;
                for (;;) {
                    const std::size_t nl = filled.find('\n', start);
                    cellLines[k].push_back(filled.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
                    if (nl == std::string::npos) break;
                    start = nl + 1;
                }
                height = std::max(height, cellLines[k].size());
            }
            for (std::size_t line = 0; line < height; ++line) {
                out += "\n| ";
                for (std::size_t k = 0; k < row.size(); ++k) {
                    if (k > 0) out += " | ";
                    if (line < cellLines[k].size()) {
                        const std::string& text = cellLines[k][line];
                        out += text;
                        // Longer lines stay as they are; the reader does not need the widths.
                        const std::size_t width = textWidth(text);
                        if (width < widths[k]) out.append(widths[k] - width, ' ');
                    } else {
                        out.append(widths[k], ' ');
                    }
                }
                out += " |";
            }
            out += "\n" + divider;
        }
        return out;
    }

    // The table's first divider says its columns' alignments, a colon at the left,
    // right or both ends of a column's dashes, and is followed by their widths.
    std::string firstDivider(const ModelBlock& firstRow, std::string divider) const {
        const std::vector<char> align = readColumnAlignments(doc_->align(firstRow));
        for (std::size_t k = 0, at = 0; k < align.size(); ++k) {
            const std::size_t end = divider.find('+', at + 1);
            if (end == std::string::npos) break;
            if (align[k] == 'l' || align[k] == 'c') divider[at + 1] = ':';
            if (align[k] == 'r' || align[k] == 'c') divider[end - 1] = ':';
            at = end;
        }
        const std::string widths = columnWidthsText(readColumnWidths(doc_->widths(firstRow)));
        return widths.empty() ? divider : divider + " " + widths;
    }

    TextWriterOptions options_;
    const ModelView* doc_ = nullptr;
    ListCounter numbering_;
};

}  // namespace

TextWriterOptions parseTextWriterOptions(const char* options) {
    if (!options) return {};
    Json value;
    try {
        value = Json::parse(options);
    } catch (const nlohmann::json::exception& e) {
        throw ConverterError(std::string("invalid options: ") + e.what());
    }
    if (!value.is_object()) throw ConverterError("invalid options: not a JSON object");
    TextWriterOptions result{false, false};
    if (auto wrap = value.find("wrap"); wrap != value.end()) result.wrap = truthy(*wrap);
    if (auto escape = value.find("escape"); escape != value.end()) result.escape = truthy(*escape);
    return result;
}

std::string writeTextFormat(std::string_view modelJson, const TextWriterOptions& options) {
    return Writer(options).writeDocument(readModelView(modelJson));
}

std::string writeTextFormat(std::string_view modelJson, const char* options) {
    return writeTextFormat(modelJson, parseTextWriterOptions(options));
}

}  // namespace qorva
