// LaTeX text: escaping of running text and filling of paragraphs to 80 columns.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

// Escapes the ten characters that LaTeX treats specially; everything else stays.
std::string escapeLatex(std::string_view text);
void appendEscapedLatex(std::string& out, std::string_view text);

// Fills `text` to 80 columns (UTF-16 units). Line feeds in the text become forced
// line breaks ("\\"). `prefix` opens the first line, `indent` every continuation
// line. Words are never broken; a longer word stands alone on its line.
std::string wrapLatex(std::string_view text, std::string_view indent, std::string_view prefix);

}  // namespace qorva::convert
