// Model JSON to the body of a LaTeX document: list environments opened and closed
// by level, paragraphs filled to 80 columns, tables as longtables.
#include "convert/converters.h"
#include "convert/latex_text.h"
#include "convert/latex_verbatim.h"
#include "convert/link_target.h"
#include "convert/tex_guard.h"
#include "convert/url_scheme.h"
#include "convert/writer_model.h"
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

// The list a block belongs to: terms and definitions share a description list.
BlockKind listKindOf(BlockKind kind) { return kind == BlockKind::Definition ? BlockKind::Term : kind; }
bool opensList(BlockKind kind) {
    return kind == BlockKind::Bulleted || kind == BlockKind::Numbered || kind == BlockKind::Term ||
           kind == BlockKind::Definition;
}

const char* environmentOf(BlockKind kind) {
    return kind == BlockKind::Numbered ? "enumerate" : kind == BlockKind::Term ? "description" : "itemize";
}

// Strikeout comes from ulem, which the built-in templates load when it is
// installed; elsewhere struck text gets a rule through it (on one line).
const char* const kStrikeFallback =
    "\\providecommand{\\sout}[1]{\\leavevmode{\\setbox0\\hbox{#1}\\rlap{\\rule[0.5ex]{\\wd0}{0.4pt}}\\box0}}";

// A code block's language as a comment before it, when it is a plain name.
std::string languageComment(std::string_view language) {
    if (language.empty()) return {};
    for (char c : language) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("+#._-").find(c) != std::string_view::npos;
        if (!plain) return {};
    }
    return "% language: " + std::string(language) + "\n";
}

struct Footnote {
    std::string latex;
    int nesting = 1;
};

class LatexWriter {
public:
    explicit LatexWriter(const ModelView& model)
        : model_(model), blocks_(model.blocks), labels_(buildLabelTables(model)) {
        buildFootnotes();
    }

    std::string document() {
        const bool strikes = std::any_of(model_.spans.begin(), model_.spans.end(),
                                         [](const ModelSpan& span) { return span.kind == SpanKind::Strike; });
        if (strikes) pieces_.emplace_back(kStrikeFallback);
        for (std::size_t i = 0; i < blocks_.size();) {
            const ModelBlock& block = blocks_[i];
            const BlockKind kind = listKindOf(block.kind);
            const long wanted = block.kind == BlockKind::Heading ? 0 : block.level + 1;  // headings end every list
            // A list or code block in quotations stands in quotation environments from its
            // outermost block on; any other outermost block ends them.
            if (const int quotes = model_.quoteDepth(block); wanted <= 1 && quotes != quotationsOpen_) {
                while (!open_.empty()) closeList();
                for (; quotationsOpen_ > quotes; --quotationsOpen_) pieces_.emplace_back("\\end{quotation}");
                for (; quotationsOpen_ < quotes; ++quotationsOpen_) pieces_.emplace_back("\\begin{quotation}");
            }
            while (static_cast<long>(open_.size()) > wanted && !open_.empty()) closeList();
            if (!open_.empty() && static_cast<long>(open_.size()) == wanted && open_.back() != kind) closeList();
            if (opensList(kind)) {
                const std::size_t before = open_.size();
                while (static_cast<long>(open_.size()) < wanted) openList(kind);
                if (open_.size() > before && block.kind == BlockKind::Numbered) startAt(model_.startNumber(block));
            }
            if (kind == BlockKind::Row) {
                i = writeTable(i);
                continue;
            }
            std::string latex = writeBlock(block);
            if (!latex.empty()) pieces_.push_back(std::move(latex));
            ++i;
        }
        while (!open_.empty()) closeList();
        for (; quotationsOpen_ > 0; --quotationsOpen_) pieces_.emplace_back("\\end{quotation}");
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
    const std::vector<ModelBlock>& blocks_;
    LabelTables labels_;
    std::unordered_map<std::string, Footnote> footnotes_;
    std::vector<BlockKind> open_;  // kinds of the open list environments, innermost last
    std::vector<bool> itemized_;   // whether each open list has an \item yet
    int quotationsOpen_ = 0;       // quotation environments around the lists and code blocks in them
    std::vector<std::string> pieces_;

    void openList(BlockKind kind) {
        pieces_.push_back(repeat(kIndent, open_.size()) + "\\begin{" + environmentOf(kind) + "}");
        open_.push_back(kind);
        itemized_.push_back(false);
    }

    // A numbered list just opened that starts elsewhere than at 1: LaTeX counts its
    // items in enumi to enumiv by depth.
    void startAt(long number) {
        static const char* const kCounters[] = {"enumi", "enumii", "enumiii", "enumiv"};
        const auto depth = static_cast<std::size_t>(std::count(open_.begin(), open_.end(), BlockKind::Numbered));
        if (number == 1 || depth == 0 || depth > 4) return;
        pieces_.back() += "\n" + repeat(kIndent, open_.size() - 1) + "\\setcounter{" + kCounters[depth - 1] + "}{" +
                          std::to_string(number - 1) + "}";
    }

    void closeList() {
        const BlockKind kind = open_.back();
        open_.pop_back();
        itemized_.pop_back();
        pieces_.push_back(repeat(kIndent, open_.size()) + "\\end{" + environmentOf(kind) + "}");
    }

    // Footnotes in document order, so a reference inside a footnote finds those
    // defined before it; a later definition of a label replaces an earlier one.
    void buildFootnotes() {
        for (const ModelBlock& block : blocks_) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            if (block.kind != BlockKind::Note || spans.empty() || spans[0].kind != SpanKind::NoteRef) continue;
            Footnote footnote;
            footnote.latex = writeSpans(block, 1, true, &footnote.nesting);
            footnotes_.insert_or_assign(std::string(model_.text(spans[0])), std::move(footnote));
        }
    }

