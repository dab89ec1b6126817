#include "src/win/program_version.h"

#include "src/win/startup_rules.h"

namespace qorva {

std::string ProgramFileVersionText() { return FileVersionText(QORVA_VERSION_TEXT); }

}  // namespace qorva
