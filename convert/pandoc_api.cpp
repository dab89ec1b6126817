#include "convert/pandoc_api.h"

#include "convert/json_guard.h"
#include "convert/pandoc_element.h"

#include <charconv>

namespace qorva::convert {
namespace {

const Json kEmptyAttr = Json::array({"", Json::array(), Json::array()});

Json named(std::string_view name) { return Json{{"t", std::string(name)}}; }
Json named(std::string_view name, Json contents) {
    return Json{{"t", std::string(name)}, {"c", std::move(contents)}};
}
Json legacy(std::string_view name, Json contents) { return Json{{std::string(name), std::move(contents)}}; }

// The name of a contents-free constructor in either form ("Decimal" or {"t":"Decimal"}).
std::string bareName(const Json& value) {
    if (value.is_string()) return value.get<std::string>();
    return std::string(currentElement(value).name);
}

// ---- current form to 1.11 -------------------------------------------------------

Json legacyBlocks(const Json& blocks);
void appendLegacyInlines(const Json& inlines, Json& out);

Json legacyInlines(const Json& inlines) {
    Json out = Json::array();
    appendLegacyInlines(requireArray(inlines, "an inline list"), out);
    return out;
}

Json legacyItems(const Json& items) {
    Json out = Json::array();
    for (const Json& item : requireArray(items, "a list of items")) out.push_back(legacyBlocks(item));
    return out;
}

void appendLegacyInline(const Json& value, Json& out) {
    const PandocElement e = currentElement(value);
    const std::string_view n = e.name;
    if (n == "Str") {
        out.push_back(legacy(n, requireString(e.contents ? *e.contents : Json(), "the text of Str")));
    } else if (n == "Emph" || n == "Strong" || n == "Strikeout" || n == "Superscript" ||
               n == "Subscript" || n == "SmallCaps") {
        out.push_back(legacy(n, legacyInlines(arrayContents(e))));
    } else if (n == "Underline") {
        appendLegacyInlines(arrayContents(e), out);
    } else if (n == "Span") {
        appendLegacyInlines(arrayAt(e, 1), out);
    } else if (n == "Quoted") {
        out.push_back(legacy(n, Json::array({bareName(contentsAt(e, 0)), legacyInlines(arrayAt(e, 1))})));
    } else if (n == "Cite") {
        Json citations = Json::array();
        for (const Json& citation : arrayAt(e, 0)) {
            if (!citation.is_object() || !citation.contains("citationId")) malformed("a citation has no citationId");
            citations.push_back(Json{{"citationId", citation["citationId"]}});
        }
        out.push_back(legacy(n, Json::array({std::move(citations), legacyInlines(arrayAt(e, 1))})));
    } else if (n == "Code" || n == "RawInline") {
        out.push_back(legacy(n, Json::array({contentsAt(e, 0), stringAt(e, 1)})));
    } else if (n == "Space" || n == "SoftBreak") {
        out.push_back("Space");
    } else if (n == "LineBreak") {
        out.push_back("LineBreak");
    } else if (n == "Math") {
        out.push_back(legacy(n, Json::array({bareName(contentsAt(e, 0)), stringAt(e, 1)})));
    } else if (n == "Link" || n == "Image") {
        out.push_back(legacy(n, Json::array({legacyInlines(arrayAt(e, 1)), arrayAt(e, 2)})));
    } else if (n == "Note") {
        out.push_back(legacy(n, legacyBlocks(arrayContents(e))));
    }
    // Anything else has no counterpart and no text of its own.
}

void appendLegacyInlines(const Json& inlines, Json& out) {
    for (const Json& value : inlines) appendLegacyInline(value, out);
}

// Inlines of Plain and Para blocks (captions, metadata given as blocks), joined by spaces.
Json inlinesOfBlocks(const Json& blocks) {
    Json out = Json::array();
    for (const Json& block : requireArray(blocks, "a block list")) {
        const PandocElement e = currentElement(block);
        if (e.name != "Plain" && e.name != "Para") continue;
        if (!out.empty()) out.push_back("Space");
        appendLegacyInlines(arrayContents(e), out);
    }
    return out;
}

// A row of the table model of pandoc-types 1.21 and later: [attr, cells], each cell
// [attr, alignment, rowspan, colspan, blocks]. A cell spanning columns is followed
// by empty cells so the cells after it stay in their columns.
Json legacyRow(const Json& row) {
    if (!row.is_array() || row.size() < 2) malformed("a table row is not [attr, cells]");
    Json cells = Json::array();
    for (const Json& cell : requireArray(row[1], "the cells of a table row")) {
        if (!cell.is_array() || cell.size() < 5) malformed("a table cell is not [attr, align, rows, columns, blocks]");
        cells.push_back(legacyBlocks(cell[4]));
        const int colspan = cell[3].is_number_integer() ? cell[3].get<int>() : 1;
        for (int i = 1; i < colspan && i < 1000; ++i) cells.push_back(Json::array());
    }
    return cells;
}

Json legacyTable(const PandocElement& e) {
    const Json& c = arrayContents(e);
    Json aligns = Json::array();
    Json widths = Json::array();
    if (c.size() == 5) {  // pandoc-types 1.17 to 1.20: same shape as 1.11
        for (const Json& a : arrayAt(e, 1)) aligns.push_back(bareName(a));
        Json headers = Json::array();
        for (const Json& cell : arrayAt(e, 3)) headers.push_back(legacyBlocks(cell));
        Json rows = Json::array();
        for (const Json& row : arrayAt(e, 4)) {
            Json cells = Json::array();
            for (const Json& cell : requireArray(row, "a table row")) cells.push_back(legacyBlocks(cell));
            rows.push_back(std::move(cells));
        }
        return legacy("Table", Json::array({legacyInlines(arrayAt(e, 0)), aligns, arrayAt(e, 2),
                                            std::move(headers), std::move(rows)}));
    }
    if (c.size() != 6) malformed("Table has " + std::to_string(c.size()) + " parts");
    // 1.21 and later: attr, caption, column specs, head, bodies, foot.
    const Json& caption = arrayAt(e, 1);
    Json captionInlines = caption.size() >= 2 ? inlinesOfBlocks(caption[1]) : Json::array();
    for (const Json& spec : arrayAt(e, 2)) {
        if (!spec.is_array() || spec.size() < 2) malformed("a column spec is not [alignment, width]");
        aligns.push_back(bareName(spec[0]));
        const PandocElement width = currentElement(spec[1]);
        widths.push_back(width.name == "ColWidth" && width.contents && width.contents->is_number()
                             ? width.contents->get<double>()
                             : 0.0);
    }
    Json header = Json::array();
    Json rows = Json::array();
    auto addRows = [&](const Json& list, bool firstIsHeader) {
        for (const Json& row : requireArray(list, "table rows")) {
            if (firstIsHeader && header.empty()) header = legacyRow(row);
            else rows.push_back(legacyRow(row));
        }
    };
    const Json& head = arrayAt(e, 3);
    if (head.size() >= 2) addRows(head[1], true);
    for (const Json& body : arrayAt(e, 4)) {
        if (!body.is_array() || body.size() < 4) malformed("a table body is not [attr, columns, head, rows]");
        addRows(body[2], false);
        addRows(body[3], false);
    }
    const Json& foot = arrayAt(e, 5);
    if (foot.size() >= 2) addRows(foot[1], false);
    return legacy("Table", Json::array({std::move(captionInlines), std::move(aligns), std::move(widths),
                                        std::move(header), std::move(rows)}));
}

void appendLegacyBlock(const Json& value, Json& out) {
    const PandocElement e = currentElement(value);
    const std::string_view n = e.name;
    if (n == "Plain" || n == "Para") {
        out.push_back(legacy(n, legacyInlines(arrayContents(e))));
    } else if (n == "LineBlock") {
        Json inlines = Json::array();
        for (const Json& line : arrayContents(e)) {
            if (!inlines.empty()) inlines.push_back("LineBreak");
            appendLegacyInlines(requireArray(line, "a line of LineBlock"), inlines);
        }
        out.push_back(legacy("Para", std::move(inlines)));
    } else if (n == "CodeBlock" || n == "RawBlock") {
        out.push_back(legacy(n, Json::array({contentsAt(e, 0), stringAt(e, 1)})));
    } else if (n == "BlockQuote") {
        out.push_back(legacy(n, legacyBlocks(arrayContents(e))));
    } else if (n == "OrderedList") {
        const Json& attrs = arrayAt(e, 0);
        if (attrs.size() != 3) malformed("OrderedList attributes are not [start, style, delimiter]");
        out.push_back(legacy(n, Json::array({Json::array({attrs[0], bareName(attrs[1]), bareName(attrs[2])}),
                                             legacyItems(arrayAt(e, 1))})));
    } else if (n == "BulletList") {
        out.push_back(legacy(n, legacyItems(arrayContents(e))));
    } else if (n == "DefinitionList") {
        Json entries = Json::array();
        for (const Json& entry : arrayContents(e)) {
            if (!entry.is_array() || entry.size() != 2) malformed("a DefinitionList entry is not [term, definitions]");
            entries.push_back(Json::array({legacyInlines(entry[0]), legacyItems(entry[1])}));
        }
        out.push_back(legacy(n, std::move(entries)));
    } else if (n == "Header") {
        out.push_back(legacy(n, Json::array({contentsAt(e, 0), contentsAt(e, 1), legacyInlines(arrayAt(e, 2))})));
    } else if (n == "HorizontalRule") {
        out.push_back("HorizontalRule");
    } else if (n == "Table") {
        out.push_back(legacyTable(e));
    } else if (n == "Div") {
        for (const Json& block : arrayAt(e, 1)) appendLegacyBlock(block, out);
    } else if (n == "Figure") {
        for (const Json& block : arrayAt(e, 2)) appendLegacyBlock(block, out);
        const Json& caption = arrayAt(e, 1);
        if (caption.size() >= 2) {
            for (const Json& block : requireArray(caption[1], "a caption")) appendLegacyBlock(block, out);
        }
    }
    // Null and unknown blocks are left out.
}

Json legacyBlocks(const Json& blocks) {
    Json out = Json::array();
    for (const Json& block : requireArray(blocks, "a block list")) appendLegacyBlock(block, out);
    return out;
}

Json metaInlines(const Json& value) {
    const PandocElement e = currentElement(value);
    if (e.name == "MetaInlines") return legacyInlines(arrayContents(e));
    if (e.name == "MetaString") return Json::array({legacy("Str", requireString(*e.contents, "MetaString"))});
    if (e.name == "MetaBlocks") return inlinesOfBlocks(arrayContents(e));
    if (e.name == "MetaList") {
        Json out = Json::array();
        for (const Json& item : arrayContents(e)) {
            Json inlines = metaInlines(item);
            if (inlines.empty()) continue;
            if (!out.empty()) out.push_back(legacy("Str", ","));
            if (!out.empty()) out.push_back("Space");
            for (Json& i : inlines) out.push_back(std::move(i));
        }
        return out;
    }
    return Json::array();
}

Json legacyMeta(const Json& meta) {
    Json title = Json::array(), authors = Json::array(), date = Json::array();
    if (meta.is_object()) {
        if (meta.contains("title")) title = metaInlines(meta["title"]);
        if (meta.contains("date")) date = metaInlines(meta["date"]);
        if (meta.contains("author")) {
            const Json& author = meta["author"];
            if (currentElement(author).name == "MetaList") {
                for (const Json& one : arrayContents(currentElement(author))) authors.push_back(metaInlines(one));
            } else {
                authors.push_back(metaInlines(author));
            }
        }
    }
    return Json{{"docTitle", std::move(title)}, {"docAuthors", std::move(authors)}, {"docDate", std::move(date)}};
}

// ---- 1.11 form to current --------------------------------------------------------

Json currentBlocks(const Json& blocks, const PandocApi& api);

Json currentInlines(const Json& inlines, const PandocApi& api);

Json currentInline(const Json& value, const PandocApi& api) {
    const PandocElement e = legacyElement(value);
    const std::string_view n = e.name;
    if (!e.contents) return named(n);
    if (n == "Str") return named(n, *e.contents);
    if (n == "Emph" || n == "Strong" || n == "Strikeout" || n == "Superscript" || n == "Subscript" ||
        n == "SmallCaps") {
        return named(n, currentInlines(arrayContents(e), api));
    }
    if (n == "Math" || n == "Quoted") {
        const Json& second = contentsAt(e, 1);
        return named(n, Json::array({named(bareName(contentsAt(e, 0))),
                                     n == "Quoted" ? currentInlines(second, api) : second}));
    }
    if (n == "Link" || n == "Image") {
        return named(n, Json::array({kEmptyAttr, currentInlines(arrayAt(e, 0), api), arrayAt(e, 1)}));
    }
    if (n == "Note") return named(n, currentBlocks(arrayContents(e), api));
    return named(n, *e.contents);  // Code, RawInline: same shape in both forms
}

Json currentInlines(const Json& inlines, const PandocApi& api) {
    Json out = Json::array();
    for (const Json& value : requireArray(inlines, "an inline list")) out.push_back(currentInline(value, api));
    return out;
}

Json currentItems(const Json& items, const PandocApi& api) {
    Json out = Json::array();
    for (const Json& item : requireArray(items, "a list of items")) out.push_back(currentBlocks(item, api));
    return out;
}

bool allCellsEmpty(const Json& cells) {
    for (const Json& cell : cells) {
        if (!cell.empty()) return false;
    }
    return true;
}

Json currentRow(const Json& cells, const PandocApi& api) {
    Json out = Json::array();
    for (const Json& cell : requireArray(cells, "a table row")) {
        out.push_back(Json::array({kEmptyAttr, named("AlignDefault"), 1, 1, currentBlocks(cell, api)}));
    }
    return Json::array({kEmptyAttr, std::move(out)});
}

Json currentTable(const PandocElement& e, const PandocApi& api) {
    const Json& aligns = arrayAt(e, 1);
    const Json& widths = arrayAt(e, 2);
    const Json& headers = arrayAt(e, 3);
    const Json& rows = arrayAt(e, 4);
    Json alignsOut = Json::array();
    for (const Json& a : aligns) alignsOut.push_back(named(bareName(a)));
    if (api.minor() < 21) {
        Json headersOut = Json::array();
        for (const Json& cell : headers) headersOut.push_back(currentBlocks(cell, api));
        Json rowsOut = Json::array();
        for (const Json& row : rows) {
            Json cells = Json::array();
            for (const Json& cell : requireArray(row, "a table row")) cells.push_back(currentBlocks(cell, api));
            rowsOut.push_back(std::move(cells));
        }
        return named("Table", Json::array({currentInlines(arrayAt(e, 0), api), std::move(alignsOut), widths,
                                           std::move(headersOut), std::move(rowsOut)}));
    }
    Json specs = Json::array();
    for (std::size_t i = 0; i < alignsOut.size(); ++i) {
        const double width = i < widths.size() && widths[i].is_number() ? widths[i].get<double>() : 0.0;
        specs.push_back(Json::array({alignsOut[i], width > 0 ? named("ColWidth", width) : named("ColWidthDefault")}));
    }
    const Json& caption = arrayAt(e, 0);
    Json captionBlocks = Json::array();
    if (!caption.empty()) captionBlocks.push_back(named("Plain", currentInlines(caption, api)));
    // An all-empty header row is how the 1.11 form says "no header".
    Json headRows = Json::array();
    if (!allCellsEmpty(headers)) headRows.push_back(currentRow(headers, api));
    Json bodyRows = Json::array();
    for (const Json& row : rows) bodyRows.push_back(currentRow(row, api));
    return named("Table", Json::array({kEmptyAttr, Json::array({nullptr, std::move(captionBlocks)}), std::move(specs),
                                       Json::array({kEmptyAttr, std::move(headRows)}),
                                       Json::array({Json::array({kEmptyAttr, 0, Json::array(), std::move(bodyRows)})}),
                                       Json::array({kEmptyAttr, Json::array()})}));
}

Json currentBlock(const Json& value, const PandocApi& api) {
    const PandocElement e = legacyElement(value);
    const std::string_view n = e.name;
    if (!e.contents) return named(n);
    if (n == "Para" || n == "Plain") return named(n, currentInlines(arrayContents(e), api));
    if (n == "Header") {
        return named(n, Json::array({contentsAt(e, 0), contentsAt(e, 1), currentInlines(arrayAt(e, 2), api)}));
    }
    if (n == "BlockQuote") return named(n, currentBlocks(arrayContents(e), api));
    if (n == "BulletList") return named(n, currentItems(arrayContents(e), api));
    if (n == "OrderedList") {
        const Json& attrs = arrayAt(e, 0);
        if (attrs.size() != 3) malformed("OrderedList attributes are not [start, style, delimiter]");
        return named(n, Json::array({Json::array({attrs[0], named(bareName(attrs[1])), named(bareName(attrs[2]))}),
                                     currentItems(arrayAt(e, 1), api)}));
    }
    if (n == "DefinitionList") {
        Json entries = Json::array();
        for (const Json& entry : arrayContents(e)) {
            if (!entry.is_array() || entry.size() != 2) malformed("a DefinitionList entry is not [term, definitions]");
            entries.push_back(Json::array({currentInlines(entry[0], api), currentItems(entry[1], api)}));
        }
        return named(n, std::move(entries));
    }
    if (n == "Table") return currentTable(e, api);
    return named(n, *e.contents);  // CodeBlock, RawBlock: same shape in both forms
}

Json currentBlocks(const Json& blocks, const PandocApi& api) {
    Json out = Json::array();
    for (const Json& block : requireArray(blocks, "a block list")) out.push_back(currentBlock(block, api));
    return out;
}

Json currentMeta(const Json& meta, const PandocApi& api) {
    Json out = Json::object();
    if (!meta.is_object()) return out;
    auto inlinesOf = [&](const char* key) {
        auto it = meta.find(key);
        return it != meta.end() && it->is_array() ? currentInlines(*it, api) : Json::array();
    };
    Json title = inlinesOf("docTitle");
    if (!title.empty()) out["title"] = named("MetaInlines", std::move(title));
    auto authors = meta.find("docAuthors");
    if (authors != meta.end() && authors->is_array() && !authors->empty()) {
        Json list = Json::array();
        for (const Json& author : *authors) list.push_back(named("MetaInlines", currentInlines(author, api)));
        out["author"] = named("MetaList", std::move(list));
    }
    Json date = inlinesOf("docDate");
    if (!date.empty()) out["date"] = named("MetaInlines", std::move(date));
    return out;
}

std::vector<int> parseVersion(std::string_view text) {
    std::vector<int> parts;
    while (true) {
        int value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end == text.data()) return {};
        parts.push_back(value);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        if (text.empty()) return parts;
        if (text.front() != '.') return {};
        text.remove_prefix(1);
    }
}

}  // namespace

