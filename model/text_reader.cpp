#include "model/text_reader.h"

#include "model/block_grammar.h"
#include "model/inline_scanner.h"
#include "model/json_text.h"
#include "model/level_range.h"
#include "model/utf8.h"

namespace qorva {
namespace {

std::string toModelJson(const BlockGrammar& grammar) {
    std::string out;
    out.reserve(grammar.arena.size() + grammar.arena.size() / 2 + 64);
    out += "[\"text\"";
    InlineScanner scanner;
    for (const RawBlock& block : grammar.blocks) {
        out += ",[\"";
        out += block.tag;
        out += "\",{\"level\":";
        out += std::to_string(clampLevel(block.tag, block.level));
        if (block.rtl) out += ",\"direction\":\"rtl\"";
        for (const auto& [key, value] : {std::pair{",\"info\":", &block.info}, std::pair{",\"alt\":", &block.alt},
                                         std::pair{",\"title\":", &block.title}}) {
            if (value->empty()) continue;
            out += key;
            appendJsonString(out, *value);
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
