// TeX that comes from a document (math, raw TeX) is typeset but never allowed to
// reach commands that read or write files, run programs, or write into the PDF's
// structure through driver specials.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

// `tex` with every dangerous control word written out as visible text
// ("\mbox{\textbackslash{}special}") and TeX's "^^" character notation broken
// up, so that no dangerous name can be built either. Ordinary math and text
// commands stay as they are.
std::string neutralizeTex(std::string_view tex);

}  // namespace qorva::convert
