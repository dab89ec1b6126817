// Writing model JSON straight into a string, byte for byte what dumpCompact gives,
// without building a Json value first (the reader's output can be large).
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// Appends `text` (valid UTF-8) as a JSON string literal: quotes, backslashes and control
// characters escaped, everything else as itself.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace qorva
