#include "tools/export/repeat_export.h"

namespace qorva {

void RepeatExportState::Reset() { Store(ExportKind::None, {}, {}); }

void RepeatExportState::Store(ExportKind kind, std::string path, std::string templateChoice, bool fetchRemoteImages) {
    fetchRemoteImages_ = fetchRemoteImages;
    kind_ = kind;
    path_ = std::move(path);
    templateChoice_ = std::move(templateChoice);
}

bool RepeatExportState::CanRepeat() const { return FindExportFormat(kind_) != nullptr; }

ExportResult RepeatExport(const RepeatExportState& state, std::string_view modelJson,
                          const std::string& documentPath, const std::vector<std::string>& templateFolders,
                          const ExportPreferences& preferences) {
    const ExportFormat* format = FindExportFormat(state.kind());
    if (!format) return {false, "There is no export to repeat.", {}};
    switch (state.kind()) {
        case ExportKind::Html:
            return ExportHtml(modelJson, state.path(), state.templateChoice(), templateFolders,
                              {ExportWorkingFolder(documentPath), preferences.language, preferences.embedPictures});
        case ExportKind::Latex:
            return ExportLatex(modelJson, state.path(), state.templateChoice(), templateFolders, preferences.language);
        case ExportKind::Pdf:
            return ExportPdf(modelJson, state.path(), state.templateChoice(), ExportWorkingFolder(documentPath),
                             templateFolders, preferences.language);
        default:
            return ExportWithPandoc(modelJson, state.path(), format->pandocFormat, ExportWorkingFolder(documentPath),
                                    state.fetchRemoteImages(), preferences.language);
    }
}

}  // namespace qorva
