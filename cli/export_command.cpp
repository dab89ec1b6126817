// qorva-convert export --to html5|xelatex|pdf|docx|rtf|epub [--template NAME] IN.text OUT
#include "cli/export_command.h"

#include "tools/converter_host/converter_host.h"
#include "tools/export/export.h"
#include "tools/files/file_io.h"
#include "tools/templates/templates.h"
#include "tools/xelatex/xelatex.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace qorva {
namespace {

constexpr int kFailed = 1;
constexpr int kWrongUsage = 2;

struct ExportRequest {
    const ExportFormat* format = nullptr;
    std::optional<std::string> templateName;
    std::string input;
    std::string output;
};

int usage(const std::string& problem) {
    std::cerr << "error: " << problem << "\n"
              << "usage: qorva-convert export --to html5|xelatex|pdf|docx|rtf|epub [--template NAME] IN.text OUT\n";
    return kWrongUsage;
}

// Parses argv after "export"; returns an exit code when the arguments are wrong.
std::optional<int> parse(const std::vector<std::string>& args, ExportRequest& request) {
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const std::string& option) -> std::optional<std::string> {
            if (arg.rfind(option + "=", 0) == 0) return arg.substr(option.size() + 1);
            if (arg == option && i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };
        if (arg == "--to" || arg.rfind("--to=", 0) == 0) {
            std::optional<std::string> name = value("--to");
            if (!name) return usage("--to needs a format");
            request.format = FindExportFormatByCliName(*name);
            if (!request.format) return usage("unknown export format \"" + *name + "\"");
        } else if (arg == "--template" || arg.rfind("--template=", 0) == 0) {
            request.templateName = value("--template");
            if (!request.templateName) return usage("--template needs a name");
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            return usage("unknown option " + arg);
        } else if (arg != "--") {
            files.push_back(arg);
        }
    }
    if (!request.format) return usage("--to FORMAT is required");
    if (files.size() != 2) return usage("expected the input document and the output file");
    if (request.templateName && !request.format->templateExtension)
        return usage(std::string("--template does not apply to ") + request.format->cliName);
    request.input = files[0];
    request.output = files[1];
    return std::nullopt;
}

int fail(const std::string& message) {
    std::cerr << "error: " << message << "\n";
    return kFailed;
}

// A template name must be one the export dialog would offer.
std::optional<int> checkTemplate(const ExportRequest& request) {
    if (!request.templateName || *request.templateName == "Default") return std::nullopt;
    std::vector<std::string> names = ListTemplates(request.format->templateExtension);
    if (std::find(names.begin(), names.end(), *request.templateName) != names.end()) return std::nullopt;
    std::string offered = "Default";
    for (const std::string& name : names) offered += ", " + name;
    return fail("no " + std::string(request.format->cliName) + " template named \"" + *request.templateName +
                "\" (available: " + offered + ")");
}

// The document as model JSON, or an exit code with the reader's message printed.
std::optional<int> readDocument(const std::string& path, std::string& modelJson) {
    std::string text;
    try {
        text = ReadWholeFile(path);
    } catch (const FileError& error) {
        return fail(error.what());
    }
    ConverterFailure failure;
    failure.message.clear();
    modelJson = RunConverterDetailed(Converter::ReadTextFormat, text, nullptr, &failure);
    if (failure.message.empty()) return std::nullopt;
    if (failure.position) {
        std::cerr << "error at line " << failure.position->line << ", column " << failure.position->column
                  << " (offset " << failure.position->offset << "): " << failure.message << "\n";
        return kFailed;
    }
    return fail(path + ": " + failure.message);
}

}  // namespace

// argv as main() received it: argv[0] the program, argv[1] "export", then the
// options and the two paths.
int runExportCommand(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 2; i < argc; ++i) args.emplace_back(argv[i]);
    ExportRequest request;
    if (auto code = parse(args, request)) return *code;
    if (auto code = checkTemplate(request)) return *code;
    std::string modelJson;
    if (auto code = readDocument(request.input, modelJson)) return *code;

    const std::string output = AbsolutePath(request.output);
    const std::string workingFolder = ExportWorkingFolder(request.input);
    const std::string templateChoice = request.templateName.value_or("Default");
    ExportResult result;
    switch (request.format->kind) {
        case ExportKind::Html:
            result = ExportHtml(modelJson, output, templateChoice, UserFileFolders(), {workingFolder});
            break;
        case ExportKind::Latex:
            result = ExportLatex(modelJson, output, templateChoice);
            break;
        case ExportKind::Pdf:
            if (!IsXeLaTeXAvailable()) return fail(kXeLaTeXRequired);
            result = ExportPdf(modelJson, output, templateChoice, workingFolder);
            break;
        default:
            result = ExportWithPandoc(modelJson, output, request.format->pandocFormat, workingFolder);
            break;
    }
    if (!result.succeeded) return fail(result.errorText);
    if (!result.warnings.empty())
        std::cerr << result.warnings << (result.warnings.back() == '\n' ? "" : "\n");
    return 0;
}

}  // namespace qorva
