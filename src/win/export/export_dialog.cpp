#include "src/win/export/export_dialog.h"

#include "src/win/export/export_progress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace qorva {

namespace {

// Qt's form "Label (*.a *.b)". Labels may hold parentheses of their own ("Rich
// Text Format (RTF) Files"); Qt takes the patterns from the last pair.
QString NameFilter(const char* label, const char* patterns) {
    QString list = QString::fromLatin1(patterns).replace(';', ' ');
    if (list == QStringLiteral("*.*")) list = QStringLiteral("*");  // names without a dot too
    return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(label), list);
}

}  // namespace

QStringList ExportNameFilters(const ExportFormat& format) {
    return {NameFilter(format.filterLabel, format.filterPattern), NameFilter("All Files", "*.*")};
}

CExportFileDialog::CExportFileDialog(const ExportFormat& format, const QString& proposedPath,
                                     const std::vector<std::string>& templateNames, QWidget* parent,
                                     bool fetchRemoteImages)
    : QFileDialog(parent), templateNames_(templateNames) {
    setObjectName("exportFileDialog");
    // The template row lives inside the dialog's own layout, which only Qt's
    // dialog has; the desktop's native dialogs cannot take extra controls.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters(ExportNameFilters(format));
    setDefaultSuffix(QString::fromLatin1(format.extension).mid(1));
    if (!proposedPath.isEmpty()) selectFile(proposedPath);
    if (!templateNames_.empty()) AddTemplateRow();
    if (format.toolCheck == ExportTool::Pandoc) AddFetchRemoteImagesRow(fetchRemoteImages);
    // Last, so that the accept mode's own title does not replace it.
    setWindowTitle(QStringLiteral("Export to %1").arg(ExportFormatName(format)));
}

void CExportFileDialog::AddFetchRemoteImagesRow(bool checked) {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid) return;
    fetchRemoteImages_ = new QCheckBox(tr("Fetch &remote pictures from the Internet"), this);
    fetchRemoteImages_->setObjectName("fetchRemoteImages");
    fetchRemoteImages_->setChecked(checked);
    grid->addWidget(fetchRemoteImages_, grid->rowCount(), 1);
}

bool CExportFileDialog::FetchRemoteImages() const { return fetchRemoteImages_ && fetchRemoteImages_->isChecked(); }

void CExportFileDialog::AddTemplateRow() {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid) return;
    auto* label = new QLabel(tr("&Template:"), this);
    templateList_ = new QComboBox(this);
    templateList_->setObjectName("templateChoice");
    label->setBuddy(templateList_);
    templateList_->addItem(QStringLiteral("Default"));
    for (const std::string& name : templateNames_) templateList_->addItem(QString::fromStdString(name));
    templateList_->setCurrentIndex(0);
    templateChoice_ = templateList_->currentText();
    connect(templateList_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { templateChoice_ = text; });

    // Below "Files of type", lined up with its label and drop-down list.
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(templateList_, row, 1);
}

QString CExportFileDialog::ChosenPath() const {
    const QStringList files = selectedFiles();
    return result() == QDialog::Accepted && !files.isEmpty() ? files.first() : QString();
}

}  // namespace qorva
