// qorva-convert: the command-line face of the converters and of headless export.
//   qorva-convert OPERATION [--options TEXT]      stdin to stdout
//   qorva-convert export --to FORMAT [--template NAME] IN.text OUT
#include "cli/export_command.h"
#include "cli/operation_command.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

void printUsage(std::ostream& err) {
    err << "usage: qorva-convert OPERATION [--options TEXT] < INPUT > OUTPUT\n"
           "       OPERATION: ReadTextFormat, WriteTextFormat, ReadPandocJson, WritePandocJson,\n"
           "                  ReadPlainText, WriteHtml, WriteLatex\n"
           "       qorva-convert export --to html5|xelatex|pdf|docx|rtf|epub [--template NAME] IN.text OUT\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage(std::cerr);
        return 2;
    }
    if (std::strcmp(argv[1], "export") == 0) {
#ifdef QORVA_HAVE_TOOLS
        return runExportCommand(argc, argv);
#else
        std::cerr << "error: export is not available in this build\n";
        return 2;
#endif
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    return qorva::runOperationCommand(args, std::cin, std::cout, std::cerr);
}
