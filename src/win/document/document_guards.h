// What keeps a window's document safe from losses outside the editor: the watch
// on its file for changes by other programs, the recovery file kept while it has
// unsaved changes, and the automatic save of a titled document once typing pauses
// (when the AutoSave setting is on).
#pragma once

#include "src/win/document/outside_change_watch.h"
#include "src/win/document/recovery_keeper.h"

#include <QTimer>

#include <functional>
#include <memory>
#include <string>

namespace qorva {

class CEditorView;
class DocumentController;

class DocumentGuards {
public:
    // `showAutoSaveNote` puts the outcome of an automatic save in the status line.
    DocumentGuards(DocumentController& window, CEditorView& view, const std::string& recoveryFolder,
                   std::function<void(const std::string&)> showAutoSaveNote);
    ~DocumentGuards();

    RecoveryKeeper& Recovery() { return *recovery_; }
    OutsideChangeWatch& Watch() { return *watch_; }

private:
    void AutoSaveNow();

    DocumentController& window_;
    std::function<void(const std::string&)> showAutoSaveNote_;
    CEditorView& view_;
    QTimer autoSave_;
    std::unique_ptr<OutsideChangeWatch> watch_;
    std::unique_ptr<RecoveryKeeper> recovery_;
};

}  // namespace qorva
