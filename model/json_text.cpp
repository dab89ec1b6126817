#include "model/json_text.h"

#include "model/model_json.h"
#include "model/utf8.h"

namespace qorva {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t clean = 0;  // start of the run not yet copied
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text.substr(clean, i - clean));
        clean = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
        }
    }
    out.append(text.substr(clean));
    out += '"';
}

void appendJsonStringReplacingBrokenUtf8(std::string& out, std::string_view text) {
    // Broken UTF-8 is rare: the JSON library's own replacement then decides the bytes.
    if (utf8::isValid(text)) appendJsonString(out, text);
    else out += dumpCompact(Json(std::string(text)));
}

}  // namespace qorva