PandocApi parsePandocApiOptions(const char* options) {
    if (!options) return PandocApi{{1, 11}};
    Json parsed;
    try {
        parsed = parseGuarded(options);
    } catch (const ConverterError& e) {
        throw ConverterError(std::string("invalid options: ") + e.what());
    }
    if (!parsed.is_object()) throw ConverterError("invalid options: expected a JSON object");
    auto api = parsed.find("api");
    if (api == parsed.end()) return PandocApi{{1, 11}};
    if (!api->is_string()) throw ConverterError("invalid options: \"api\" must be a version text such as \"1.22\"");
    const std::string text = api->get<std::string>();
    PandocApi result{parseVersion(text)};
    const bool supported = result.version.size() >= 2 && result.version[0] == 1 &&
                           (result.version[1] == 11 || (result.version[1] >= 17 && result.version[1] <= 23));
    if (!supported) {
        throw ConverterError("unsupported Pandoc API version \"" + text + "\" (supported: 1.11, 1.17 to 1.23)");
    }
    return result;
}

bool isCurrentPandocForm(const Json& document) {
    return document.is_object() && document.contains("blocks");
}

Json toLegacyPandoc(const Json& document) {
    auto blocks = document.find("blocks");
    if (blocks == document.end()) malformed("the document has no \"blocks\"");
    auto meta = document.find("meta");
    return Json::array({legacyMeta(meta == document.end() ? Json::object() : *meta), legacyBlocks(*blocks)});
}

Json fromLegacyPandoc(const Json& document, const PandocApi& api) {
    if (!document.is_array() || document.size() != 2) malformed("the document is not [metadata, blocks]");
    Json version = Json::array();
    for (int part : api.version) version.push_back(part);
    return Json{{"pandoc-api-version", std::move(version)},
                {"meta", currentMeta(document[0], api)},
                {"blocks", currentBlocks(document[1], api)}};
}

}  // namespace qorva::convert
