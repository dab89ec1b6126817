#include "src/win/app/program_folder.h"

#include "tools/user_files/user_files.h"

#include <QDir>
#include <QStandardPaths>

namespace qorva {

QStringList ProgramDataFolders() {
    QStringList folders;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!userData.isEmpty()) folders << userData + QStringLiteral("/qorva");
    const QString program = QString::fromStdString(ProgramFolder());
    folders << program << QDir::cleanPath(program + QStringLiteral("/../share/qorva"));
    return folders;
}

}  // namespace qorva
