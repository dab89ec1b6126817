#include "src/win/platform/browser_window.h"

#include "src/win/platform/host_object.h"
#include "src/win/platform/page_call.h"
#include "src/win/platform/page_scheme.h"

#include <QChildEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace qorva {

QWebEngineProfile* EditorProfile();
PageSchemeHandler* EditorPageScheme();
void EnterPageCall();
void LeavePageCall();

namespace {

// A page call whose answer never comes (a crashed renderer) must not hang the
// window for good.
constexpr int kCallTimeoutMs = 20000;
constexpr int kLoadTimeoutMs = 60000;

// How long a page call waits for keys let through before it to reach the page. A
// forwarded key can fail to reach the page (an input method may eat it); the call
// then runs anyway rather than hold up the window.
constexpr std::chrono::milliseconds kKeyCatchUpLimit{250};
// How soon a call made without waiting asks again while keys are on their way.
constexpr int kKeyRetryMs = 4;

// The editor page. Its console goes to standard error as usual, except the
// engine's own note that size observers were deferred a frame: the remembered
// sizes of blocks out of view cause it on every long document and it is harmless.
class EditorPage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override {
        if (message.startsWith(QLatin1String("ResizeObserver loop"))) return;
        QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    }
};

}  // namespace

QtBrowserWindow::QtBrowserWindow(BrowserWindowClient* client, QWidget* parent)
    : client_(client), view_(new QWebEngineView(parent)) {
    auto* page = new EditorPage(EditorProfile(), view_);
    view_->setPage(page);
    // The client's menu instead of the browser's, with what the spelling check
    // says about the word under the pointer.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
        std::string word;
        std::vector<std::string> suggestions;
        if (request && request->isContentEditable()) {
            word = request->misspelledWord().toStdString();
            for (const QString& suggestion : request->spellCheckerSuggestions())
                suggestions.push_back(suggestion.toStdString());
        }
        const QPoint global = view_->mapToGlobal(position);
        client_->OnContextMenu(global.x(), global.y(), word, suggestions);
    });
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);

    channel_ = new QWebChannel(this);
    host_ = new HostObject(client_, this);
    channel_->registerObject(QStringLiteral("Host"), host_);
    page->setWebChannel(channel_);

    QWebEngineScript bootstrap;
    bootstrap.setName(QStringLiteral("qorva-host"));
    bootstrap.setSourceCode(HostObject::BootstrapScript());
    bootstrap.setInjectionPoint(QWebEngineScript::DocumentCreation);
    bootstrap.setWorldId(QWebEngineScript::MainWorld);
    bootstrap.setRunsOnSubFrames(false);
    page->scripts().insert(bootstrap);
    // A new renderer starts a new page with its key count at 0.
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this] { forwardedKeys_.Reset(); });

    view_->installEventFilter(this);
    view_->setGeometry(0, 0, 800, 600);
    HookFocusProxy();
}

QtBrowserWindow::~QtBrowserWindow() {
    if (!pageUrl_.isEmpty()) EditorPageScheme()->RemovePage(pageUrl_);
    delete view_.data();
}

QWidget* QtBrowserWindow::GetWindowHandle() { return view_; }

void QtBrowserWindow::ReplaceMisspelledWord(const std::string& replacement) {
    if (view_) view_->page()->replaceMisspelledWord(QString::fromStdString(replacement));
}

void QtBrowserWindow::HookFocusProxy() {
    QWidget* proxy = view_ ? view_->focusProxy() : nullptr;
    if (!proxy || proxy == hookedProxy_) return;
    proxy->installEventFilter(this);
    hookedProxy_ = proxy;
}

namespace {

// The local files a drag carries; empty when it carries anything else too.
std::vector<std::string> DraggedFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

bool IsMiddleButton(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
        default:
            return false;
    }
}

}  // namespace

