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

Json fromLegacyPandoc(const Json& document, const PandocApi& api) {
    if (!document.is_array() || document.size() != 2) malformed("the document is not [metadata, blocks]");
    Json version = Json::array();
    for (int part : api.version) version.push_back(part);
    return Json{{"pandoc-api-version", std::move(version)},
                {"meta", currentMeta(document[0], api)},
                {"blocks", currentBlocks(document[1], api)}};
}

}  // namespace qorva::convert
