// CExportFileDialog: the save dialog of the export commands. Besides the usual
// name, folder and filter it can offer a choice of export templates in a row of
// its own below the filter ("Template:", "Default" first, then the listed names).
#pragma once

#include "src/win/tools/export_formats.h"

#include <QFileDialog>
#include <QString>

#include <string>
#include <vector>

class QComboBox;

namespace qorva {

class CExportFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // `proposedPath` may be empty (an untitled document); `templateNames` is
    // borrowed for the dialog's lifetime, and an empty list means no template row.
    CExportFileDialog(const ExportFormat& format, const QString& proposedPath,
                      const std::vector<std::string>& templateNames, QWidget* parent);

    // The chosen template's name ("Default" until another is picked); empty
    // when the dialog has no template row.
    QString TemplateChoice() const { return templateChoice_; }

    // The full path the user confirmed; empty before that.
    QString ChosenPath() const;

    // The drop-down list of the template row, or null without one.
    QComboBox* TemplateList() const { return templateList_; }

private:
    void AddTemplateRow();

    const std::vector<std::string>& templateNames_;
    QString templateChoice_;
    QComboBox* templateList_ = nullptr;
};

// The Qt name filters of an export format: its own, then "All Files".
QStringList ExportNameFilters(const ExportFormat& format);

}  // namespace qorva
