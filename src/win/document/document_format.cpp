#include "src/win/document/document_format.h"

#include "src/win/document/named_file_format.h"
#include "src/win/menus/command_ids.h"

namespace qorva {
namespace {

// Menu order: Qorva, Pandoc, GitHub, MultiMarkdown.
constexpr DocumentFormat kMenuOrder[] = {DocumentFormat::QorvaMarkdown, DocumentFormat::PandocMarkdown,
                                         DocumentFormat::GitHubMarkdown, DocumentFormat::MultiMarkdown};

std::optional<DocumentFormat> FormatAt(int commandId, int first) {
    int index = commandId - first;
    if (index < 0 || index > 3) return std::nullopt;
    return kMenuOrder[index];
}

}  // namespace

DocumentFormat FormatFromDefaultSetting(std::string_view keyword) {
    return FormatOfKeyword(keyword).value_or(DocumentFormat::QorvaMarkdown);
}

std::string_view PandocNameOf(DocumentFormat format) {
    switch (format) {
        case DocumentFormat::PandocMarkdown: return "markdown";
        case DocumentFormat::MultiMarkdown: return "markdown_mmd";
        case DocumentFormat::GitHubMarkdown: return "markdown_github";
        case DocumentFormat::QorvaMarkdown: break;
    }
    return "";
}

bool UsesPandoc(DocumentFormat format) { return format != DocumentFormat::QorvaMarkdown; }

std::optional<DocumentFormat> ReopenFormatOf(int commandId) { return FormatAt(commandId, command_id::ReopenQorva); }
std::optional<DocumentFormat> SaveFormatOf(int commandId) { return FormatAt(commandId, command_id::SaveInQorva); }

}  // namespace qorva
