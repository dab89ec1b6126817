// Model JSON to the body of a LaTeX document: list environments opened and closed
// by level, paragraphs filled to 80 columns, tables as longtables.
#include "convert/converters.h"
#include "convert/latex_text.h"
#include "convert/latex_verbatim.h"
#include "convert/link_target.h"
#include "convert/model_view.h"
#include "convert/text_measure.h"
#include "model/label_tables.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace qorva::convert {
namespace {

// Footnotes may hold references to footnotes defined before them, written as nested
// \footnote; beyond this depth such references are left out, which bounds the
// output of a long chain of notes.
constexpr int kMaxNoteNesting = 16;
constexpr std::size_t kMinColumnWidth = 5;
constexpr std::size_t kMaxColumnWidth = 50;
constexpr std::size_t kMinTableWidth = 100;
const std::string kIndent = "    ";

std::string repeat(const std::string& text, std::size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += text;
    return out;
}

// A URL or path goes into LaTeX unescaped, except for what would end the argument
// early or start a comment there: braces and backslashes become their URL escapes,
// "%" and "#" get the backslash that \url and \href accept.
void appendLatexUrl(std::string& out, std::string_view url) {
    for (char c : url) {
        switch (c) {
            case '\\': out += "%5C"; break;
            case '{': out += "%7B"; break;
            case '}': out += "%7D"; break;
            case '%': out += "\\%"; break;
            case '#': out += "\\#"; break;
            default: out += c;
        }
    }
}

const char* environmentOf(std::string_view tag) { return tag == "numbered" ? "enumerate" : "itemize"; }

struct Footnote {
    std::string latex;
    int nesting = 1;
};

class LatexWriter {
public:
    explicit LatexWriter(const ModelView& model)
        : model_(model), blocks_(model.blocks()), labels_(buildLabelTables(model.outline())) {
        buildFootnotes();
    }

    std::string document() {
        for (std::size_t i = 0; i < blocks_.size();) {
            const BlockView& block = blocks_[i];
            const std::string_view tag = block.tag;
            const long wanted = static_cast<long>(block.level) + 1;
            while (static_cast<long>(open_.size()) > wanted && !open_.empty()) closeList();
            if (!open_.empty() && static_cast<long>(open_.size()) == wanted && open_.back() != tag) closeList();
            if (tag == "bulleted" || tag == "numbered") {
                while (static_cast<long>(open_.size()) < wanted) openList(tag);
            }
            if (tag == "row") {
                i = writeTable(i);
                continue;
            }
            std::string latex = writeBlock(block);
            if (!latex.empty()) pieces_.push_back(std::move(latex));
            ++i;
        }
        while (!open_.empty()) closeList();
        std::string out;
        for (std::size_t i = 0; i < pieces_.size(); ++i) {
            if (i > 0) out += "\n\n";
            out += pieces_[i];
        }
        out += '\n';
        return out;
    }

private:
    const ModelView& model_;
    const std::vector<BlockView>& blocks_;
    LabelTables labels_;
    std::unordered_map<std::string, Footnote> footnotes_;
    std::vector<std::string> open_;  // tags of the open list environments, innermost last
    std::vector<std::string> pieces_;

    void openList(std::string_view tag) {
        pieces_.push_back(repeat(kIndent, open_.size()) + "\\begin{" + environmentOf(tag) + "}");
        open_.emplace_back(tag);
    }

    void closeList() {
        const std::string tag = std::move(open_.back());
        open_.pop_back();
        pieces_.push_back(repeat(kIndent, open_.size()) + "\\end{" + environmentOf(tag) + "}");
    }

    // Footnotes in document order, so a reference inside a footnote finds those
    // defined before it; a later definition of a label replaces an earlier one.
    void buildFootnotes() {
        for (const BlockView& block : blocks_) {
            const std::span<const SpanView> spans = model_.spans(block);
            if (block.tag != "note" || spans.empty() || spans[0].tag != "noteref") continue;
            Footnote footnote;
            footnote.latex = writeSpans(block, 1, true, &footnote.nesting);
            footnotes_.insert_or_assign(std::string(spans[0].text), std::move(footnote));
        }
    }

