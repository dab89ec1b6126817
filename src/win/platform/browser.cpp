#include "src/win/platform/browser.h"

#include "src/win/platform/browser_window.h"
#include "src/win/platform/page_scheme.h"

#include <QApplication>
#include <QFileInfo>
#include <QWebEngineProfile>

#include <unistd.h>

namespace qorva {
namespace {

Browser::DictionarySetting gDictionary;
int gPendingCalls = 0;
QWebEngineProfile* gProfile = nullptr;
PageSchemeHandler* gScheme = nullptr;

// Chromium refuses to start as root with its sandbox on; the program is still
// usable that way (containers, CI), so the sandbox is turned off only for root.
void AllowRunningAsRoot() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

// The page colours code with the CSS custom highlights, which Qt 6.4's engine
// has but does not enable by default.
void EnableHighlights() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("HighlightAPI")) return;
    if (!flags.isEmpty()) flags += ' ';
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + "--enable-blink-features=HighlightAPI");
}

}  // namespace

QWebEngineProfile* EditorProfile() {
    if (!gProfile) {
        // Off the record: the editor page needs no cookies, cache or history on disk.
        gProfile = new QWebEngineProfile(qApp);
        gScheme = new PageSchemeHandler(gProfile);
        gProfile->installUrlSchemeHandler(kPageScheme, gScheme);
        if (!gDictionary.path.empty()) {
            // Qt names a dictionary by its file name without the extension.
            gProfile->setSpellCheckLanguages(
                {QFileInfo(QString::fromStdString(gDictionary.path)).completeBaseName()});
            gProfile->setSpellCheckEnabled(true);
        }
    }
    return gProfile;
}

PageSchemeHandler* EditorPageScheme() {
    EditorProfile();
    return gScheme;
}

void EnterPageCall() { ++gPendingCalls; }
void LeavePageCall() { --gPendingCalls; }

namespace Browser {

void SetDictionaryFilePath(const std::string& path, const std::string& languageCode) {
    gDictionary = {path, languageCode};
    // Qt WebEngine reads dictionaries from one folder, fixed before it starts.
    qputenv("QTWEBENGINE_DICTIONARIES_PATH",
            QFileInfo(QString::fromStdString(path)).absolutePath().toLocal8Bit());
}

DictionarySetting CurrentDictionary() { return gDictionary; }

int PendingCallDepth() { return gPendingCalls; }

int RunMain(int argc, char** argv, int (*run)()) {
    AllowRunningAsRoot();
    EnableHighlights();
    PageSchemeHandler::RegisterScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qorva"));
    QApplication::setOrganizationName(QStringLiteral("Qorva"));
    QApplication::setDesktopFileName(QStringLiteral("qorva"));
    const int result = run();
    delete gProfile;
    gProfile = nullptr;
    gScheme = nullptr;
    return result;
}

std::unique_ptr<BrowserWindow> CreateBrowserWindow(BrowserWindowClient* client, QWidget* parent) {
    return std::make_unique<QtBrowserWindow>(client, parent);
}

}  // namespace Browser
}  // namespace qorva
