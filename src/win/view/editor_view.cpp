#include "src/win/view/editor_view.h"

#include "src/win/clipboard/clipboard.h"
#include "src/win/menus/command_ids.h"
#include "src/win/view/editor_commands.h"
#include "src/win/view/editor_view_callback.h"
#include "src/win/view/hyperlink_dialog.h"
#include "src/win/view/image_files.h"
#include "src/win/view/image_reference.h"
#include "src/win/frame/main_frame.h"
#include "src/win/settings/settings.h"
#include "tools/files/file_io.h"
#include "src/win/keys/key_tables.h"
#include "src/win/keys/message_loop.h"
#include "src/win/platform/qt_key_message.h"
#include "src/win/spelling/spelling_languages.h"
#include "src/win/settings/settings.h"
#include "src/win/view/zoom.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <charconv>

#include <nlohmann/json.hpp>

namespace qorva {
namespace {

// A dropped picture larger than this is not copied.
constexpr std::uint64_t kMaxDroppedImageBytes = 256u << 20;

std::string EditorPageHtml() {
    QFile page(QStringLiteral(":/qorva/editor.html"));
    if (!page.open(QIODevice::ReadOnly)) return {};
    return page.readAll().toStdString();
}

int ClipboardCommandForKey(int key) {
    switch (key) {
        case Qt::Key_Paste: return command_id::Paste;
        case Qt::Key_Copy: return command_id::Copy;
        case Qt::Key_Cut: return command_id::Cut;
        default: return 0;
    }
}

}  // namespace

CEditorView::CEditorView(CEditorViewCallback* callback, QWidget* parent)
    : QWidget(parent), callback_(callback) {
    setObjectName(QStringLiteral("EditorView"));
    setFocusPolicy(Qt::StrongFocus);
    browser_ = Browser::CreateBrowserWindow(this, this);
    browser_->GetWindowHandle()->setGeometry(0, 0, 800, 600);
    browser_->LoadHtml(EditorPageHtml());
    Call("setZoomFactor", ZoomSetting());
    modified_ = false;
}

CEditorView::~CEditorView() { browser_.reset(); }

std::string CEditorView::Call(std::string_view function, const std::optional<std::string>& first,
                              const std::optional<std::string>& second) {
    return TryCall(function, first, second).value_or(std::string());
}

std::optional<std::string> CEditorView::TryCall(std::string_view function, const std::optional<std::string>& first,
                                                const std::optional<std::string>& second) {
    if (!browser_) return std::nullopt;
    std::string error;
    std::string result = browser_->CallFunction(function, first, second, &error);
    if (!error.empty()) return std::nullopt;
    return result;
}

int CEditorView::CallForNumber(std::string_view function) { return NumberOf(Call(function)); }

int CEditorView::NumberOf(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool CEditorView::OnCommand(int id) {
    if (id == command_id::Paste && PasteImage()) return true;
    if (IsClipboardCommand(id)) return HandleClipboardCommand(id, ClipboardCall());
    if (const std::string_view function = PageFunctionForCommand(id); !function.empty()) {
        Call(function);
        return true;
    }
    switch (id) {
        case command_id::InsertImage: InsertImage(); return true;
        case command_id::InsertHyperlink: InsertHyperlink(); return true;
        case command_id::CodeLanguage: EditCodeLanguage(); return true;
        case command_id::ImageDescription: EditImageDescription(); return true;
        case command_id::ZoomLarger:
        case command_id::ZoomSmaller:
        case command_id::ZoomReset: Zoom(id); return true;
        default: return false;
    }
}

void CEditorView::Zoom(int command) {
    const ZoomCommand step = command == command_id::ZoomLarger    ? ZoomCommand::Larger
                             : command == command_id::ZoomSmaller ? ZoomCommand::Smaller
                                                           : ZoomCommand::Reset;
    SetZoom(NextZoomText(ZoomSetting(), step));
}

void CEditorView::SetZoom(const std::string& zoom) {
    Call("setZoomFactor", zoom);
    WriteZoomSetting(zoom);
}

void CEditorView::InsertImage() {
    // Opens in the document's folder (Qt's choice for an untitled one).
    const QString chosen = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), QString(), callback_->GetDocumentFolder(),
        QStringLiteral("Image Files (*.png, *.jpg, *.jpeg) (*.png *.jpg *.jpeg);;All Files (*)"));
    if (chosen.isEmpty()) return;
    const std::string reference =
        MakeImageReference(chosen.toStdString(), callback_->GetDocumentFolder().toStdString());
    Call("insertImage", reference);
}

