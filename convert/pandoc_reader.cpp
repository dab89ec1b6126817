// Pandoc syntax tree (1.11 form; the current form is translated first) to model JSON.
// Nesting becomes levels: list items and quotations one level deeper per step,
// footnotes and reference links definition blocks after their paragraph.
#include "convert/converters.h"
#include "convert/model_blocks.h"
#include "convert/pandoc_element.h"
#include "convert/pandoc_import.h"

#include <algorithm>
#include <variant>

namespace qorva::convert {
namespace {

using Blocks = std::vector<Block>;

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Footnote labels, reference-link labels and URLs are identities, not running
// text: two of them side by side stay two.
bool mergeable(const std::string& tag) { return tag != "noteref" && tag != "linkref" && tag != "url"; }

// Lines of a code block or display formula; empty lines at either end are dropped.
std::vector<Span> lineSpans(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
    auto last = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& l) { return !l.empty(); }).base();
    std::vector<Span> spans;
    for (auto it = first; it < last; ++it) {
        if (it != first) spans.push_back({"break", "\n"});
        spans.push_back({"plain", std::move(*it)});
    }
    return spans;
}

std::vector<Span> mergeSpans(std::vector<Span> spans) {
    std::vector<Span> out;
    out.reserve(spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        Span& span = spans[i];
        if (out.empty() || span.tag == "break") {
            out.push_back(std::move(span));
            continue;
        }
        Span& last = out.back();
        if (span.tag == last.tag && mergeable(span.tag)) {
            last.text += span.text;
        } else if (span.tag == "plain" && span.text == " " && i + 1 < spans.size() && last.tag != "break" &&
                   last.tag == spans[i + 1].tag && mergeable(last.tag)) {
            last.text += ' ';
        } else {
            out.push_back(std::move(span));
        }
    }
    return out;
}

// What inline conversion yields: spans, with image and formula blocks standing among them.
using InlineItem = std::variant<Span, Block>;

class PandocReader {
public:
    Blocks document(const Json& tree) {
        if (!tree.is_array() || tree.size() != 2) malformed("the document is not [metadata, blocks]");
        Blocks out = metadata(tree[0]);
        appendBlocks(requireArray(tree[1], "the document's blocks"), 0, out);
        return out;
    }

private:
    int notesCounter_ = 0;

    Blocks metadata(const Json& meta) {
        Blocks out;
        if (!meta.is_object()) return out;
        auto inlinesOf = [&](const char* key) -> const Json* {
            auto it = meta.find(key);
            return it != meta.end() && it->is_array() && !it->empty() ? &*it : nullptr;
        };
        if (const Json* title = inlinesOf("docTitle")) appendParagraph(*title, 0, out);
        if (const Json* authors = inlinesOf("docAuthors")) {
            for (const Json& author : *authors) appendParagraph(requireArray(author, "an author"), 0, out);
        }
        if (const Json* date = inlinesOf("docDate")) appendParagraph(*date, 0, out);
        return out;
    }

    void appendBlocks(const Json& blocks, int level, Blocks& out) {
        for (const Json& block : requireArray(blocks, "a block list")) appendBlock(block, level, out);
    }

    Blocks convertBlocks(const Json& blocks, int level) {
        Blocks out;
        appendBlocks(blocks, level, out);
        return out;
    }

    void appendBlock(const Json& value, int level, Blocks& out) {
        const PandocElement e = legacyElement(value);
        const std::string_view n = e.name;
        if (n == "Plain" || n == "Para") {
            appendParagraph(arrayContents(e), level, out);
        } else if (n == "CodeBlock") {
            out.push_back({"verbatim", level, false, lineSpans(stringAt(e, 1))});
        } else if (n == "BlockQuote") {
            appendQuotation(arrayContents(e), level, out);
        } else if (n == "OrderedList") {
            appendList("numbered", arrayAt(e, 1), level, out);
        } else if (n == "BulletList") {
            appendList("bulleted", arrayContents(e), level, out);
        } else if (n == "DefinitionList") {
            for (const Json& entry : arrayContents(e)) {
                if (!entry.is_array() || entry.size() != 2) malformed("a DefinitionList entry is not [term, definitions]");
                appendParagraph(requireArray(entry[0], "a term"), level, out);
                appendList("bulleted", entry[1], level, out);
            }
        } else if (n == "Header") {
            appendHeading(e, out);
        } else if (n == "Table") {
            appendTable(e, out);
        }
        // RawBlock, HorizontalRule and unknown blocks give nothing.
    }

