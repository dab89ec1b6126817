// The life of the window's document: its lifecycle (New, Open, Save, ...) with the
// desktop's dialogs, the editor view as the page the document is read from and
// written to, and the recent-document list with its menu. The window's furniture
// (menus, panes, title) lives beside the frame, in frame/.
#pragma once

#include "src/win/document/document_dialogs.h"
#include "src/win/menus/recent_documents.h"

#include <QString>

#include <functional>
#include <memory>

namespace qorva {

class CEditorView;
class MenuBar;

class DocumentController : public DocumentDialogs {
public:
    // `stateChanged` hears of a new path, welcome mark or modified flag (the
    // title follows).
    DocumentController(QWidget& owner, CEditorView& view, MenuBar& menus, std::function<void()> stateChanged);
    ~DocumentController() override;

    DocumentLifecycle& Document() { return *lifecycle_; }

    // The File menu's document commands; false for others.
    bool HandleCommand(int commandId);

    // The items that need a titled document (Reopen with...) follow the path.
    void UpdateMenuStates();

    // "Save changes?" before the window closes; then the recent list is stored.
    bool CanClose();
    void WriteRecentList();

    // DocumentUi notifications.
    void DocumentStateChanged() override { stateChanged_(); }
    void RecentListChanged() override;
    void ResetRepeatExport() override;
    // Also called when the repeat-export state is reset (the frame's export commands).
    void SetRepeatExportReset(std::function<void()> reset) { repeatExportReset_ = std::move(reset); }

protected:
    QString DialogFolder() const override;

private:
    class ViewPage;

    MenuBar& menus_;
    std::function<void()> stateChanged_;
    std::function<void()> repeatExportReset_;
    std::unique_ptr<ViewPage> page_;
    RecentDocumentList recent_;
    QString recentPlaceholder_;
    std::unique_ptr<DocumentLifecycle> lifecycle_;
};

}  // namespace qorva
