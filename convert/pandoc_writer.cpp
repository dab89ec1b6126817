// Model JSON to Pandoc's syntax tree: lists and tables rebuilt from levels, written
// straight to text in the dialect asked for (the 1.11 form by default).
#include "convert/citation_text.h"
#include "convert/converters.h"
#include "convert/html_opening_tag.h"
#include "convert/writer_model.h"
#include "convert/pandoc_api.h"
#include "convert/pandoc_json_out.h"
#include "model/label_tables.h"
#include "model/model_tree.h"
#include "model/table_columns.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <span>
#include <unordered_map>

namespace qorva::convert {
namespace {

// A footnote may hold references to footnotes defined before it, which are written
// inside it; beyond this depth such references are left out so that a long chain of
// notes cannot grow the output quadratically or nest it without bound.
constexpr int kMaxNoteNesting = 16;

constexpr std::ptrdiff_t kUnresolved = -1;

// A footnote definition: how deep the notes inside it nest, and for each of its
// "noteref" spans the definition it found when it was defined (or kUnresolved).
struct NoteDefinition {
    int nesting = 1;
    std::vector<std::ptrdiff_t> references;
};

class PandocWriter {
public:
    PandocWriter(const ModelView& model, PandocApi api)
        : model_(model), labels_(buildLabelTables(model)), out_(std::move(api)) {
        resolveNotes();
    }

    std::string document() {
        out_.beginDocument();
        writeNodes(rebuildTree(model_, -1));
        out_.endDocument();
        return out_.take();
    }

private:
    const ModelView& model_;
    LabelTables labels_;
    PandocJsonOut out_;
    std::unordered_map<std::string, std::size_t> notes_;  // label to its last definition
    std::unordered_map<std::size_t, NoteDefinition> definitions_;
    std::unordered_map<std::string, std::string> linkTitles_ = linkTitles();
    int listDepth_ = 0;  // bulleted and numbered lists around the node being written
    int quotationsOpen_ = 0;  // quotations around the lists and code blocks being written in them

    JsonTextWriter& json() { return out_.json(); }

    // Notes in document order, so a reference inside a note finds the notes defined
    // before it; a later definition of a label replaces an earlier one.
    void resolveNotes() {
        const std::vector<ModelBlock>& blocks = model_.blocks;
        for (std::size_t index = 0; index < blocks.size(); ++index) {
            const std::span<const ModelSpan> spans = model_.spansOf(blocks[index]);
            if (blocks[index].kind != BlockKind::Note || spans.empty() || spans[0].kind != SpanKind::NoteRef) continue;
            NoteDefinition definition;
            definition.references.assign(spans.size(), kUnresolved);
            for (std::size_t i = 1; i < spans.size(); ++i) {
                if (spans[i].kind != SpanKind::NoteRef) continue;
                auto found = notes_.find(std::string(model_.text(spans[i])));
                if (found == notes_.end()) continue;
                const int nesting = definitions_[found->second].nesting;
                if (nesting >= kMaxNoteNesting) continue;
                definition.references[i] = static_cast<std::ptrdiff_t>(found->second);
                definition.nesting = std::max(definition.nesting, nesting + 1);
            }
            definitions_[index] = std::move(definition);
            notes_.insert_or_assign(std::string(model_.text(spans[0])), index);
        }
    }

    void writeLink(std::string_view text, std::string_view target, std::string_view title = {}) {
        out_.beginLinkLike("Link");
        out_.str(text);
        out_.endLinkLike(target, title);
    }

    void writeLink(std::span<const ModelSpan> text, std::string_view target, std::string_view title) {
        out_.beginLinkLike("Link");
        writeLinkText(text);
        out_.endLinkLike(target, title);
    }

    // A link's text: its code, emphasis and strong emphasis as Code, Emph and Strong, its pictures as Image.
    void writeLinkText(std::span<const ModelSpan> text) {
        for (std::size_t k = 0; k < text.size(); ++k) {
            const ModelSpan& span = text[k];
            const std::string_view part = model_.text(span);
            if (span.kind == SpanKind::LinkImage) k = writeLinkPicture(text, k) - 1;
            else if (span.kind == SpanKind::LinkCode) writeCode(part);
            else if (span.kind == SpanKind::LinkEmph) writeStyled("Emph", part);
            else if (span.kind == SpanKind::LinkStrong) writeStyled("Strong", part);
            else out_.str(part);
        }
    }

    // The picture whose "linkimage" is text[k]; returns the index after its source and title.
    std::size_t writeLinkPicture(std::span<const ModelSpan> text, std::size_t k) {
        const ModelView::LinkPicture picture = model_.linkPicture(text, k);
        out_.beginLinkLike("Image");
        out_.str(picture.alt);
        out_.endLinkLike(picture.source, picture.title);
        return picture.end;
    }

    void writeCode(std::string_view text) {
        out_.beginElement("Code");
        json().beginArray();
        out_.emptyAttributes();
        json().string(text);
        json().endArray();
        out_.endElement();
    }

    // The span after the part starting at spans[k] when that part lies in emphasis
    // (`emph`) or strong emphasis: a styled span, or a link standing whole in the style;
    // k itself when it does not.
    std::size_t styledPartEnd(const ModelBlock& block, std::span<const ModelSpan> spans, std::size_t k, bool emph) const {
        if (k >= spans.size()) return k;
        if (emph ? isEmphasised(spans[k].kind) : isStrong(spans[k].kind)) return k + 1;
        const ModelView::OuterLink link = model_.outerLinkAt(block, k, spans.size());
        return link.outer & (emph ? kOuterEmph : kOuterStrong) ? link.end : k;
    }

