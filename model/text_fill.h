// Filling running text into lines for the text writer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qorva {

// Widths and lengths in UTF-16 code units, as the format measures them.
std::size_t textWidth(std::string_view text);

// fill(text, continuation prefix, first prefix): every "\n" in `text` is a hard line end,
// written as "  \n" followed by the continuation prefix. With `wrap` the text between
// hard line ends is filled into lines of at most 80 characters, prefixes included (the
// first line of every piece against the first prefix). A word made only of "=" or only
// of "-" is never moved to the start of an unprefixed line, where it would read as a
// heading underline.
std::string fill(std::string_view text, std::string_view continuation, std::string_view first, bool wrap);

// Fills one table cell to `width`: pieces at hard line ends, lines cut at spaces, lines
// joined with a bare "\n".
std::string fillCell(std::string_view text, std::size_t width);

}  // namespace qorva
