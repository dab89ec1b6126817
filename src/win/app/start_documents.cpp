#include "src/win/app/start_documents.h"

#include "src/win/frame/main_frame.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace qorva {

bool LoadNamedFile(CMainFrame& frame, const QString& path) { return frame.OpenNamedFile(path); }

void OpenInOtherWindows(CMainFrame& frame, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const QString path = QDir::current().absoluteFilePath(QString::fromStdString(file));
        // "--" keeps a file name that begins with "-" from being read as an option.
        if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("--"), path})) {
            ShowExclamation(&frame, QStringLiteral("Error"),
                            QStringLiteral("Cannot open \u2018%1\u2019 in a new window.").arg(path));
        }
    }
}

}  // namespace qorva
