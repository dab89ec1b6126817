// The documents named on the program's command line: the first one in this
// window, in the format it was last opened or saved in, else the one its
// extension chooses, and each further one in a window of its own.
#pragma once

#include <QString>

#include <string>
#include <vector>

namespace qorva {

class CMainFrame;

bool LoadNamedFile(CMainFrame& frame, const QString& path);

// Starts the program again for each file; a file whose window cannot be started
// is reported in a message over the frame.
void OpenInOtherWindows(CMainFrame& frame, const std::vector<std::string>& files);

}  // namespace qorva