namespace {

void ShowImageMessage(const QString& text) {
    ShowExclamation(QApplication::activeWindow(), QStringLiteral("Qorva"), text);
}

}  // namespace

// A picture alone on the clipboard (a screenshot) becomes a PNG file in images/
// beside the document; anything with text goes through the ordinary paste.
bool CEditorView::PasteImage() {
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    if (!offered || !offered->hasImage() || offered->hasText() || offered->hasFormat(kModelMimeType)) return false;
    const QString folder = callback_->GetDocumentFolder();
    if (folder.isEmpty()) {
        ShowImageMessage(QStringLiteral("Save the document first: a pasted picture is kept as a file in the "
                                        "images folder beside it. The picture stays on the clipboard."));
        return true;
    }
    QByteArray png = offered->data(QStringLiteral("image/png"));
    if (png.isEmpty()) {
        const QImage image = qvariant_cast<QImage>(offered->imageData());
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) png.clear();
    }
    if (png.isEmpty()) {
        ShowImageMessage(QStringLiteral("The picture on the clipboard could not be read."));
        return true;
    }
    try {
        Call("insertImage", SaveIntoImagesFolder(folder.toStdString(), "image", ".png", 1,
                                                 std::string_view(png.constData(), png.size())));
    } catch (const FileError& error) {
        ShowImageMessage(QStringLiteral("The picture could not be saved:\n%1").arg(QString::fromStdString(error.what())));
    }
    return true;
}

bool CEditorView::AcceptsDroppedFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (!IsImageFileName(path) || !QFileInfo(QString::fromStdString(path)).isFile()) return false;
    return !paths.empty();
}

void CEditorView::OnFilesDropped(const std::vector<std::string>& paths, int x, int y) {
    Call("moveCaretToPoint", std::to_string(x), std::to_string(y));
    InsertImageFiles(paths);
}

// Each picture referred to where it lies, or copied beside the document first.
void CEditorView::InsertImageFiles(const std::vector<std::string>& paths) {
    const std::string folder = callback_->GetDocumentFolder().toStdString();
    const bool copy = CopyDroppedImagesSetting();
    for (const std::string& path : paths) {
        ImageDropPlan plan = PlanImageDrop(path, folder, copy);
        if (plan.copy) {
            const QFileInfo file(QString::fromStdString(path));
            try {
                plan.reference = SaveIntoImagesFolder(folder, file.completeBaseName().toStdString(),
                                                      "." + file.suffix().toStdString(), 0,
                                                      ReadWholeFile(path, kMaxDroppedImageBytes));
            } catch (const FileError& error) {
                ShowImageMessage(QStringLiteral("The picture could not be copied beside the document:\n%1")
                                     .arg(QString::fromStdString(error.what())));
                return;
            }
        }
        Call("insertImage", plan.reference);
    }
}

