// The commands of the "&Export" submenu: each export asks for the tool it needs,
// shows the export dialog and writes the file; "Repeat Export" writes the last
// export again to the same file with the same template, without asking.
#pragma once

#include "tools/export/export_formats.h"
#include "tools/export/repeat_export.h"

class QWidget;

namespace qorva {

class CEditorView;
class DocumentLifecycle;
class DocumentUi;
class MenuBar;

class ExportCommands {
public:
    // `ui` shows the messages and opens the download pages; `document` gives the
    // path and the Pandoc check; the page's content comes from `view`.
    ExportCommands(QWidget& owner, CEditorView& view, DocumentLifecycle& document, DocumentUi& ui, MenuBar& menus);

    // The six export commands and Repeat Export; false for any other command.
    bool HandleCommand(int commandId);

    // Forgets the last export and disables Repeat Export (a new document).
    void ResetRepeatExport();

    const RepeatExportState& State() const { return state_; }

private:
    void Export(const ExportFormat& format);
    bool CheckTool(ExportTool tool);
    bool XeLaTeXCheck();
    void Repeat();
    QWidget* DialogOwner() const;

    QWidget& owner_;
    CEditorView& view_;
    DocumentLifecycle& document_;
    DocumentUi& ui_;
    MenuBar& menus_;
    RepeatExportState state_;
};

}  // namespace qorva
