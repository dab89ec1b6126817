#include "convert/text_measure.h"

#include <charconv>

namespace qorva::convert {

std::size_t utf16Length(std::string_view text) {
    std::size_t length = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++length;  // every character starts with a non-continuation byte
        if (c >= 0xF0) ++length;           // four-byte sequences need a surrogate pair
    }
    return length;
}

std::string shortestDecimal(double value) {
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

}  // namespace qorva::convert
