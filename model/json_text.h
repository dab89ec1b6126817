// Writing JSON strings straight into a string, byte for byte what dumpCompact gives,
// without building a Json value first (converter output can be large).
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// Appends `text`, which must be valid UTF-8, as a JSON string literal: quotes,
// backslashes and control characters escaped, everything else as itself.
void appendJsonString(std::string& out, std::string_view text);

// The same for text of any bytes: broken UTF-8 becomes U+FFFD as dumpCompact makes it.
// For text from outside (plain text, converter input); the text reader's own output
// is valid already and skips the check.
void appendJsonStringReplacingBrokenUtf8(std::string& out, std::string_view text);

}  // namespace qorva
