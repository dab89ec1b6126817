// PDF through XeLaTeX: finding it, checking it runs, and typesetting a complete
// LaTeX document in a private work folder.
#pragma once

#include "tools/process/process_runner.h"

#include <string>
#include <string_view>
#include <vector>

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
// `result`, when given, tells whether the program started and how it ended;
// `environment` holds "NAME=value" entries set for the run.
bool RunTeX(std::string_view commandLine, std::string_view workingFolder, std::string_view input,
            std::string& output, ProcessResult* result = nullptr, const std::vector<std::string>& environment = {});

// "xelatex -version" runs, exits with 0 and mentions XeTeX.
bool IsXeLaTeXAvailable();

// The XeLaTeX command line and the environment of a typesetting run in `workFolder`:
// no shell escape, and TeX may read and write only inside the work folder besides
// its own installation (paranoid file access), so a document's math or code cannot
// pull local files into the PDF. The run's temporary files go there too.
std::string XeLaTeXCommand(const std::string& workFolder);
std::vector<std::string> XeLaTeXSandbox(const std::string& workFolder);

// Typesets `latex` twice in `workFolder`, a private folder the caller made and
// removes, holding the pictures the LaTeX names, and moves the PDF to `targetPath`
// (replacing a file there). Fonts the text names but the system lacks are replaced
// by installed ones first. On failure `errorText` says why and the target is left
// as it was; `cancelled`, when given, tells whether the user stopped the run.
bool ExportPdfViaXeLaTeX(std::string_view latex, const std::string& targetPath, const std::string& workFolder,
                         std::string& errorText, bool* cancelled = nullptr);

}  // namespace qorva
