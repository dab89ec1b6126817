// The six export formats: how each is offered (menu, dialog filter, template kind,
// tool check) and how it is made.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qorva {

enum class ExportKind : int { None = 0, Pdf = 1, Latex = 2, Html = 3, Word = 4, RichText = 5, Epub = 6 };

enum class ExportTool { None, XeLaTeX, Pandoc };

struct ExportFormat {
    ExportKind kind;
    int commandId;
    const char* menuLabel;
    const char* cliName;            // the name after --to on the command line
    const char* extension;          // proposed for the output file
    const char* filterLabel;
    const char* filterPattern;
    const char* templateExtension;  // nullptr: no template choice
    ExportTool toolCheck;
    const char* pandocFormat;       // nullptr: made without Pandoc
};

inline constexpr int kRepeatExportCommand = 33080;
inline constexpr const char* kRepeatExportLabel = "Repeat Export\tCtrl+Alt+Shift+E";

// In menu order: HTML5, Word, Rich Text, EPUB, PDF, XeLaTeX.
std::span<const ExportFormat> ExportFormats();
const ExportFormat* FindExportFormat(ExportKind kind);
const ExportFormat* FindExportFormatByCommand(int commandId);
const ExportFormat* FindExportFormatByCliName(std::string_view name);

// The document's path with the extension of its file name replaced (or appended
// when it has none); empty for an untitled document.
std::string ProposedExportPath(const std::string& documentPath, const std::string& extension);

}  // namespace qorva
