// How the storage format of a named file is chosen, wherever it is opened from
// (Open, Open Recent, the command line), and which format a name given to Save As
// asks for, so that a file's name and its content agree.
#pragma once

#include "src/win/document/document_format.h"

#include <optional>
#include <string>
#include <string_view>

namespace qorva {

// ".text" gives the native format and a Markdown extension (".md", ".markdown",
// ".mdown", ".mkd" and the others of the Markdown filter) the flavour of the
// setting, compared without regard to case; nothing for any other name.
std::optional<DocumentFormat> FormatByExtension(std::string_view path, std::string_view markdownSetting);

// The format a named file opens in: the one it was last opened or saved in (as the
// recent list remembers it), else its extension's, else the DefaultFormat one.
DocumentFormat FormatForNamedFile(std::string_view path, std::optional<DocumentFormat> remembered,
                                  std::string_view markdownSetting, DocumentFormat byDefault);

// The format Save As writes under `path`: the extension's family (a Markdown
// document keeps its flavour under any Markdown name), else the current format.
DocumentFormat FormatForSavedName(std::string_view path, DocumentFormat current, std::string_view markdownSetting);

// False when the name's extension belongs to another format family than `format`
// (a ".text" name for a Markdown flavour, or a Markdown name for the native format).
bool NameFitsFormat(std::string_view path, DocumentFormat format);

// `path` with its extension replaced by the one of `format` ("text" or "md").
std::string WithExtensionOf(std::string_view path, DocumentFormat format);
std::string_view ExtensionOf(DocumentFormat format);

// The keyword kept for a format in the recent list ("text", "pandoc", "github",
// "mmd"), and back; nothing for an unknown keyword.
std::string_view KeywordOf(DocumentFormat format);
std::optional<DocumentFormat> FormatOfKeyword(std::string_view keyword);

}  // namespace qorva
