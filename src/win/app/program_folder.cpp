#include "src/win/app/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace qorva {

QString ProgramFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return QDir::currentPath();
    return QFileInfo(QString::fromStdString(executable.string())).absolutePath();
}

QStringList ProgramDataFolders() {
    QStringList folders;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!userData.isEmpty()) folders << userData + QStringLiteral("/qorva");
    const QString program = ProgramFolder();
    folders << program << QDir::cleanPath(program + QStringLiteral("/../share/qorva"));
    return folders;
}

}  // namespace qorva
