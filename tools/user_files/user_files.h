// Files the user adds to shape the program: themes (.theme) and export templates
// (.html5, .xelatex). They are looked for in the user data folder first and then in
// the program folder and the installed data folder, so the user's own files win.
#pragma once

#include <string>
#include <vector>

namespace qorva {

// The folder of the running executable.
std::string ProgramFolder();

// $XDG_DATA_HOME/qorva, or ~/.local/share/qorva.
std::string UserDataFolder();

// The data folder of an installed program beside its executable's folder:
// /usr/bin gives /usr/share/qorva.
std::string InstalledDataFolder(const std::string& programFolder);

// The folders searched for user files, the first one winning: the user's, the
// program's and the installed data folder.
std::vector<std::string> UserFileFolders();

// The path of the first file of this exact name in the folders; empty when none.
// Names holding a slash are never looked up, so a name cannot reach elsewhere.
std::string FindUserFile(const std::string& fileName, const std::vector<std::string>& folders);

// The names (without the extension) of the regular files in the folders whose names
// end in `extension` (".theme") and have something before it. Unsorted, may repeat.
std::vector<std::string> ListUserFiles(const std::string& extension, const std::vector<std::string>& folders);

// Sorts by byte value (upper case before lower case) and removes repeats.
void SortOrdinalUnique(std::vector<std::string>& names);

}  // namespace qorva
