// Model JSON to Pandoc's syntax tree: lists and tables rebuilt from levels, written
// straight to text in the dialect asked for (the 1.11 form by default).
#include "convert/citation_text.h"
#include "convert/converters.h"
#include "convert/writer_model.h"
#include "convert/pandoc_api.h"
#include "convert/pandoc_json_out.h"
#include "model/label_tables.h"
#include "model/model_tree.h"

#include <algorithm>
#include <cstdint>
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
    int listDepth_ = 0;  // bulleted and numbered lists around the node being written

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

    void writeLink(std::string_view text, std::string_view target) {
        out_.beginLinkLike("Link");
        out_.str(text);
        out_.endLinkLike(target);
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

    void writePara(const ModelBlock& block, std::size_t first = 0, const NoteDefinition* note = nullptr,
                   std::size_t end = SIZE_MAX) {
        out_.beginElement("Para");
        writeInlines(block, first, note, end);
        out_.endElement();
    }

    // Plain text, with the citations in it as citations.
    void writePlain(std::string_view text) {
        CitationMatch match;
        std::size_t at = 0;
        if (!findCitation(text, 0, match)) {
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
            json().endArray();
            json().key("citationSuffix");
            json().beginArray();
            json().endArray();
            json().key("citationMode");
            out_.bare(!match.bracketed ? "AuthorInText" : key.suppressAuthor ? "SuppressAuthor" : "NormalCitation");
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
            const SpanKind nextKind = i + 1 < spans.size() ? spans[i + 1].kind : SpanKind::Other;
            if (kind == SpanKind::Plain) {
                writePlain(text);
            } else if (kind == SpanKind::Emph) {
                writeStyled("Emph", text);
            } else if (kind == SpanKind::Strong) {
                writeStyled("Strong", text);
            } else if (kind == SpanKind::Code) {
                out_.beginElement("Code");
                json().beginArray();
                out_.emptyAttributes();
                json().string(text);
                json().endArray();
                out_.endElement();
            } else if (kind == SpanKind::Math) {
                writeMath("InlineMath", text);
            } else if (kind == SpanKind::Break) {
                out_.bare("LineBreak");
            } else if (kind == SpanKind::Url) {
                writeLink(text, text);
            } else if (kind == SpanKind::LinkText) {
                // The link text keeps its target: the "url" or the defined label after it.
                // A label without definition, or no target at all, leaves the plain text.
                if (nextKind == SpanKind::Url) {
                    writeLink(text, model_.text(spans[++i]));
                } else if (nextKind == SpanKind::LinkRef) {
                    auto target = labels_.linkTargets.find(std::string(model_.text(spans[++i])));
                    if (target != labels_.linkTargets.end()) writeLink(text, target->second);
                    else out_.str(text);
                } else {
                    out_.str(text);
                }
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

    void writeMath(const char* type, std::string_view source) {
        out_.beginElement("Math");
        json().beginArray();
        out_.bare(type);
        json().string(source);
        json().endArray();
        out_.endElement();
    }

    void writeNodes(const TreeNodes& nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            // Two code blocks in a row would be written as one indented block; an empty
            // comment keeps them apart (as Pandoc does after a list).
            if (i > 0 && isCodeBlock(nodes[i - 1]) && isCodeBlock(nodes[i])) writeRawHtml("<!-- -->");
            writeNode(nodes[i]);
        }
    }

    bool isCodeBlock(const TreeNode& node) const {
        return node.kind == TreeNode::Kind::Block && node.block->kind == BlockKind::Verbatim;
    }

    void writeRawHtml(std::string_view html) {
        out_.beginElement("RawBlock");
        json().beginArray();
        json().string("html");
        json().string(html);
        json().endArray();
        out_.endElement();
    }

    void writeNode(const TreeNode& node) {
        switch (node.kind) {
            case TreeNode::Kind::Paragraph: writePara(*node.block); return;
            case TreeNode::Kind::List: writeList(node); return;
            case TreeNode::Kind::Block: writeBlock(*node.block); return;
        }
    }

    void writeList(const TreeNode& list) {
        if (list.listKind == BlockKind::Row || list.listKind == BlockKind::Col) {
            writeTable(list);
            return;
        }
        const bool numbered = list.listKind == BlockKind::Numbered;
        out_.beginElement(numbered ? "OrderedList" : "BulletList");
        if (numbered) {
            json().beginArray();
            json().beginArray();
            json().number(1LL);
            out_.bare("Decimal");
            out_.bare("Period");
            json().endArray();
        }
        json().beginArray();
        ++listDepth_;
        for (const TreeNodes& item : list.items) {
            json().beginArray();
            writeNodes(item);
            json().endArray();
        }
        --listDepth_;
        json().endArray();
        if (numbered) json().endArray();
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

    void writeRowCells(const Row& row, std::size_t columns) {
        writeCell([&] {
            for (const TreeNode* node : row.firstCell) writeNode(*node);
        });
        if (row.furtherCells) {
            for (const TreeNodes& cell : row.furtherCells->items) writeCell([&] { writeNodes(cell); });
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
        const Row* head = out_.headerRow() && !rows.empty() ? &rows.front() : nullptr;
        out_.beginElement("Table");
        json().beginArray();
        writeTableHead(columns, head);
        if (out_.structuredTables()) {
            json().beginArray();  // one body
            json().beginArray();
            out_.emptyAttributes();
            json().number(0LL);
            json().beginArray();
            json().endArray();
        }
        json().beginArray();
        for (std::size_t i = head ? 1 : 0; i < rows.size(); ++i) writeRow(rows[i], columns);
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
    // (every model row is a body row). 1.11 gets the fixed widths it always
    // had; current Pandoc fills cell text to given widths and then breaks styled text
    // in narrow columns ("**d**" came back as "*d **"), so it gets its default widths.
    void writeTableHead(std::size_t columns, const Row* head) {
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
                out_.bare("AlignDefault");
                out_.bare("ColWidthDefault");
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
        for (std::size_t i = 0; i < columns; ++i) out_.bare("AlignDefault");
        json().endArray();
        json().beginArray();
        for (std::size_t i = 0; i < columns; ++i) json().number(out_.legacy() ? 0.08 : 0.0);
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
            json().number(static_cast<long long>(std::clamp(block.level + 4, 1, 6)));
            out_.emptyAttributes();
            writeInlines(block, 0);
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Quote) {
            // Inside a list item the item's own level is the quotation's first step.
            const int depth = std::max(block.level + 1 - listDepth_, 1);
            for (int i = 0; i < depth; ++i) {
                out_.beginElement("BlockQuote");
                json().beginArray();
            }
            writePara(block);
            for (int i = 0; i < depth; ++i) {
                json().endArray();
                out_.endElement();
            }
        } else if (kind == BlockKind::Verbatim) {
            out_.beginElement("CodeBlock");
            json().beginArray();
            out_.emptyAttributes();
            json().string(verbatimText(model_, block, false));
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Formula) {
            out_.beginElement("Para");
            json().beginArray();
            writeMath("DisplayMath", "\n" + verbatimText(model_, block, false) + "\n");
            json().endArray();
            out_.endElement();
        } else if (kind == BlockKind::Image) {
            const std::span<const ModelSpan> spans = model_.spansOf(block);
            out_.beginElement("Para");
            json().beginArray();
            out_.beginLinkLike("Image");
            out_.endLinkLike(!spans.empty() && spans[0].kind == SpanKind::Url ? model_.text(spans[0]) : std::string_view());
            json().endArray();
            out_.endElement();
        }
        // "comment", "note", "link", "divider" and unknown tags are not written.
    }
};

}  // namespace

std::string WritePandocJson(std::string_view input, const char* options) {
    PandocApi api = parsePandocApiOptions(options);
    const ModelView model = readWriterModel(input);
    return PandocWriter(model, std::move(api)).document();
}

}  // namespace qorva::convert
