// Where the program finds its data: the user's data folder first, then the
// executable's folder and the installed data folder beside it.
#pragma once

#include <QStringList>

namespace qorva {

// Folders searched for dictionaries, themes and templates; earlier ones win.
QStringList ProgramDataFolders();

}  // namespace qorva
