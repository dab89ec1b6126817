// The native text format writer: model JSON to a document in the format.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

struct TextWriterOptions {
    bool wrap = true;    // fill running text to 80 columns
    bool escape = true;  // backslash every character a span's kind lists
};

// Options from their JSON text: nullptr gives the defaults; a given object replaces them
// as a whole, a missing key counting as false. Throws ConverterError on bad options.
TextWriterOptions parseTextWriterOptions(const char* options);

// Writes model JSON with the root "text" or "inline"; lines end in "\n". Throws
// ConverterError for malformed model JSON.
std::string writeTextFormat(std::string_view modelJson, const TextWriterOptions& options);
std::string writeTextFormat(std::string_view modelJson, const char* options);

}  // namespace qorva
