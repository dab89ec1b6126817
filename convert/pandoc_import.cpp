#include "convert/pandoc_import.h"

#include "convert/pandoc_element.h"
#include "convert/pandoc_tree.h"
#include "model/model_json.h"

#include <algorithm>

namespace qorva::convert {
namespace {

using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

// ---- checked access to simdjson elements -----------------------------------------

struct Current {
    std::string_view name;
    element contents;
    bool hasContents = false;
};

Current currentOf(element value) {
    object o;
    if (value.get_object().get(o)) malformed("expected an element object {\"t\": ...}");
    Current current;
    if (o["t"].get_string().get(current.name)) malformed("an element has no \"t\" name");
    current.hasContents = !o["c"].get(current.contents);
    return current;
}

array arrayOf(element value, std::string_view what) {
    array a;
    if (value.get_array().get(a)) malformed(std::string(what) + " is not an array");
    return a;
}

std::string_view stringOf(element value, std::string_view what) {
    std::string_view s;
    if (value.get_string().get(s)) malformed(std::string(what) + " is not a string");
    return s;
}

element contentsElement(const Current& e) {
    if (!e.hasContents) malformed(std::string(e.name) + " has no contents");
    return e.contents;
}

array contentsOf(const Current& e) {
    array a;
    if (contentsElement(e).get_array().get(a)) malformed("the contents of " + std::string(e.name) + " are not an array");
    return a;
}

element partOf(const Current& e, std::size_t index) {
    const array contents = contentsOf(e);
    element part;
    if (contents.at(index).get(part)) {
        malformed(std::string(e.name) + " has " + std::to_string(contents.size()) + " parts, expected more than " +
                  std::to_string(index));
    }
    return part;
}

[[noreturn]] void malformedPart(const Current& e, std::size_t index, const char* what) {
    malformed("part " + std::to_string(index + 1) + " of " + std::string(e.name) + " is not " + what);
}

array arrayPart(const Current& e, std::size_t index) {
    array a;
    if (partOf(e, index).get_array().get(a)) malformedPart(e, index, "an array");
    return a;
}

// Part `index` of the contents, checked to be an array but kept as an element.
element arrayElementPart(const Current& e, std::size_t index) {
    arrayPart(e, index);
    return partOf(e, index);
}

std::string_view stringPart(const Current& e, std::size_t index) {
    std::string_view s;
    if (partOf(e, index).get_string().get(s)) malformedPart(e, index, "a string");
    return s;
}

// The short name of an emoji Span's attributes (["", ["emoji"], [["data-emoji", "smile"]]]),
// or nothing.
std::string_view emojiName(element attributes) {
    array parts, classes, pairs;
    if (attributes.get_array().get(parts) || parts.size() != 3 || parts.at(1).get_array().get(classes) ||
        parts.at(2).get_array().get(pairs))
        return {};
    bool emoji = false;
    for (element c : classes) {
        std::string_view name;
        emoji = emoji || (!c.get_string().get(name) && name == "emoji");
    }
    if (!emoji) return {};
    for (element pair : pairs) {
        array kv;
        std::string_view key, value;
        if (!pair.get_array().get(kv) && kv.size() == 2 && !kv.at(0).get_string().get(key) && key == "data-emoji" &&
            !kv.at(1).get_string().get(value) && value.find_first_of(": \n") == std::string_view::npos)
            return value;
    }
    return {};
}

// The name of a contents-free constructor ({"t":"Decimal"}).
std::string_view bareName(element value) { return currentOf(value).name; }

// ---- current form to 1.11, built in memory ---------------------------------------

class LegacyTranslator {
public:
    LegacyTranslator(PandocTree& into, bool spans) : w_(into), spans_(spans) {}

    void document(object document) {
        element blocks;
        if (document["blocks"].get(blocks)) malformed("the document has no \"blocks\"");
        object meta;
        const bool hasMeta = !document["meta"].get_object().get(meta);
        w_.beginArray();
        metadata(hasMeta ? &meta : nullptr);
        writeBlocks(blocks);
        w_.endArray();
    }

private:
    PandocTree& w_;
    const bool spans_;
    int plainDepth_ = 0;  // inside a link's text, a picture's description or a citation: spans are text

