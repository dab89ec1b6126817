// Command lines are kept as single strings (as the tools' callers build them) and
// split into arguments just before a program is started.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// Splits a command line into arguments. Whitespace separates arguments; double
// quotes group (a quoted part may touch unquoted text: "/opt/tex/"xelatex is one
// argument). Backslashes are literal except before a double quote: 2n backslashes
// and a quote give n backslashes and toggle quoting, 2n+1 give n backslashes and a
// literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Quotes one argument so that SplitCommandLine gives it back unchanged, whatever
// it holds (spaces, quotes, trailing backslashes).
std::string QuoteArgument(std::string_view argument);

}  // namespace qorva
