#include "src/win/view/hyperlink_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qorva {

CHyperlinkDialog::CHyperlinkDialog(const QString& proposedTitle, QWidget* parent)
    : CHyperlinkDialog(QStringLiteral("Insert Hyperlink"), QStringLiteral("Hyperlink Title"), proposedTitle,
                       QStringLiteral("Hyperlink URL"), QString(), parent) {
    setObjectName(QStringLiteral("HyperlinkDialog"));
    title_->setObjectName(QStringLiteral("HyperlinkTitle"));
    url_->setObjectName(QStringLiteral("HyperlinkUrl"));
}

CHyperlinkDialog::CHyperlinkDialog(const QString& windowTitle, const QString& firstLabel, const QString& first,
                                   const QString& secondLabel, const QString& second, QWidget* parent)
    : QDialog(parent), title_(new QLineEdit(first, this)), url_(new QLineEdit(second, this)) {
    setWindowTitle(windowTitle);
    auto* titleLabel = new QLabel(firstLabel, this);
    titleLabel->setBuddy(title_);
    auto* urlLabel = new QLabel(secondLabel, this);
    urlLabel->setBuddy(url_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel);
    layout->addWidget(title_);
    layout->addWidget(urlLabel);
    layout->addWidget(url_);
    layout->addWidget(buttons);
    // About 245 by 98 dialog units of an 8-point dialog font.
    resize(368, qMax(160, sizeHint().height()));
    title_->setFocus();
    title_->selectAll();
}

QString CHyperlinkDialog::Title() const { return title_->text(); }
QString CHyperlinkDialog::Url() const { return url_->text(); }

}  // namespace qorva