    // The spans of a block from `first` on. Without tables (image blocks without a
    // URL) labels resolve to nothing. `nesting`, when given, rises to one more than
    // the deepest footnote written inside.
    std::string writeSpans(const ModelBlock& block, std::size_t first, bool tables = true, int* nesting = nullptr) {
        std::string out;
        const std::span<const ModelSpan> spans = model_.spansOf(block);
        for (std::size_t i = first; i < spans.size(); ++i) {
            const SpanKind kind = spans[i].kind;
            const std::string_view text = model_.text(spans[i]);
            if (const char* command = spanCommand(kind)) {
                out += command;
                appendEscapedLatex(out, text);
                out += '}';
            } else if (const NestedStyles styles = nestedStyles(kind); styles.outer != SpanKind::Other) {
                out += spanCommand(styles.outer);
                out += spanCommand(styles.inner);
                appendEscapedLatex(out, text);
                out += "}}";
            } else if (kind == SpanKind::Tex) {
                out += neutralizeTex(text);
            } else if (kind == SpanKind::Html) {
                // raw HTML has no place in LaTeX
            } else if (kind == SpanKind::Math) {
                out += '$';
                out += neutralizeTex(text);
                out += '$';
            } else if (kind == SpanKind::Url) {
                const std::size_t closing = openOuterStyles(out, block, i);
                if (!isSafeExportUrl(text)) {
                    appendEscapedLatex(out, text);
                } else {
                    out += "\\url{";
                    appendLatexUrl(out, text);
                    out += '}';
                }
                out.append(closing, '}');
            } else if (isLinkTextKind(kind)) {
                const std::size_t closing = openOuterStyles(out, block, i);
                // Link text followed by its target (a "url", or a defined label) is a
                // link; otherwise the text stands alone. A target that could run
                // something in a PDF reader (javascript:, run:) is no link.
                const std::size_t runBegin = i, runEnd = model_.linkTextEnd(block, i);
                i = runEnd - 1;
                const auto target = takeLinkTarget(model_, spans, i, tables ? &labels_ : nullptr);
                takeLinkTitle(model_, block, i);  // a title has no place in print
                const bool link = target && isSafeExportUrl(*target);
                if (link) {
                    out += "\\href{";
                    appendLatexUrl(out, *target);
                    out += "}{";
                }
                for (std::size_t k = runBegin; k < runEnd; ++k) {
                    if (spans[k].kind == SpanKind::LinkImage) {  // a picture prints as its description
                        const ModelView::LinkPicture picture = model_.linkPicture(spans, k);
                        appendEscapedLatex(out, picture.alt);
                        k = picture.end - 1;
                        continue;
                    }
                    const char* command = spanCommand(linkTextStyle(spans[k].kind));
                    if (command) out += command;
                    appendEscapedLatex(out, model_.text(spans[k]));
                    if (command) out += '}';
                }
                if (link) out += '}';
                out.append(closing, '}');
            } else if (kind == SpanKind::LinkRef) {
                // written with its link text
            } else if (kind == SpanKind::NoteRef) {
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

    // The emphasis and strong emphasis a link starting at span i stands in, opened
    // around it; returns how many braces close them.
    std::size_t openOuterStyles(std::string& out, const ModelBlock& block, std::size_t i) const {
        const std::uint8_t outer = model_.outerLinkAt(block, i).outer;
        if (outer & kOuterStrong) out += "\\textbf{";
        if (outer & kOuterEmph) out += "\\emph{";
        return (outer & kOuterStrong ? 1 : 0) + (outer & kOuterEmph ? 1 : 0);
    }

    // The style a part of a link's text shares with spans outside links.
    static SpanKind linkTextStyle(SpanKind kind) {
        return kind == SpanKind::LinkCode ? SpanKind::Code : kind == SpanKind::LinkEmph ? SpanKind::Emph
             : kind == SpanKind::LinkStrong ? SpanKind::Strong : SpanKind::Plain;
    }

    static const char* spanCommand(SpanKind kind) {
        switch (kind) {
            case SpanKind::Emph: return "\\emph{";
            case SpanKind::Strong: return "\\textbf{";
            case SpanKind::Code: return "\\texttt{";
            case SpanKind::Strike: return "\\sout{";
            case SpanKind::Sup: return "\\textsuperscript{";
            case SpanKind::Sub: return "\\textsubscript{";
            default: return nullptr;
        }
    }

    std::string writeBlock(const ModelBlock& block) {
        std::string latex = blockBody(block);
        if (latex.empty() || !block.rtl) return latex;
        return "\\begin{RTL}\n" + latex + "\n\\end{RTL}";
    }

    std::string blockBody(const ModelBlock& block) {
        const BlockKind kind = block.kind;
        const int level = static_cast<int>(block.level);
        if (kind == BlockKind::Heading) {
            // Headings 4 to 6 are LaTeX's paragraph levels; the last has no deeper one.
            if (level >= 0) return (level == 0 ? "\\paragraph{" : "\\subparagraph{") + writeSpans(block, 0) + "}";
            return "\\" + repeat("sub", static_cast<std::size_t>(std::clamp(level + 3, 0, 2))) + "section{" +
                   writeSpans(block, 0) + "}";
        }
        if (kind == BlockKind::Term || kind == BlockKind::Definition) return writeDescription(block);
        if (kind == BlockKind::Bulleted || kind == BlockKind::Numbered) {
            const std::string indent = repeat(kIndent, static_cast<std::size_t>(std::max(level, 0)));
            return wrapLatex(writeSpans(block, 0), indent, indent + "\\item ");
        }
        if (kind == BlockKind::Quote) return "\\begin{quotation}\n" + wrapLatex(writeSpans(block, 0), "", "") + "\n\\end{quotation}";
        if (kind == BlockKind::Verbatim) {
            return languageComment(codeLanguage(model_.info(block))) + latexVerbatim(verbatimText(model_, block, true));
        }
        if (kind == BlockKind::Tex) return neutralizeTex(verbatimText(model_, block, true));
        if (kind == BlockKind::Formula) {
            return "\\begin{equation}\n" + neutralizeTex(verbatimText(model_, block, true)) + "\n\\end{equation}";
        }
        if (kind == BlockKind::Image) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            if (spans.empty() || spans[0].kind != SpanKind::Url) return writeSpans(block, 0, false);
            std::string out = "\\begin{figure}[H]\n\\centering\n\\includegraphics{";
            appendLatexUrl(out, model_.text(spans[0]));
            out += '}';
            if (!model_.alt(block).empty()) out += "\n\\caption{" + escapeLatex(model_.alt(block)) + "}";
            return out + "\n\\end{figure}";
        }
        if (kind == BlockKind::Divider) return "\\hrulefill";
        if (kind == BlockKind::Comment || kind == BlockKind::Link || kind == BlockKind::Note || kind == BlockKind::Html ||
            kind == BlockKind::Metadata)
            return {};
        return wrapLatex(writeSpans(block, 0), "", "");
    }

    // A term is an item's label; its definitions are paragraphs of the item (the first
    // of a list that opens with one gets an item without a label).
    std::string writeDescription(const ModelBlock& block) {
        const std::string indent = repeat(kIndent, static_cast<std::size_t>(std::max(block.level, 0)));
        const bool firstItem = !itemized_.empty() && !itemized_.back();
        if (!itemized_.empty()) itemized_.back() = true;
        if (block.kind == BlockKind::Term) {
            std::string label = writeSpans(block, 0);
            std::replace(label.begin(), label.end(), '\n', ' ');
            return indent + "\\item[{" + label + "}]";
        }
        return wrapLatex(writeSpans(block, 0), indent, firstItem ? indent + "\\item[] " : indent);
    }

    // The run of "row" and "col" blocks from `first`; returns the index after it.
    std::size_t writeTable(std::size_t first) {
        std::vector<std::vector<std::string>> rows;
        std::size_t i = first;
        for (; i < blocks_.size(); ++i) {
            const ModelBlock& block = blocks_[i];
            if (block.kind == BlockKind::Row) rows.emplace_back();
            else if (block.kind != BlockKind::Col) break;
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
    const ModelView model = readWriterModel(input);
    return LatexWriter(model).document();
}

}  // namespace qorva::convert
