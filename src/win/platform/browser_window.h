// BrowserWindow over a QWebEngineView.
#pragma once

#include "src/win/platform/browser.h"
#include "src/win/platform/page_call.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <chrono>
#include <memory>

class QPrinter;
class QWebChannel;
class QWebEngineView;

namespace qorva {

class HostObject;

class QtBrowserWindow final : public QObject, public BrowserWindow {
    Q_OBJECT
public:
    QtBrowserWindow(BrowserWindowClient* client, QWidget* parent);
    ~QtBrowserWindow() override;

    QWidget* GetWindowHandle() override;
    void LoadHtml(const std::string& html) override;
    std::string CallFunction(std::string_view name, const std::optional<std::string>& first,
                             const std::optional<std::string>& second,
                             std::string* error) override;
    void CallFunctionLater(std::string_view name,
                           std::function<void(std::optional<std::string>)> done,
                           bool afterKeys) override;
    void SetBounds(const QRect& bounds) override;
    void Focus() override;
    void Print(QWidget* parent) override;
    void ReplaceMisspelledWord(const std::string& replacement) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HookFocusProxy();
    bool HandleDrop(QWidget* watched, QEvent* event);
    // Runs `script` in the page and waits for its result; *answered is false when
    // none came in time.
    QVariant RunScript(const QString& script, bool* answered);
    // One try of a CallFunctionLater that awaits the forwarded keys until `deadline`.
    void CallAfterKeysLater(std::string name, std::function<void(std::optional<std::string>)> done,
                            std::chrono::steady_clock::time_point deadline);

    BrowserWindowClient* client_;
    QPointer<QWebEngineView> view_;
    QWebChannel* channel_;
    HostObject* host_;
    QUrl pageUrl_;
    QPointer<QWidget> hookedProxy_;
    std::unique_ptr<QPrinter> printer_;
    // Key presses let through to the page, for page calls to wait for.
    KeyLedger forwardedKeys_;
};

}  // namespace qorva