    void beginLegacy(std::string_view name) {
        w_.beginObject();
        w_.key(name);
    }
    void endLegacy() { w_.endObject(); }
    void raw(element value) { w_.copy(value); }

    void writeInlines(element list) {
        w_.beginArray();
        appendInlines(list);
        w_.endArray();
    }
    // Returns false when the list is empty.
    bool appendInlines(element list) {
        const array values = arrayOf(list, "an inline list");
        for (element value : values) appendInline(value);
        return values.size() > 0;
    }
    void writeBlocks(element list) {
        w_.beginArray();
        for (element value : arrayOf(list, "a block list")) appendBlock(value);
        w_.endArray();
    }
    void writeItems(element list) {
        w_.beginArray();
        for (element item : arrayOf(list, "a list of items")) writeBlocks(item);
        w_.endArray();
    }
    void writeStringPart(const Current& e, std::size_t index) { w_.string(stringPart(e, index)); }

    // Code, raw text and their block forms: the attributes (or format) as they
    // are, then the text.
    void writeAttributedText(std::string_view name, const Current& e) {
        beginLegacy(name);
        w_.beginArray();
        raw(partOf(e, 0));
        writeStringPart(e, 1);
        w_.endArray();
        endLegacy();
    }

    // A Div or Span as the reader's own element (not in 1.11): [attributes, contents].
    void writeAttributedContents(std::string_view name, const Current& e, void (LegacyTranslator::*writeContents)(element)) {
        beginLegacy(name);
        w_.beginArray();
        raw(partOf(e, 0));
        (this->*writeContents)(partOf(e, 1));
        w_.endArray();
        endLegacy();
    }

    void appendInline(element value) {
        const Current e = currentOf(value);
        const std::string_view n = e.name;
        if (n == "Str") {
            beginLegacy(n);
            w_.string(stringOf(contentsElement(e), "the text of Str"));
            endLegacy();
            return;
        } else if (n == "Space" || n == "SoftBreak") {
            w_.string("Space");
        } else if (n == "Emph" || n == "Strong" || n == "Strikeout" || n == "Superscript" || n == "Subscript" ||
                   n == "SmallCaps") {
            beginLegacy(n);
            writeInlines(contentsElement(e));
            endLegacy();
        } else if (n == "Underline") {
            appendInlines(contentsElement(e));
        } else if (n == "Span") {
            if (const std::string_view name = emojiName(partOf(e, 0)); !name.empty()) {
                // GitHub Markdown's ":smile:" reads as the emoji; the file keeps the name.
                // The tree holds views: the name's lives in the parsed input.
                for (const std::string_view part : {std::string_view(":"), name, std::string_view(":")}) {
                    beginLegacy("Str");
                    w_.string(part);
                    endLegacy();
                }
                return;
            }
            if (!spans_ || plainDepth_ > 0) {
                appendInlines(partOf(e, 1));
                return;
            }
            writeAttributedContents(n, e, &LegacyTranslator::writeInlines);
        } else if (n == "Quoted") {
            beginLegacy(n);
            w_.beginArray();
            w_.string(bareName(partOf(e, 0)));
            writeInlines(partOf(e, 1));
            w_.endArray();
            endLegacy();
        } else if (n == "Cite") {
            ++plainDepth_;  // ended with the citation, below
            beginLegacy(n);
            w_.beginArray();
            w_.beginArray();
            for (element citation : arrayPart(e, 0)) {
                element id;
                if (citation.at_key("citationId").get(id)) malformed("a citation has no citationId");
                w_.beginObject();
                w_.key("citationId");
                raw(id);
                // The mode says how the citation was written: "@doe99" or "[@doe99]".
                if (element mode; !citation.at_key("citationMode").get(mode)) {
                    w_.key("citationMode");
                    w_.string(bareName(mode));
                }
                for (const char* words : {"citationPrefix", "citationSuffix"}) {
                    if (element inlines; !citation.at_key(words).get(inlines)) {
                        w_.key(words);
                        writeInlines(inlines);
                    }
                }
                w_.endObject();
            }
            w_.endArray();
            writeInlines(partOf(e, 1));
            w_.endArray();
            endLegacy();
            --plainDepth_;
        } else if (n == "Code" || n == "RawInline") {
            writeAttributedText(n, e);
        } else if (n == "LineBreak") {
            w_.string("LineBreak");
        } else if (n == "Math") {
            beginLegacy(n);
            w_.beginArray();
            w_.string(bareName(partOf(e, 0)));
            writeStringPart(e, 1);
            w_.endArray();
            endLegacy();
        } else if (n == "Link" || n == "Image") {
            beginLegacy(n);
            w_.beginArray();
            ++plainDepth_;
            writeInlines(partOf(e, 1));
            --plainDepth_;
            raw(arrayElementPart(e, 2));
            w_.endArray();
            endLegacy();
        } else if (n == "Note") {
            beginLegacy(n);
            writeBlocks(contentsElement(e));
            endLegacy();
        }
        // Anything else has no counterpart and no text of its own.
    }

