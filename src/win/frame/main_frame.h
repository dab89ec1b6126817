// CMainFrame: the program's one top-level window. It owns the editor view, the
// window's furniture (menus, panes, title), the document's controller and guards,
// and the export, theme and Help commands; it routes every command to the part
// that owns it, filters keys for the accelerators and updates the title when the
// loop is idle. One per process: closing it ends the program.
#pragma once

#include "src/win/keys/message_loop.h"
#include "src/win/view/editor_view_callback.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

namespace qorva {

class CEditorView;
class DocumentController;
class DocumentGuards;
class ExportCommands;
class HelpCommands;
class OutsideChangeWatch;
class PreferencesDialog;
class RecoveryKeeper;
class ThemesMenu;
class ToolRunWatch;
class WindowFurniture;

class CMainFrame : public QMainWindow,
                   public CMessageFilter,
                   public CIdleHandler,
                   public CEditorViewCallback {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    CEditorView* EditorView() const { return view_; }

    // Reads a document in the format its file was last opened or saved in, else
    // the one its name asks for, and shows it; false (after a message) when it cannot.
    bool OpenNamedFile(const QString& path);
    void LoadWelcomeDocument();
    void UpdateTitle();

    // Command routing: the document, the furniture, exports, themes and Help,
    // then the editor view.
    bool OnCommand(int id);

    QString DocumentPath() const;

    // The document's lifecycle, dialogs and recent list.
    DocumentController& Controller() { return *controller_; }
    RecoveryKeeper& Recovery();
    OutsideChangeWatch& FileWatch();

    // CMessageFilter, CIdleHandler
    bool PreTranslateMessage(QObject* receiver, QEvent* event) override;
    bool OnIdle() override;

    // CEditorViewCallback
    void OpenUrl(const QString& url) override;
    void OpenFile(const QString& path) override;
    QString GetDocumentFolder() override;

protected:
    // "Save changes?" first; the window closes only if that proceeds, and then the
    // program ends with it, whatever was answered.
    void closeEvent(QCloseEvent* event) override;

private:
    // Edit > Preferences: one window, brought to the front when asked for again.
    void ShowPreferences();

    CEditorView* view_;
    std::unique_ptr<WindowFurniture> furniture_;
    std::unique_ptr<DocumentController> controller_;
    std::unique_ptr<HelpCommands> help_;
    std::unique_ptr<ExportCommands> exports_;
    std::unique_ptr<ThemesMenu> themes_;
    std::unique_ptr<DocumentGuards> guards_;
    std::unique_ptr<ToolRunWatch> toolRuns_;
    QPointer<PreferencesDialog> preferences_;
};

// A modal message box owned by the frame, with the exclamation icon.
void ShowExclamation(QWidget* owner, const QString& caption, const QString& text);

}  // namespace qorva
