// The program's file version text ("0.1", "1.2.3.4"), compiled in from the build.
#pragma once

#include <string>

namespace qorva {

std::string ProgramFileVersionText();

}  // namespace qorva