    // The run of spans from `first` that share emphasis or strong emphasis, as one Emph
    // or Strong holding what each adds (code, the other style). The longer run is the
    // outer element, emphasis when both are as long, as Pandoc reads "***a***". Links
    // standing whole in the style are parts of the run. Returns the run's end.
    std::size_t writeNestedStyles(const ModelBlock& block, std::span<const ModelSpan> spans, std::size_t first) {
        std::size_t emphEnd = first, strongEnd = first;
        for (std::size_t next; (next = styledPartEnd(block, spans, emphEnd, true)) > emphEnd;) emphEnd = next;
        for (std::size_t next; (next = styledPartEnd(block, spans, strongEnd, false)) > strongEnd;) strongEnd = next;
        const bool emph = emphEnd >= strongEnd;
        const std::size_t end = emph ? emphEnd : strongEnd;
        out_.beginElement(emph ? "Emph" : "Strong");
        json().beginArray();
        for (std::size_t i = first; i < end; ++i) {
            const SpanKind kind = spans[i].kind;
            const std::string_view text = model_.text(spans[i]);
            if (const ModelView::OuterLink link = model_.outerLinkAt(block, i, spans.size()); link.outer) {
                // A link in both styles is wrapped in the one the run does not give.
                const bool both = link.outer == (kOuterEmph | kOuterStrong);
                if (both) beginStyle(emph ? "Strong" : "Emph");
                writeLinkAt(block, spans, i);
                if (both) endStyle();
                i = link.end - 1;  // past its title too
            } else if (kind == SpanKind::StrongEmph) writeStyled(emph ? "Strong" : "Emph", text);
            else if (kind == SpanKind::StrongCode || kind == SpanKind::EmphCode) writeCode(text);
            else out_.str(text);
        }
        json().endArray();
        out_.endElement();
        return end;
    }

    void beginStyle(const char* name) {
        out_.beginElement(name);
        json().beginArray();
    }

    void endStyle() {
        json().endArray();
        out_.endElement();
    }

    // The link whose text (or bare "url") starts at spans[i]: Link, or its text alone when
    // its label has no definition or it has no target. Returns the index of its last span.
    std::size_t writeLinkAt(const ModelBlock& block, std::span<const ModelSpan> spans, std::size_t i) {
        if (spans[i].kind == SpanKind::Url) {
            writeLink(model_.text(spans[i]), model_.text(spans[i]));
            return i;
        }
        // The link text keeps its target: the "url" or the defined label after it.
        // A label without definition, or no target at all, leaves the text.
        const std::size_t runBegin = i, runEnd = std::min(model_.linkTextEnd(block, i), spans.size());
        i = runEnd - 1;
        const SpanKind after = runEnd < spans.size() ? spans[runEnd].kind : SpanKind::Other;
        const std::span<const ModelSpan> text = spans.subspan(runBegin, runEnd - runBegin);
        if (after == SpanKind::Url) {
            ++i;
            writeLink(text, model_.text(spans[i]), model_.titleAfter(block, i));
        } else if (after == SpanKind::LinkRef) {
            const std::string label(model_.text(spans[++i]));
            auto target = labels_.linkTargets.find(label);
            if (target != labels_.linkTargets.end()) writeLink(text, target->second, linkTitles_[label]);
            else writeLinkText(text);
        } else {
            writeLinkText(text);
        }
        return i;
    }

    // The titles of the "link" definitions, by label; a later definition wins, as for targets.
    std::unordered_map<std::string, std::string> linkTitles() const {
        std::unordered_map<std::string, std::string> titles;
        for (const ModelBlock& block : model_.blocks) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            if (block.kind != BlockKind::Link || spans.size() < 2 || spans[0].kind != SpanKind::LinkRef ||
                spans[1].kind != SpanKind::Url)
                continue;
            titles.insert_or_assign(std::string(model_.text(spans[0])), std::string(model_.titleAfter(block, 1)));
        }
        return titles;
    }

    void writeStyled(const char* name, std::string_view text) {
        out_.beginElement(name);
        json().beginArray();
        out_.str(text);
        json().endArray();
        out_.endElement();
    }

    // A footnote's text; two line breaks in a row between texts part its paragraphs,
    // which is how the reader keeps a note of several paragraphs in one block. Further
    // breaks of the run open the next paragraph; a run at either end stays line breaks.
    void writeNote(std::size_t index) {
        const ModelBlock& block = model_.blocks[index];
        const std::span<const ModelSpan> spans = model_.spansOf(block);
        out_.beginElement("Note");
        json().beginArray();
        std::size_t start = 1;
        for (std::size_t i = 1; i < spans.size(); ++i) {
            if (spans[i].kind != SpanKind::Break) continue;
            std::size_t end = i;
            while (end < spans.size() && spans[end].kind == SpanKind::Break) ++end;
            if (i > start && end - i >= 2 && end < spans.size()) {
                writePara(block, start, &definitions_[index], i);
                start = i + 2;
            }
            i = end - 1;
        }
        writePara(block, start, &definitions_[index], spans.size());
        json().endArray();
        out_.endElement();
    }

