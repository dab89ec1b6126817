// The engine layer: a Chromium-based browser window (Qt WebEngine) showing the
// editor page, with synchronous calls of page functions by name and the page's
// four callbacks through the host object window.Host.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QObject;
class QRect;
class QWidget;

namespace qorva {

// Implemented by the editor view. All calls arrive on the user-interface thread.
class BrowserWindowClient {
public:
    virtual ~BrowserWindowClient() = default;
    virtual void callbackOpenUrl_(const std::string& url) = 0;
    virtual void callbackOpenFile_(const std::string& path) = 0;
    virtual void callbackChangeDone() = 0;
    virtual void callbackChangeUndone() = 0;
    // Sees every key event meant for the page before the browser does; returns
    // true when the client consumed it.
    virtual bool OnKeyMessage(QObject* target, QKeyEvent* event) = 0;
    // A mouse button goes down over the page; the page sees the press afterwards.
    virtual void OnMouseDown() {}
    // The middle button was clicked over the page, which never sees it: the
    // browser's own paste of the primary selection would bypass the program's.
    virtual void OnMiddleClick() {}
    // A right click over the page, at `globalX`/`globalY`; on a word the spelling
    // check flagged, `word` and the check's suggestions, else both empty.
    // Local files dragged over the page: whether the client takes them when dropped.
    virtual bool AcceptsDroppedFiles(const std::vector<std::string>& paths) { return false; }
    // Those files dropped at `x`/`y`, in the window's pixels from its top left.
    virtual void OnFilesDropped(const std::vector<std::string>& paths, int x, int y) {}
    virtual void OnContextMenu(int globalX, int globalY, const std::string& word,
                               const std::vector<std::string>& suggestions) {}
};

class BrowserWindow {
public:
    virtual ~BrowserWindow() = default;

    virtual QWidget* GetWindowHandle() = 0;
    // Loads a page from its HTML text (UTF-8) and returns once it has loaded.
    virtual void LoadHtml(const std::string& html) = 0;
    // Calls the page's global function `name` with up to two text arguments and
    // waits for its result: "true"/"false" for booleans, decimal text for numbers,
    // the empty text for null, undefined or a failure (then described in *error).
    virtual std::string CallFunction(std::string_view name,
                                     const std::optional<std::string>& first = std::nullopt,
                                     const std::optional<std::string>& second = std::nullopt,
                                     std::string* error = nullptr) = 0;
    // Calls the page's global function `name` without waiting: `done` receives
    // its result later on the user-interface thread (nothing on a failure or
    // when the window goes first), and the window meanwhile goes on taking in keys.
    // With `afterKeys` the call runs once the keys let through before it have
    // reached the page, as CallFunction's do, asking again a little later instead
    // of waiting.
    virtual void CallFunctionLater(std::string_view name,
                                   std::function<void(std::optional<std::string>)> done,
                                   bool afterKeys = false) = 0;
    virtual void SetBounds(const QRect& bounds) = 0;
    virtual void Focus() = 0;
    // Prints the page through the system's print dialog, owned by `parent`.
    virtual void Print(QWidget* parent) = 0;
    // Replaces the flagged word last right-clicked.
    virtual void ReplaceMisspelledWord(const std::string& replacement) = 0;
};

namespace Browser {

// The folder of the engine's .bdic spell-check dictionaries: fixed once, before RunMain.
void SetDictionaryFolder(const std::string& folder);
// Checks spelling against these dictionaries of that folder (names without
// ".bdic"), at once in every page; none turns checking off.
void SetSpellCheckLanguages(const std::vector<std::string>& names);

// Starts the engine and the application object, calls `run` once on the
// user-interface thread and returns its result.
int RunMain(int argc, char** argv, int (*run)());

// A new browser window reporting to `client`, a child of `parent`.
std::unique_ptr<BrowserWindow> CreateBrowserWindow(BrowserWindowClient* client, QWidget* parent);

// Depth of page calls waiting for their result; idle work waits while it is not 0.
int PendingCallDepth();

}  // namespace Browser
}  // namespace qorva