    void appendHeading(const PandocElement& e, Blocks& out) {
        const Json& contents = arrayContents(e);
        if (contents.size() < 2 || !contents.front().is_number_integer()) malformed("Header is not [level, ..., inlines]");
        const std::size_t first = out.size();
        appendParagraph(requireArray(contents.back(), "the inlines of Header"), 0, out);
        if (out.size() == first) return;
        const int headerLevel = contents.front().get<int>();
        out[first].tag = "heading";
        out[first].level = std::clamp(headerLevel - 4, -3, -1);
    }

    // A quotation's blocks come out one level deeper and turn into "quote" blocks one
    // level up again, so each nesting adds one level. A heading inside a quotation has
    // no depth of its own; it takes the quotation's level.
    void appendQuotation(const Json& blocks, int level, Blocks& out) {
        Blocks inner = convertBlocks(blocks, level + 1);
        for (Block& block : inner) {
            if (block.tag == "quote" || block.tag == "link" || block.tag == "note") {
                // already placed
            } else if (block.tag == "heading") {
                block.tag = "quote";
                block.level = level;
            } else {
                block.tag = "quote";
                block.level = std::max(block.level - 1, 0);
            }
            out.push_back(std::move(block));
        }
    }

    void appendList(const char* tag, const Json& items, int level, Blocks& out) {
        for (const Json& item : requireArray(items, "a list of items")) {
            const std::size_t first = out.size();
            appendBlocks(item, level + 1, out);
            if (out.size() == first) continue;
            out[first].tag = tag;
            out[first].level = level;
        }
    }

    // Every row and every cell keeps its place, empty or not, so the cells stay in
    // their columns: an empty cell is an empty "col" (or "row") block.
    void appendTable(const PandocElement& e, Blocks& out) {
        appendTableRow(arrayAt(e, 3), out);
        for (const Json& row : arrayAt(e, 4)) appendTableRow(row, out);
    }

    void appendTableRow(const Json& cells, Blocks& out) {
        const std::size_t first = out.size();
        for (const Json& cell : requireArray(cells, "a table row")) {
            const std::size_t cellStart = out.size();
            appendBlocks(cell, 3, out);
            if (out.size() == cellStart) out.push_back({"col", 2, false, {}});
            out[cellStart].tag = "col";
            out[cellStart].level = 2;
        }
        if (out.size() == first) return;  // a row without any cell
        out[first].tag = "row";
        out[first].level = 1;
    }

    void appendParagraph(const Json& inlines, int level, Blocks& out) {
        std::vector<InlineItem> items;
        Blocks definitions;
        convertInlines(inlines, level, nullptr, items, definitions);
        std::vector<Span> spans;
        auto finishPara = [&] {
            if (spans.empty()) return;
            std::vector<Span> merged = mergeSpans(std::move(spans));
            spans.clear();
            if (merged.size() == 1 && isBlank(merged.front().text)) return;
            out.push_back({"para", level, false, std::move(merged)});
        };
        for (InlineItem& item : items) {
            if (auto* span = std::get_if<Span>(&item)) {
                spans.push_back(std::move(*span));
            } else {
                finishPara();
                out.push_back(std::move(std::get<Block>(item)));
            }
        }
        finishPara();
        for (Block& definition : definitions) out.push_back(std::move(definition));
    }

    // `style` is the outermost of the enclosing Emph and Strong: "emph", "strong" or null.
    void convertInlines(const Json& inlines, int level, const char* style, std::vector<InlineItem>& items,
                        Blocks& definitions) {
        for (const Json& value : requireArray(inlines, "an inline list")) {
            convertInline(value, level, style, items, definitions);
        }
    }

