#include "src/win/clipboard/clipboard_formats.h"

#include "src/win/clipboard/cf_html.h"
#include "src/win/document/document_conversion.h"
#include "src/win/document/file_content.h"
#include "tools/converter_host/converter_host.h"

namespace qorva {
namespace {

bool Present(const std::optional<std::string>& format) { return format && !format->empty(); }

std::string ThroughPandoc(const std::string& text, std::string_view pandocFormat, const PandocProbe& probe) {
    std::optional<PandocInstallation> pandoc = probe();
    if (!pandoc) return {};
    ConversionResult result = ReadThroughPandoc(text, pandocFormat, *pandoc);
    return result.ok() ? result.text : std::string();
}

}  // namespace

CopyFormats FormatsForCopy(std::string_view model) {
    CopyFormats formats;
    formats.model = std::string(model);
    std::string text = TryWriteTextFormat(model, /*wrap=*/false);
    if (!text.empty()) formats.text = ToCrLf(text);
    std::string html = TryWriteHtml(model);
    if (!html.empty()) formats.cfHtml = BuildCfHtml(html);
    return formats;
}

std::optional<std::string> TextForCopyAsHtml(std::string_view model) {
    std::string html = TryWriteHtml(model);
    if (html.empty()) return std::nullopt;
    return ToCrLf(html);
}

std::optional<PandocInstallation> UsablePandoc() {
    PandocInstallation pandoc = DetectPandoc();
    if (!pandoc.usable()) return std::nullopt;
    return pandoc;
}

std::string ModelForPaste(const ClipboardOffer& offer, const PandocProbe& pandoc) {
    if (Present(offer.model)) return *offer.model;
    if (Present(offer.html)) {
        std::string model = ThroughPandoc(*offer.html, "html", pandoc);
        if (!model.empty()) return model;
    }
    if (Present(offer.text)) return TryReadPlainText(*offer.text);
    return {};
}

std::optional<MessageSpec> PasteSizeRefusal(std::string_view document, std::string_view pasted) {
    const std::uint64_t file = SavedTextSize(document) + SavedTextSize(pasted);
    if (file > kDocumentFileLimitBytes)
        return message::PasteTooLarge(MegabytesRoundedUp(file), kDocumentFileLimitBytes / 1'000'000);
    const std::uint64_t editor = document.size() + pasted.size();
    if (editor > kPageDocumentLimitBytes)
        return message::PasteTooLargeForEditor(MegabytesRoundedUp(editor), kPageDocumentLimitBytes / 1'000'000);
    return std::nullopt;
}

std::string ModelForPasteQorvaFormat(const std::optional<std::string>& text) {
    if (!Present(text)) return {};
    return TryReadTextFormat(*text);
}

std::string ModelForPasteMultiMarkdown(const std::optional<std::string>& text, const PandocProbe& pandoc) {
    if (!Present(text)) return {};
    return ThroughPandoc(*text, "markdown_mmd", pandoc);
}

}  // namespace qorva
