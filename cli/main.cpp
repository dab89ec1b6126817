// qorva-convert: the command-line face of the converters and of headless export.
//   qorva-convert OPERATION [--options TEXT]      stdin to stdout
//   qorva-convert export --to FORMAT [--template NAME] IN.text OUT
#include "cli/command_help.h"
#include "cli/export_command.h"
#include "cli/operation_command.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        qorva::printConvertUsage(std::cerr);
        return 2;
    }
    if (const int code = qorva::answerConvertOptions(argv[1], QORVA_VERSION_TEXT, std::cout, std::cerr); code >= 0) {
        return code;
    }
    if (std::strcmp(argv[1], "export") == 0) {
        return qorva::runExportCommand(argc, argv);
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    return qorva::runOperationCommand(args, std::cin, std::cout, std::cerr);
}
