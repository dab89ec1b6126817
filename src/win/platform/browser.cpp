#include "src/win/platform/browser.h"

#include "src/win/platform/browser_window.h"
#include "src/win/platform/page_scheme.h"
#include "src/win/platform/scene_graph_backend.h"

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

QtMessageHandler gPreviousHandler = nullptr;

void QuietNoOpenGlNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("Cannot create platform OpenGL context")) ||
        message == QLatin1String("No suitable graphics backend found")) {
        return;
    }
    if (gPreviousHandler) gPreviousHandler(type, context, message);
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
    EnableHighlights();
    PageSchemeHandler::RegisterScheme();
    // A shared OpenGL context would load OpenGL even where nothing draws with it.
    const bool software = ChooseSceneGraphBackend();
    if (!software) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Without OpenGL the engine still tries for a context and a backend; Qt's
    // notes that there is none say nothing the user needs.
    if (software) gPreviousHandler = qInstallMessageHandler(QuietNoOpenGlNotes);
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