    void convertInline(const Json& value, int level, const char* style, std::vector<InlineItem>& items,
                       Blocks& definitions) {
        const PandocElement e = legacyElement(value);
        const std::string_view n = e.name;
        if (n == "Str") {
            items.emplace_back(Span{style ? style : "plain", requireString(e.contents ? *e.contents : Json(), "Str")});
        } else if (n == "Emph" || n == "Strong") {
            convertInlines(arrayContents(e), level, style ? style : (n == "Emph" ? "emph" : "strong"), items,
                           definitions);
        } else if (n == "Strikeout" || n == "Superscript" || n == "Subscript" || n == "SmallCaps") {
            convertInlines(arrayContents(e), level, style, items, definitions);
        } else if (n == "Quoted") {
            const bool single = contentsAt(e, 0) == "SingleQuote";
            items.emplace_back(Span{"plain", single ? "\u2018" : "\u201C"});
            convertInlines(arrayAt(e, 1), level, style, items, definitions);
            items.emplace_back(Span{"plain", single ? "\u2019" : "\u201D"});
        } else if (n == "Cite") {
            for (const Json& citation : arrayAt(e, 0)) {
                if (!citation.is_object() || !citation.contains("citationId")) malformed("a citation has no citationId");
                items.emplace_back(Span{"plain", "[@" + requireString(citation["citationId"], "citationId") + "]"});
            }
        } else if (n == "Code") {
            items.emplace_back(Span{"code", stringAt(e, 1)});
        } else if (n == "Space") {
            items.emplace_back(Span{"plain", " "});
        } else if (n == "LineBreak") {
            items.emplace_back(Span{"break", "\n"});
        } else if (n == "Math") {
            convertMath(e, level, items);
        } else if (n == "Link") {
            convertLink(e, level, style, items, definitions);
        } else if (n == "Image") {
            items.emplace_back(Block{"image", level, false, {{"url", targetUrl(arrayAt(e, 1))}}});
        } else if (n == "Note") {
            convertNote(arrayContents(e), level, items, definitions);
        }
        // RawInline and unknown inlines give nothing.
    }

    static std::string targetUrl(const Json& target) {
        if (target.empty()) malformed("a link target is not [url, title]");
        return requireString(target[0], "a link URL");
    }

    void convertMath(const PandocElement& e, int level, std::vector<InlineItem>& items) {
        const Json& type = contentsAt(e, 0);
        std::string source = stringAt(e, 1);
        if (type == "InlineMath") {
            std::replace(source.begin(), source.end(), '\n', ' ');
            items.emplace_back(Span{"math", std::move(source)});
        } else if (type == "DisplayMath") {
            items.emplace_back(Block{"formula", level, false, lineSpans(source)});
        } else {
            malformed("unknown math type " + type.dump());
        }
    }

    // A link becomes a "url" span when its text is its URL, else "linktext" with a
    // numbered "linkref" and a "link" definition. Footnote references, images and
    // formulas inside the link text keep their own place after the link.
    void convertLink(const PandocElement& e, int level, const char* style, std::vector<InlineItem>& items,
                     Blocks& definitions) {
        std::vector<InlineItem> inner;
        convertInlines(arrayAt(e, 0), level, style, inner, definitions);
        const std::string url = targetUrl(arrayAt(e, 1));
        std::string text;
        std::vector<InlineItem> after;
        for (InlineItem& item : inner) {
            auto* span = std::get_if<Span>(&item);
            if (!span) after.push_back(std::move(item));
            else if (span->tag == "noteref") after.push_back(std::move(item));
            else if (span->tag != "break") text += span->text;
        }
        if (text == url) {
            items.emplace_back(Span{"url", url});
        } else {
            const std::string label = std::to_string(++notesCounter_);
            items.emplace_back(Span{"linktext", std::move(text)});
            items.emplace_back(Span{"linkref", label});
            definitions.push_back({"link", level, false, {{"linkref", label}, {"url", url}}});
        }
        for (InlineItem& item : after) items.push_back(std::move(item));
    }

    void convertNote(const Json& blocks, int level, std::vector<InlineItem>& items, Blocks& definitions) {
        const std::string label = std::to_string(++notesCounter_);
        items.emplace_back(Span{"noteref", label});
        Blocks note = convertBlocks(blocks, level);
        if (note.empty()) {
            definitions.push_back({"note", level, false, {{"noteref", label}}});
            return;
        }
        note.front().tag = "note";
        note.front().spans.insert(note.front().spans.begin(), Span{"noteref", label});
        for (Block& block : note) definitions.push_back(std::move(block));
    }
};

}  // namespace

std::string ReadPandocJson(std::string_view input, const char* /*options*/) {
    const Json tree = parsePandocAsLegacy(input);
    return serializeModel("text", PandocReader().document(tree));
}

}  // namespace qorva::convert
