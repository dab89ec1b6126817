#include "src/win/platform/browser.h"

#include "src/win/platform/browser_window.h"
#include "src/win/platform/page_scheme.h"

#include <QApplication>
#include <QStringList>
#include <QWebEngineProfile>

#include <unistd.h>

namespace qorva {
namespace {

QStringList gSpellCheckLanguages;
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

}  // namespace

QWebEngineProfile* EditorProfile() {
    if (!gProfile) {
        // Off the record: the editor page needs no cookies, cache or history on disk.
        gProfile = new QWebEngineProfile(qApp);
        gScheme = new PageSchemeHandler(gProfile);
        gProfile->installUrlSchemeHandler(kPageScheme, gScheme);
        gProfile->setSpellCheckLanguages(gSpellCheckLanguages);
        gProfile->setSpellCheckEnabled(!gSpellCheckLanguages.isEmpty());
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

void SetDictionaryFolder(const std::string& folder) {
    // Qt WebEngine reads dictionaries from one folder, fixed before it starts; a
    // dictionary added to it later is still found when its language is set.
    qputenv("QTWEBENGINE_DICTIONARIES_PATH", QByteArray::fromStdString(folder));
}

void SetSpellCheckLanguages(const std::vector<std::string>& names) {
    gSpellCheckLanguages.clear();
    for (const std::string& name : names) gSpellCheckLanguages << QString::fromStdString(name);
    if (!gProfile) return;
    gProfile->setSpellCheckLanguages(gSpellCheckLanguages);
    gProfile->setSpellCheckEnabled(!gSpellCheckLanguages.isEmpty());
}

int PendingCallDepth() { return gPendingCalls; }

int RunMain(int argc, char** argv, int (*run)()) {
    AllowRunningAsRoot();
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
