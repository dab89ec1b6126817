// The program's icon for its windows: the installed one from the icon theme, else
// the copies built into the program (when it runs from the build folder).
#pragma once

#include <QIcon>

namespace qorva {

QIcon ProgramIcon();

}  // namespace qorva
