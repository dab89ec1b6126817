// Model JSON: the flat document model exchanged between the page, the converters
// and the shell. Key order matters ("level" before "direction"), so the ordered
// form of nlohmann::json is used throughout.
#pragma once

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
#include <string_view>

namespace qorva {

using Json = nlohmann::ordered_json;

// Thrown by every converter on input it cannot handle; the message is the error text
// that reaches the caller's error slot.
class ConverterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses any valid JSON text; throws ConverterError with a readable message otherwise.
Json parseJson(std::string_view text);

// Compact serialisation, non-ASCII written as itself. Invalid UTF-8 inside strings
// is replaced by U+FFFD rather than producing invalid output.
std::string dumpCompact(const Json& value);

// Building model JSON: [tag, {"level": level}] or [tag, {"level": level, "direction":
// "rtl"}], keys in that order, and [tag, text].
Json makeBlock(std::string_view tag, int level, bool rtl = false);
Json makeSpan(std::string_view tag, std::string_view text);

}  // namespace qorva
