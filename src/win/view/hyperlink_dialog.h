// "Insert Hyperlink": asks for the link's title and address.
#pragma once

#include <QDialog>

class QLineEdit;

namespace qorva {

class CHyperlinkDialog : public QDialog {
    Q_OBJECT
public:
    CHyperlinkDialog(const QString& proposedTitle, QWidget* parent);

    QString Title() const;
    QString Url() const;

private:
    QLineEdit* title_;
    QLineEdit* url_;
};

}  // namespace qorva
