// What the editor view asks of the window that holds it (the main frame).
#pragma once

#include <QString>

namespace qorva {

class CEditorViewCallback {
public:
    virtual ~CEditorViewCallback() = default;
    // Opens an address from the page with the system.
    virtual void OpenUrl(const QString& url) = 0;
    // Opens a path from the page, relative to the document's folder.
    virtual void OpenFile(const QString& path) = 0;
    // The document's folder, empty for an untitled document.
    virtual QString GetDocumentFolder() = 0;
};

}  // namespace qorva