    // Inlines of Plain and Para blocks (captions, metadata given as blocks), joined by spaces.
    bool appendInlinesOfBlocks(element blocks) {
        bool wrote = false;
        for (element block : arrayOf(blocks, "a block list")) {
            const Current e = currentOf(block);
            if (e.name != "Plain" && e.name != "Para") continue;
            if (contentsOf(e).size() == 0) continue;
            if (wrote) w_.string("Space");
            wrote = appendInlines(contentsElement(e)) || wrote;
        }
        return wrote;
    }

    // A row of the table model of pandoc-types 1.21 and later: [attr, cells], each cell
    // [attr, alignment, rowspan, colspan, blocks]. A cell spanning columns is followed
    // by empty cells so the cells after it stay in their columns.
    void writeRow(element row) {
        element cellsValue;
        if (arrayOf(row, "a table row").at(1).get(cellsValue)) malformed("a table row is not [attr, cells]");
        w_.beginArray();
        for (element cell : arrayOf(cellsValue, "the cells of a table row")) {
            const array cellParts = arrayOf(cell, "a table cell");
            element blocks;
            if (cellParts.size() < 5 || cellParts.at(4).get(blocks)) {
                malformed("a table cell is not [attr, align, rows, columns, blocks]");
            }
            writeBlocks(blocks);
            std::int64_t colspan = 1;
            if (cellParts.at(3).get_int64().get(colspan)) colspan = 1;
            for (std::int64_t i = 1; i < colspan && i < 1000; ++i) {
                w_.beginArray();
                w_.endArray();
            }
        }
        w_.endArray();
    }

    void writeTable(const Current& e) {
        const array c = contentsOf(e);
        beginLegacy("Table");
        w_.beginArray();
        if (c.size() == 5) {  // pandoc-types 1.17 to 1.20: the shape of 1.11
            writeInlines(partOf(e, 0));
            w_.beginArray();
            for (element a : arrayPart(e, 1)) w_.string(bareName(a));
            w_.endArray();
            raw(arrayElementPart(e, 2));
            w_.beginArray();
            for (element cell : arrayPart(e, 3)) writeBlocks(cell);
            w_.endArray();
            w_.beginArray();
            for (element row : arrayPart(e, 4)) {
                w_.beginArray();
                for (element cell : arrayOf(row, "a table row")) writeBlocks(cell);
                w_.endArray();
            }
            w_.endArray();
        } else if (c.size() == 6) {  // 1.21 and later: attr, caption, column specs, head, bodies, foot
            element captionBlocks;
            w_.beginArray();
            if (!arrayPart(e, 1).at(1).get(captionBlocks)) appendInlinesOfBlocks(captionBlocks);
            w_.endArray();
            const array specs = arrayPart(e, 2);
            w_.beginArray();
            for (element spec : specs) {
                element alignment;
                if (arrayOf(spec, "a column spec").at(0).get(alignment)) malformed("a column spec has no alignment");
                w_.string(bareName(alignment));
            }
            w_.endArray();
            w_.beginArray();
            for (element spec : specs) {
                element width;
                double value = 0.0;
                if (arrayOf(spec, "a column spec").at(1).get(width)) malformed("a column spec has no width");
                const Current w = currentOf(width);
                if (w.name != "ColWidth" || !w.hasContents || w.contents.get_double().get(value)) value = 0.0;
                w_.number(value);
            }
            w_.endArray();
            writeTableRows(e);
        } else {
            malformed("Table has " + std::to_string(c.size()) + " parts");
        }
        w_.endArray();
        endLegacy();
    }

