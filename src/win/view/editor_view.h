// CEditorView: the child window in which the editor page runs, and the shell's
// only way to the page. It calls page functions by name, receives the page's
// callbacks, sees every key before the browser does and turns editing commands
// into page calls.
#pragma once

#include "src/win/platform/browser.h"
#include "src/win/clipboard/clipboard.h"
#include "src/win/view/search_view.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qorva {

class CEditorViewCallback;

class CEditorView : public QWidget, public BrowserWindowClient, public CSearchViewCallback {
    Q_OBJECT
public:
    CEditorView(CEditorViewCallback* callback, QWidget* parent);
    ~CEditorView() override;

    // Calls a page function; the empty text for null, undefined or a failure.
    std::string Call(std::string_view function, const std::optional<std::string>& first = {},
                     const std::optional<std::string>& second = {});
    // The same, with nothing for a failure (an error, or no readable answer).
    std::optional<std::string> TryCall(std::string_view function, const std::optional<std::string>& first = {},
                                       const std::optional<std::string>& second = {});

    // Calls a page function without waiting for it (see BrowserWindow).
    void CallLater(std::string_view function, std::function<void(std::optional<std::string>)> done,
                   bool afterKeys = false) {
        if (browser_) browser_->CallFunctionLater(function, std::move(done), afterKeys);
    }

    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    void SetTextJson(const std::string& json) {
        Call("setTextJson", json);
        ++changeCount_;
    }
    // Grows with every change the page reports and every document loaded.
    unsigned ChangeCount() const { return changeCount_; }
    std::string GetTextJson() { return Call("getTextJson"); }
    std::optional<std::string> TryGetTextJson() { return TryCall("getTextJson"); }
    bool TrySetTextJson(const std::string& json) { return TryCall("setTextJson", json).has_value(); }
    void SetBaseUrl(const std::string& url) { Call("setBaseUrl", url); }
    void SetThemeCss(const std::string& css) { Call("setThemeCss", css); }
    // Shows the page at this zoom factor (text as in the Zoom setting) and stores it.
    void SetZoom(const std::string& zoom);
    int GetWordCount() { return CallForNumber("getWordCount"); }
    int GetWordCountSelected() { return CallForNumber("getWordCountSelected"); }
    int GetCharCount() { return CallForNumber("getCharCount"); }
    int GetCharCountSelected() { return CallForNumber("getCharCountSelected"); }
    void ScrollToSelection() { Call("scrollToSelection"); }
    void PrepareSearch() { Call("prepareSearch"); }
    std::string CopySelection() { return Call("copy"); }
    std::string CutSelection() { return Call("cut"); }
    void PasteJson(const std::string& json) { Call("paste", json); }

    // Handles a menu or accelerator command; false when it is not the view's.
    bool OnCommand(int id);

    void Print();
    void FocusPage();

    // Told of every change the page reports (done or undone).
    void SetChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }

    // CSearchViewCallback: the search bar's requests go straight to the page.
    void StartSearch(const QString& text) override { Call("startSearch", text.toStdString()); }
    void ContinueSearch(const QString& text) override { Call("continueSearch", text.toStdString()); }
    void CloseSearch() override { FocusPage(); }
    void SetSearchOptions(bool matchCase, bool wholeWord) override;
    void Replace(const QString& text, const QString& replacement) override {
        Call("replaceMatch", text.toStdString(), replacement.toStdString());
    }
    int ReplaceAll(const QString& text, const QString& replacement) override {
        return NumberOf(Call("replaceAll", text.toStdString(), replacement.toStdString()));
    }

    // BrowserWindowClient
    void callbackOpenUrl_(const std::string& url) override;
    void callbackOpenFile_(const std::string& path) override;
    void callbackChangeDone() override;
    void callbackChangeUndone() override;
    bool OnKeyMessage(QObject* target, QKeyEvent* event) override;
    void OnMouseDown() override;
    void OnMiddleClick() override;
    bool AcceptsDroppedFiles(const std::vector<std::string>& paths) override;
    void OnFilesDropped(const std::vector<std::string>& paths, int x, int y) override;
    void OnContextMenu(int globalX, int globalY, const std::string& word,
                       const std::vector<std::string>& suggestions) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void ShowContextMenu(const QPoint& at, const std::string& misspelledWord,
                         const std::vector<std::string>& suggestions);

private:
    int CallForNumber(std::string_view function);
    static int NumberOf(const std::string& text);
    ClipboardPageCall ClipboardCall();
    void Zoom(int command);
    void InsertImage();
    bool PasteImage();
    void InsertImageFiles(const std::vector<std::string>& paths);
    void InsertHyperlink();
    void EditCodeLanguage();
    void EditImageDescription();

    CEditorViewCallback* callback_;
    std::unique_ptr<BrowserWindow> browser_;
    bool modified_ = false;
    unsigned changeCount_ = 0;
    bool resendingKey_ = false;
    bool navigationMode_ = false;
    std::function<void()> changeListener_;
};

}  // namespace qorva
