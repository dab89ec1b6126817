// MathML for formulas and coloured code for code blocks, made by one sandboxed
// Pandoc run, for the HTML writer to put in place of their source.
#pragma once

#include "convert/html_fragments.h"
#include "tools/pandoc/pandoc.h"

#include <string>
#include <vector>

namespace qorva {

struct PandocFragments {
    std::vector<std::string> markup;  // one per source; empty where Pandoc gave none
    std::string css;                  // the style sheet of the coloured code
    std::string problem;              // why there is no markup at all, for the user
};

// The command line of the run, with the template file it reads.
std::string PandocFragmentsCommand(const PandocInstallation& pandoc, const std::string& templatePath);

// Runs Pandoc once over all `sources` in `workFolder` (which receives the template
// file). A formula Pandoc cannot read or that defines macros, or a language it does
// not know, gets no markup and keeps its source.
PandocFragments MakePandocFragments(const PandocInstallation& pandoc,
                                    const std::vector<convert::HtmlFragmentSource>& sources,
                                    const std::string& workFolder);

}  // namespace qorva
