// The storage format of the current document and how the DefaultFormat setting
// chooses it. The file's extension never chooses the format.
#pragma once

#include <optional>
#include <string_view>

namespace qorva {

enum class DocumentFormat { QorvaMarkdown = 0, PandocMarkdown = 1, MultiMarkdown = 2, GitHubMarkdown = 3 };

// "text", "pandoc", "github", "mmd", compared exactly; anything else is the native format.
DocumentFormat FormatFromDefaultSetting(std::string_view keyword);

// Pandoc's name for the format ("markdown", "markdown_mmd", "markdown_github");
// empty for the native format, which Pandoc never sees.
std::string_view PandocNameOf(DocumentFormat format);

bool UsesPandoc(DocumentFormat format);

// The format of a "Reopen in Format" (33000-33003) or "Save in Format" (33020-33023) item.
std::optional<DocumentFormat> ReopenFormatOf(int commandId);
std::optional<DocumentFormat> SaveFormatOf(int commandId);

}  // namespace qorva
