// Pandoc JSON of either form, parsed into the 1.11 form that the reader works on.
// Current Pandoc's form (pandoc-types 1.17 to 1.23) is translated on the way in;
// what 1.11 cannot express keeps its content: Div and Span give their children,
// Figure its content and caption, Underline its text, LineBlock a paragraph with
// line breaks, SoftBreak a space. Unknown constructors are left out, as the reader
// would leave them out anyway. Parsing uses simdjson; the result is built once.
#pragma once

#include "model/model_json.h"

#include <string_view>

namespace qorva::convert {

// Throws ConverterError on text that is not JSON, nests deeper than simdjson's
// limit, or has the wrong shape where the translation needs a shape.
Json parsePandocAsLegacy(std::string_view text);

}  // namespace qorva::convert
