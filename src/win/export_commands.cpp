#include "src/win/export_commands.h"

#include "src/win/document_lifecycle.h"
#include "src/win/editor_view.h"
#include "src/win/export_dialog.h"
#include "src/win/menu_bar.h"
#include "src/win/menu_commands.h"
#include "src/win/tools/process_runner.h"
#include "src/win/tools/templates.h"
#include "src/win/tools/xelatex.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include <exception>
#include <memory>
#include <optional>

namespace qorva {
namespace {

constexpr std::string_view kExportFailedCaption = "Export failed";

// "Export Word Document..." names the format "Word Document".
QString FormatNameOf(const ExportFormat& format) {
    QString name = QString::fromLatin1(format.menuLabel);
    name.remove(QStringLiteral("..."));
    if (name.startsWith(QStringLiteral("Export "))) name.remove(0, 7);
    return name;
}

// While an export runs the window takes no input: a busy cursor throughout, and
// for the slow tool runs a progress window that keeps painting because the
// process runner lets the event loop run (without user input) while it waits.
class ExportProgress {
public:
    ExportProgress(QWidget* owner, const ExportFormat& format) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The formats that need an outside tool are the slow ones.
        if (format.toolCheck == ExportTool::None) return;
        const QString tool =
            format.toolCheck == ExportTool::XeLaTeX ? QStringLiteral("XeLaTeX") : QStringLiteral("Pandoc");
        dialog_ = std::make_unique<QProgressDialog>(
            QStringLiteral("Exporting %1 with %2\u2026").arg(FormatNameOf(format), tool), QString(), 0, 0, owner);
        dialog_->setObjectName("exportProgress");
        dialog_->setWindowTitle(QStringLiteral("Qorva"));
        // Modal, so that the window cannot be closed under the running export.
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(0);
        dialog_->show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        waitHook_.emplace([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    }
    ~ExportProgress() {
        waitHook_.reset();
        dialog_.reset();
        QApplication::restoreOverrideCursor();
    }
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

private:
    std::unique_ptr<QProgressDialog> dialog_;
    std::optional<ScopedProcessWaitHook> waitHook_;
};

}  // namespace

ExportCommands::ExportCommands(QWidget& owner, CEditorView& view, DocumentLifecycle& document, DocumentUi& ui,
                               MainMenu& menus)
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
    menus_.setEnabledState(menu_id::RepeatExport, false);
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
    CExportFileDialog dialog(format, proposed, templateNames, DialogOwner());
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPath().isEmpty()) return;

    // A confirmed dialog replaces the whole state, even if the export then fails.
    state_.Store(format.kind, dialog.ChosenPath().toStdString(), dialog.TemplateChoice().toStdString());
    menus_.setEnabledState(menu_id::RepeatExport, true);
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
        ExportProgress progress(DialogOwner(), *format);
        try {
            result = RepeatExport(state_, json, document_.path());
        } catch (const std::exception& error) {
            result = {false, error.what(), {}};
        }
    }
    if (result.succeeded) return;
    std::string text = result.errorText.empty() ? "The export to " + state_.path() + " failed." : result.errorText;
    ui_.ShowMessage({text, std::string(kExportFailedCaption), MessageButtons::Ok, MessageIcon::Exclamation});
}

}  // namespace qorva
