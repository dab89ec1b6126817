// The native text format reader: a document in the format to model JSON.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// Reads a whole document and returns compact model JSON with the root "text". Bytes
// that are not UTF-8 are read as U+FFFD. Throws SyntaxError (message "Expected ...
// but ... found." with its position) where the text cannot be read.
std::string readTextFormat(std::string_view text);

}  // namespace qorva
