// Model JSON as the writers take it: parsed with the nesting bound, shape-checked,
// and with every level small enough that rebuilding lists from levels stays bounded.
#pragma once

#include "model/model_json.h"

#include <string_view>

namespace qorva::convert {

Json parseWriterInput(std::string_view text);

// The text of every span of a code or formula block joined. Their spans must be
// "plain" lines and "break"s: with `strict` any other span is a ConverterError,
// without it its text is taken as it is.
std::string verbatimText(const Json& block, bool strict);

}  // namespace qorva::convert
