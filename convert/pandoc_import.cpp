#include "convert/pandoc_import.h"

#include "convert/pandoc_element.h"

#include <simdjson.h>

#include <string>

namespace qorva::convert {
namespace {

using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::object;

Json legacy(std::string_view name, Json contents) { return Json{{std::string(name), std::move(contents)}}; }

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
    return arrayOf(contentsElement(e), "the contents of " + std::string(e.name));
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

array arrayPart(const Current& e, std::size_t index) {
    return arrayOf(partOf(e, index), "part " + std::to_string(index + 1) + " of " + std::string(e.name));
}

// Part `index` of the contents, checked to be an array but kept as an element.
element arrayElementPart(const Current& e, std::size_t index) {
    arrayPart(e, index);
    return partOf(e, index);
}

std::string stringPart(const Current& e, std::size_t index) {
    return std::string(stringOf(partOf(e, index), "part " + std::to_string(index + 1) + " of " + std::string(e.name)));
}

// The name of a contents-free constructor ({"t":"Decimal"}).
std::string bareName(element value) { return std::string(currentOf(value).name); }

// Any JSON value as it is (attributes, targets, the whole 1.11 form).
Json copyOf(element value) {
    switch (value.type()) {
        case simdjson::dom::element_type::ARRAY: {
            Json out = Json::array();
            const array items = value.get_array().value_unsafe();
            for (element item : items) out.push_back(copyOf(item));
            return out;
        }
        case simdjson::dom::element_type::OBJECT: {
            Json out = Json::object();
            const object fields = value.get_object().value_unsafe();
            for (auto field : fields) out[std::string(field.key)] = copyOf(field.value);
            return out;
        }
        case simdjson::dom::element_type::STRING: return std::string(value.get_string().value_unsafe());
        case simdjson::dom::element_type::INT64: return value.get_int64().value_unsafe();
        case simdjson::dom::element_type::UINT64: return value.get_uint64().value_unsafe();
        case simdjson::dom::element_type::DOUBLE: return value.get_double().value_unsafe();
        case simdjson::dom::element_type::BOOL: return value.get_bool().value_unsafe();
        case simdjson::dom::element_type::NULL_VALUE: return nullptr;
    }
    return nullptr;
}

// ---- current form to 1.11 --------------------------------------------------------

Json legacyBlocks(element blocks);
void appendLegacyInlines(element inlines, Json& out);
void appendLegacyBlock(element value, Json& out);

Json legacyInlines(element inlines) {
    Json out = Json::array();
    appendLegacyInlines(inlines, out);
    return out;
}

Json legacyItems(element items) {
    Json out = Json::array();
    for (element item : arrayOf(items, "a list of items")) out.push_back(legacyBlocks(item));
    return out;
}

void appendLegacyInline(element value, Json& out) {
    const Current e = currentOf(value);
    const std::string_view n = e.name;
    if (n == "Str") {
        out.push_back(legacy(n, std::string(stringOf(contentsElement(e), "the text of Str"))));
    } else if (n == "Space" || n == "SoftBreak") {
        out.push_back("Space");
    } else if (n == "Emph" || n == "Strong" || n == "Strikeout" || n == "Superscript" || n == "Subscript" ||
               n == "SmallCaps") {
        out.push_back(legacy(n, legacyInlines(contentsElement(e))));
    } else if (n == "Underline") {
        appendLegacyInlines(contentsElement(e), out);
    } else if (n == "Span") {
        appendLegacyInlines(partOf(e, 1), out);
    } else if (n == "Quoted") {
        out.push_back(legacy(n, Json::array({bareName(partOf(e, 0)), legacyInlines(partOf(e, 1))})));
    } else if (n == "Cite") {
        Json citations = Json::array();
        for (element citation : arrayPart(e, 0)) {
            element id;
            if (citation.at_key("citationId").get(id)) malformed("a citation has no citationId");
            citations.push_back(Json{{"citationId", copyOf(id)}});
        }
        out.push_back(legacy(n, Json::array({std::move(citations), legacyInlines(partOf(e, 1))})));
    } else if (n == "Code" || n == "RawInline") {
        out.push_back(legacy(n, Json::array({copyOf(partOf(e, 0)), stringPart(e, 1)})));
    } else if (n == "LineBreak") {
        out.push_back("LineBreak");
    } else if (n == "Math") {
        out.push_back(legacy(n, Json::array({bareName(partOf(e, 0)), stringPart(e, 1)})));
    } else if (n == "Link" || n == "Image") {
        out.push_back(legacy(n, Json::array({legacyInlines(partOf(e, 1)), copyOf(arrayElementPart(e, 2))})));
    } else if (n == "Note") {
        out.push_back(legacy(n, legacyBlocks(contentsElement(e))));
    }
    // Anything else has no counterpart and no text of its own.
}

void appendLegacyInlines(element inlines, Json& out) {
    for (element value : arrayOf(inlines, "an inline list")) appendLegacyInline(value, out);
}

// Inlines of Plain and Para blocks (captions, metadata given as blocks), joined by spaces.
Json inlinesOfBlocks(element blocks) {
    Json out = Json::array();
    for (element block : arrayOf(blocks, "a block list")) {
        const Current e = currentOf(block);
        if (e.name != "Plain" && e.name != "Para") continue;
        if (!out.empty()) out.push_back("Space");
        appendLegacyInlines(contentsElement(e), out);
    }
    return out;
}

// A row of the table model of pandoc-types 1.21 and later: [attr, cells], each cell
// [attr, alignment, rowspan, colspan, blocks]. A cell spanning columns is followed
// by empty cells so the cells after it stay in their columns.
Json legacyRow(element row) {
    const array parts = arrayOf(row, "a table row");
    element cellsValue;
    if (parts.at(1).get(cellsValue)) malformed("a table row is not [attr, cells]");
    Json cells = Json::array();
    for (element cell : arrayOf(cellsValue, "the cells of a table row")) {
        const array cellParts = arrayOf(cell, "a table cell");
        element blocks;
        if (cellParts.size() < 5 || cellParts.at(4).get(blocks)) {
            malformed("a table cell is not [attr, align, rows, columns, blocks]");
        }
        cells.push_back(legacyBlocks(blocks));
        std::int64_t colspan = 1;
        if (cellParts.at(3).get_int64().get(colspan)) colspan = 1;
        for (std::int64_t i = 1; i < colspan && i < 1000; ++i) cells.push_back(Json::array());
    }
    return cells;
}

Json legacyTable(const Current& e) {
    const array c = contentsOf(e);
    Json aligns = Json::array();
    Json widths = Json::array();
    if (c.size() == 5) {  // pandoc-types 1.17 to 1.20: the shape of 1.11
        for (element a : arrayPart(e, 1)) aligns.push_back(bareName(a));
        Json headers = Json::array();
        for (element cell : arrayPart(e, 3)) headers.push_back(legacyBlocks(cell));
        Json rows = Json::array();
        for (element row : arrayPart(e, 4)) {
            Json cells = Json::array();
            for (element cell : arrayOf(row, "a table row")) cells.push_back(legacyBlocks(cell));
            rows.push_back(std::move(cells));
        }
        return legacy("Table", Json::array({legacyInlines(partOf(e, 0)), std::move(aligns), copyOf(arrayElementPart(e, 2)),
                                            std::move(headers), std::move(rows)}));
    }
    if (c.size() != 6) malformed("Table has " + std::to_string(c.size()) + " parts");
    // 1.21 and later: attr, caption, column specs, head, bodies, foot.
    const array caption = arrayPart(e, 1);
    element captionBlocks;
    Json captionInlines = caption.at(1).get(captionBlocks) ? Json::array() : inlinesOfBlocks(captionBlocks);
    for (element spec : arrayPart(e, 2)) {
        const array parts = arrayOf(spec, "a column spec");
        element alignment, width;
        if (parts.at(0).get(alignment) || parts.at(1).get(width)) malformed("a column spec is not [alignment, width]");
        aligns.push_back(bareName(alignment));
        const Current w = currentOf(width);
        double value = 0.0;
        if (w.name != "ColWidth" || !w.hasContents || w.contents.get_double().get(value)) value = 0.0;
        widths.push_back(value);
    }
    Json header = Json::array();
    Json rows = Json::array();
    bool headerTaken = false;
    auto addRows = [&](element list, bool firstIsHeader) {
        for (element row : arrayOf(list, "table rows")) {
            if (firstIsHeader && !headerTaken) {
                header = legacyRow(row);
                headerTaken = true;
            } else {
                rows.push_back(legacyRow(row));
            }
        }
    };
    element headRows;
    if (!arrayPart(e, 3).at(1).get(headRows)) addRows(headRows, true);
    for (element body : arrayPart(e, 4)) {
        const array parts = arrayOf(body, "a table body");
        element bodyHead, bodyRows;
        if (parts.at(2).get(bodyHead) || parts.at(3).get(bodyRows)) {
            malformed("a table body is not [attr, columns, head, rows]");
        }
        addRows(bodyHead, false);
        addRows(bodyRows, false);
    }
    element footRows;
    if (!arrayPart(e, 5).at(1).get(footRows)) addRows(footRows, false);
    return legacy("Table", Json::array({std::move(captionInlines), std::move(aligns), std::move(widths),
                                        std::move(header), std::move(rows)}));
}

void appendLegacyBlock(element value, Json& out) {
    const Current e = currentOf(value);
    const std::string_view n = e.name;
    if (n == "Plain" || n == "Para") {
        out.push_back(legacy(n, legacyInlines(contentsElement(e))));
    } else if (n == "LineBlock") {
        Json inlines = Json::array();
        for (element line : contentsOf(e)) {
            if (!inlines.empty()) inlines.push_back("LineBreak");
            appendLegacyInlines(line, inlines);
        }
        out.push_back(legacy("Para", std::move(inlines)));
    } else if (n == "CodeBlock" || n == "RawBlock") {
        out.push_back(legacy(n, Json::array({copyOf(partOf(e, 0)), stringPart(e, 1)})));
    } else if (n == "BlockQuote") {
        out.push_back(legacy(n, legacyBlocks(contentsElement(e))));
    } else if (n == "OrderedList") {
        const array attrs = arrayPart(e, 0);
        element start, style, delimiter;
        if (attrs.size() != 3 || attrs.at(0).get(start) || attrs.at(1).get(style) || attrs.at(2).get(delimiter)) {
            malformed("OrderedList attributes are not [start, style, delimiter]");
        }
        out.push_back(legacy(n, Json::array({Json::array({copyOf(start), bareName(style), bareName(delimiter)}),
                                             legacyItems(partOf(e, 1))})));
    } else if (n == "BulletList") {
        out.push_back(legacy(n, legacyItems(contentsElement(e))));
    } else if (n == "DefinitionList") {
        Json entries = Json::array();
        for (element entry : contentsOf(e)) {
            const array parts = arrayOf(entry, "a DefinitionList entry");
            element term, definitions;
            if (parts.size() != 2 || parts.at(0).get(term) || parts.at(1).get(definitions)) {
                malformed("a DefinitionList entry is not [term, definitions]");
            }
            entries.push_back(Json::array({legacyInlines(term), legacyItems(definitions)}));
        }
        out.push_back(legacy(n, std::move(entries)));
    } else if (n == "Header") {
        out.push_back(legacy(n, Json::array({copyOf(partOf(e, 0)), copyOf(partOf(e, 1)), legacyInlines(partOf(e, 2))})));
    } else if (n == "HorizontalRule") {
        out.push_back("HorizontalRule");
    } else if (n == "Table") {
        out.push_back(legacyTable(e));
    } else if (n == "Div") {
        for (element block : arrayPart(e, 1)) appendLegacyBlock(block, out);
    } else if (n == "Figure") {
        for (element block : arrayPart(e, 2)) appendLegacyBlock(block, out);
        element captionBlocks;
        if (!arrayPart(e, 1).at(1).get(captionBlocks)) {
            for (element block : arrayOf(captionBlocks, "a caption")) appendLegacyBlock(block, out);
        }
    }
    // Null and unknown blocks are left out.
}

Json legacyBlocks(element blocks) {
    Json out = Json::array();
    for (element block : arrayOf(blocks, "a block list")) appendLegacyBlock(block, out);
    return out;
}

Json metaInlines(element value) {
    const Current e = currentOf(value);
    if (e.name == "MetaInlines") return legacyInlines(contentsElement(e));
    if (e.name == "MetaString") return Json::array({legacy("Str", std::string(stringOf(contentsElement(e), "MetaString")))});
    if (e.name == "MetaBlocks") return inlinesOfBlocks(contentsElement(e));
    if (e.name == "MetaList") {
        Json out = Json::array();
        for (element item : contentsOf(e)) {
            Json inlines = metaInlines(item);
            if (inlines.empty()) continue;
            if (!out.empty()) {
                out.push_back(legacy("Str", ","));
                out.push_back("Space");
            }
            for (Json& i : inlines) out.push_back(std::move(i));
        }
        return out;
    }
    return Json::array();
}

// `meta` may be absent (nullptr): then the metadata is empty.
Json legacyMeta(const object* meta) {
    Json title = Json::array(), authors = Json::array(), date = Json::array();
    if (!meta) {
        return Json{{"docTitle", std::move(title)}, {"docAuthors", std::move(authors)}, {"docDate", std::move(date)}};
    }
    element value;
    if (!(*meta)["title"].get(value)) title = metaInlines(value);
    if (!(*meta)["date"].get(value)) date = metaInlines(value);
    if (!(*meta)["author"].get(value)) {
        const Current author = currentOf(value);
        if (author.name == "MetaList") {
            for (element one : contentsOf(author)) authors.push_back(metaInlines(one));
        } else {
            authors.push_back(metaInlines(value));
        }
    }
    return Json{{"docTitle", std::move(title)}, {"docAuthors", std::move(authors)}, {"docDate", std::move(date)}};
}

}  // namespace

Json parsePandocAsLegacy(std::string_view text) {
    simdjson::dom::parser parser;
    element root;
    if (auto error = parser.parse(text.data(), text.size()).get(root)) {
        if (error == simdjson::DEPTH_ERROR) {
            throw ConverterError("input nested deeper than " + std::to_string(simdjson::DEFAULT_MAX_DEPTH) + " levels");
        }
        throw ConverterError(std::string("invalid JSON: ") + simdjson::error_message(error));
    }
    object document;
    element blocks;
    if (root.get_object().get(document) || document["blocks"].get(blocks)) return copyOf(root);  // the 1.11 form
    object meta;
    const bool hasMeta = !document["meta"].get_object().get(meta);
    return Json::array({legacyMeta(hasMeta ? &meta : nullptr), legacyBlocks(blocks)});
}

}  // namespace qorva::convert