bool QtBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == view_ || watched == hookedProxy_) && HandleDrop(static_cast<QWidget*>(watched), event))
        return true;
    if (watched == view_) {
        // The render widget is created and replaced along with the renderer.
        if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished ||
            event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, this, [this] { HookFocusProxy(); });
        }
        return false;
    }
    if (watched == hookedProxy_) {
        if (IsMiddleButton(event)) {
            if (event->type() == QEvent::MouseButtonRelease) client_->OnMiddleClick();
            return true;
        }
        switch (event->type()) {
            case QEvent::KeyPress: {
                if (client_->OnKeyMessage(watched, static_cast<QKeyEvent*>(event))) return true;
                // On its way to the page, which will count it.
                forwardedKeys_.KeyForwarded();
                return false;
            }
            case QEvent::ShortcutOverride:
            case QEvent::KeyRelease:
                return client_->OnKeyMessage(watched, static_cast<QKeyEvent*>(event));
            case QEvent::MouseButtonPress:
                client_->OnMouseDown();
                return false;
            default:
                break;
        }
    }
    return false;
}

// Content dropped on the page would enter it past the program's paste: the
// browser never sees a drop; the client takes the files it accepts, the rest is refused.
bool QtBrowserWindow::HandleDrop(QWidget* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            const std::vector<std::string> paths = DraggedFiles(drag->mimeData());
            if (!paths.empty() && (drag->possibleActions() & Qt::CopyAction) && client_->AcceptsDroppedFiles(paths)) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::vector<std::string> paths = DraggedFiles(drop->mimeData());
            if (paths.empty() || !client_->AcceptsDroppedFiles(paths)) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            const QPoint at = watched->mapTo(view_, drop->position().toPoint());
            // After the drag has ended: the client may show a message.
            QTimer::singleShot(0, this, [this, paths, at] { client_->OnFilesDropped(paths, at.x(), at.y()); });
            return true;
        }
        default:
            return false;
    }
}

