// The About box: the program's icon, name and version, and a few lines about it.
#pragma once

#include <QDialog>
#include <QString>

namespace qorva {

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    // `version` is the program's version text; empty when it cannot be read.
    CAboutDialog(const QString& version, QWidget* parent);

    // "Qorva 0.1.0".
    static QString VersionLine(const QString& version);
};

}  // namespace qorva