    // A paragraph with no blank line after it: a tight item's or a cell's text.
    void writeAsPlain(const ModelBlock& block) {
        out_.beginElement("Plain");
        writeInlines(block, 0);
        out_.endElement();
    }

    void writePara(const ModelBlock& block, std::size_t first = 0, const NoteDefinition* note = nullptr,
                   std::size_t end = SIZE_MAX) {
        out_.beginElement("Para");
        writeInlines(block, first, note, end);
        out_.endElement();
    }

    // Plain text, with the citations in it as citations where the flavour has them.
    void writePlain(std::string_view text) {
        CitationMatch match;
        std::size_t at = 0;
        if (!out_.citations() || !findCitation(text, 0, match)) {
            out_.str(text);
            return;
        }
        do {
            if (match.begin > at) out_.str(text.substr(at, match.begin - at));
            writeCitation(match, text.substr(match.begin, match.end - match.begin));
            at = match.end;
        } while (findCitation(text, at, match));
        if (at < text.size()) out_.str(text.substr(at));
    }

    void writeCitation(const CitationMatch& match, std::string_view source) {
        out_.beginElement("Cite");
        json().beginArray();
        json().beginArray();
        for (const CitationKey& key : match.keys) {
            json().beginObject();
            json().key("citationId");
            json().string(key.id);
            json().key("citationPrefix");
            json().beginArray();
            out_.str(key.prefix);
            json().endArray();
            json().key("citationSuffix");
            json().beginArray();
            out_.str(key.suffix);
            json().endArray();
            json().key("citationMode");
            out_.bare(key.authorInText ? "AuthorInText" : key.suppressAuthor ? "SuppressAuthor" : "NormalCitation");
            json().key("citationNoteNum");
            json().number(0LL);
            json().key("citationHash");
            json().number(0LL);
            json().endObject();
        }
        json().endArray();
        json().beginArray();  // what a format without citations shows
        out_.str(source);
        json().endArray();
        json().endArray();
        out_.endElement();
    }

    // The inlines of a block's spans from `first` to `end`; `note` is given for a footnote's text.
    void writeInlines(const ModelBlock& block, std::size_t first, const NoteDefinition* note = nullptr,
                      std::size_t end = SIZE_MAX) {
        json().beginArray();
        const std::span<const ModelSpan> all = model_.spansOf(block);
        const std::span<const ModelSpan> spans = all.first(std::min(end, all.size()));
        for (std::size_t i = first; i < spans.size(); ++i) {
            const SpanKind kind = spans[i].kind;
            const std::string_view text = model_.text(spans[i]);
            if (kind == SpanKind::Plain) {
                writePlain(text);
            } else if (isEmphasised(kind) || isStrong(kind) || model_.outerLinkAt(block, i, spans.size()).outer) {
                i = writeNestedStyles(block, spans, i) - 1;
            } else if (kind == SpanKind::Strike) {
                writeStyled("Strikeout", text);
            } else if (kind == SpanKind::Sup) {
                writeStyled("Superscript", text);
            } else if (kind == SpanKind::Sub) {
                writeStyled("Subscript", text);
            } else if (const std::size_t close = kind == SpanKind::Html ? spanElementEnd(spans, i) : 0) {
                writeSpanElement(block, i, close, note);
                i = close;
            } else if (kind == SpanKind::Html || kind == SpanKind::Tex) {
                writeRaw("RawInline", kind == SpanKind::Html ? "html" : "tex", text);
            } else if (kind == SpanKind::Title) {
                if (!model_.isLinkTitle(block, i)) writePlain(text);  // else written with its link
            } else if (kind == SpanKind::Code) {
                writeCode(text);
            } else if (kind == SpanKind::Math) {
                writeMath("InlineMath", text);
            } else if (kind == SpanKind::Break) {
                out_.bare("LineBreak");
            } else if (kind == SpanKind::Url || isLinkTextKind(kind)) {
                i = writeLinkAt(block, spans, i);
            } else if (kind == SpanKind::LinkRef) {
                // consumed by its "linktext"; a stray label writes nothing
            } else if (kind == SpanKind::NoteRef) {
                if (note) {
                    if (note->references[i] != kUnresolved) writeNote(static_cast<std::size_t>(note->references[i]));
                } else if (auto found = notes_.find(std::string(text)); found != notes_.end()) {
                    writeNote(found->second);
                }
            } else {
                out_.str(text);  // unknown span tags keep their text
            }
        }
        json().endArray();
    }

    // Where spans[begin] opens a span as the reader keeps one (an "html" span of its opening
    // tag), the index of the "html" span of its closing tag; else 0.
    std::size_t spanElementEnd(std::span<const ModelSpan> spans, std::size_t begin) const {
        if (!out_.divsAndSpans() || !parseOpeningTag("span", model_.text(spans[begin]))) return 0;
        int depth = 0;
        for (std::size_t i = begin + 1; i < spans.size(); ++i) {
            if (spans[i].kind != SpanKind::Html) continue;
            const std::string_view tag = model_.text(spans[i]);
            if (tag == "</span>" && depth-- == 0) return i;
            if (tag.starts_with("<span")) ++depth;
        }
        return 0;
    }

