#include "src/win/frame/window_furniture.h"

#include "src/win/menus/command_ids.h"
#include "src/win/menus/menu_accelerators.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/platform/qt_key_message.h"
#include "src/win/view/editor_view.h"
#include "src/win/view/outline_panel.h"
#include "src/win/view/search_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace qorva {

namespace id = command_id;

WindowFurniture::WindowFurniture(QMainWindow& frame, CEditorView& view, std::function<void(int)> onCommand,
                                 std::function<std::string()> documentTitle)
    : frame_(frame), view_(view), onCommand_(std::move(onCommand)), documentTitle_(std::move(documentTitle)),
      fullScreen_(frame) {
    // The editor above, the search bar below in a pane of fixed height that the
    // user cannot drag; hidden, the editor takes the whole client area.
    auto* splitter = new QSplitter(Qt::Vertical, &frame);
    splitter->setObjectName("frameSplitter");
    splitter->setHandleWidth(0);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(&view);
    search_ = new CSearchView(splitter);
    search_->setFixedHeight(CSearchView::kPaneHeight);
    splitter->addWidget(search_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    search_->hide();
    search_->SetCallback(&view);
    frame.setCentralWidget(splitter);

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
    ReloadCountDisplay();
    ApplyWritingModes();

    const WindowLayout layout = ReadWindowLayout();
    search_->matchCaseBox()->setChecked(layout.matchCase);
    search_->wholeWordBox()->setChecked(layout.wholeWord);
    if (layout.outline) outline_->Toggle();
}

WindowFurniture::~WindowFurniture() = default;

bool WindowFurniture::HandleCommand(int commandId) {
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
        default: return false;
    }
}

bool WindowFurniture::PreTranslateMessage(QObject* receiver, QEvent* event) {
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
bool WindowFurniture::OpenMenuByMnemonic(const QKeyEvent& key) {
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

void WindowFurniture::UpdateTitle() {
    ShowTitle();
    AskCounts();
}

void WindowFurniture::ShowTitle() {
    std::string title = documentTitle_();
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

void WindowFurniture::ShowAutoSaveNote(const std::string& note) {
    autoSaveNote_->setText(QString::fromStdString(note));
}

// One page call for the four counts (the page keeps them per block), answered
// without holding up typing. Idle times while it is out ask once more after it;
// an answer that never comes (a renderer that went down) stops nothing for long.
void WindowFurniture::AskCounts() {
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

void WindowFurniture::WriteWindowLayout() const {
    WindowLayout layout;
    layout.maximized = fullScreen_.NormallyMaximized();
    const QRect normal = fullScreen_.NormalGeometry();
    if (normal.isValid()) layout.geometry = std::array{normal.x(), normal.y(), normal.width(), normal.height()};
    layout.outline = outline_->isVisible();
    layout.matchCase = search_->matchCaseBox()->isChecked();
    layout.wholeWord = search_->wholeWordBox()->isChecked();
    qorva::WriteWindowLayout(layout);
}

void WindowFurniture::ToggleSearch() {
    if (search_->isVisible()) {
        search_->Close();
        return;
    }
    search_->show();
    search_->FocusField();
    search_->ReportOptions();
    view_.PrepareSearch();
}

// Opens the bar if needed, with the focus in the replace field.
void WindowFurniture::ShowReplace() {
    if (!search_->isVisible()) ToggleSearch();
    search_->FocusReplaceField();
}

void WindowFurniture::ToggleOutline() {
    outline_->Toggle();
    if (!outline_->isVisible()) view_.FocusPage();
}

void WindowFurniture::ToggleFullScreen() {
    fullScreen_.Toggle();
    view_.ScrollToSelection();
}

void WindowFurniture::ChooseCountDisplay(CountDisplay chosen) {
    WriteInfoSetting(InfoForCountCommand(countMode_, chosen));
    ReloadCountDisplay();
    UpdateTitle();
}

void WindowFurniture::ReloadCountDisplay() {
    countMode_ = CountDisplayFromInfo(InfoSetting());
    menus_->setChecked(id::DisplayWordCount, countMode_ == CountDisplay::Words);
    menus_->setChecked(id::DisplayCharacterCount, countMode_ == CountDisplay::Characters);
}

void WindowFurniture::ToggleWritingMode(int commandId) {
    if (commandId == id::FocusMode) WriteFocusModeSetting(!FocusModeSetting());
    else WriteTypewriterModeSetting(!TypewriterModeSetting());
    ApplyWritingModes();
}

void WindowFurniture::ApplyWritingModes() {
    const bool focus = FocusModeSetting();
    const bool typewriter = TypewriterModeSetting();
    menus_->setChecked(id::FocusMode, focus);
    menus_->setChecked(id::TypewriterMode, typewriter);
    view_.Call("setFocusMode", focus ? "1" : "0");
    view_.Call("setTypewriterMode", typewriter ? "1" : "0");
}

}  // namespace qorva
