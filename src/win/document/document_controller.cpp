#include "src/win/document/document_controller.h"

#include "src/win/app/about_dialog.h"
#include "src/win/clipboard/clipboard.h"
#include "src/win/document/document_title.h"
#include "src/win/view/editor_view.h"
#include "src/win/menus/menu_accelerators.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/menus/command_ids.h"
#include "src/win/view/outline_panel.h"
#include "src/win/platform/qt_key_message.h"
#include "src/win/app/program_version.h"
#include "src/win/menus/recent_menu.h"
#include "src/win/app/update_checker.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace qorva {

namespace id = command_id;

// The editor view as the document sees it.
class DocumentController::ViewPage : public DocumentPage {
public:
    explicit ViewPage(CEditorView& view) : view_(view) {}
    std::string GetTextJson() override { return view_.GetTextJson(); }
    void SetTextJson(const std::string& model) override { view_.SetTextJson(model); }
    void SetBaseUrl(const std::string& url) override { view_.SetBaseUrl(url); }
    bool IsModified() const override { return view_.IsModified(); }
    void SetModified(bool modified) override { view_.SetModified(modified); }
    std::optional<std::string> TryGetTextJson() override { return view_.TryGetTextJson(); }
    bool TrySetTextJson(const std::string& model) override { return view_.TrySetTextJson(model); }

private:
    CEditorView& view_;
};

