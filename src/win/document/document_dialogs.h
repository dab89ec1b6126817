// The desktop side of the document's questions: message boxes, the Open and Save
// dialogs, new program processes and addresses. DocumentController adds the notifications.
#pragma once

#include "src/win/document/document_lifecycle.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace qorva {

// Qt's form of a filter: "Label (*.a *.b)"; "*.*" is written "*" so that names
// without a dot are listed too.
QString QtFilterOf(const FileFilter& filter);

class DocumentDialogs : public DocumentUi {
public:
    // Dialogs are owned by the active window, or by `owner` when none is active.
    explicit DocumentDialogs(QWidget* owner) : owner_(owner) {}

    MessageAnswer ShowMessage(const MessageSpec& message) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogSpec& dialog) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogSpec& dialog) override;
    bool StartNewInstance(const std::vector<std::string>& arguments) override;
    void OpenUrl(const std::string& url) override;

protected:
    // The folder file dialogs open in; empty: Qt's choice.
    virtual QString DialogFolder() const { return {}; }

private:
    QWidget* dialogOwner() const;
    std::optional<std::string> runFileDialog(const FileDialogSpec& dialog, bool save);

    QWidget* owner_;
};

}  // namespace qorva
