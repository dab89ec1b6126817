#include "src/win/app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace qorva {

QString CAboutDialog::VersionLine(const QString& version) { return QString("Qorva %1").arg(version); }

CAboutDialog::CAboutDialog(const QString& version, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    setObjectName("aboutDialog");

    auto* icon = new QLabel(this);
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull()) programIcon = style()->standardIcon(QStyle::SP_DesktopIcon);
    icon->setPixmap(programIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* text = new QLabel(VersionLine(version) +
                                "\n\nA visual editor for Markdown documents."
                                "\nBuilt with Qt " QT_VERSION_STR " and Qt WebEngine.",
                            this);
    text->setObjectName("aboutText");
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setLayout(layout);
}

}  // namespace qorva
