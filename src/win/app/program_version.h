// The program's version, compiled in from the build's one version number.
#pragma once

#include <string>

namespace qorva {

// As the user sees it, in the About box and from --version: "0.1.0".
std::string ProgramVersionText();
// The file version text the update check compares and stores ("0.1", "1.2.3.4").
std::string ProgramFileVersionText();

}  // namespace qorva
