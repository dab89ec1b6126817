// Bounds on nesting. The JSON libraries parse without recursion, but copying,
// serialising and our own converters recurse once per nesting level, so absurdly
// deep input is refused up front with a clear message instead of overflowing the
// stack later. (Large documents are read with simdjson, which has its own bound.)
#pragma once

#include "model/model_json.h"

#include <cstddef>
#include <string_view>

namespace qorva {

// Deepest array/object nesting accepted in converter input. Far beyond any real
// document (a quotation nested 400 deep still fits), far below stack limits.
inline constexpr std::size_t kMaxJsonDepth = 1000;

// Deepest block level a writer accepts; writers open one nested list or quotation
// per level, so this bounds their recursion in the same way.
inline constexpr int kMaxBlockLevel = 400;

// Throws ConverterError when `text` nests arrays/objects deeper than `limit`.
// Brackets inside strings are ignored; the text need not be valid JSON.
void checkJsonDepth(std::string_view text, std::size_t limit = kMaxJsonDepth);

// checkJsonDepth, then parseJson.
Json parseGuarded(std::string_view text);

}  // namespace qorva
