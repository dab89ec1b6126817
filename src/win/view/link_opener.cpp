#include "src/win/view/link_opener.h"

#include "src/win/frame/main_frame.h"
#include "src/win/view/link_rules.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qorva {
namespace {

void Follow(QWidget* owner, const LinkDecision& decision) {
    const QString target = QString::fromStdString(decision.target);
    switch (decision.action) {
        case LinkAction::OpenUrl:
            if (!QDesktopServices::openUrl(QUrl(target)))
                ShowExclamation(owner, QStringLiteral("Error"), QStringLiteral("Failed to open URL:\n%1").arg(target));
            return;
        case LinkAction::OpenFile:
            // A missing file is not handed on: the opener would only guess at it.
            if (!QFileInfo::exists(target) || !QDesktopServices::openUrl(QUrl::fromLocalFile(target)))
                ShowExclamation(owner, QStringLiteral("Error"), QStringLiteral("Failed to open file:\n%1").arg(target));
            return;
        case LinkAction::AskProgram: {
            // Opening would run it; the most a link may do is show where it is.
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Qorva"),
                            QStringLiteral("\u201c%1\u201d is a program or script. Qorva does not run programs "
                                           "from documents.\n\nShow it in its folder instead?")
                                .arg(target),
                            QMessageBox::Yes | QMessageBox::No, owner);
            box.setObjectName("linkProgramQuestion");
            box.setDefaultButton(QMessageBox::No);
            if (box.exec() == QMessageBox::Yes)
                QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(target).absolutePath()));
            return;
        }
        case LinkAction::Refuse:
            ShowExclamation(owner, QStringLiteral("Error"),
                            QStringLiteral("Qorva follows only http, https, ftp, mailto and file links:\n%1").arg(target));
            return;
    }
}

}  // namespace

void FollowUrlLink(QWidget* owner, const QString& url) { Follow(owner, DecideUrlLink(url.toStdString())); }

void FollowFileLink(QWidget* owner, const QString& path) { Follow(owner, DecideFileLink(path.toStdString())); }

}  // namespace qorva
