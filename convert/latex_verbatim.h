// Code blocks for LaTeX: the verbatim environment ends at the first "\end{verbatim}"
// in its text, so a line holding that is written outside it, verbatim too.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

// "\begin{verbatim}\nTEXT\n\end{verbatim}", except that lines which would end the
// environment early stand between environments as \verb paragraphs.
std::string latexVerbatim(std::string_view text);

}  // namespace qorva::convert
