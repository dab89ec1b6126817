// The storage format of a file named on the command line, which is how a file
// manager opens a file with the program: its extension chooses the format.
#pragma once

#include "src/win/document/document_format.h"

#include <optional>
#include <string_view>

namespace qorva {

// Name of the setting that says how .md and .markdown files open: "github" for
// GitHub Markdown, anything else (or nothing) for Pandoc Markdown.
inline constexpr std::string_view kMarkdownFormatSetting = "MarkdownFormat";

// ".text" gives the native format and ".md" or ".markdown" the Markdown flavour of
// the setting, compared without regard to case; nothing for any other file, whose
// format the DefaultFormat setting chooses.
std::optional<DocumentFormat> FormatByExtension(std::string_view path, std::string_view markdownSetting);

}  // namespace qorva
