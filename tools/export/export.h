// The export operations: model JSON in, a file of another format out. The document
// itself is never touched. Each reports success and, on failure, a text for the user.
#pragma once

#include "tools/export/export_formats.h"
#include "tools/export/export_metadata.h"
#include "tools/user_files/user_files.h"

#include <string>
#include <string_view>
#include <vector>

namespace qorva {

inline constexpr const char* kFormattingError = "Formatting Error. Please report this to Qorva support.";
inline constexpr const char* kPandocRequired = "This action requires Pandoc 1.11 or later.";
inline constexpr const char* kXeLaTeXRequired = "Export to PDF requires XeLaTeX.";

struct ExportResult {
    bool succeeded = false;
    std::string errorText;  // why it failed; empty on success
    std::string warnings;   // what the tool said on a successful run (Pandoc's warnings)
    bool cancelled = false; // the user stopped the tool run
    std::vector<std::string> leftOutPictures;  // references written as text, with the reason
};

struct HtmlExportOptions {
    std::string documentFolder;  // relative pictures are read from here; empty: the current folder
    std::string language = kDefaultLanguage;
    bool embedPictures = false;  // pictures as data: URLs instead of references relative to the page
};

// HTML body in the chosen ".html5" template; the writer's line feeds become CR LF.
// The page needs nothing from elsewhere: formulas are MathML and code is coloured
// by a style sheet in its head (both made by Pandoc; without it they stay source),
// its title is the document's (ExportTitle) and its pictures are named relative to it.
ExportResult ExportHtml(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                        const std::vector<std::string>& templateFolders = UserFileFolders(),
                        const HtmlExportOptions& options = {});

// LaTeX body in the chosen ".xelatex" template; the writer's line feeds become CR LF.
// The body starts by giving the PDF the document's title and `language`.
ExportResult ExportLatex(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                         const std::vector<std::string>& templateFolders = UserFileFolders(),
                         const std::string& language = kDefaultLanguage);

// The LaTeX document typeset by XeLaTeX in a private work folder. Pictures are
// looked for from `workingFolder` (the document's folder) and copied in when they
// really are pictures; the others, and remote ones, are written as text.
ExportResult ExportPdf(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                       const std::string& workingFolder,
                       const std::vector<std::string>& templateFolders = UserFileFolders(),
                       const std::string& language = kDefaultLanguage);

// Pandoc JSON (in the dialect of the Pandoc found) written by Pandoc as "docx",
// "rtf" or "epub". Pandoc writes beside the target and the result replaces the
// target only when Pandoc succeeded, so a failure leaves an old file as it was.
// Pandoc runs in a private work folder holding copies of the pictures found from
// `workingFolder`; remote pictures are fetched only with `fetchRemoteImages`.
// The document's title and `language` go into the metadata; in Word the title
// block stands in for a first heading that gave the title.
ExportResult ExportWithPandoc(std::string_view modelJson, const std::string& path, const std::string& pandocFormat,
                              const std::string& workingFolder, bool fetchRemoteImages = false,
                              const std::string& language = kDefaultLanguage);

// The folder relative picture paths are read from: the document's folder, or the
// program folder for an untitled document.
std::string ExportWorkingFolder(const std::string& documentPath);

}  // namespace qorva