    void writeSpanElement(const ModelBlock& block, std::size_t begin, std::size_t end, const NoteDefinition* note) {
        const ElementAttributes span = *parseOpeningTag("span", model_.text(model_.spansOf(block)[begin]));
        out_.beginElement("Span");
        json().beginArray();
        out_.attributes(span.id, span.classes, span.pairs);
        writeInlines(block, begin + 1, note, end);
        json().endArray();
        out_.endElement();
    }

    void writeMath(const char* type, std::string_view source) {
        out_.beginElement("Math");
        json().beginArray();
        out_.bare(type);
        json().string(source);
        json().endArray();
        out_.endElement();
    }

    // Blocks in a row: a part of a list item or division is written where it stands, not copied.
    void writeNodes(std::span<const TreeNode> nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (const std::size_t end = divisionEnd(nodes, i)) {
                writeDivision(nodes, i, end);
                i = end;
                continue;
            }
            // Two code blocks in a row without attributes would be written as one indented
            // block; an empty comment keeps them apart (as Pandoc does after a list).
            if (i > 0 && isIndentedCode(nodes[i - 1]) && isIndentedCode(nodes[i])) writeRawHtml("<!-- -->");
            // A header row whose first cell is empty starts its line with spaces, which
            // Pandoc Markdown (the flavour that reads a header alone otherwise, as both come
            // of its simple tables) reads as going on with the list before it.
            else if (i > 0 && nodes[i - 1].kind == TreeNode::Kind::List && nodes[i - 1].listKind != BlockKind::Row &&
                     startsWithEmptyHeaderCell(nodes[i]))
                writeRawHtml("<!-- -->");
            // Two lists kept apart by an empty paragraph, which Pandoc would leave out and so
            // make them one: without it Pandoc keeps them apart itself.
            else if (i > 0 && i + 1 < nodes.size() && isEmptyParagraph(nodes[i]) && sameListKind(nodes[i - 1], nodes[i + 1]))
                continue;
            if (isQuotation(nodes[i])) {
                i = writeQuotation(nodes, i) - 1;
                continue;
            }
            writeNode(nodes[i]);
        }
    }

    // Quotation paragraphs, and lists and code blocks standing in more quotations than
    // are open around them.
    bool isQuotation(const TreeNode& node) const {
        return (node.kind == TreeNode::Kind::Block && node.block->kind == BlockKind::Quote) || quoteDepthOf(model_, node) > quotationsOpen_;
    }

    // Quotation paragraphs in a row, with the definitions among them, as one quotation, each
    // paragraph in as many quotations as its depth (inside a list item the item's own level is
    // the first step), and the lists and code blocks among them in as many as they say. An
    // empty paragraph between two parts two quotations at its level: it ends the run at the
    // quotation's own level, else closes the deeper ones; between two lists of a kind in the
    // same quotations it parts the lists. Returns the end of the run.
    std::size_t writeQuotation(std::span<const TreeNode> nodes, std::size_t begin) {
        int open = 0;
        const auto openQuotations = [&](int depth) {
            for (; open > depth; --open) endStyle();
            for (; open < depth; ++open) beginStyle("BlockQuote");
        };
        std::size_t end = begin;
        for (; end < nodes.size(); ++end) {
            if (const int quoted = quoteDepthOf(model_, nodes[end]); quoted > 0) {
                std::size_t groupEnd = end + 1;
                while (groupEnd < nodes.size() &&
                       (quoteDepthOf(model_, nodes[groupEnd]) == quoted ||
                        (groupEnd + 1 < nodes.size() && isEmptyParagraph(nodes[groupEnd]) && quoteDepthOf(model_, nodes[groupEnd + 1]) == quoted &&
                         sameListKind(nodes[groupEnd - 1], nodes[groupEnd + 1]))))
                    ++groupEnd;
                openQuotations(quoted);
                const int outer = std::exchange(quotationsOpen_, quoted);
                writeNodes(nodes.subspan(end, groupEnd - end));
                quotationsOpen_ = outer;
                end = groupEnd - 1;
                continue;
            }
            if (nodes[end].kind != TreeNode::Kind::Block) break;
            const ModelBlock& block = *nodes[end].block;
            if (!writesABlock(block)) continue;
            // A parting paragraph stands at the level of the quotations it parts, one step out.
            if (isEmptyParagraph(nodes[end]) && end + 1 < nodes.size() && isQuotation(nodes[end + 1]) && quoteDepth(block) > 1) {
                for (; open >= quoteDepth(block); --open) endStyle();
                continue;
            }
            if (block.kind != BlockKind::Quote) break;
            openQuotations(quoteDepth(block));
            writePara(block);
        }
        openQuotations(0);
        return end;
    }

    // How many quotations a block at its level stands in; inside a list item the item's own
    // level is the first step.
    int quoteDepth(const ModelBlock& block) const { return std::max(block.level + 1 - listDepth_, 1); }

    bool holdsText(const TreeNodes& nodes) const {
        return std::any_of(nodes.begin(), nodes.end(), [&](const TreeNode& node) {
            if (node.kind != TreeNode::Kind::List) return !model_.spansOf(*node.block).empty();
            return std::any_of(node.items.begin(), node.items.end(), [&](const TreeNodes& item) { return holdsText(item); });
        });
    }

    bool isEmptyParagraph(const TreeNode& node) const {
        return node.kind == TreeNode::Kind::Block && node.block->kind == BlockKind::Para && model_.spansOf(*node.block).empty();
    }

