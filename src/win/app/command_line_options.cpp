#include "src/win/app/command_line_options.h"

#include "src/win/app/startup_rules.h"

#include <algorithm>

namespace qorva {
namespace {

constexpr std::string_view kUsageLine = "Usage: qorva [FILE... | --welcome]\n";

constexpr std::string_view kHelpBody =
    "Edit Markdown documents visually.\n"
    "\n"
    "  FILE        the document to open, in the format Qorva last opened or saved\n"
    "              it in; else .text files in Qorva Markdown, .md and .markdown\n"
    "              files in Pandoc Markdown (GitHub Markdown when the MarkdownFormat\n"
    "              setting is \"github\"), other files in the format of the\n"
    "              DefaultFormat setting. Several files open in a window each.\n"
    "  --welcome   open the welcome document\n"
    "  -h, --help  show this help and exit\n"
    "  --version   show the version and exit\n"
    "  --          take the arguments that follow as the file name\n"
    "\n"
    "Without arguments an empty document opens (the welcome document on the first start).\n"
    "See qorva(1) for the settings and files.\n";

}  // namespace

ProgramRequest ReadProgramArguments(const std::vector<std::string>& arguments) {
    ProgramRequest request;
    if (arguments.empty()) return request;
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        request.action = ProgramAction::PrintHelp;
    } else if (first == "--version") {
        request.action = ProgramAction::PrintVersion;
    } else if (first == "--") {
        request.filesOnly = true;
        request.documentArguments.assign(arguments.begin() + 1, arguments.end());
    } else if (first.size() > 1 && first.front() == '-' && first != "--welcome") {
        request.action = ProgramAction::UnknownOption;
        request.unknownOption = first;
    } else {
        request.documentArguments = arguments;
    }
    return request;
}

std::optional<int> AnswerProgramRequest(const ProgramRequest& request, std::string_view version,
                                        std::ostream& out, std::ostream& err) {
    switch (request.action) {
        case ProgramAction::Start:
            return std::nullopt;
        case ProgramAction::PrintHelp:
            out << kUsageLine << kHelpBody;
            return 0;
        case ProgramAction::PrintVersion:
            out << "qorva " << version << '\n';
            return 0;
        case ProgramAction::UnknownOption:
            err << "qorva: unknown option '" << request.unknownOption << "'\n"
                << kUsageLine << "Try 'qorva --help' for more information.\n";
            return 2;
    }
    return 2;
}

StartDocuments ArrangeStartDocuments(const ProgramRequest& request,
                                     const std::function<bool(const std::string&)>& isFile) {
    const std::vector<std::string>& arguments = request.documentArguments;
    StartDocuments start{JoinCommandLine(arguments), {}};
    const bool severalFiles = arguments.size() > 1 && !isFile(start.commandLine) &&
                              std::all_of(arguments.begin(), arguments.end(), isFile);
    if (severalFiles) {
        start.commandLine = arguments.front();
        start.otherFiles.assign(arguments.begin() + 1, arguments.end());
    }
    // The start rules read "--welcome" and a leading quote specially; a file name
    // given after "--" must reach them as a path.
    if (request.filesOnly && !start.commandLine.empty() &&
        (start.commandLine == "--welcome" || start.commandLine.front() == '"')) {
        start.commandLine = "./" + start.commandLine;
    }
    return start;
}

}  // namespace qorva
