#include "cli/operation_command.h"

#include "tools/converter_host/converter_host.h"

#include <array>
#include <iostream>
#include <optional>

namespace qorva {
namespace {

constexpr std::array kOperations = {
    Converter::ReadTextFormat, Converter::WriteTextFormat, Converter::ReadPandocJson,
    Converter::WritePandocJson, Converter::ReadPlainText, Converter::WriteHtml, Converter::WriteLatex,
};

std::optional<Converter> operationNamed(const std::string& name) {
    for (Converter c : kOperations)
        if (name == ConverterName(c)) return c;
    return std::nullopt;
}

// The error line must stay one line whatever the message holds.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

std::string formatFailure(const ConverterFailure& failure) {
    if (failure.position) {
        const TextPosition& p = *failure.position;
        return "error at line " + std::to_string(p.line) + ", column " + std::to_string(p.column) +
               " (offset " + std::to_string(p.offset) + "): " + oneLine(failure.message);
    }
    return "error: " + oneLine(failure.message);
}

int runOperationCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                        std::ostream& err) {
    if (args.empty()) return 2;
    std::optional<Converter> converter = operationNamed(args[0]);
    if (!converter) {
        err << "error: unknown operation \"" << oneLine(args[0]) << "\"\n";
        return 2;
    }
    std::optional<std::string> options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--options" && i + 1 < args.size()) {
            options = args[++i];
        } else {
            err << "error: unexpected argument \"" << oneLine(args[i]) << "\"\n";
            return 2;
        }
    }
    if (!ConverterAvailable(*converter)) {
        err << "error: " << args[0] << " is not available in this build\n";
        return 2;
    }

    std::string input;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) input.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        err << "error: cannot read the input\n";
        return 1;
    }
    ConverterFailure failure;  // a failed run always leaves a non-empty message
    std::string result =
        RunConverterDetailed(*converter, input, options ? options->c_str() : nullptr, &failure);
    if (!failure.message.empty()) {
        err << formatFailure(failure) << '\n';
        return 1;
    }
    out.write(result.data(), static_cast<std::streamsize>(result.size()));
    out.flush();
    if (!out) {
        err << "error: cannot write the output\n";
        return 1;
    }
    return 0;
}

}  // namespace qorva
