// Writing JSON strings straight into a string, byte for byte what dumpCompact gives,
// without building a Json value first (converter output can be large).
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// Appends `text` as a JSON string literal: quotes, backslashes and control characters
// escaped, everything else as itself; broken UTF-8 becomes U+FFFD as dumpCompact does.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace qorva