    // The first row of the head is the header; every other row follows as a body row.
    void writeTableRows(const Current& e) {
        element headRows;
        const bool hasHead = !arrayPart(e, 3).at(1).get(headRows);
        bool headerWritten = false;
        if (hasHead) {
            for (element row : arrayOf(headRows, "table rows")) {
                writeRow(row);
                headerWritten = true;
                break;
            }
        }
        if (!headerWritten) {
            w_.beginArray();
            w_.endArray();
        }
        w_.beginArray();
        if (hasHead) {
            bool first = true;
            for (element row : arrayOf(headRows, "table rows")) {
                if (!first) writeRow(row);
                first = false;
            }
        }
        for (element body : arrayPart(e, 4)) {
            const array parts = arrayOf(body, "a table body");
            element bodyHead, bodyRows;
            if (parts.at(2).get(bodyHead) || parts.at(3).get(bodyRows)) {
                malformed("a table body is not [attr, columns, head, rows]");
            }
            for (element row : arrayOf(bodyHead, "table rows")) writeRow(row);
            for (element row : arrayOf(bodyRows, "table rows")) writeRow(row);
        }
        element footRows;
        if (!arrayPart(e, 5).at(1).get(footRows)) {
            for (element row : arrayOf(footRows, "table rows")) writeRow(row);
        }
        w_.endArray();
    }

    void appendBlock(element value) {
        const Current e = currentOf(value);
        const std::string_view n = e.name;
        if (n == "Plain" || n == "Para") {
            beginLegacy(n);
            writeInlines(contentsElement(e));
            endLegacy();
        } else if (n == "LineBlock") {
            beginLegacy("Para");
            w_.beginArray();
            bool first = true;
            for (element line : contentsOf(e)) {
                if (!first) w_.string("LineBreak");
                first = false;
                appendInlines(line);
            }
            w_.endArray();
            endLegacy();
        } else if (n == "CodeBlock" || n == "RawBlock") {
            writeAttributedText(n, e);
        } else if (n == "BlockQuote") {
            beginLegacy(n);
            writeBlocks(contentsElement(e));
            endLegacy();
        } else if (n == "OrderedList") {
            const array attrs = arrayPart(e, 0);
            element start, style, delimiter;
            if (attrs.size() != 3 || attrs.at(0).get(start) || attrs.at(1).get(style) || attrs.at(2).get(delimiter)) {
                malformed("OrderedList attributes are not [start, style, delimiter]");
            }
            beginLegacy(n);
            w_.beginArray();
            w_.beginArray();
            raw(start);
            w_.string(bareName(style));
            w_.string(bareName(delimiter));
            w_.endArray();
            writeItems(partOf(e, 1));
            w_.endArray();
            endLegacy();
        } else if (n == "BulletList") {
            beginLegacy(n);
            writeItems(contentsElement(e));
            endLegacy();
        } else if (n == "DefinitionList") {
            beginLegacy(n);
            w_.beginArray();
            for (element entry : contentsOf(e)) {
                const array parts = arrayOf(entry, "a DefinitionList entry");
                element term, definitions;
                if (parts.size() != 2 || parts.at(0).get(term) || parts.at(1).get(definitions)) {
                    malformed("a DefinitionList entry is not [term, definitions]");
                }
                w_.beginArray();
                writeInlines(term);
                writeItems(definitions);
                w_.endArray();
            }
            w_.endArray();
            endLegacy();
        } else if (n == "Header") {
            beginLegacy(n);
            w_.beginArray();
            raw(partOf(e, 0));
            raw(partOf(e, 1));
            writeInlines(partOf(e, 2));
            w_.endArray();
            endLegacy();
        } else if (n == "HorizontalRule") {
            w_.string("HorizontalRule");
        } else if (n == "Table") {
            writeTable(e);
        } else if (n == "Div") {
            writeAttributedContents(n, e, &LegacyTranslator::writeBlocks);
        } else if (n == "Figure") {
            for (element block : arrayPart(e, 2)) appendBlock(block);
            element captionBlocks;
            if (!arrayPart(e, 1).at(1).get(captionBlocks) && !captionIsDescription(arrayElementPart(e, 2), captionBlocks)) {
                for (element block : arrayOf(captionBlocks, "a caption")) appendBlock(block);
            }
        }
        // Null and unknown blocks are left out.
    }

