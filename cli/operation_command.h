// `qorva-convert OPERATION [--options TEXT]`: one converter from stdin to stdout.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace qorva {

// Exit codes: 0 success, 1 the converter failed, 2 wrong usage or operation not available.
int runOperationCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                        std::ostream& err);

// "error at line L, column C (offset O): MESSAGE" or "error: MESSAGE", always one line.
struct ConverterFailure;
std::string formatFailure(const ConverterFailure& failure);

}  // namespace qorva
