#include "tools/converter_host/converter_host.h"

#include "convert/converters.h"
#include "model/model_json.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <exception>
#include <new>

namespace qorva {
namespace {

// A native converter: input text and options text (nullptr when absent) to output
// text; throws on failure.
using ConverterFunction = std::string (*)(std::string_view input, const char* options);

std::string readTextFormatConverter(std::string_view input, const char*) {
    return readTextFormat(input);
}

std::string writeTextFormatConverter(std::string_view input, const char* options) {
    return writeTextFormat(input, options);
}

ConverterFunction converterFor(Converter converter) {
    switch (converter) {
        // Each converter is plugged in here as it is built.
        case Converter::ReadTextFormat: return readTextFormatConverter;
        case Converter::WriteTextFormat: return writeTextFormatConverter;
        case Converter::ReadPandocJson: return convert::ReadPandocJson;
        case Converter::WritePandocJson: return convert::WritePandocJson;
        case Converter::ReadPlainText: return convert::ReadPlainText;
        case Converter::WriteHtml: return convert::WriteHtml;
        case Converter::WriteLatex: return convert::WriteLatex;
        default:
            return nullptr;
    }
}

// Never empty: an empty error slot means success to the callers.
std::string messageOf(const std::exception& e) {
    std::string message = e.what();
    return message.empty() ? "unknown error" : message;
}

}  // namespace

bool ConverterAvailable(Converter converter) { return converterFor(converter) != nullptr; }

std::string RunConverterDetailed(Converter converter, std::string_view input, const char* options,
                                 ConverterFailure* failure) {
    ConverterFunction function = converterFor(converter);
    try {
        if (!function) throw ConverterError("not available");
        return function(input, options);
    } catch (const SyntaxError& e) {
        if (failure) *failure = ConverterFailure{messageOf(e), e.position()};
    } catch (const std::bad_alloc&) {
        if (failure) *failure = ConverterFailure{"out of memory", std::nullopt};
    } catch (const std::exception& e) {
        if (failure) *failure = ConverterFailure{messageOf(e), std::nullopt};
    } catch (...) {
        if (failure) *failure = ConverterFailure{"unknown error", std::nullopt};
    }
    return {};
}

std::string RunConverter(Converter converter, std::string_view input, const char* options,
                         std::string* error) {
    ConverterFailure failure;
    std::string result = RunConverterDetailed(converter, input, options, error ? &failure : nullptr);
    if (error && !failure.message.empty()) *error = failure.message;
    return result;
}

const char* ConverterName(Converter converter) {
    switch (converter) {
        case Converter::ReadTextFormat: return "ReadTextFormat";
        case Converter::ReadPandocJson: return "ReadPandocJson";
        case Converter::ReadPlainText: return "ReadPlainText";
        case Converter::WriteTextFormat: return "WriteTextFormat";
        case Converter::WritePandocJson: return "WritePandocJson";
        case Converter::WriteLatex: return "WriteLatex";
        case Converter::WriteHtml: return "WriteHtml";
    }
    return "";
}

std::string TryReadTextFormat(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadTextFormat, input, nullptr, error);
}
std::string TryReadPandocJson(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadPandocJson, input, nullptr, error);
}
std::string TryReadPandocJson(std::string_view input, const char* options, std::string* error) {
    return RunConverter(Converter::ReadPandocJson, input, options, error);
}
std::string TryReadPlainText(std::string_view input, std::string* error) {
    return RunConverter(Converter::ReadPlainText, input, nullptr, error);
}
std::string TryWriteTextFormat(std::string_view input, bool wrap, std::string* error) {
    return RunConverter(Converter::WriteTextFormat, input,
                        wrap ? "{\"wrap\":true}" : "{\"wrap\":false}", error);
}
std::string TryWritePandocJson(std::string_view input, std::string* error) {
    return RunConverter(Converter::WritePandocJson, input, nullptr, error);
}
std::string TryWritePandocJson(std::string_view input, const char* options, std::string* error) {
    return RunConverter(Converter::WritePandocJson, input, options, error);
}
std::string TryWriteLatex(std::string_view input, std::string* error) {
    return RunConverter(Converter::WriteLatex, input, nullptr, error);
}
std::string TryWriteHtml(std::string_view input, std::string* error) {
    return RunConverter(Converter::WriteHtml, input, nullptr, error);
}
std::string TryWriteHtml(std::string_view input, const char* options, std::string* error) {
    return RunConverter(Converter::WriteHtml, input, options, error);
}

}  // namespace qorva
