#include "src/win/document/named_file_format.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace qorva {
namespace {

std::string LowerCaseExtension(std::string_view path) {
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0) return {};  // none, or a hidden file's name
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

std::optional<DocumentFormat> FormatByExtension(std::string_view path, std::string_view markdownSetting) {
    const std::string extension = LowerCaseExtension(path);
    if (extension == "text") return DocumentFormat::QorvaMarkdown;
    if (extension == "md" || extension == "markdown") {
        return markdownSetting == "github" ? DocumentFormat::GitHubMarkdown : DocumentFormat::PandocMarkdown;
    }
    return std::nullopt;
}

}  // namespace qorva
