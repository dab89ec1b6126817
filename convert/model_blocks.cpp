#include "convert/model_blocks.h"

#include "model/model_json.h"

namespace qorva::convert {
namespace {

// Appends `text` as a JSON string exactly as the compact serialiser would write it.
// Plain printable ASCII, by far the most common, is copied as it is; anything else
// goes through the JSON library (escapes, and U+FFFD for broken UTF-8).
void appendJsonString(std::string& out, std::string_view text) {
    bool plain = true;
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            plain = false;
            break;
        }
    }
    if (plain) {
        out += '"';
        out += text;
        out += '"';
    } else {
        out += dumpCompact(Json(std::string(text)));
    }
}

}  // namespace

std::string serializeModel(std::string_view root, const std::vector<Block>& blocks) {
    std::string out = "[";
    appendJsonString(out, root);
    for (const Block& block : blocks) {
        out += ",[";
        appendJsonString(out, block.tag);
        out += ",{\"level\":";
        out += std::to_string(block.level);
        if (block.rtl) out += ",\"direction\":\"rtl\"";
        out += '}';
        for (const Span& span : block.spans) {
            out += ",[";
            appendJsonString(out, span.tag);
            out += ',';
            appendJsonString(out, span.text);
            out += ']';
        }
        out += ']';
    }
    out += ']';
    return out;
}

}  // namespace qorva::convert