    static bool sameListKind(const TreeNode& a, const TreeNode& b) {
        return a.kind == TreeNode::Kind::List && b.kind == TreeNode::Kind::List && a.listKind == b.listKind &&
               (a.listKind == BlockKind::Bulleted || a.listKind == BlockKind::Numbered);
    }

    // An HTML block holding one line, that line.
    std::optional<std::string> htmlLine(const TreeNode& node) const {
        if (node.kind != TreeNode::Kind::Block || node.block->kind != BlockKind::Html) return std::nullopt;
        std::string line = verbatimText(model_, *node.block, false);
        if (line.find('\n') != std::string::npos) return std::nullopt;
        return line;
    }

    // Where nodes[begin] opens a division as the reader keeps one (an HTML block of its
    // opening tag), the index of the block of its closing tag among the same nodes; else 0.
    std::size_t divisionEnd(std::span<const TreeNode> nodes, std::size_t begin) const {
        const std::optional<std::string> opening = out_.divsAndSpans() ? htmlLine(nodes[begin]) : std::nullopt;
        if (!opening || !parseOpeningTag("div", *opening)) return 0;
        int depth = 0;
        for (std::size_t i = begin + 1; i < nodes.size(); ++i) {
            const std::optional<std::string> line = htmlLine(nodes[i]);
            if (!line) continue;
            if (*line == "</div>" && depth-- == 0) return i;
            if (line->starts_with("<div")) ++depth;
        }
        return 0;
    }

    void writeDivision(std::span<const TreeNode> nodes, std::size_t begin, std::size_t end) {
        const ElementAttributes div = *parseOpeningTag("div", *htmlLine(nodes[begin]));
        out_.beginElement("Div");
        json().beginArray();
        out_.attributes(div.id, div.classes, div.pairs);
        json().beginArray();
        writeNodes(nodes.subspan(begin + 1, end - begin - 1));
        json().endArray();
        json().endArray();
        out_.endElement();
    }

    // Whether the block written after an item's text may follow it without a blank line:
    // a list, a picture (which reads back as the end of the text, where the reader takes
    // it from), or in GitHub Markdown a code block or quotation. Pandoc Markdown would
    // read a code fence right after a line of text as inline code.
    bool textMayPrecede(std::span<const TreeNode> item) const {
        for (const TreeNode& node : item.subspan(1)) {
            if (node.kind == TreeNode::Kind::List) return true;
            if (node.kind != TreeNode::Kind::Block || !writesABlock(*node.block)) continue;
            const BlockKind kind = node.block->kind;
            return kind == BlockKind::Image || (out_.blockAfterText() && (kind == BlockKind::Verbatim || kind == BlockKind::Quote));
        }
        return true;
    }

    // Definitions and comments stand among the blocks but write none of their own.
    static bool writesABlock(const ModelBlock& block) {
        return block.kind != BlockKind::Link && block.kind != BlockKind::Note && block.kind != BlockKind::Comment;
    }

    bool startsWithEmptyHeaderCell(const TreeNode& node) const {
        if (!out_.headerRow() || out_.headerAlone() || node.kind != TreeNode::Kind::List || node.listKind != BlockKind::Row || node.items.empty())
            return false;
        const std::vector<const TreeNode*> cell = splitRow(node.items.front()).firstCell;
        return std::all_of(cell.begin(), cell.end(), [&](const TreeNode* part) {
            return part->kind == TreeNode::Kind::Paragraph && model_.spansOf(*part->block).empty();
        });
    }

    // Pandoc writes a code block with attributes fenced, one without indented.
    bool isIndentedCode(const TreeNode& node) const {
        return node.kind == TreeNode::Kind::Block && node.block->kind == BlockKind::Verbatim &&
               codeAttributes(model_.info(*node.block)).empty();
    }

    void writeRawHtml(std::string_view html) { writeRaw("RawBlock", "html", html); }

    void writeRaw(const char* name, const char* format, std::string_view text) {
        out_.beginElement(name);
        json().beginArray();
        json().string(format);
        json().string(text);
        json().endArray();
        out_.endElement();
    }

    void writeNode(const TreeNode& node) {
        switch (node.kind) {
            case TreeNode::Kind::Paragraph:
                // The paragraph of an item; outside a list (a term's own) still a paragraph.
                writePara(*node.block);
                return;
            case TreeNode::Kind::List: writeList(node); return;
            case TreeNode::Kind::Block:
                if (isQuotation(node)) writeQuotation(std::span<const TreeNode>(&node, 1), 0);
                else writeBlock(*node.block);
                return;
        }
    }

