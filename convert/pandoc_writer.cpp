// Model JSON to Pandoc's syntax tree. The tree is built in the 1.11 form and
// translated at the end when current Pandoc's form is asked for.
#include "convert/converters.h"
#include "convert/model_view.h"
#include "convert/pandoc_api.h"
#include "model/label_tables.h"
#include "model/model_tree.h"

#include <algorithm>
#include <unordered_map>

namespace qorva::convert {
namespace {

// A footnote may hold references to footnotes defined before it, which are written
// inside it; beyond this depth such references are left out so that a long chain of
// notes cannot grow the output quadratically or nest it without bound.
constexpr int kMaxNoteNesting = 16;

const Json kEmptyAttr = Json::array({"", Json::array(), Json::array()});

Json element(const char* name, Json contents) { return Json{{name, std::move(contents)}}; }
Json str(std::string_view text) { return element("Str", std::string(text)); }
Json link(std::string_view text, std::string_view target) {
    return element("Link", Json::array({Json::array({str(text)}), Json::array({target, ""})}));
}

struct NoteParagraph {
    Json para;
    int nesting = 1;
};

class PandocWriter {
public:
    // `columnWidth` is the relative width given to every table column, 0 for Pandoc's default.
    PandocWriter(const ModelView& model, double columnWidth)
        : model_(model), labels_(buildLabelTables(model.outline())), columnWidth_(columnWidth) {
        buildNotes();
    }

    Json document() {
        Json blocks = Json::array();
        appendNodes(rebuildTree(model_.outline(), -1), blocks);
        Json meta = Json{{"docTitle", Json::array()}, {"docAuthors", Json::array()}, {"docDate", Json::array()}};
        return Json::array({std::move(meta), std::move(blocks)});
    }

private:
    const ModelView& model_;
    LabelTables labels_;
    double columnWidth_;
    std::unordered_map<std::string, NoteParagraph> notes_;

    // Notes in document order, so a reference inside a note finds the notes defined
    // before it; a later definition of a label replaces an earlier one.
    void buildNotes() {
        for (const BlockView& block : model_.blocks()) {
            const std::span<const SpanView> spans = model_.spans(block);
            if (block.tag != "note" || spans.empty() || spans[0].tag != "noteref") continue;
            int nesting = 1;
            Json para = element("Para", inlines(block, 1, &nesting));
            notes_.insert_or_assign(std::string(spans[0].text), NoteParagraph{std::move(para), nesting});
        }
    }

    // The inlines of a block's spans from `first` on. `nesting`, when given, is raised
    // to one more than the deepest note written inside.
    Json inlines(const BlockView& block, std::size_t first, int* nesting = nullptr) {
        Json out = Json::array();
        const std::span<const SpanView> spans = model_.spans(block);
        for (std::size_t i = first; i < spans.size(); ++i) {
            const std::string_view tag = spans[i].tag;
            const std::string_view text = spans[i].text;
            const std::string_view nextTag = i + 1 < spans.size() ? spans[i + 1].tag : std::string_view();
            if (tag == "plain") out.push_back(str(text));
            else if (tag == "emph") out.push_back(element("Emph", Json::array({str(text)})));
            else if (tag == "strong") out.push_back(element("Strong", Json::array({str(text)})));
            else if (tag == "code") out.push_back(element("Code", Json::array({kEmptyAttr, std::string(text)})));
            else if (tag == "math") out.push_back(element("Math", Json::array({"InlineMath", std::string(text)})));
            else if (tag == "break") out.push_back("LineBreak");
            else if (tag == "url") out.push_back(link(text, text));
            else if (tag == "linktext") {
                // The link text keeps its target: the "url" or the defined label after it.
                // A label without definition, or no target at all, leaves the plain text.
                if (nextTag == "url") {
                    out.push_back(link(text, spans[++i].text));
                } else if (nextTag == "linkref") {
                    auto target = labels_.linkTargets.find(std::string(spans[++i].text));
                    out.push_back(target != labels_.linkTargets.end() ? link(text, target->second) : str(text));
                } else {
                    out.push_back(str(text));
                }
            } else if (tag == "linkref") {
                // consumed by its "linktext"; a stray label writes nothing
            } else if (tag == "noteref") {
                auto note = notes_.find(std::string(text));
                if (note == notes_.end()) continue;
                if (nesting && note->second.nesting >= kMaxNoteNesting) continue;
                if (nesting) *nesting = std::max(*nesting, note->second.nesting + 1);
                out.push_back(element("Note", Json::array({note->second.para})));
            } else {
                out.push_back(str(text));  // unknown span tags keep their text
            }
        }
        return out;
    }

    void appendNodes(const TreeNodes& nodes, Json& out) {
        for (const TreeNode& node : nodes) appendNode(node, out);
    }

