#include "model/syntax_error_text.h"

#include "model/utf8.h"

#include <algorithm>
#include <cstdio>

namespace qorva {
namespace {

// Escapes shared by descriptions and the found character.
bool appendCommonEscape(std::string& out, char32_t c) {
    switch (c) {
        case '\\': out += "\\\\"; return true;
        case '"': out += "\\\""; return true;
        case '\b': out += "\\b"; return true;
        case '\t': out += "\\t"; return true;
        case '\n': out += "\\n"; return true;
        case '\f': out += "\\f"; return true;
        case '\r': out += "\\r"; return true;
        default: return false;
    }
}

std::string describeFound(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return "end of input";
    char32_t c = utf8::decodeAt(text, offset);
    // One UTF-16 unit is shown: the high surrogate of an astral character.
    if (c >= 0x10000) c = 0xD800 + ((c - 0x10000) >> 10);
    std::string out = "\"";
    if (!appendCommonEscape(out, c)) {
        const bool control = c <= 0x07 || c == 0x0B || (c >= 0x0E && c <= 0x1F);
        char buffer[8];
        if (control || (c >= 0x80 && c <= 0xFF)) {
            std::snprintf(buffer, sizeof buffer, "%%%02X", static_cast<unsigned>(c));
            out += buffer;
        } else if (c > 0xFF) {
            std::snprintf(buffer, sizeof buffer, "%%u%04X", static_cast<unsigned>(c));
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

TextPosition positionOf(std::string_view text, std::size_t offset) {
    TextPosition position;
    bool afterCr = false;
    for (std::size_t i = 0; i < offset && i < text.size();) {
        const char32_t c = utf8::decodeAt(text, i);
        i += utf8::sequenceLength(static_cast<unsigned char>(text[i]));
        const std::size_t units = c >= 0x10000 ? 2 : 1;
        position.offset += units;
        if (c == '\n') {
            if (!afterCr) ++position.line;
            position.column = 1;
            afterCr = false;
        } else if (c == '\r' || c == 0x2028 || c == 0x2029) {
            ++position.line;
            position.column = 1;
            afterCr = true;
        } else {
            position.column += units;
            afterCr = false;
        }
    }
    return position;
}

}  // namespace

std::string describeLiteral(std::string_view literal) {
    std::string out = "\"";
    for (std::size_t i = 0; i < literal.size();) {
        const char32_t c = utf8::decodeAt(literal, i);
        i += utf8::sequenceLength(static_cast<unsigned char>(literal[i]));
        if (appendCommonEscape(out, c)) continue;
        if (c == 0x200F) out += "\\u200F";
        else utf8::append(out, c);
    }
    return out + "\"";
}

SyntaxError makeSyntaxError(std::vector<std::string> expected, std::string_view text, std::size_t offset) {
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    std::string list;
    if (expected.empty()) {
        list = "end of input";
    } else {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (i > 0) list += i + 1 == expected.size() ? " or " : ", ";
            list += expected[i];
        }
    }
    return SyntaxError("Expected " + list + " but " + describeFound(text, offset) + " found.",
                       positionOf(text, offset));
}

}  // namespace qorva
