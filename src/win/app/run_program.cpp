#include "src/win/app/run_program.h"

#include "src/win/app/command_line_options.h"
#include "src/win/view/editor_view.h"
#include "src/win/frame/main_frame.h"
#include "src/win/keys/message_loop.h"
#include "src/win/platform/browser.h"
#include "src/win/app/program_icon.h"
#include "src/win/app/program_version.h"
#include "src/win/document/document_lifecycle.h"
#include "src/win/document/document_prefetch.h"
#include "src/win/document/recovery_offer.h"
#include "src/win/menus/recent_documents.h"
#include "src/win/settings/settings.h"
#include "src/win/settings/settings.h"
#include "src/win/app/start_documents.h"
#include "src/win/spelling/spelling_languages.h"
#include "src/win/app/startup_rules.h"
#include "src/win/app/update_checker.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace qorva {
namespace {

std::string gCommandLine;
std::vector<std::string> gOtherFiles;  // each opens in a window of its own


bool HaveDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

void ChooseFirstDocumentFor(CMainFrame& frame) {
    const FirstDocument first = ChooseFirstDocument(gCommandLine);
    switch (first.kind) {
        case FirstDocumentKind::WelcomeIfFirstRun:
            if (LastRunVersionSetting().empty()) frame.LoadWelcomeDocument();
            WriteLastRunVersionSetting(ProgramFileVersionText());
            break;
        case FirstDocumentKind::Welcome:
            frame.LoadWelcomeDocument();
            break;
        case FirstDocumentKind::File: {
            const QString typed = QString::fromStdString(first.argument);
            const QFileInfo file(QDir::current().absoluteFilePath(typed));
            if (file.isFile()) {
                LoadNamedFile(frame, file.absoluteFilePath());
            } else {
                ShowExclamation(&frame, QStringLiteral("Qorva"),
                                QStringLiteral("File \u2018%1\u2019 doesn\u2019t exist.").arg(typed));
            }
            break;
        }
        case FirstDocumentKind::Untitled:
            break;
    }
}

// A named first document is read and converted while the engine starts; the
// recent list is read as the window's own is, for the format it remembers.
void PrepareFirstDocument() {
    const FirstDocument first = ChooseFirstDocument(gCommandLine);
    if (first.kind != FirstDocumentKind::File) return;
    const QFileInfo file(QDir::current().absoluteFilePath(QString::fromStdString(first.argument)));
    if (!file.isFile()) return;
    RecentDocumentList recent;
    recent.SetMaximum(kRecentDefaultMaximum);
    recent.Read(UserSettings());
    const std::string path = file.absoluteFilePath().toStdString();
    PrepareDocument(path, FormatForFile(path, recent));
}

// Where the user left the window, on the screen it was on; the first time a
// share of the primary screen. Maximised again only once shown.
bool PlaceWindow(QWidget& window) {
    const WindowLayout layout = ReadWindowLayout();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (layout.geometry) {
        const auto [left, top, width, height] = *layout.geometry;
        if (QScreen* was = QGuiApplication::screenAt(QRect(left, top, width, height).center())) screen = was;
    }
    if (!screen) return layout.maximized;
    const QRect area = screen->availableGeometry();
    const Rect work{area.left(), area.top(), area.width(), area.height()};
    const Rect placed = layout.geometry ? FitToWorkArea({(*layout.geometry)[0], (*layout.geometry)[1],
                                                         (*layout.geometry)[2], (*layout.geometry)[3]}, work)
                                        : FirstWindowRect(work);
    window.setGeometry(placed.left, placed.top, placed.width, placed.height);
    return layout.maximized;
}

int RunFunction() {
    ChromiumMessageHandler loop;
    QGuiApplication::setWindowIcon(ProgramIcon());
    StartSpelling();
    auto frame = std::make_unique<CMainFrame>();
    // Placed before the first document is chosen, so a message about it appears
    // over the spot where the window will be.
    const bool maximized = PlaceWindow(*frame);
    ChooseFirstDocumentFor(*frame);
    if (maximized) frame->showMaximized(); else frame->show();
    frame->EditorView()->FocusPage();
    OpenInOtherWindows(*frame, gOtherFiles);
    if (!RestoreRequestedRecovery(*frame)) OfferRecoveredDocuments(*frame, DefaultRecoveryFolder());

    UpdateChecker updates(QString::fromLatin1(kUpdateFeedUrl),
                          QString::fromStdString(ProgramFileVersionText()), frame.get());
    updates.Start();
    loop.Run();
    updates.Cleanup();
    frame.reset();
    return 0;
}

}  // namespace

int RunQorva(int argc, char** argv) {
    const ProgramRequest request = ReadProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto exitCode = AnswerProgramRequest(request, ProgramVersionText(), std::cout, std::cerr)) {
        return *exitCode;
    }
    if (!HaveDisplay()) {
        std::fputs("qorva: no display. Qorva is a desktop program and needs an X11 or Wayland "
                   "session (or a virtual one: xvfb-run -a qorva).\n",
                   stderr);
        return 1;
    }
    PrepareSpellingFolder();
    const StartDocuments start = ArrangeStartDocuments(request, [](const std::string& path) {
        return QFileInfo(QDir::current().absoluteFilePath(QString::fromStdString(path))).isFile();
    });
    gCommandLine = start.commandLine;
    gOtherFiles = start.otherFiles;
    PrepareFirstDocument();
    return Browser::RunMain(argc, argv, &RunFunction);
}

}  // namespace qorva