    // A figure of one picture whose caption is the picture's description, as Pandoc
    // Markdown reads a picture standing alone: the description keeps it.
    static bool captionIsDescription(element content, element caption) {
        const auto onlyInlines = [](element blocks, element& inlines) {
            array list;
            element block;
            if (blocks.get_array().get(list) || list.size() != 1 || list.at(0).get(block)) return false;
            const Current e = currentOf(block);
            return (e.name == "Plain" || e.name == "Para") && e.hasContents && !(inlines = e.contents).is_null();
        };
        element inlines, image, captionInlines;
        array inlineList;
        if (!onlyInlines(content, inlines) || inlines.get_array().get(inlineList) || inlineList.size() != 1 ||
            inlineList.at(0).get(image) || currentOf(image).name != "Image" || !onlyInlines(caption, captionInlines))
            return false;
        element description;
        return !currentOf(image).contents.at(1).get(description) &&
               simdjson::to_string(description) == simdjson::to_string(captionInlines);
    }

    // Appends the inlines of a metadata value; false when it has none.
    bool appendMetaInlines(element value) {
        const Current e = currentOf(value);
        if (e.name == "MetaInlines") return appendInlines(contentsElement(e));
        if (e.name == "MetaString") {
            beginLegacy("Str");
            w_.string(stringOf(contentsElement(e), "MetaString"));
            endLegacy();
            return true;
        }
        if (e.name == "MetaBlocks") return appendInlinesOfBlocks(contentsElement(e));
        if (e.name == "MetaList") {
            bool wrote = false;
            for (element item : contentsOf(e)) {
                const Current itemElement = currentOf(item);
                if (itemElement.name != "MetaInlines" && itemElement.name != "MetaString") continue;
                if (wrote) {
                    beginLegacy("Str");
                    w_.string(",");
                    endLegacy();
                    w_.string("Space");
                }
                wrote = appendMetaInlines(item) || wrote;
            }
            return wrote;
        }
        return false;
    }

    void writeMetaInlines(const object* meta, const char* key) {
        w_.beginArray();
        element value;
        if (meta && !(*meta)[key].get(value)) appendMetaInlines(value);
        w_.endArray();
    }

    void metadata(const object* meta) {
        w_.beginObject();
        w_.key("docTitle");
        writeMetaInlines(meta, "title");
        w_.key("docAuthors");
        w_.beginArray();
        element author;
        if (meta && !(*meta)["author"].get(author)) {
            const Current list = currentOf(author);
            if (list.name == "MetaList") {
                for (element one : contentsOf(list)) {
                    w_.beginArray();
                    appendMetaInlines(one);
                    w_.endArray();
                }
            } else {
                w_.beginArray();
                appendMetaInlines(author);
                w_.endArray();
            }
        }
        w_.endArray();
        w_.key("docDate");
        writeMetaInlines(meta, "date");
        w_.endObject();
    }
};

}  // namespace

simdjson::dom::element parseJsonText(simdjson::dom::parser& parser, std::string_view text) {
    element root;
    if (auto error = parser.parse(text.data(), text.size()).get(root)) {
        if (error == simdjson::DEPTH_ERROR) {
            throw ConverterError("input nested deeper than " + std::to_string(simdjson::DEFAULT_MAX_DEPTH) + " levels");
        }
        throw ConverterError(std::string("invalid JSON: ") + simdjson::error_message(error));
    }
    return root;
}

bool isCurrentPandocForm(simdjson::dom::element document) {
    object o;
    return !document.get_object().get(o) && !o["blocks"].error();
}

void translateToLegacyPandoc(simdjson::dom::element document, PandocTree& into, bool spans) {
    LegacyTranslator(into, spans).document(document.get_object().value_unsafe());
}

}  // namespace qorva::convert
