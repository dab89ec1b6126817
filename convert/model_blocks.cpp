#include "convert/model_blocks.h"

#include "convert/json_text.h"
#include "model/level_range.h"

namespace qorva::convert {

// Levels are brought into the range the editor shows (see model/level_range.h).
std::string serializeModel(std::string_view root, const std::vector<Block>& blocks) {
    std::string out = "[";
    appendJsonStringReplacingBrokenUtf8(out, root);
    for (const Block& block : blocks) {
        out += ",[";
        appendJsonStringReplacingBrokenUtf8(out, block.tag);
        out += ",{\"level\":";
        out += std::to_string(clampLevel(block.tag, block.level));
        if (block.rtl) out += ",\"direction\":\"rtl\"";
        for (const auto& [key, value] : {std::pair{",\"info\":", &block.info}, {",\"alt\":", &block.alt}, {",\"title\":", &block.title},
                                          {",\"spacing\":", &block.spacing}, {",\"start\":", &block.start}, {",\"quote\":", &block.quote},
                                          {",\"align\":", &block.align}, {",\"widths\":", &block.widths}}) {
            if (value->empty()) continue;
            out += key;
            appendJsonStringReplacingBrokenUtf8(out, *value);
        }
        out += '}';
        for (const Span& span : block.spans) {
            out += ",[";
            appendJsonStringReplacingBrokenUtf8(out, span.tag);
            out += ',';
            appendJsonStringReplacingBrokenUtf8(out, span.text);
            out += ']';
        }
        out += ']';
    }
    out += ']';
    return out;
}

}  // namespace qorva::convert
