// "Insert Hyperlink": asks for the link's title and address. The same two-line
// form asks for an image's description and title.
#pragma once

#include <QDialog>

class QLineEdit;

namespace qorva {

class CHyperlinkDialog : public QDialog {
    Q_OBJECT
public:
    CHyperlinkDialog(const QString& proposedTitle, QWidget* parent);
    // A dialog of the same form with its own window title, labels and texts.
    CHyperlinkDialog(const QString& windowTitle, const QString& firstLabel, const QString& first,
                     const QString& secondLabel, const QString& second, QWidget* parent);

    QString Title() const;
    QString Url() const;

private:
    QLineEdit* title_;
    QLineEdit* url_;
};

}  // namespace qorva
