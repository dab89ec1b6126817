// CExportFileDialog: the save dialog of the export commands, titled with what it
// exports ("Export to PDF"). Besides the usual name, folder and filter it can offer
// a choice of export templates in a row of its own below the filter ("Template:",
// "Default" first, then the listed names) and, for the formats Pandoc makes, whether
// remote pictures may be fetched.
#pragma once

#include "tools/export/export_formats.h"

#include <QFileDialog>
#include <QString>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;

namespace qorva {

class CExportFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // `proposedPath` may be empty (an untitled document); `templateNames` is
    // borrowed for the dialog's lifetime, and an empty list means no template row.
    CExportFileDialog(const ExportFormat& format, const QString& proposedPath,
                      const std::vector<std::string>& templateNames, QWidget* parent,
                      bool fetchRemoteImages = false);

    // The chosen template's name ("Default" until another is picked); empty
    // when the dialog has no template row.
    QString TemplateChoice() const { return templateChoice_; }

    // The full path the user confirmed; empty before that.
    QString ChosenPath() const;

    // The drop-down list of the template row, or null without one.
    QComboBox* TemplateList() const { return templateList_; }

    // The remote pictures check box (Word, Rich Text, EPUB), or null without one.
    QCheckBox* FetchRemoteImagesBox() const { return fetchRemoteImages_; }
    bool FetchRemoteImages() const;

private:
    void AddTemplateRow();
    void AddFetchRemoteImagesRow(bool checked);

    const std::vector<std::string>& templateNames_;
    QString templateChoice_;
    QComboBox* templateList_ = nullptr;
    QCheckBox* fetchRemoteImages_ = nullptr;
};

// The Qt name filters of an export format: its own, then "All Files".
QStringList ExportNameFilters(const ExportFormat& format);

}  // namespace qorva