void CEditorView::InsertHyperlink() {
    const QString proposed = QString::fromStdString(Call("getSelectedText"));
    CHyperlinkDialog dialog(proposed, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    Call("insertHyperlink", dialog.Title().toStdString(), dialog.Url().toStdString());
}

void CEditorView::EditImageDescription() {
    const nlohmann::json image = nlohmann::json::parse(Call("getImageDescription"), nullptr, false);
    if (!image.is_object()) {
        QApplication::beep();  // the selection is not on an image
        return;
    }
    CHyperlinkDialog dialog(QStringLiteral("Image Description"), QStringLiteral("Description"),
                            QString::fromStdString(image.value("alt", std::string())), QStringLiteral("Title"),
                            QString::fromStdString(image.value("title", std::string())), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    Call("setImageDescription", dialog.Title().toStdString(), dialog.Url().toStdString());
}

void CEditorView::EditCodeLanguage() {
    bool accepted = false;
    const QString language = QInputDialog::getText(
        QApplication::activeWindow(), QStringLiteral("Code Language"),
        QStringLiteral("Language of the code block (for example python, or an info string such as c++ {.numberLines}):"),
        QLineEdit::Normal, QString::fromStdString(Call("getCodeInfo")), &accepted);
    if (accepted) Call("setCodeInfo", language.toStdString());
}

void CEditorView::Print() {
    if (!browser_) return;
    Call("prepareForPrinting");
    browser_->Print(this);
}

void CEditorView::FocusPage() {
    if (browser_) browser_->Focus();
}

void CEditorView::callbackOpenUrl_(const std::string& url) {
    callback_->OpenUrl(QString::fromStdString(url));
}

void CEditorView::callbackOpenFile_(const std::string& path) {
    callback_->OpenFile(QString::fromStdString(path));
}

void CEditorView::callbackChangeDone() {
    modified_ = true;
    ++changeCount_;
    if (auto* loop = ChromiumMessageHandler::Current()) loop->StartIdlePeriod();
    if (changeListener_) changeListener_();
}

void CEditorView::callbackChangeUndone() {
    modified_ = true;
    ++changeCount_;
    if (auto* loop = ChromiumMessageHandler::Current()) loop->StartIdlePeriod();
    if (changeListener_) changeListener_();
}

void CEditorView::OnMouseDown() {
    // Navigation mode ends with the Ctrl key's release, but a release that happens
    // after the focus has moved on (Ctrl+K opens a dialog) never reaches the page.
    // A click then finds the mode still on: it must not follow a link unless Ctrl
    // alone really is held.
    if (!navigationMode_) return;
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers() &
                                       (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (held != Qt::ControlModifier) Call("leaveNavigationMode");
}

ClipboardPageCall CEditorView::ClipboardCall() {
    return [this](std::string_view function, const std::string* argument) {
        return argument ? Call(function, *argument) : Call(function);
    };
}

void CEditorView::OnMiddleClick() { PastePrimarySelection(ClipboardCall()); }

void CEditorView::SetSearchOptions(bool matchCase, bool wholeWord) {
    Call("setSearchOptions", std::string("{\"matchCase\":") + (matchCase ? "true" : "false") +
                                 ",\"wholeWord\":" + (wholeWord ? "true" : "false") + "}");
}

void CEditorView::OnContextMenu(int globalX, int globalY, const std::string& word,
                                const std::vector<std::string>& suggestions) {
    ShowContextMenu(QPoint(globalX, globalY), word, suggestions);
}

bool CEditorView::OnKeyMessage(QObject* target, QKeyEvent* event) {
    if (resendingKey_) return false;
    // The keyboard's own clipboard keys take the program's way, never the browser's.
    if (const int command = ClipboardCommandForKey(event->key())) {
        if (event->type() == QEvent::KeyPress) OnCommand(command);
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The shell's accelerators come before the page: the browser may not claim
        // a key that the menus bind.
        event->ignore();
        return true;
    }
    if (auto* loop = ChromiumMessageHandler::Current();
        loop && loop->PreTranslateMessage(target, event)) {
        return true;
    }
    const PageCall callPage = [this](std::string_view function) {
        if (function == "enterNavigationMode") navigationMode_ = true;
        if (function == "leaveNavigationMode") navigationMode_ = false;
        return Call(function);
    };
    const std::vector<KeyMessage> messages =
        KeyMessagesFor(event->type(), event->key(), event->modifiers(), event->text());
    if (HandleKeyMessage(messages.front(), callPage)) return true;
    if (messages.size() < 2 || !HandleKeyMessage(messages[1], callPage)) return false;
    // The key itself goes to the browser, the character it would type does not.
    QKeyEvent withoutText(event->type(), event->key(), event->modifiers(),
                          event->nativeScanCode(), event->nativeVirtualKey(),
                          event->nativeModifiers(), QString(), event->isAutoRepeat(),
                          event->count());
    resendingKey_ = true;
    QCoreApplication::sendEvent(target, &withoutText);
    resendingKey_ = false;
    return true;
}

void CEditorView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (browser_) browser_->SetBounds(rect());
}

void CEditorView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FocusPage();
}

void CEditorView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos(), {}, {});
    event->accept();
}

void CEditorView::ShowContextMenu(const QPoint& at, const std::string& misspelledWord,
                                  const std::vector<std::string>& suggestions) {
    QMenu menu(window());
    menu.setObjectName(QStringLiteral("EditorContextMenu"));
    if (!misspelledWord.empty()) {
        AddSpellingItems(menu, misspelledWord, suggestions, [this](const std::string& text) {
            if (browser_) browser_->ReplaceMisspelledWord(text);
        });
        menu.addSeparator();
    }
    menu.addAction(QStringLiteral("Cut"))->setData(command_id::Cut);
    menu.addAction(QStringLiteral("Copy"))->setData(command_id::Copy);
    menu.addAction(QStringLiteral("Paste"))->setData(command_id::Paste);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Insert Image..."))->setData(command_id::InsertImage);
    if (QAction* chosen = menu.exec(at); chosen && chosen->data().isValid()) OnCommand(chosen->data().toInt());
}

}  // namespace qorva