    void writeList(const TreeNode& list) {
        if (list.listKind == BlockKind::Row || list.listKind == BlockKind::Col) {
            writeTable(list);
            return;
        }
        if (list.listKind == BlockKind::Term) {
            writeDefinitionList(list);
            return;
        }
        const bool numbered = list.listKind == BlockKind::Numbered;
        out_.beginElement(numbered ? "OrderedList" : "BulletList");
        const auto itemBlock = [](const TreeNodes& item) {
            return !item.empty() && item.front().kind == TreeNode::Kind::Paragraph ? item.front().block : nullptr;
        };
        if (numbered) {
            const ModelBlock* first = list.items.empty() ? nullptr : itemBlock(list.items.front());
            json().beginArray();
            json().beginArray();
            json().number(static_cast<long long>(first ? model_.startNumber(*first) : 1));
            out_.bare("Decimal");
            out_.bare("Period");
            json().endArray();
        }
        json().beginArray();
        ++listDepth_;
        // Items said to be loose have their paragraph as a Para, the others as a Plain.
        // In a list without such items, one said to be tight, or whose items hold nothing
        // but their own paragraph and nested lists, is tight, as most lists are written:
        // its paragraphs are Plain.
        const bool saysLoose = std::any_of(list.items.begin(), list.items.end(), [&](const TreeNodes& item) {
            const ModelBlock* block = itemBlock(item);
            return block && model_.loose(*block);
        });
        const bool saysTight = !saysLoose && std::any_of(list.items.begin(), list.items.end(), [&](const TreeNodes& item) {
            const ModelBlock* block = itemBlock(item);
            return block && model_.tight(*block);
        });
        const bool tight = saysTight || (!saysLoose && std::all_of(list.items.begin(), list.items.end(), [&](const TreeNodes& item) {
            return std::all_of(item.begin(), item.end(), [&](const TreeNode& node) {
                if (node.kind == TreeNode::Kind::List)
                    return node.listKind == BlockKind::Bulleted || node.listKind == BlockKind::Numbered;
                if (node.kind == TreeNode::Kind::Paragraph) return &node == &item.front();
                return !writesABlock(*node.block) || isEmptyParagraph(node);  // Pandoc writes nothing for an empty one
            });
        }));
        for (const TreeNodes& item : list.items) {
            json().beginArray();
            const ModelBlock* block = itemBlock(item);
            // An item with no text opening a nested list is that list alone: "-   1.  a".
            if (block && model_.spansOf(*block).empty() && item.size() > 1 && item[1].kind == TreeNode::Kind::List &&
                (item[1].listKind == BlockKind::Bulleted || item[1].listKind == BlockKind::Numbered)) {
                writeNodes(std::span<const TreeNode>(item).subspan(1));
            } else if (block && (saysLoose ? !model_.loose(*block) : tight) && (!saysTight || textMayPrecede(item))) {
                writeAsPlain(*item.front().block);
                writeNodes(std::span<const TreeNode>(item).subspan(1));
            } else {
                writeNodes(item);
            }
            json().endArray();
        }
        --listDepth_;
        json().endArray();
        if (numbered) json().endArray();
        out_.endElement();
    }

    // Each item: its term's inlines (none when a definition opened the list), then its
    // definitions, each a "definition" paragraph and the deeper nodes after it.
    void writeDefinitionList(const TreeNode& list) {
        out_.beginElement("DefinitionList");
        json().beginArray();
        ++listDepth_;
        for (const TreeNodes& item : list.items) {
            json().beginArray();
            std::size_t i = 0;
            if (!item.empty() && item[0].kind == TreeNode::Kind::Paragraph && item[0].block->kind == BlockKind::Term) {
                writeInlines(*item[0].block, 0);
                i = 1;
            } else {
                json().beginArray();
                json().endArray();
            }
            json().beginArray();
            while (i < item.size()) {
                std::size_t end = i + 1;
                while (end < item.size() &&
                       !(item[end].kind == TreeNode::Kind::Paragraph && item[end].block->kind == BlockKind::Definition))
                    ++end;
                json().beginArray();
                // A tight definition's paragraph is a Plain: no blank line after its term.
                const std::span<const TreeNode> definition = std::span<const TreeNode>(item).subspan(i, end - i);
                const TreeNode& first = definition.front();
                const bool plain = first.kind == TreeNode::Kind::Paragraph && first.block->kind == BlockKind::Definition &&
                                   model_.tight(*first.block) && textMayPrecede(definition);
                if (plain) writeAsPlain(*first.block);
                writeNodes(definition.subspan(plain ? 1 : 0));
                json().endArray();
                i = end;
            }
            json().endArray();
            json().endArray();
        }
        --listDepth_;
        json().endArray();
        out_.endElement();
    }

    // The nodes of a row item: those before its "col" list are the first cell, the
    // items of that list the further cells, and what the levels placed after the
    // "col" list belongs to no cell (it follows the table).
    struct Row {
        std::vector<const TreeNode*> firstCell;
        const TreeNode* furtherCells = nullptr;
        std::vector<const TreeNode*> after;
        std::size_t cellCount() const { return 1 + (furtherCells ? furtherCells->items.size() : 0); }
    };

    static Row splitRow(const TreeNodes& item) {
        Row row;
        for (const TreeNode& node : item) {
            if (!row.furtherCells && node.kind == TreeNode::Kind::List && node.listKind == BlockKind::Col) {
                row.furtherCells = &node;
            } else {
                (row.furtherCells ? row.after : row.firstCell).push_back(&node);
            }
        }
        return row;
    }

    // One cell: its blocks, wrapped as a cell of its own where the dialect has them.
    template <typename WriteBlocks>
    void writeCell(WriteBlocks writeBlocks) {
        if (out_.structuredTables()) {
            json().beginArray();
            out_.emptyAttributes();
            out_.bare("AlignDefault");
            json().number(1LL);
            json().number(1LL);
        }
        json().beginArray();
        writeBlocks();
        json().endArray();
        if (out_.structuredTables()) json().endArray();
    }

