#include "model/text_reader.h"

#include "model/block_grammar.h"
#include "model/inline_scanner.h"
#include "model/json_text.h"
#include "model/level_range.h"
#include "model/list_counter.h"
#include "model/utf8.h"

#include <algorithm>

namespace qorva {
namespace {

std::string toModelJson(const BlockGrammar& grammar) {
    std::string out;
    out.reserve(grammar.arena.size() + grammar.arena.size() / 2 + 64);
    out += "[\"text\"";
    InlineScanner scanner;
    ListCounter lists;  // the written number of a list's first item is its start
    for (const RawBlock& block : grammar.blocks) {
        const long level = clampLevel(block.tag, block.level);
        const bool numbered = block.tag == std::string_view("numbered");
        // Numbered as the writer numbers them: tables are not counted.
        const std::string_view tag = block.tag;
        if (tag != "row" && tag != "col") lists.next(tag == "heading" ? std::min(level, -1L) : level, numbered, 1, block.quote);
        out += ",[\"";
        out += block.tag;
        out += "\",{\"level\":";
        out += std::to_string(level);
        if (block.rtl) out += ",\"direction\":\"rtl\"";
        if (block.attributes != 0) {
            const RawAttributes& a = grammar.attributes[block.attributes];
            for (const auto& [key, value] : {std::pair{",\"info\":", &a.info}, std::pair{",\"alt\":", &a.alt},
                                             std::pair{",\"title\":", &a.title}, std::pair{",\"align\":", &a.align},
                                             std::pair{",\"widths\":", &a.widths}}) {
                if (value->empty()) continue;
                out += key;
                appendJsonString(out, *value);
            }
        }
        if (block.spacing) {
            out += ",\"spacing\":\"";
            out += block.spacing;
            out += '"';
        }
        if (numbered && block.number != 1 && lists.startedList(level)) {
            out += ",\"start\":\"";
            out += std::to_string(block.number);
            out += '"';
        }
        if (block.quote > 0) {
            out += ",\"quote\":\"";
            out += std::to_string(block.quote);
            out += '"';
        }
        out += '}';
        for (std::size_t i = 0; i < block.elementCount; ++i) {
            const BlockElement& element = grammar.elements[block.firstElement + i];
            const std::string_view text(grammar.arena.data() + element.begin, element.length);
            if (element.kind == BlockElement::Span) {
                out += ",[\"";
                out += element.tag;
                out += "\",";
                appendJsonString(out, text);
                out += ']';
            } else if (!text.empty()) {
                appendInlineSpansJson(scanner, text, out);
            }
        }
        out += ']';
    }
    out += ']';
    return out;
}

}  // namespace

std::string readTextFormat(std::string_view text) {
    std::string sanitized;
    if (!utf8::isValid(text)) {
        sanitized = utf8::sanitize(text);
        text = sanitized;
    }
    BlockGrammar grammar(text);
    grammar.parse();
    return toModelJson(grammar);
}

}  // namespace qorva
