#include "src/win/clipboard/clipboard.h"

#include "src/win/clipboard/cf_html.h"
#include "src/win/clipboard/clipboard_formats.h"
#include "src/win/frame/main_frame.h"
#include "src/win/menus/command_ids.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qorva {
namespace {

namespace id = command_id;

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Text on the X11 clipboard ends lines with a bare line feed.
QString AsDesktopText(const std::string& crlfText) { return FromUtf8(crlfText).replace("\r\n", "\n"); }

void CopyOrCut(const ClipboardPageCall& page, std::string_view function) {
    std::string model = page(function, nullptr);
    if (model.empty()) return;  // nothing selected: the clipboard keeps what it had
    CopyFormats formats = FormatsForCopy(model);
    auto* data = new QMimeData;
    data->setData(kModelMimeType, QByteArray::fromStdString(formats.model));
    if (formats.text) data->setText(AsDesktopText(*formats.text));
    // Other programs read text/html as plain HTML, so the envelope stays inside.
    if (formats.cfHtml) data->setHtml(FromUtf8(ExtractCfHtmlFragment(*formats.cfHtml)));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CopyAsHtml(const ClipboardPageCall& page) {
    std::string model = page("copy", nullptr);
    if (model.empty()) return;
    std::optional<std::string> html = TextForCopyAsHtml(model);
    auto* data = new QMimeData;
    if (html) data->setText(AsDesktopText(*html));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::string> TextOf(const QMimeData* data) {
    if (!data || !data->hasText()) return std::nullopt;
    return data->text().toStdString();
}

// An HTML fragment from text/html; a CF_HTML envelope that a program put there
// as it is is unwrapped.
std::optional<std::string> HtmlOf(const QMimeData* data) {
    if (!data || !data->hasHtml()) return std::nullopt;
    std::string html = data->html().toStdString();
    if (html.starts_with("Version:")) {
        std::string fragment = ExtractCfHtmlFragment(html);
        if (!fragment.empty()) return fragment;
    }
    return html;
}

// A paste after which the document could not be opened again is refused.
void PasteModel(const ClipboardPageCall& page, const std::string& model) {
    if (model.empty()) return;
    if (std::optional<MessageSpec> refusal = PasteSizeRefusal(page("getTextJson", nullptr), model)) {
        ShowExclamation(QApplication::activeWindow(), QString::fromStdString(refusal->caption),
                        QString::fromStdString(refusal->text));
        return;
    }
    page("paste", &model);
}

void PasteOffered(const ClipboardPageCall& page, const QMimeData* offered) {
    ClipboardOffer offer;
    if (offered && offered->hasFormat(kModelMimeType)) offer.model = offered->data(kModelMimeType).toStdString();
    offer.html = HtmlOf(offered);
    offer.text = TextOf(offered);
    PasteModel(page, ModelForPaste(offer));
}

}  // namespace

void PastePrimarySelection(const ClipboardPageCall& page) {
    PasteOffered(page, QGuiApplication::clipboard()->mimeData(QClipboard::Selection));
}

bool IsClipboardCommand(int commandId) {
    return commandId == id::Copy || commandId == id::Cut || commandId == id::CopyAsHtml || commandId == id::Paste ||
           commandId == id::PasteQorvaFormat || commandId == id::PasteMultiMarkdown;
}

bool HandleClipboardCommand(int commandId, const ClipboardPageCall& page) {
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    switch (commandId) {
        case id::Copy: CopyOrCut(page, "copy"); return true;
        case id::Cut: CopyOrCut(page, "cut"); return true;
        case id::CopyAsHtml: CopyAsHtml(page); return true;
        case id::Paste: PasteOffered(page, offered); return true;
        case id::PasteQorvaFormat: PasteModel(page, ModelForPasteQorvaFormat(TextOf(offered))); return true;
        case id::PasteMultiMarkdown: PasteModel(page, ModelForPasteMultiMarkdown(TextOf(offered))); return true;
        default: return false;
    }
}

}  // namespace qorva
