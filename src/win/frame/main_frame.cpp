#include "src/win/frame/main_frame.h"

#include "resources/resources.h"
#include "src/win/document/document_guards.h"
#include "src/win/document/document_controller.h"
#include "src/win/document/document_title.h"
#include "src/win/frame/help_commands.h"
#include "src/win/frame/window_furniture.h"
#include "src/win/view/editor_view.h"
#include "src/win/export/export_commands.h"
#include "src/win/export/export_settings.h"
#include "src/win/view/link_opener.h"
#include "src/win/app/test_hooks.h"
#include "src/win/menus/command_ids.h"
#include "src/win/menus/themes_menu.h"
#include "src/win/settings/preferences_dialog.h"
#include "src/win/menus/desktop_color_scheme.h"
#include "src/win/app/window_palette.h"
#include "src/win/document/tool_run_watch.h"
#include "tools/converter_host/converter_host.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qorva {
namespace {

// A menu label as plain text: "&&" is an ampersand, a single "&" marks a mnemonic.
QString PlainLabel(const QString& label) {
    QString text;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QLatin1Char('&') && i + 1 < label.size()) ++i;
        text += label[i];
    }
    return text;
}

}  // namespace

void ShowExclamation(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

CMainFrame::CMainFrame() {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(QStringLiteral("Qorva"));
    setMinimumSize(350, 250);
    view_ = new CEditorView(this, this);
    furniture_ = std::make_unique<WindowFurniture>(*this, *view_, [this](int id) { OnCommand(id); }, [this] {
        const DocumentLifecycle& document = controller_->Document();
        return DocumentTitle(document.path(), document.welcome(), view_->IsModified());
    });
    controller_ = std::make_unique<DocumentController>(*this, *view_, furniture_->Menus(), [this] { UpdateTitle(); });
    help_ = std::make_unique<HelpCommands>(*this, *controller_);
    exports_ = std::make_unique<ExportCommands>(*this, *view_, controller_->Document(), *controller_, furniture_->Menus());
    controller_->SetRepeatExportReset([this] { exports_->ResetRepeatExport(); });
    themes_ = std::make_unique<ThemesMenu>(
        furniture_->Menus(), [this](const std::string& css) { view_->SetThemeCss(css); },
        [this](const std::string& text) {
            controller_->ShowMessage({text, "Qorva", MessageButtons::Ok, MessageIcon::Exclamation});
        });
    auto* desktopScheme = new DesktopColorScheme(this);
    themes_->SetWindowLook(UseDarkWindowPalette, [desktopScheme] { return desktopScheme->PrefersDark(); });
    connect(desktopScheme, &DesktopColorScheme::Changed, this, [this] { themes_->DesktopSchemeChanged(); });
    themes_->BuildThemesMenu();
    themes_->UpdateThemeChecks();
    themes_->ApplyTheme();
    guards_ = std::make_unique<DocumentGuards>(*controller_, *view_, DefaultRecoveryFolder(),
                                               [this](const std::string& note) { furniture_->ShowAutoSaveNote(note); });
    toolRuns_ = std::make_unique<ToolRunWatch>(this, ToolTimeLimitSetting());
    if (auto* loop = ChromiumMessageHandler::Current()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    UpdateTitle();
    view_->setFocus();
}

RecoveryKeeper& CMainFrame::Recovery() { return guards_->Recovery(); }
OutsideChangeWatch& CMainFrame::FileWatch() { return guards_->Watch(); }

CMainFrame::~CMainFrame() {
    if (auto* loop = ChromiumMessageHandler::Current()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
}

bool CMainFrame::OpenNamedFile(const QString& path) {
    return controller_->Document().OpenNamedFile(path.toStdString());
}

void CMainFrame::LoadWelcomeDocument() { controller_->Document().LoadWelcome(); }

void CMainFrame::UpdateTitle() {
    controller_->UpdateMenuStates();
    furniture_->UpdateTitle();
}

QString CMainFrame::DocumentPath() const { return QString::fromStdString(controller_->Document().path()); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!controller_->CanClose()) {
        event->ignore();
        return;
    }
    controller_->WriteRecentList();
    furniture_->WriteWindowLayout();
    guards_->Recovery().Discard();
    QMainWindow::closeEvent(event);
    // One window per process: once it has gone the loop has nothing left to run.
    // Left to Qt's last-window rule, a close that ran a dialog first kept it alive.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool CMainFrame::OnCommand(int id) {
    if (controller_->HandleCommand(id) || furniture_->HandleCommand(id) || help_->HandleCommand(id) ||
        exports_->HandleCommand(id) || themes_->HandleCommand(id)) {
        return true;
    }
    if (id == command_id::Print) {
        view_->Print();
        return true;
    }
    if (id == command_id::Preferences) {
        ShowPreferences();
        return true;
    }
    return view_->OnCommand(id);
}

void CMainFrame::ShowPreferences() {
    if (!preferences_) {
        PreferencesTargets targets{
            [this] {
                std::vector<PreferencesTargets::Theme> themes;
                for (QAction* item : themes_->Items()) {
                    themes.push_back({ThemeNameOf(item), PlainLabel(item->text())});
                }
                return themes;
            },
            // Through the menu's own item, so the menu's checks follow.
            [this](const QString& name) {
                for (QAction* item : themes_->Items()) {
                    if (ThemeNameOf(item) == name) return themes_->ChooseTheme(item);
                }
            },
            [this](const std::string& zoom) { view_->SetZoom(zoom); },
            [this](std::chrono::seconds limit) { toolRuns_->SetTimeLimit(limit); },
            [this] {
                // The untitled document is a new one: it takes the new format.
                if (DocumentPath().isEmpty()) controller_->Document().ResetFormat();
            },
        };
        preferences_ = new PreferencesDialog(std::move(targets), this);
        preferences_->setAttribute(Qt::WA_DeleteOnClose);
    }
    preferences_->show();
    preferences_->raise();
    preferences_->activateWindow();
}

bool CMainFrame::PreTranslateMessage(QObject* receiver, QEvent* event) {
    return furniture_ && furniture_->PreTranslateMessage(receiver, event);
}

bool CMainFrame::OnIdle() {
    UpdateTitle();
    WriteDocumentForTests(*view_);
    return false;
}

void CMainFrame::OpenUrl(const QString& url) { FollowUrlLink(this, url); }

void CMainFrame::OpenFile(const QString& path) {
    if (DocumentPath().isEmpty()) return;
    FollowFileLink(this, QDir(GetDocumentFolder()).filePath(path));
}

QString CMainFrame::GetDocumentFolder() {
    const QString path = DocumentPath();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

}  // namespace qorva
