// Which clipboard formats a copy writes and which one a paste takes, and the
// converters between them and model JSON. No clipboard access here: the caller
// puts and takes the texts.
#pragma once

#include "src/win/document/document_messages.h"
#include "tools/pandoc/pandoc.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qorva {

struct CopyFormats {
    std::string model;                   // CF_MODEL: model JSON as the page gave it
    std::optional<std::string> text;     // Unicode text: native Markdown, unwrapped, CR LF
    std::optional<std::string> cfHtml;   // "HTML Format": the HTML in its CF_HTML envelope
};

// Copy and Cut: every format whose converter gave a result.
CopyFormats FormatsForCopy(std::string_view model);

// Copy as HTML: the HTML source as Unicode text (CR LF), nothing else.
std::optional<std::string> TextForCopyAsHtml(std::string_view model);

// What the clipboard offers a paste; absent and empty formats count as missing.
struct ClipboardOffer {
    std::optional<std::string> model;  // CF_MODEL
    std::optional<std::string> html;   // the HTML fragment
    std::optional<std::string> text;   // Unicode text, UTF-8
};

// Asked only when a format needs Pandoc; nothing when Pandoc is not usable.
using PandocProbe = std::function<std::optional<PandocInstallation>()>;

// The installed Pandoc when it is usable.
std::optional<PandocInstallation> UsablePandoc();

// Paste: the model JSON to hand to the page, empty for nothing to paste. CF_MODEL
// as it is; else the HTML through Pandoc; else (or when Pandoc fails) the text
// read as plain text.
std::string ModelForPaste(const ClipboardOffer& offer, const PandocProbe& pandoc = UsablePandoc);

// The size rule for a paste of `pasted` into `document` (both model JSON): the
// document with the pasted part added (a selection it replaces is not taken off)
// must open again, its file and what the editor holds within their limits.
// Nothing when the paste may go ahead, else the message to show instead.
std::optional<MessageSpec> PasteSizeRefusal(std::string_view document, std::string_view pasted);

// Paste as Markdown: the text read as the native Markdown, or through Pandoc as
// MultiMarkdown (nothing without a usable Pandoc).
std::string ModelForPasteQorvaFormat(const std::optional<std::string>& text);
std::string ModelForPasteMultiMarkdown(const std::optional<std::string>& text, const PandocProbe& pandoc = UsablePandoc);

}  // namespace qorva
