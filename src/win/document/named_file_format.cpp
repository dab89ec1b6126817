#include "src/win/document/named_file_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace qorva {
namespace {

// The extensions of the Markdown filter of the Open and Save dialogs.
constexpr std::array<std::string_view, 8> kMarkdownExtensions = {"md",   "markdown", "mdown",  "mkdn",
                                                                  "mkd", "mdwn",     "mdtxt", "mdtext"};

std::size_t ExtensionDot(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    // None, or a hidden file's name.
    if (dot == std::string_view::npos || dot <= start) return std::string_view::npos;
    return dot;
}

std::string LowerCaseExtension(std::string_view path) {
    const std::size_t dot = ExtensionDot(path);
    if (dot == std::string_view::npos) return {};
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

enum class Family { None, Native, Markdown };

Family FamilyOfName(std::string_view path) {
    const std::string extension = LowerCaseExtension(path);
    if (extension == "text") return Family::Native;
    if (std::find(kMarkdownExtensions.begin(), kMarkdownExtensions.end(), extension) != kMarkdownExtensions.end()) {
        return Family::Markdown;
    }
    return Family::None;
}

// Not UsesPandoc: this layer links without the document code.
bool IsMarkdown(DocumentFormat format) { return format != DocumentFormat::QorvaMarkdown; }

Family FamilyOf(DocumentFormat format) { return IsMarkdown(format) ? Family::Markdown : Family::Native; }

}  // namespace

std::optional<DocumentFormat> FormatByExtension(std::string_view path, std::string_view markdownSetting) {
    switch (FamilyOfName(path)) {
        case Family::Native: return DocumentFormat::QorvaMarkdown;
        case Family::Markdown:
            return markdownSetting == "github" ? DocumentFormat::GitHubMarkdown : DocumentFormat::PandocMarkdown;
        case Family::None: break;
    }
    return std::nullopt;
}

DocumentFormat FormatForNamedFile(std::string_view path, std::optional<DocumentFormat> remembered,
                                  std::string_view markdownSetting, DocumentFormat byDefault) {
    if (remembered) return *remembered;
    return FormatByExtension(path, markdownSetting).value_or(byDefault);
}

DocumentFormat FormatForSavedName(std::string_view path, DocumentFormat current, std::string_view markdownSetting) {
    const Family family = FamilyOfName(path);
    if (family == Family::None || family == FamilyOf(current)) return current;
    return *FormatByExtension(path, markdownSetting);
}

bool NameFitsFormat(std::string_view path, DocumentFormat format) {
    const Family family = FamilyOfName(path);
    return family == Family::None || family == FamilyOf(format);
}

std::string_view ExtensionOf(DocumentFormat format) { return IsMarkdown(format) ? "md" : "text"; }

std::string WithExtensionOf(std::string_view path, DocumentFormat format) {
    const std::size_t dot = ExtensionDot(path);
    return std::string(path.substr(0, dot)) + "." + std::string(ExtensionOf(format));
}

std::string_view KeywordOf(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::PandocMarkdown: return "pandoc";
        case DocumentFormat::MultiMarkdown: return "mmd";
        case DocumentFormat::GitHubMarkdown: return "github";
        case DocumentFormat::QorvaMarkdown: break;
    }
    return "text";
}

std::optional<DocumentFormat> FormatOfKeyword(std::string_view keyword) {
    for (DocumentFormat format : {DocumentFormat::QorvaMarkdown, DocumentFormat::PandocMarkdown,
                                  DocumentFormat::MultiMarkdown, DocumentFormat::GitHubMarkdown}) {
        if (KeywordOf(format) == keyword) return format;
    }
    return std::nullopt;
}

}  // namespace qorva
