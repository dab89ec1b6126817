// At start: documents left with unsaved changes by windows that no longer run
// (a crash, a kill) are offered one by one for restoring.
#pragma once

#include "src/win/document/document_messages.h"
#include "src/win/document/recovery_store.h"

#include <QString>

#include <ctime>
#include <string>
#include <vector>

namespace qorva {

class CMainFrame;

// A window started to restore one recovery file finds it named here.
inline constexpr char kRestoreVariable[] = "QORVA_RESTORE_RECOVERY";

namespace message {
// Yes restores, No discards, Cancel keeps the file for the next start.
MessageSpec RestoreUnsavedChanges(const RecoveryRecord& record, std::time_t now);
// Recovery files that could not be used (each with why), or a folder refused.
MessageSpec RecoveryFilesSetAside(const std::vector<std::string>& reasons);
}  // namespace message

// Restores the file named by kRestoreVariable into this window, if there is one;
// true when it did.
bool RestoreRequestedRecovery(CMainFrame& frame);

// Asks about each orphan in the folder. The first restored document goes into this
// window when it shows no file of its own (or the same file, unchanged); the
// others open in new windows.
void OfferRecoveredDocuments(CMainFrame& frame, const std::string& folder);

}  // namespace qorva
