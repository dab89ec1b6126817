// The main window's furniture around the editor view: the menu bar with its
// accelerators and mnemonics, the search bar in its pane below the editor, the
// outline panel, the status line, the title with its counts, full screen and the
// Window menu's choices. The frame owns one and routes key filtering here.
#pragma once

#include "src/win/document/document_title.h"
#include "src/win/frame/full_screen.h"
#include "src/win/settings/settings.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QEvent;
class QKeyEvent;
class QLabel;
class QMainWindow;
class QObject;

namespace qorva {

class CEditorView;
class CSearchView;
class MenuBar;
class OutlinePanel;

class WindowFurniture {
public:
    // Builds the menus and the panes around `view`, which becomes the upper pane.
    // `onCommand` receives every menu command and accelerator (the frame's
    // routing); `documentTitle` gives the document's part of the window title.
    WindowFurniture(QMainWindow& frame, CEditorView& view, std::function<void(int)> onCommand,
                    std::function<std::string()> documentTitle);
    ~WindowFurniture();

    MenuBar& Menus() { return *menus_; }

    // Close and Exit, the search bar, the outline, full screen, counts and writing
    // modes; false for other commands.
    bool HandleCommand(int commandId);

    // Accelerators for key presses in the frame, except while the search bar has
    // the focus (it then handles Tab, Enter and Escape itself).
    bool PreTranslateMessage(QObject* receiver, QEvent* event);

    // Shows the title, then asks the page for its counts, which follow in the
    // title and status line once they are in.
    void UpdateTitle();

    // A note of the automatic save in the status line (empty: none); it goes once
    // the document is saved.
    void ShowAutoSaveNote(const std::string& note);

    // The window's geometry, maximised state, outline panel and search options,
    // stored when it closes and put back when the next one opens.
    void WriteWindowLayout() const;

private:
    bool OpenMenuByMnemonic(const QKeyEvent& key);
    void ToggleSearch();
    void ShowReplace();
    void ToggleOutline();
    void ToggleFullScreen();
    void ShowTitle();
    void AskCounts();
    void ChooseCountDisplay(CountDisplay chosen);
    void ReloadCountDisplay();
    // Focus and typewriter modes: the stored choices, checked in the menu and given to the page.
    void ApplyWritingModes();
    void ToggleWritingMode(int commandId);

    QMainWindow& frame_;
    CEditorView& view_;
    std::function<void(int)> onCommand_;
    std::function<std::string()> documentTitle_;
    CSearchView* search_;
    OutlinePanel* outline_;  // owned by the frame
    MenuBar* menus_;         // owned by the menu bar
    QLabel* status_ = nullptr;
    QLabel* autoSaveNote_ = nullptr;
    FullScreen fullScreen_;
    CountDisplay countMode_ = CountDisplay::None;
    std::optional<PageCounts> counts_;  // the page's last answer
    bool countsAsked_ = false;
    std::chrono::steady_clock::time_point countsAskedAt_;
    bool countsStale_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // for answers that come after the window
};

}  // namespace qorva
