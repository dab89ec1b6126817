// Building the reader's syntax error: "Expected A, B or C but X found." with the
// position counted the way the format's users count it (UTF-16 units, CR, LF, CR LF,
// U+2028 and U+2029 ending lines).
#pragma once

#include "model/syntax_error.h"

#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// `expected` holds the descriptions of the terminals tried at the furthest position (in
// any order, possibly repeated); `text` is the whole input, `offset` a byte offset in it.
SyntaxError makeSyntaxError(std::vector<std::string> expected, std::string_view text, std::size_t offset);

// A literal terminal's description: the text between double quotes with \ " \b \t \n
// \f \r escaped (the right-to-left mark as \u200F).
std::string describeLiteral(std::string_view literal);

}  // namespace qorva