DocumentController::DocumentController(QMainWindow& frame, CEditorView& view, std::function<void(int)> onCommand)
    : DocumentDialogs(&frame), frame_(frame), view_(view), onCommand_(std::move(onCommand)) {
    // The editor above, the search bar below in a pane of fixed height that the
    // user cannot drag; hidden, the editor takes the whole client area.
    splitter_ = new QSplitter(Qt::Vertical, &frame);
    splitter_->setObjectName("frameSplitter");
    splitter_->setHandleWidth(0);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(&view);
    search_ = new CSearchView(splitter_);
    search_->setFixedHeight(CSearchView::kPaneHeight);
    splitter_->addWidget(search_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    search_->hide();
    search_->SetCallback(this);
    frame.setCentralWidget(splitter_);

    menus_ = new MenuBar(frame.menuBar(), onCommand_);

    status_ = new QLabel(&frame);
    status_->setObjectName("statusCounts");
    frame.statusBar()->setSizeGripEnabled(false);
    frame.statusBar()->addWidget(status_);
    autoSaveNote_ = new QLabel(&frame);
    autoSaveNote_->setObjectName("autoSaveNote");
    autoSaveNote_->setContentsMargins(0, 0, 6, 0);
    frame.statusBar()->addPermanentWidget(autoSaveNote_);

    OutlinePage outlinePage{
        [&view] { return view.Call("getOutline"); },
        [&view] { return std::atoi(view.Call("getOutlineCurrent").c_str()); },
        [&view](int block) {
            view.Call("goToBlock", std::to_string(block));
            view.FocusPage();
        },
        [&view] { return view.ChangeCount(); },
        [&view] { view.FocusPage(); },
    };
    outline_ = new OutlinePanel(std::move(outlinePage), &frame);
    frame.addDockWidget(Qt::LeftDockWidgetArea, outline_);
    QObject::connect(outline_, &QDockWidget::visibilityChanged, outline_,
                     [this](bool visible) { menus_->setChecked(id::Outline, visible); });
    page_ = std::make_unique<ViewPage>(view);
    lifecycle_ = std::make_unique<DocumentLifecycle>(*page_, *this, recent_);
    ReloadCountDisplay();
    ApplyWritingModes();

    recent_.SetMaximum(kRecentDefaultMaximum);
    recentPlaceholder_ = RecentPlaceholderOf(menus_->openRecentMenu());
    if (recent_.Read(UserSettings())) RecentListChanged();

    ResetRepeatExport();

    const WindowLayout layout = ReadWindowLayout();
    search_->matchCaseBox()->setChecked(layout.matchCase);
    search_->wholeWordBox()->setChecked(layout.wholeWord);
    if (layout.outline) outline_->Toggle();

    view.SetCommandExtension([&view](int commandId) {
        if (!IsClipboardCommand(commandId)) return false;
        return HandleClipboardCommand(commandId, [&view](std::string_view function, const std::string* argument) {
            return argument ? view.Call(function, *argument) : view.Call(function);
        });
    });
    UpdateTitle();
}

DocumentController::~DocumentController() = default;

bool DocumentController::HandleCommand(int commandId) {
    if (lifecycle_->HandleCommand(commandId)) return true;
    switch (commandId) {
        case id::Close:  // one window per process: closing it is quitting
        case id::Exit:
            // Closing asks "Save changes?" first; posted, as a close request is.
            QTimer::singleShot(0, &frame_, [this] { frame_.close(); });
            return true;
        case id::Search: ToggleSearch(); return true;
        case id::Outline: ToggleOutline(); return true;
        case id::Replace: ShowReplace(); return true;
        case id::FullScreen: ToggleFullScreen(); return true;
        case id::DisplayWordCount: ChooseCountDisplay(CountDisplay::Words); return true;
        case id::DisplayCharacterCount: ChooseCountDisplay(CountDisplay::Characters); return true;
        case id::FocusMode:
        case id::TypewriterMode: ToggleWritingMode(commandId); return true;
        case id::About: ShowAbout(); return true;
        case id::CheckForUpdates: CheckForUpdates(); return true;
        case id::Support: OpenUrl(std::string(kSupportPage)); return true;
        case id::Feedback: OpenUrl(std::string(kFeedbackPage)); return true;
        default: return false;
    }
}

bool DocumentController::PreTranslateMessage(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    // Dialogs and menus of their own keep their keys.
    if (!widget || widget->window() != &frame_) return false;
    for (QWidget* focus = QApplication::focusWidget(); focus; focus = focus->parentWidget()) {
        if (focus == search_) return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (OpenMenuByMnemonic(*key)) return true;
    const int virtualKey = VirtualKeyFor(key->key());
    if (virtualKey == 0) return false;
    std::optional<int> command = AcceleratorCommand(virtualKey, ModifierSetFor(event->type(), key->key(), key->modifiers()));
    if (!command) return false;
    // Sent even when the menu item is disabled: the handler finds nothing to do.
    onCommand_(*command);
    return true;
}

// Alt with a letter drops down the top-level menu whose title marks that letter.
bool DocumentController::OpenMenuByMnemonic(const QKeyEvent& key) {
    if (key.modifiers() != Qt::AltModifier || key.key() < Qt::Key_A || key.key() > Qt::Key_Z) return false;
    QMenuBar* bar = frame_.menuBar();
    if (!bar->isVisible()) return false;
    const QString mnemonic = QString("&") + QChar(u'a' + (key.key() - Qt::Key_A));
    for (QAction* menu : bar->actions()) {
        if (menu->text().contains(mnemonic, Qt::CaseInsensitive)) {
            bar->setActiveAction(menu);
            return true;
        }
    }
    return false;
}

void DocumentController::UpdateTitle() {
    const bool titled = !lifecycle_->path().empty();
    for (int commandId : {id::ReopenQorva, id::ReopenPandoc, id::ReopenGithub, id::ReopenMmd}) {
        menus_->setEnabledState(commandId, titled);
    }
    ShowTitle();
    AskCounts();
}

void DocumentController::ShowTitle() {
    std::string title = DocumentTitle(lifecycle_->path(), lifecycle_->welcome(), view_.IsModified());
    if (counts_ && countMode_ != CountDisplay::None) {
        const bool words = countMode_ == CountDisplay::Words;
        const PageCounts counts = *counts_;
        title += CountSuffix(countMode_, [&] { return int(words ? counts.selectedWords : counts.selectedCharacters); },
                             [&] { return int(words ? counts.words : counts.characters); });
    }
    const QString text = QString::fromStdString(title);
    if (frame_.windowTitle() != text) frame_.setWindowTitle(text);
    if (!view_.IsModified() && !autoSaveNote_->text().isEmpty()) autoSaveNote_->clear();
}

void DocumentController::ShowAutoSaveNote(const std::string& note) {
    autoSaveNote_->setText(QString::fromStdString(note));
}

// One page call for the four counts (the page keeps them per block), answered
// without holding up typing. Idle times while it is out ask once more after it;
// an answer that never comes (a renderer that went down) stops nothing for long.
void DocumentController::AskCounts() {
    constexpr auto kAnswerLost = std::chrono::seconds(2);
    const auto now = std::chrono::steady_clock::now();
    if (countsAsked_ && now - countsAskedAt_ < kAnswerLost) {
        countsStale_ = true;
        return;
    }
    countsAsked_ = true;
    countsAskedAt_ = now;
    view_.CallLater("getCounts", [this, alive = std::weak_ptr<bool>(alive_)](std::optional<std::string> answer) {
        if (alive.expired()) return;
        countsAsked_ = false;
        if (answer) {
            counts_ = ParseCounts(*answer);
            const QString status = QString::fromStdString(StatusLineText(*answer));
            if (status_->text() != status) status_->setText(status);
            ShowTitle();
        }
        if (std::exchange(countsStale_, false)) AskCounts();
    }, true);
}

bool DocumentController::CanClose() { return lifecycle_->AskToSave(); }

void DocumentController::WriteRecentList() { recent_.Write(UserSettings()); }

void DocumentController::WriteWindowLayout() {
    WindowLayout layout;
    const Qt::WindowStates states = fullScreen_ ? savedStates_ : frame_.windowState();
    layout.maximized = states.testFlag(Qt::WindowMaximized);
    // The frame as it is when shown normally, so that un-maximising restores it.
    const QRect normal = fullScreen_ ? savedRect_ : layout.maximized ? frame_.normalGeometry() : frame_.geometry();
    if (normal.isValid()) layout.geometry = std::array{normal.x(), normal.y(), normal.width(), normal.height()};
    layout.outline = outline_->isVisible();
    layout.matchCase = search_->matchCaseBox()->isChecked();
    layout.wholeWord = search_->wholeWordBox()->isChecked();
    qorva::WriteWindowLayout(layout);
}

QString DocumentController::DialogFolder() const {
    const std::string& path = lifecycle_->path();
    return path.empty() ? QString() : QFileInfo(QString::fromStdString(path)).absolutePath();
}

void DocumentController::RecentListChanged() {
    RebuildRecentMenu(*menus_, menus_->openRecentMenu(), recent_, recentPlaceholder_);
}

void DocumentController::ResetRepeatExport() {
    menus_->setEnabledState(id::RepeatExport, false);
    if (repeatExportReset_) repeatExportReset_();
}

void DocumentController::StartSearch(const QString& text) { view_.StartSearch(text.toStdString()); }

void DocumentController::ContinueSearch(const QString& text) { view_.ContinueSearch(text.toStdString()); }

void DocumentController::SetSearchOptions(bool matchCase, bool wholeWord) {
    view_.SetSearchOptions(std::string("{\"matchCase\":") + (matchCase ? "true" : "false") +
                           ",\"wholeWord\":" + (wholeWord ? "true" : "false") + "}");
}

void DocumentController::Replace(const QString& text, const QString& replacement) {
    view_.ReplaceMatch(text.toStdString(), replacement.toStdString());
}

int DocumentController::ReplaceAll(const QString& text, const QString& replacement) {
    return view_.ReplaceAll(text.toStdString(), replacement.toStdString());
}

void DocumentController::CloseSearch() {
    search_->hide();
    // Hiding the bar may already have moved Qt's focus to the view, so the page
    // is given the keys directly.
    view_.FocusPage();
}

bool DocumentController::IsSearchShown() const { return search_->isVisible(); }

void DocumentController::ToggleSearch() {
    if (IsSearchShown()) {
        CloseSearch();
        return;
    }
    search_->show();
    search_->FocusField();
    search_->ReportOptions();
    view_.PrepareSearch();
}

// Opens the bar if needed, with the focus in the replace field.
void DocumentController::ShowReplace() {
    if (!IsSearchShown()) ToggleSearch();
    search_->FocusReplaceField();
}

void DocumentController::ToggleOutline() {
    outline_->Toggle();
    if (!outline_->isVisible()) view_.FocusPage();
}

// Kept by the window itself: without a window manager Qt never reports the state.
bool DocumentController::IsFullScreen() const { return fullScreen_; }

void DocumentController::ToggleFullScreen() {
    if (!IsFullScreen()) {
        QScreen* screen = frame_.screen() ? frame_.screen() : QGuiApplication::primaryScreen();
        if (!screen) {  // no monitor to cover: nothing changes
            view_.ScrollToSelection();
            return;
        }
        savedGeometry_ = frame_.saveGeometry();
        savedRect_ = frame_.geometry();
        savedStates_ = frame_.windowState();
        frame_.menuBar()->hide();
        frame_.setWindowState(savedStates_ | Qt::WindowFullScreen);
        // Covers the whole monitor, task bars included, also where no window
        // manager carries out the full-screen state.
        frame_.setGeometry(screen->geometry());
        fullScreen_ = true;
    } else {
        frame_.setWindowState(savedStates_ & ~Qt::WindowFullScreen);
        frame_.restoreGeometry(savedGeometry_);
        // Put back explicitly too, for desktops without a window manager.
        if (!(savedStates_ & Qt::WindowMaximized)) frame_.setGeometry(savedRect_);
        frame_.menuBar()->show();
        fullScreen_ = false;
    }
    view_.ScrollToSelection();
}

void DocumentController::ChooseCountDisplay(CountDisplay chosen) {
    WriteInfoSetting(InfoForCountCommand(countMode_, chosen));
    ReloadCountDisplay();
    UpdateTitle();
}

void DocumentController::ReloadCountDisplay() {
    countMode_ = CountDisplayFromInfo(InfoSetting());
    menus_->setChecked(id::DisplayWordCount, countMode_ == CountDisplay::Words);
    menus_->setChecked(id::DisplayCharacterCount, countMode_ == CountDisplay::Characters);
}

void DocumentController::ToggleWritingMode(int commandId) {
    if (commandId == id::FocusMode) WriteFocusModeSetting(!FocusModeSetting());
    else WriteTypewriterModeSetting(!TypewriterModeSetting());
    ApplyWritingModes();
}

void DocumentController::ApplyWritingModes() {
    const bool focus = FocusModeSetting();
    const bool typewriter = TypewriterModeSetting();
    menus_->setChecked(id::FocusMode, focus);
    menus_->setChecked(id::TypewriterMode, typewriter);
    view_.Call("setFocusMode", focus ? "1" : "0");
    view_.Call("setTypewriterMode", typewriter ? "1" : "0");
}

void DocumentController::ShowAbout() {
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : &frame_;
    CAboutDialog about(QString::fromStdString(ProgramVersionText()), owner);
    about.exec();
}

void DocumentController::CheckForUpdates() {
    if (!updates_) {
        updates_ = new UpdateChecker(QString::fromLatin1(kUpdateFeedUrl),
                                     QString::fromStdString(ProgramFileVersionText()), &frame_);
    }
    updates_->CheckWithUi();
}

}  // namespace qorva
