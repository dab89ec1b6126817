#include "src/win/export/export_commands.h"

#include "src/win/document/document_lifecycle.h"
#include "src/win/view/editor_view.h"
#include "src/win/export/export_dialog.h"
#include "src/win/export/export_progress.h"
#include "src/win/export/export_settings.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/menus/command_ids.h"
#include "tools/process/process_runner.h"
#include "tools/templates/templates.h"
#include "tools/xelatex/xelatex.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <exception>

namespace qorva {
namespace {

constexpr std::string_view kExportFailedCaption = "Export failed";

}  // namespace

ExportCommands::ExportCommands(QWidget& owner, CEditorView& view, DocumentLifecycle& document, DocumentUi& ui,
                               MenuBar& menus)
    : owner_(owner), view_(view), document_(document), ui_(ui), menus_(menus) {
    ResetRepeatExport();
}

bool ExportCommands::HandleCommand(int commandId) {
    if (commandId == kRepeatExportCommand) {
        Repeat();
        return true;
    }
    const ExportFormat* format = FindExportFormatByCommand(commandId);
    if (!format) return false;
    Export(*format);
    return true;
}

void ExportCommands::ResetRepeatExport() {
    state_.Reset();
    menus_.setEnabledState(command_id::RepeatExport, false);
}

QWidget* ExportCommands::DialogOwner() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : &owner_;
}

void ExportCommands::Export(const ExportFormat& format) {
    // Made anew for every export, so template files added meanwhile are offered.
    std::vector<std::string> templateNames;
    if (format.templateExtension) templateNames = ListTemplates(format.templateExtension);
    if (!CheckTool(format.toolCheck)) return;

    QString proposed;
    if (!document_.path().empty()) {
        const std::string absolute = QFileInfo(QString::fromStdString(document_.path())).absoluteFilePath().toStdString();
        proposed = QString::fromStdString(ProposedExportPath(absolute, format.extension));
    }
    CExportFileDialog dialog(format, proposed, templateNames, DialogOwner(), FetchRemoteImagesSetting());
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return;
    if (dialog.FetchRemoteImagesBox()) WriteFetchRemoteImagesSetting(dialog.FetchRemoteImages());

    // A confirmed dialog replaces the whole state, even if the export then fails.
    state_.Store(format.kind, dialog.ChosenPath().toStdString(), dialog.TemplateChoice().toStdString(),
                 dialog.FetchRemoteImages());
    menus_.setEnabledState(command_id::RepeatExport, true);
    Repeat();
}

bool ExportCommands::CheckTool(ExportTool tool) {
    switch (tool) {
        case ExportTool::None: return true;
        case ExportTool::Pandoc: return document_.PandocCheck();
        case ExportTool::XeLaTeX: return XeLaTeXCheck();
    }
    return false;
}

bool ExportCommands::XeLaTeXCheck() {
    if (IsXeLaTeXAvailable()) return true;
    const MessageSpec offer{kXeLaTeXDownloadPrompt, std::string(message::kQorva), MessageButtons::OkCancel,
                            MessageIcon::Exclamation};
    if (ui_.ShowMessage(offer) == MessageAnswer::Ok) ui_.OpenUrl(kXeLaTeXDownloadPage);
    return false;
}

void ExportCommands::Repeat() {
    // Disabled: the accelerator still arrives here and finds nothing to do.
    const ExportFormat* format = FindExportFormat(state_.kind());
    if (!format) return;

    const std::string json = view_.GetTextJson();
    ExportResult result;
    {
        ExportProgress progress(DialogOwner(), *format, ToolTimeLimitSetting());
        try {
            result = RepeatExport(state_, json, document_.path(), UserFileFolders(),
                                  {ExportLanguageSetting(), EmbedExportPicturesSetting()});
        } catch (const std::exception& error) {
            result = {false, error.what(), {}};
        }
    }
    // Success and a cancel the user asked for need no answer: a brief notice says it.
    const QString where = QDir::toNativeSeparators(QString::fromStdString(state_.path()));
    if (result.succeeded) {
        QString notice = QStringLiteral("Exported to %1").arg(where);
        const size_t leftOut = result.leftOutPictures.size();
        if (leftOut > 0)
            notice += leftOut == 1 ? QStringLiteral(" (1 picture written as text)")
                                   : QStringLiteral(" (%1 pictures written as text)").arg(leftOut);
        ShowBriefNotice(&owner_, notice);
        return;
    }
    if (result.cancelled) {
        ShowBriefNotice(&owner_, QStringLiteral("Export to %1 cancelled").arg(ExportFormatName(*format)));
        return;
    }
    std::string text = result.errorText.empty() ? "The export to " + state_.path() + " failed." : result.errorText;
    ui_.ShowMessage({text, std::string(kExportFailedCaption), MessageButtons::Ok, MessageIcon::Exclamation});
}

}  // namespace qorva
