// The document side of the main window: the menu bar and accelerators, the search
// bar in its pane below the editor, the document lifecycle, the recent-document
// list, the title with its counts, full screen and the Help commands. The frame
// owns one and routes its commands, key filtering, idle time and closing here.
#pragma once

#include "src/win/document/document_dialogs.h"
#include "src/win/document/document_title.h"
#include "src/win/menus/recent_documents.h"
#include "src/win/view/search_view.h"
#include "src/win/settings/settings.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QEvent;
class QKeyEvent;
class QLabel;
class QMainWindow;
class QObject;
class QSplitter;

namespace qorva {

class CEditorView;
class MenuBar;
class OutlinePanel;
class UpdateChecker;

class DocumentController : public DocumentDialogs, public CSearchViewCallback {
public:
    // Builds the menus and the pane layout around `view`, which becomes the upper
    // pane; `onCommand` receives every menu command (the frame's routing).
    DocumentController(QMainWindow& frame, CEditorView& view, std::function<void(int)> onCommand);
    ~DocumentController() override;

    DocumentLifecycle& Document() { return *lifecycle_; }
    CSearchView& SearchView() { return *search_; }
    MenuBar& Menus() { return *menus_; }

    // The frame's own commands (file, search, window, help); false for others.
    bool HandleCommand(int commandId);

    // Accelerators for key presses in the frame, except while the search bar has
    // the focus (it then handles Tab, Enter and Escape itself).
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // Recomputes the title and the update table, then asks the page for its
    // counts, which follow in the title and status line once they are in.
    void UpdateTitle();

    // "Save changes?" before the window closes; then the recent list is stored.
    bool CanClose();
    void WriteRecentList();
    // The window's geometry, maximised state, outline panel and search options,
    // stored when it closes and put back when the next one opens.
    void WriteWindowLayout();

    // A note of the automatic save in the status line (empty: none); it goes once
    // the document is saved.
    void ShowAutoSaveNote(const std::string& note);

    bool IsSearchShown() const;
    bool IsFullScreen() const;
    CountDisplay CountMode() const { return countMode_; }

    // DocumentUi notifications.
    void DocumentStateChanged() override { UpdateTitle(); }
    void RecentListChanged() override;
    void ResetRepeatExport() override;
    // Also called when the repeat-export state is reset (the frame's export commands).
    void SetRepeatExportReset(std::function<void()> reset) { repeatExportReset_ = std::move(reset); }

    // CSearchViewCallback
    void StartSearch(const QString& text) override;
    void ContinueSearch(const QString& text) override;
    void CloseSearch() override;
    void SetSearchOptions(bool matchCase, bool wholeWord) override;
    void Replace(const QString& text, const QString& replacement) override;
    int ReplaceAll(const QString& text, const QString& replacement) override;

protected:
    QString DialogFolder() const override;

private:
    class ViewPage;

    bool OpenMenuByMnemonic(const QKeyEvent& key);
    void ToggleSearch();
    void ToggleOutline();
    void ShowReplace();
    void ToggleFullScreen();
    void ShowTitle();
    void AskCounts();
    void ChooseCountDisplay(CountDisplay chosen);
    void ReloadCountDisplay();
    // Focus and typewriter modes: the stored choices, checked in the menu and given to the page.
    void ApplyWritingModes();
    void ToggleWritingMode(int commandId);
    void ShowAbout();
    void CheckForUpdates();

    QMainWindow& frame_;
    CEditorView& view_;
    std::function<void(int)> onCommand_;
    std::function<void()> repeatExportReset_;
    UpdateChecker* updates_ = nullptr;  // owned by the frame, made on first use
    QSplitter* splitter_;
    CSearchView* search_;
    OutlinePanel* outline_;  // owned by the frame
    MenuBar* menus_;  // owned by the menu bar
    std::unique_ptr<ViewPage> page_;
    RecentDocumentList recent_;
    QString recentPlaceholder_;
    std::unique_ptr<DocumentLifecycle> lifecycle_;
    CountDisplay countMode_ = CountDisplay::None;
    QByteArray savedGeometry_;
    QRect savedRect_;
    QLabel* status_ = nullptr;
    QLabel* autoSaveNote_ = nullptr;
    std::optional<PageCounts> counts_;  // the page's last answer
    bool countsAsked_ = false;
    std::chrono::steady_clock::time_point countsAskedAt_;
    bool countsStale_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // for answers that come after the window
    bool fullScreen_ = false;
    Qt::WindowStates savedStates_;
};

}  // namespace qorva
