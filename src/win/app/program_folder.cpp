#include "src/win/app/program_folder.h"

#include "src/win/app/startup_rules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
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

FoundDictionary FindDictionary(const QStringList& folders) {
    QMap<QString, QString> pathByName;  // the first folder holding a name wins
    for (const QString& folder : folders) {
        const QStringList names = QDir(folder).entryList({QStringLiteral("*.bdic")}, QDir::Files);
        for (const QString& name : names) {
            if (!pathByName.contains(name)) pathByName.insert(name, QDir(folder).filePath(name));
        }
    }
    std::vector<std::string> names;
    for (const QString& name : pathByName.keys()) names.push_back(name.toStdString());
    const auto choice = ChooseDictionary(names);
    if (!choice) return {};
    return {pathByName.value(QString::fromStdString(choice->fileName)),
            QString::fromStdString(choice->languageCode)};
}

}  // namespace qorva