    // The spans of a block from `first` on. Without tables (image blocks without a
    // URL) labels resolve to nothing. `nesting`, when given, rises to one more than
    // the deepest footnote written inside.
    std::string writeSpans(const BlockView& block, std::size_t first, bool tables = true, int* nesting = nullptr) {
        std::string out;
        const std::span<const SpanView> spans = model_.spans(block);
        for (std::size_t i = first; i < spans.size(); ++i) {
            const std::string_view tag = spans[i].tag;
            const std::string_view text = spans[i].text;
            if (tag == "emph" || tag == "strong" || tag == "code") {
                out += tag == "emph" ? "\\emph{" : tag == "strong" ? "\\textbf{" : "\\texttt{";
                appendEscapedLatex(out, text);
                out += '}';
            } else if (tag == "math") {
                out += '$';
                out += text;
                out += '$';
            } else if (tag == "url") {
                out += "\\url{";
                appendLatexUrl(out, text);
                out += '}';
            } else if (tag == "linktext") {
                // Link text followed by its target (a "url", or a defined label) is a
                // link; otherwise the text stands alone.
                const auto target = takeLinkTarget(spans, i, tables ? &labels_ : nullptr);
                if (target) {
                    out += "\\href{";
                    appendLatexUrl(out, *target);
                    out += "}{";
                    appendEscapedLatex(out, text);
                    out += '}';
                } else {
                    appendEscapedLatex(out, text);
                }
            } else if (tag == "linkref") {
                // written with its link text
            } else if (tag == "noteref") {
                auto footnote = tables ? footnotes_.find(std::string(text)) : footnotes_.end();
                if (footnote == footnotes_.end()) continue;
                if (nesting && footnote->second.nesting >= kMaxNoteNesting) continue;
                if (nesting) *nesting = std::max(*nesting, footnote->second.nesting + 1);
                out += "\\footnote{" + footnote->second.latex + "}";
            } else {
                appendEscapedLatex(out, text);  // "plain", "break" (a line feed) and unknown tags
            }
        }
        return out;
    }

    std::string writeBlock(const BlockView& block) {
        std::string latex = blockBody(block);
        if (latex.empty() || !block.rtl) return latex;
        return "\\begin{RTL}\n" + latex + "\n\\end{RTL}";
    }

    std::string blockBody(const BlockView& block) {
        const std::string_view tag = block.tag;
        const int level = block.level;
        if (tag == "heading") {
            return "\\" + repeat("sub", static_cast<std::size_t>(std::clamp(level + 3, 0, 2))) + "section{" +
                   writeSpans(block, 0) + "}";
        }
        if (tag == "bulleted" || tag == "numbered") {
            const std::string indent = repeat(kIndent, static_cast<std::size_t>(std::max(level, 0)));
            return wrapLatex(writeSpans(block, 0), indent, indent + "\\item ");
        }
        if (tag == "quote") return "\\begin{quotation}\n" + wrapLatex(writeSpans(block, 0), "", "") + "\n\\end{quotation}";
        if (tag == "verbatim") return latexVerbatim(verbatimText(model_, block, true));
        if (tag == "formula") return "\\begin{equation}\n" + verbatimText(model_, block, true) + "\n\\end{equation}";
        if (tag == "image") {
            const std::span<const SpanView> spans = model_.spans(block);
            if (spans.empty() || spans[0].tag != "url") return writeSpans(block, 0, false);
            std::string out = "\\begin{figure}[H]\n\\centering\n\\includegraphics{";
            appendLatexUrl(out, spans[0].text);
            return out + "}\n\\end{figure}";
        }
        if (tag == "divider") return "\\hrulefill";
        if (tag == "comment" || tag == "link" || tag == "note") return {};
        return wrapLatex(writeSpans(block, 0), "", "");
    }

    // The run of "row" and "col" blocks from `first`; returns the index after it.
    std::size_t writeTable(std::size_t first) {
        std::vector<std::vector<std::string>> rows;
        std::size_t i = first;
        for (; i < blocks_.size(); ++i) {
            const BlockView& block = blocks_[i];
            const std::string_view tag = block.tag;
            if (tag == "row") rows.emplace_back();
            else if (tag != "col") break;
            rows.back().push_back(writeSpans(block, 0));
        }
        std::vector<std::size_t> widths;
        for (const auto& row : rows) {
            if (widths.size() < row.size()) widths.resize(row.size(), kMinColumnWidth);
            for (std::size_t c = 0; c < row.size(); ++c) {
                widths[c] = std::max(widths[c], std::min(utf16Length(row[c]), kMaxColumnWidth));
            }
        }
        std::size_t total = 0;
        for (std::size_t width : widths) total += width;
        total = std::max(total, kMinTableWidth);
        std::string out = "\\begin{longtable}{ | ";
        for (std::size_t c = 0; c < widths.size(); ++c) {
            if (c > 0) out += " | ";
            out += "p{" + shortestDecimal(static_cast<double>(widths[c]) / static_cast<double>(total)) + "\\textwidth}";
        }
        out += " |}\n\\hline\n";
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r > 0) out += " \\\\\n\\hline\n";
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                if (c > 0) out += " & ";
                out += rows[r][c];
            }
        }
        out += " \\\\\n\\hline\n\\end{longtable}";
        pieces_.push_back(std::move(out));
        return i;
    }
};

}  // namespace

std::string WriteLatex(std::string_view input, const char* /*options*/) {
    const ModelView model(input);
    return LatexWriter(model).document();
}

}  // namespace qorva::convert