    // A cell's text is a Plain, as Pandoc's readers give it: with a Para, Pandoc Markdown
    // writes a table with column widths as a grid table.
    void writeCellNode(const TreeNode& node) {
        if (node.kind != TreeNode::Kind::Paragraph) return writeNode(node);
        writeAsPlain(*node.block);
    }

    void writeRowCells(const Row& row, std::size_t columns) {
        writeCell([&] {
            for (const TreeNode* node : row.firstCell) writeCellNode(*node);
        });
        if (row.furtherCells) {
            for (const TreeNodes& cell : row.furtherCells->items)
                writeCell([&] {
                    for (const TreeNode& node : cell) writeCellNode(node);
                });
        }
        // Rows shorter than the widest get empty cells, so no cell falls outside the columns.
        for (std::size_t i = row.cellCount(); i < columns; ++i) writeCell([] {});
    }

    void writeRow(const Row& row, std::size_t columns) {
        if (out_.structuredTables()) {
            json().beginArray();
            out_.emptyAttributes();
        }
        json().beginArray();
        writeRowCells(row, columns);
        json().endArray();
        if (out_.structuredTables()) json().endArray();
    }

    void writeTable(const TreeNode& list) {
        std::vector<Row> rows;
        std::size_t columns = 0;
        for (const TreeNodes& item : list.items) {
            rows.push_back(splitRow(item));
            columns = std::max(columns, rows.back().cellCount());
        }
        // Where a header row alone reads back as something else, so does one over empty rows.
        const bool header = out_.headerRow() &&
                            (out_.headerAlone() || std::any_of(list.items.begin() + 1, list.items.end(),
                                                               [&](const TreeNodes& row) { return holdsText(row); }));
        const Row* head = header && !rows.empty() ? &rows.front() : nullptr;
        out_.beginElement("Table");
        json().beginArray();
        const TreeNodes& firstRow = list.items.front();
        const ModelBlock* firstBlock = firstRow.empty() ? nullptr : firstRow.front().block;
        writeTableHead(columns, head, firstBlock);
        if (out_.structuredTables()) {
            json().beginArray();  // one body
            json().beginArray();
            out_.emptyAttributes();
            json().number(0LL);
            json().beginArray();
            json().endArray();
        }
        json().beginArray();
        // Where an empty row would end the table, it is left out (the first row of all stays).
        for (std::size_t i = head ? 1 : 0; i < rows.size(); ++i)
            if (out_.emptyRows() || i == 0 || holdsText(list.items[i])) writeRow(rows[i], columns);
        json().endArray();
        if (out_.structuredTables()) {
            json().endArray();
            json().endArray();
            json().beginArray();  // the foot
            out_.emptyAttributes();
            json().beginArray();
            json().endArray();
            json().endArray();
        }
        json().endArray();
        out_.endElement();
        for (const Row& row : rows) {
            for (const TreeNode* node : row.after) writeNode(*node);
        }
    }

    // Everything before the rows: caption, column alignments and widths, and the
    // header: the first row when asked for one (pipe tables need it), else empty
    // (every model row is a body row). The alignments and widths are those the first
    // row says; without widths 1.11 gets the fixed widths it always had, current
    // Pandoc its default widths (given widths, it fills cell text to them and breaks
    // styled text in narrow columns: "**d**" came back as "*d **").
    void writeTableHead(std::size_t columns, const Row* head, const ModelBlock* firstRow) {
        const std::vector<char> align = firstRow ? readColumnAlignments(model_.align(*firstRow)) : std::vector<char>();
        std::vector<double> widths = firstRow ? readColumnWidths(model_.widths(*firstRow)) : std::vector<double>();
        if (widths.empty() && out_.legacy()) widths.assign(columns, 0.08);
        const auto alignName = [&](std::size_t k) {
            const char a = alignmentAt(align, k);
            return a == 'l' ? "AlignLeft" : a == 'c' ? "AlignCenter" : a == 'r' ? "AlignRight" : "AlignDefault";
        };
        if (out_.structuredTables()) {
            out_.emptyAttributes();
            json().beginArray();  // caption: no short caption, no blocks
            json().null();
            json().beginArray();
            json().endArray();
            json().endArray();
            json().beginArray();
            for (std::size_t i = 0; i < columns; ++i) {
                json().beginArray();
                out_.bare(alignName(i));
                if (widthAt(widths, i) > 0.0) {
                    out_.beginElement("ColWidth");
                    json().number(widthAt(widths, i));
                    out_.endElement();
                } else {
                    out_.bare("ColWidthDefault");
                }
                json().endArray();
            }
            json().endArray();
            json().beginArray();  // the head
            out_.emptyAttributes();
            json().beginArray();
            if (head) writeRow(*head, columns);
            json().endArray();
            json().endArray();
            return;
        }
        json().beginArray();
        json().endArray();
        json().beginArray();
        for (std::size_t i = 0; i < columns; ++i) out_.bare(alignName(i));
        json().endArray();
        json().beginArray();
        for (std::size_t i = 0; i < columns; ++i) json().number(widthAt(widths, i));
        json().endArray();
        json().beginArray();
        if (head) {
            writeRowCells(*head, columns);
        } else {
            for (std::size_t i = 0; i < columns; ++i) writeCell([] {});
        }
        json().endArray();
    }