    Json convertNodes(const TreeNodes& nodes) {
        Json out = Json::array();
        appendNodes(nodes, out);
        return out;
    }

    void appendNode(const TreeNode& node, Json& out) {
        switch (node.kind) {
            case TreeNode::Kind::Paragraph:
                out.push_back(element("Para", inlines(model_.blockOf(node.block), 0)));
                return;
            case TreeNode::Kind::List:
                appendList(node, out);
                return;
            case TreeNode::Kind::Block:
                appendBlock(model_.blockOf(node.block), out);
                return;
        }
    }

    void appendList(const TreeNode& list, Json& out) {
        if (list.listKind == "row" || list.listKind == "col") {
            appendTable(list, out);
            return;
        }
        Json items = Json::array();
        for (const TreeNodes& item : list.items) items.push_back(convertNodes(item));
        if (list.listKind == "numbered") {
            out.push_back(element("OrderedList", Json::array({Json::array({1, "Decimal", "Period"}), std::move(items)})));
        } else {
            out.push_back(element("BulletList", std::move(items)));
        }
    }

    // Each item of the list is a row: the nodes before its "col" list are the first
    // cell, the items of that list the further cells. Blocks that the levels placed
    // after the "col" list belong to no cell; they follow the table.
    void appendTable(const TreeNode& list, Json& out) {
        Json rows = Json::array();
        Json after = Json::array();
        std::size_t columns = 0;
        for (const TreeNodes& item : list.items) {
            Json cells = Json::array();
            Json firstCell = Json::array();
            bool seenCells = false;
            for (const TreeNode& node : item) {
                if (!seenCells && node.kind == TreeNode::Kind::List && node.listKind == "col") {
                    cells.push_back(std::move(firstCell));
                    for (const TreeNodes& cell : node.items) cells.push_back(convertNodes(cell));
                    seenCells = true;
                } else {
                    appendNode(node, seenCells ? after : firstCell);
                }
            }
            if (!seenCells) cells.push_back(std::move(firstCell));
            columns = std::max(columns, cells.size());
            rows.push_back(std::move(cells));
        }
        // Rows shorter than the widest get empty cells, so no cell falls outside the columns.
        for (Json& row : rows) {
            while (row.size() < columns) row.push_back(Json::array());
        }
        Json alignments = Json::array(), widths = Json::array(), headers = Json::array();
        for (std::size_t i = 0; i < columns; ++i) {
            alignments.push_back("AlignDefault");
            widths.push_back(columnWidth_);
            headers.push_back(Json::array());
        }
        out.push_back(element("Table", Json::array({Json::array(), std::move(alignments), std::move(widths),
                                                   std::move(headers), std::move(rows)})));
        for (Json& block : after) out.push_back(std::move(block));
    }

    void appendBlock(const BlockView& block, Json& out) {
        const std::string_view tag = block.tag;
        const int level = block.level;
        if (tag == "para") {
            out.push_back(element("Para", inlines(block, 0)));
        } else if (tag == "heading") {
            out.push_back(element("Header", Json::array({std::clamp(level + 4, 1, 6), kEmptyAttr, inlines(block, 0)})));
        } else if (tag == "quote") {
            Json quoted = element("Para", inlines(block, 0));
            for (int i = 0; i < std::max(level + 1, 1); ++i) {
                quoted = element("BlockQuote", Json::array({std::move(quoted)}));
            }
            out.push_back(std::move(quoted));
        } else if (tag == "verbatim") {
            out.push_back(element("CodeBlock", Json::array({kEmptyAttr, verbatimText(model_, block, false)})));
        } else if (tag == "formula") {
            Json math = element("Math", Json::array({"DisplayMath", "\n" + verbatimText(model_, block, false) + "\n"}));
            out.push_back(element("Para", Json::array({std::move(math)})));
        } else if (tag == "image") {
            const std::span<const SpanView> spans = model_.spans(block);
            const std::string url = !spans.empty() && spans[0].tag == "url" ? std::string(spans[0].text) : std::string();
            Json image = element("Image", Json::array({Json::array(), Json::array({url, ""})}));
            out.push_back(element("Para", Json::array({std::move(image)})));
        }
        // "comment", "note", "link", "divider" and unknown tags are not written.
    }
};

}  // namespace

std::string WritePandocJson(std::string_view input, const char* options) {
    const PandocApi api = parsePandocApiOptions(options);
    const ModelView model(input);
    // 1.11 gets the fixed column widths it always had. Current Pandoc fills cell text
    // to given widths and then breaks styled text in narrow columns ("**d**" came back
    // as "*d **"), so it gets its default widths and chooses the table form itself.
    Json tree = PandocWriter(model, api.legacy() ? 0.08 : 0.0).document();
    if (!api.legacy()) tree = fromLegacyPandoc(tree, api);
    return tree.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace qorva::convert
