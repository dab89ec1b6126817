// PDF through XeLaTeX: finding it, checking it runs, and typesetting a complete
// LaTeX document in a private work folder.
#pragma once

#include "src/win/tools/process_runner.h"

#include <string>
#include <string_view>

namespace qorva {

inline constexpr const char* kXeLaTeXDownloadPrompt = "Export to PDF requires XeLaTeX. Download it now?";
inline constexpr const char* kXeLaTeXDownloadPage = "https://qorva.org/support/0002/";
inline constexpr const char* kPdfExportFailed = "Export to PDF via XeLaTeX failed.";

// The bin folder (with a trailing slash) of the newest TeX Live installed by its
// own installer under `texliveRoot` (/usr/local/texlive/YEAR/bin/ARCH/), which is
// often missing from a desktop session's PATH; empty when there is none, and
// xelatex is then looked for on PATH.
std::string LocateTeXFolder(const std::string& texliveRoot = "/usr/local/texlive");

// Runs a command line that starts with a TeX program name, from the TeX folder
// when there is one (which is then also appended to PATH for the run).
// `result`, when given, tells whether the program started and how it ended.
bool RunTeX(std::string_view commandLine, std::string_view workingFolder, std::string_view input,
            std::string& output, ProcessResult* result = nullptr);

// "xelatex -version" runs, exits with 0 and mentions XeTeX.
bool IsXeLaTeXAvailable();

// Typesets `latex` twice in a fresh work folder, started in `workingFolder` so that
// relative image paths resolve against it, and moves the PDF to `targetPath`
// (replacing a file there). Fonts the text names but the system lacks are replaced
// by installed ones first. On failure `errorText` says why and the target is left
// as it was; the work folder is removed in every case.
bool ExportPdfViaXeLaTeX(std::string_view latex, const std::string& targetPath, const std::string& workingFolder,
                         std::string& errorText);

}  // namespace qorva
