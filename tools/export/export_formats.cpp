#include "tools/export/export_formats.h"

namespace qorva {
namespace {

constexpr ExportFormat kFormats[] = {
    {ExportKind::Html, 33061, "Export HTML5...", "html5", ".html", "HTML Files", "*.html;*.htm", ".html5",
     ExportTool::None, nullptr},
    {ExportKind::Word, 33063, "Export Word Document...", "docx", ".docx", "Microsoft Word (DOCX) Files", "*.docx",
     nullptr, ExportTool::Pandoc, "docx"},
    {ExportKind::RichText, 33064, "Export Rich Text...", "rtf", ".rtf", "Rich Text Format (RTF) Files", "*.rtf",
     nullptr, ExportTool::Pandoc, "rtf"},
    {ExportKind::Epub, 33065, "Export EPUB...", "epub", ".epub", "EPUB Files", "*.epub", nullptr,
     ExportTool::Pandoc, "epub"},
    {ExportKind::Pdf, 33060, "Export PDF...", "pdf", ".pdf", "PDF Files", "*.pdf", ".xelatex", ExportTool::XeLaTeX,
     nullptr},
    {ExportKind::Latex, 33062, "Export XeLaTeX...", "xelatex", ".tex", "TeX Files", "*.tex", ".xelatex",
     ExportTool::None, nullptr},
};

}  // namespace

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat* FindExportFormat(ExportKind kind) {
    for (const ExportFormat& format : kFormats)
        if (format.kind == kind) return &format;
    return nullptr;
}

const ExportFormat* FindExportFormatByCommand(int commandId) {
    for (const ExportFormat& format : kFormats)
        if (format.commandId == commandId) return &format;
    return nullptr;
}

const ExportFormat* FindExportFormatByCliName(std::string_view name) {
    for (const ExportFormat& format : kFormats)
        if (name == format.cliName) return &format;
    return nullptr;
}

std::string ProposedExportPath(const std::string& documentPath, const std::string& extension) {
    if (documentPath.empty()) return {};
    size_t nameStart = documentPath.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = documentPath.find_last_of('.');
    // A leading dot names a hidden file; it does not start an extension.
    if (dot == std::string::npos || dot <= nameStart) return documentPath + extension;
    return documentPath.substr(0, dot) + extension;
}

}  // namespace qorva
