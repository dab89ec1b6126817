// Runs the document converters: one door, seven named operations.
// Every converter is a pure function from one UTF-8 text to another.
#pragma once

#include "model/syntax_error.h"

#include <optional>
#include <string>
#include <string_view>

namespace qorva {

enum class Converter {
    ReadTextFormat,
    ReadPandocJson,
    ReadPlainText,
    WriteTextFormat,
    WritePandocJson,
    WriteLatex,
    WriteHtml,
};

// Runs one converter. `options` is the options text or nullptr (absent, not empty).
// On failure the result is empty and, when `error` is given, *error receives the
// message; on success *error is left untouched. Callers initialise it empty and
// treat a non-empty slot as failure.
std::string RunConverter(Converter converter, std::string_view input, const char* options,
                         std::string* error);

// What a failed run reports to callers that want more than the error text.
struct ConverterFailure {
    std::string message;
    std::optional<TextPosition> position;  // set for syntax errors of the text reader
};

// RunConverter for callers that need the position of a syntax error (the command line).
// On failure returns empty and fills *failure; on success leaves it untouched.
std::string RunConverterDetailed(Converter converter, std::string_view input, const char* options,
                                 ConverterFailure* failure);

// The operation's name as used on the command line ("ReadTextFormat", ...).
const char* ConverterName(Converter converter);

// False for a converter not built into this program yet.
bool ConverterAvailable(Converter converter);

// RunConverter by name. Unlike the converters themselves (readTextFormat,
// convert::ReadPandocJson, ...) these never throw: failure is an empty result.
std::string TryReadTextFormat(std::string_view input, std::string* error = nullptr);
std::string TryReadPandocJson(std::string_view input, std::string* error = nullptr);
// `options`: the Pandoc reader's options (PandocReaderOptions).
std::string TryReadPandocJson(std::string_view input, const char* options, std::string* error);
std::string TryReadPlainText(std::string_view input, std::string* error = nullptr);
std::string TryWriteTextFormat(std::string_view input, bool wrap, std::string* error = nullptr);
std::string TryWritePandocJson(std::string_view input, std::string* error = nullptr);
// `options` is {"api":"1.11"} (the default when absent) or a pandoc-types version.
std::string TryWritePandocJson(std::string_view input, const char* options, std::string* error);
std::string TryWriteLatex(std::string_view input, std::string* error = nullptr);
std::string TryWriteHtml(std::string_view input, std::string* error = nullptr);
// `options`: markup for formulas and code blocks (convert::htmlFragmentOptions).
std::string TryWriteHtml(std::string_view input, const char* options, std::string* error);

}  // namespace qorva
