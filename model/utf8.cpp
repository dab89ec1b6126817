#include "model/utf8.h"

namespace qorva::utf8 {
namespace {

// Length of the well-formed sequence at text[i], or 0 with `subpart` set to how many
// bytes form the ill-formed maximal subpart to replace.
std::size_t wellFormedLength(std::string_view text, std::size_t i, std::size_t& subpart) {
    const auto byte = [&](std::size_t k) -> unsigned { return static_cast<unsigned char>(text[k]); };
    const unsigned b0 = byte(i);
    subpart = 1;
    if (b0 < 0x80) return 1;
    std::size_t need;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) need = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 3;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t k = 1; k < need; ++k) {
        if (i + k >= text.size()) { subpart = k; return 0; }
        const unsigned b = byte(i + k);
        const unsigned lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
        if (b < lo || b > hi) { subpart = k; return 0; }
    }
    return need;
}

}  // namespace

bool isValid(std::string_view text) {
    std::size_t subpart;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) { ++i; continue; }
        const std::size_t n = wellFormedLength(text, i, subpart);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string sanitize(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t subpart;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = wellFormedLength(text, i, subpart);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            i += subpart;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

char32_t decodeAt(std::string_view text, std::size_t i) {
    const auto b = [&](std::size_t k) -> char32_t { return static_cast<unsigned char>(text[i + k]); };
    const char32_t b0 = b(0);
    if (b0 < 0x80) return b0;
    if (b0 < 0xE0) return ((b0 & 0x1F) << 6) | (b(1) & 0x3F);
    if (b0 < 0xF0) return ((b0 & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return ((b0 & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
}

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;  // one per code point...
        if (c >= 0xF0) ++units;           // ...and a second for the astral planes
    }
    return units;
}

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace qorva::utf8
