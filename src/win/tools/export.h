// The export operations: model JSON in, a file of another format out. The document
// itself is never touched. Each reports success and, on failure, a text for the user.
#pragma once

#include "src/win/tools/export_formats.h"
#include "src/win/tools/user_files.h"

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

// HTML body in the chosen ".html5" template; the writer's line feeds become CR LF.
ExportResult ExportHtml(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                        const std::vector<std::string>& templateFolders = UserFileFolders());

// LaTeX body in the chosen ".xelatex" template; the writer's line feeds become CR LF.
ExportResult ExportLatex(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                         const std::vector<std::string>& templateFolders = UserFileFolders());

// The LaTeX document typeset by XeLaTeX in a private work folder. Pictures are
// looked for from `workingFolder` (the document's folder) and copied in when they
// really are pictures; the others, and remote ones, are written as text.
ExportResult ExportPdf(std::string_view modelJson, const std::string& path, const std::string& templateChoice,
                       const std::string& workingFolder,
                       const std::vector<std::string>& templateFolders = UserFileFolders());

// Pandoc JSON (in the dialect of the Pandoc found) written by Pandoc as "docx",
// "rtf" or "epub". Pandoc writes beside the target and the result replaces the
// target only when Pandoc succeeded, so a failure leaves an old file as it was.
// Pandoc runs in a private work folder holding copies of the pictures found from
// `workingFolder`; remote pictures are fetched only with `fetchRemoteImages`.
ExportResult ExportWithPandoc(std::string_view modelJson, const std::string& path, const std::string& pandocFormat,
                              const std::string& workingFolder, bool fetchRemoteImages = false);

// The folder relative picture paths are read from: the document's folder, or the
// program folder for an untitled document.
std::string ExportWorkingFolder(const std::string& documentPath);

}  // namespace qorva
