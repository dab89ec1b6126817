#include "src/win/document/document_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace qorva {

QString QtFilterOf(const FileFilter& filter) {
    QString label = QString::fromStdString(filter.label);
    qsizetype open = label.indexOf(" (");
    if (open >= 0) label.truncate(open);
    QString patterns = QString::fromStdString(filter.patterns).replace(';', ' ');
    if (patterns == "*.*") patterns = "*";
    return label + " (" + patterns + ")";
}

QWidget* DocumentDialogs::dialogOwner() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : owner_;
}

MessageAnswer DocumentDialogs::ShowMessage(const MessageSpec& message) {
    QMessageBox::Icon icon = message.icon == MessageIcon::Exclamation ? QMessageBox::Warning
                             : message.icon == MessageIcon::Stop      ? QMessageBox::Critical
                                                                      : QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (message.buttons) {
        case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
        case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
        case MessageButtons::YesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(icon, QString::fromStdString(message.caption), QString::fromStdString(message.text), buttons,
                    dialogOwner());
    box.setObjectName("qorvaMessage");
    switch (box.exec()) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

std::optional<std::string> DocumentDialogs::runFileDialog(const FileDialogSpec& spec, bool save) {
    QFileDialog dialog(dialogOwner());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileFilter& filter : spec.filters) filters << QtFilterOf(filter);
    dialog.setNameFilters(filters);
    if (spec.selectedFilter < static_cast<std::size_t>(filters.size())) {
        dialog.selectNameFilter(filters[static_cast<qsizetype>(spec.selectedFilter)]);
    }
    if (!spec.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(spec.defaultExtension));
    if (const QString folder = DialogFolder(); !folder.isEmpty()) dialog.setDirectory(folder);
    if (save && !spec.defaultExtension.empty()) {
        // A name typed without an extension gets the chosen filter's, so that the
        // name says the format it is written in; "All Files" adds none.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &spec](const QString& chosen) {
            for (const FileFilter& filter : spec.filters) {
                if (QtFilterOf(filter) != chosen) continue;
                const QString first = QString::fromStdString(filter.patterns).section(';', 0, 0);
                dialog.setDefaultSuffix(first.startsWith("*.") && first != "*.*" ? first.mid(2) : QString());
            }
        });
    }
    if (!spec.initialName.empty()) dialog.selectFile(QString::fromStdString(spec.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> DocumentDialogs::ChooseFileToOpen(const FileDialogSpec& dialog) {
    return runFileDialog(dialog, false);
}

std::optional<std::string> DocumentDialogs::ChooseFileToSave(const FileDialogSpec& dialog) {
    return runFileDialog(dialog, true);
}

bool DocumentDialogs::StartNewInstance(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) list << QString::fromStdString(argument);
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), list);
}

void DocumentDialogs::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace qorva