void QtBrowserWindow::LoadHtml(const std::string& html) {
    if (!view_) return;
    if (!pageUrl_.isEmpty()) EditorPageScheme()->RemovePage(pageUrl_);
    pageUrl_ = EditorPageScheme()->AddPage(QByteArray::fromStdString(html));

    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(view_->page(), &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
    view_->page()->load(pageUrl_);
    timeout.start(kLoadTimeoutMs);
    EnterPageCall();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    LeavePageCall();
    // Keys let through before belonged to the old page.
    forwardedKeys_.Reset();
    HookFocusProxy();
}

QVariant QtBrowserWindow::RunScript(const QString& script, bool* answered) {
    *answered = false;
    if (!view_) return {};  // gone while an earlier attempt waited
    struct Pending {
        bool done = false;
        QVariant result;
        QEventLoop loop;
    };
    auto pending = std::make_shared<Pending>();
    std::weak_ptr<Pending> weak = pending;
    view_->page()->runJavaScript(script, QWebEngineScript::MainWorld,
                                 [weak](const QVariant& value) {
                                     if (auto state = weak.lock()) {
                                         state->result = value;
                                         state->done = true;
                                         state->loop.quit();
                                     }
                                 });
    if (!pending->done) {
        QTimer::singleShot(kCallTimeoutMs, &pending->loop, &QEventLoop::quit);
        EnterPageCall();
        pending->loop.exec(QEventLoop::ExcludeUserInputEvents);
        LeavePageCall();
    }
    *answered = pending->done;
    return pending->result;
}

std::string QtBrowserWindow::CallFunction(std::string_view name,
                                          const std::optional<std::string>& first,
                                          const std::optional<std::string>& second,
                                          std::string* error) {
    if (!view_) {
        if (error) *error = "no browser window";
        return {};
    }
    bool answered = true;
    const auto attempt = [&](qint64 awaited) {
        const QVariant result = RunScript(PageCallScript(name, first, second, awaited), &answered);
        return answered ? ReadPageAnswer(result) : PageAnswer{};
    };
    // The renderer goes on taking in the keys meanwhile; user input stays queued.
    const auto pause = [] {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        EnterPageCall();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        LeavePageCall();
    };
    const PageAnswer answer =
        CallAfterForwardedKeys(forwardedKeys_, attempt, pause, kKeyCatchUpLimit);
    if (!answered) {
        if (error) *error = "the page did not answer";
        return {};
    }
    if (answer.kind == PageAnswer::Kind::Error) {
        // A renamed or failing page function must not read as an empty answer unnoticed.
        qWarning("page call %s: %s", std::string(name).c_str(), answer.text.c_str());
        if (error) *error = answer.text.empty() ? "the page reported an error" : answer.text;
        return {};
    }
    if (answer.kind == PageAnswer::Kind::None) {
        // The engine dropped the call or its result (too large to pass, for one):
        // never to be taken for an empty result.
        if (error) *error = "the page's answer could not be read";
        return {};
    }
    return answer.kind == PageAnswer::Kind::Value ? answer.text : std::string();
}

void QtBrowserWindow::CallFunctionLater(std::string_view name,
                                        std::function<void(std::optional<std::string>)> done, bool afterKeys) {
    if (!view_) return;
    if (afterKeys) {
        CallAfterKeysLater(std::string(name), std::move(done), std::chrono::steady_clock::now() + kKeyCatchUpLimit);
        return;
    }
    // No wait for keys let through: the result is as good before them as after.
    // A page destroyed first answers with nothing.
    view_->page()->runJavaScript(PageCallScript(name, std::nullopt, std::nullopt, 0), QWebEngineScript::MainWorld,
                                 [done = std::move(done), name = std::string(name)](const QVariant& value) {
                                     const PageAnswer answer = ReadPageAnswer(value);
                                     if (answer.kind == PageAnswer::Kind::Value) {
                                         done(answer.text);
                                     } else {
                                         if (answer.kind == PageAnswer::Kind::Error)
                                             qWarning("page call %s: %s", name.c_str(), answer.text.c_str());
                                         done(std::nullopt);
                                     }
                                 });
}

void QtBrowserWindow::CallAfterKeysLater(std::string name, std::function<void(std::optional<std::string>)> done,
                                         std::chrono::steady_clock::time_point deadline) {
    if (!view_) return;
    const bool late = std::chrono::steady_clock::now() >= deadline;
    const qint64 expected = forwardedKeys_.Expected();
    const QString script = PageCallScript(name, std::nullopt, std::nullopt, late ? 0 : expected);
    view_->page()->runJavaScript(
        script, QWebEngineScript::MainWorld,
        [self = QPointer<QtBrowserWindow>(this), name = std::move(name), done = std::move(done), deadline,
         expected](const QVariant& value) mutable {
            const PageAnswer answer = ReadPageAnswer(value);
            if (answer.kind == PageAnswer::Kind::KeysPending && self) {
                QTimer::singleShot(kKeyRetryMs, self, [self, name = std::move(name), done = std::move(done),
                                                        deadline]() mutable {
                    self->CallAfterKeysLater(std::move(name), std::move(done), deadline);
                });
                return;
            }
            // Keys let through while this call was on its way are counted already;
            // only a page that got fewer than expected, past the wait (a dropped
            // key), is followed.
            if (self && answer.keysReceived && *answer.keysReceived < expected) {
                self->forwardedKeys_.Settle(expected, *answer.keysReceived);
            }
            if (answer.kind == PageAnswer::Kind::Error) qWarning("page call %s: %s", name.c_str(), answer.text.c_str());
            done(answer.kind == PageAnswer::Kind::Value ? std::optional<std::string>(answer.text) : std::nullopt);
        });
}

void QtBrowserWindow::SetBounds(const QRect& bounds) {
    if (view_) view_->setGeometry(bounds);
}

void QtBrowserWindow::Focus() {
    if (view_) view_->setFocus(Qt::OtherFocusReason);
}

void QtBrowserWindow::Print(QWidget* parent) {
    if (!view_ || printer_) return;
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer_.get(), parent);
    if (dialog.exec() != QDialog::Accepted) {
        printer_.reset();
        return;
    }
    // The printer must outlive the asynchronous print job.
    QEventLoop loop;
    connect(view_, &QWebEngineView::printFinished, &loop, &QEventLoop::quit);
    view_->print(printer_.get());
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    printer_.reset();
}

}  // namespace qorva