    void writeBlock(const ModelBlock& block) {
        const BlockKind kind = block.kind;
        if (kind == BlockKind::Para) {
            writePara(block);
        } else if (kind == BlockKind::Heading) {
            out_.beginElement("Header");
            json().beginArray();
            json().number(static_cast<long long>(headingRank(block.level)));
            out_.emptyAttributes();
            writeInlines(block, 0);
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Verbatim) {
            out_.beginElement("CodeBlock");
            json().beginArray();
            const CodeAttributes attributes = codeAttributes(model_.info(block));
            out_.attributes(attributes.id, attributes.classes, attributes.pairs);
            json().string(verbatimText(model_, block, false));
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Formula) {
            out_.beginElement("Para");
            json().beginArray();
            writeMath("DisplayMath", "\n" + verbatimText(model_, block, false) + "\n");
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Html || kind == BlockKind::Tex) {
            // Ended by a line end, as CommonMark reads one: GitHub Markdown then keeps it apart from what follows.
            writeRaw("RawBlock", kind == BlockKind::Html ? "html" : "tex", verbatimText(model_, block, false) + "\n");
        } else if (kind == BlockKind::Metadata) {
            // Markdown's own: the Markdown writers write it as it stands, the others leave it out.
            writeRaw("RawBlock", "markdown", "---\n" + verbatimText(model_, block, false) + "\n---");
        } else if (kind == BlockKind::Divider) {
            out_.bare("HorizontalRule");
        } else if (kind == BlockKind::Image) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            const std::string_view alt = model_.alt(block), title = model_.title(block);
            out_.beginElement("Para");
            json().beginArray();
            out_.beginLinkLike("Image");
            out_.str(alt);
            // A described picture standing alone is a figure, as Pandoc Markdown reads one.
            const std::string figureTitle = !alt.empty() && !out_.figureBlocks() ? "fig:" + std::string(title) : std::string(title);
            out_.endLinkLike(!spans.empty() && spans[0].kind == SpanKind::Url ? model_.text(spans[0]) : std::string_view(),
                             figureTitle);
            json().endArray();
            out_.endElement();
        }
        // "comment", "note", "link" and unknown tags are not written; nor are terms and
        // definitions outside a definition list, which the tree never leaves.
    }

    // A code block's info string as attributes: "python" is the class "python";
    // "{#id .haskell .numberLines start=\"5\"}" or "c++ {.numberLines}" give the parts they name.
    struct CodeAttributes {
        std::string id;
        std::vector<std::string> classes;
        std::vector<std::pair<std::string, std::string>> pairs;
        bool empty() const { return id.empty() && classes.empty() && pairs.empty(); }
    };

    static CodeAttributes codeAttributes(std::string_view info) {
        CodeAttributes attributes;
        auto& [id, classes, pairs] = attributes;
        const auto skipSpaces = [&](std::size_t& p) {
            while (p < info.size() && (info[p] == ' ' || info[p] == '\t')) ++p;
        };
        std::size_t p = 0;
        skipSpaces(p);
        // Braces that do not close are no attributes ("{#id" as GitHub Markdown reads "{#id .x}").
        if (info.find('{') != std::string_view::npos && info.find('}', info.find('{')) == std::string_view::npos) {
            std::size_t end = p;
            while (end < info.size() && info[end] != ' ' && info[end] != '\t') ++end;
            return {"", {std::string(info.substr(p, end - p))}, {}};
        }
        if (p < info.size() && info[p] != '{') {
            const std::size_t start = p;
            while (p < info.size() && info[p] != ' ' && info[p] != '\t' && info[p] != '{') ++p;
            classes.emplace_back(info.substr(start, p - start));
            skipSpaces(p);
        }
        if (p < info.size() && info[p] == '{') {
            for (++p; skipSpaces(p), p < info.size() && info[p] != '}';) {
                const std::size_t start = p;
                while (p < info.size() && info[p] != ' ' && info[p] != '\t' && info[p] != '}' && info[p] != '=') ++p;
                const std::string word(info.substr(start, p - start));
                if (p < info.size() && info[p] == '=') {
                    std::string value;
                    if (++p < info.size() && info[p] == '"') {
                        for (++p; p < info.size() && info[p] != '"'; ++p) {
                            if (info[p] == '\\' && p + 1 < info.size()) ++p;
                            value += info[p];
                        }
                        if (p < info.size()) ++p;
                    } else {
                        while (p < info.size() && info[p] != ' ' && info[p] != '\t' && info[p] != '}') value += info[p++];
                    }
                    pairs.emplace_back(word, std::move(value));
                } else if (word.size() > 1 && word[0] == '#') {
                    id = word.substr(1);
                } else if (word.size() > 1 && word[0] == '.') {
                    classes.push_back(word.substr(1));
                } else if (!word.empty()) {
                    // Not attributes after all ("{pip-cli}"): the whole text is the class.
                    return {"", {std::string(info.substr(info.find('{')))}, {}};
                } else {
                    ++p;  // a lone "=" or the like
                }
            }
        }
        return attributes;
    }
};

}  // namespace

std::string WritePandocJson(std::string_view input, const char* options) {
    PandocApi api = parsePandocApiOptions(options);
    const ModelView model = readWriterModel(input);
    return PandocWriter(model, std::move(api)).document();
}

}  // namespace qorva::convert
