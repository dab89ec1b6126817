// Small UTF-8 helpers shared by the text reader and writer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorva::utf8 {

// Length of the sequence a lead byte starts (1 for ASCII and for stray bytes).
inline std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// True when every byte sequence is well-formed UTF-8 (no overlongs, surrogates or
// values above U+10FFFF).
bool isValid(std::string_view text);

// A copy in which each ill-formed sequence (its maximal subpart) is replaced by U+FFFD.
std::string sanitize(std::string_view text);

// Decodes the code point starting at text[i] of valid UTF-8.
char32_t decodeAt(std::string_view text, std::size_t i);

// Length in UTF-16 code units of valid UTF-8 text.
std::size_t utf16Length(std::string_view text);

void append(std::string& out, char32_t c);

}  // namespace qorva::utf8
