#include "src/win/app/program_version.h"

#include "src/win/app/startup_rules.h"

namespace qorva {

std::string ProgramVersionText() { return QORVA_VERSION_TEXT; }
std::string ProgramFileVersionText() { return FileVersionText(QORVA_VERSION_TEXT); }

}  // namespace qorva
