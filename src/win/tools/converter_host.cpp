#include "src/win/tools/converter_host.h"

#include "model/model_json.h"

#include <exception>

namespace qorva {
namespace {

// A native converter: input text and options text (nullptr when absent) to output
// text; throws on failure.
using ConverterFunction = std::string (*)(std::string_view input, const char* options);

ConverterFunction converterFor(Converter converter) {
    switch (converter) {
        // Each converter is plugged in here as it is built.
        default:
            return nullptr;
    }
}

}  // namespace

bool ConverterAvailable(Converter converter) { return converterFor(converter) != nullptr; }

std::string RunConverter(Converter converter, std::string_view input, const char* options,
                         std::string* error) {
    ConverterFunction function = converterFor(converter);
    try {
        if (!function) throw ConverterError("not available");
        return function(input, options);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    } catch (...) {
        if (error) *error = "unknown error";
    }
    return {};
}

std::string ReadTextFormat(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadTextFormat, input, nullptr, error);
}
std::string ReadPandocJson(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadPandocJson, input, nullptr, error);
}
std::string ReadPlainText(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadPlainText, input, nullptr, error);
}
std::string WriteTextFormat(std::string_view input, bool wrap, std::string* error) {
    return RunConverter(Converter::WriteTextFormat, input,
                        wrap ? "{\"wrap\":true}" : "{\"wrap\":false}", error);
}
std::string WritePandocJson(std::string_view input, std::string* error) {
    return RunConverter(Converter::WritePandocJson, input, nullptr, error);
}
std::string WritePandocJson(std::string_view input, const char* options, std::string* error) {
    return RunConverter(Converter::WritePandocJson, input, options, error);
}
std::string WriteLatex(std::string_view input, std::string* error) {
    return RunConverter(Converter::WriteLatex, input, nullptr, error);
}
std::string WriteHtml(std::string_view input, std::string* error) {
    return RunConverter(Converter::WriteHtml, input, nullptr, error);
}

}  // namespace qorva
