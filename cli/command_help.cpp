#include "cli/command_help.h"

namespace qorva {

void printConvertUsage(std::ostream& out) {
    out << "Usage: qorva-convert OPERATION [--options TEXT] < INPUT > OUTPUT\n"
           "       qorva-convert export --to html5|xelatex|pdf|docx|rtf|epub [--template NAME] IN.text OUT\n";
}

void printConvertHelp(std::ostream& out) {
    printConvertUsage(out);
    out << "Convert documents the way the Qorva editor does, without a window.\n"
           "\n"
           "Operations read standard input and write exactly the result to standard output:\n"
           "  ReadTextFormat    Qorva Markdown (.text) to model JSON\n"
           "  WriteTextFormat   model JSON to Qorva Markdown; --options '{\"wrap\":false}' keeps\n"
           "                    paragraphs on one line\n"
           "  ReadPandocJson    Pandoc's JSON syntax tree to model JSON\n"
           "  WritePandocJson   model JSON to Pandoc's JSON syntax tree; --options\n"
           "                    '{\"api\":\"1.22\"}' for current Pandoc\n"
           "  ReadPlainText     plain text to model JSON\n"
           "  WriteHtml         model JSON to an HTML body\n"
           "  WriteLatex        model JSON to a LaTeX body\n"
           "\n"
           "export turns a Qorva Markdown document into a file of the format given with --to,\n"
           "with the program's templates (--template NAME), Pandoc and XeLaTeX.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when a conversion or an export fails (one line on\n"
           "standard error), 2 for wrong arguments. See qorva-convert(1).\n";
}

int answerConvertOptions(std::string_view first, std::string_view version, std::ostream& out, std::ostream& err) {
    if (first == "--help" || first == "-h") {
        printConvertHelp(out);
        return 0;
    }
    if (first == "--version") {
        out << "qorva-convert " << version << '\n';
        return 0;
    }
    if (first.size() > 1 && first.front() == '-') {
        err << "qorva-convert: unknown option '" << first << "'\n";
        printConvertUsage(err);
        err << "Try 'qorva-convert --help' for more information.\n";
        return 2;
    }
    return -1;
}

}  // namespace qorva
