// The texts qorva-convert prints about itself: the short usage, the full help and
// the version line.
#pragma once

#include <ostream>
#include <string_view>

namespace qorva {

void printConvertUsage(std::ostream& out);
void printConvertHelp(std::ostream& out);

// Answers --help, -h and --version, and refuses any other first argument that
// begins with "-" (exit 2, short usage on `err`); the exit code, or -1 when the
// first argument is an operation or "export" and the command should run.
int answerConvertOptions(std::string_view first, std::string_view version, std::ostream& out, std::ostream& err);

}  // namespace qorva
