// What a document's guards (the outside-change watch, the recovery keeper) hear
// of its file, and how they may stop a write.
#pragma once

#include <string>

namespace qorva {

class DocumentFileObserver {
public:
    virtual ~DocumentFileObserver() = default;
    // The document now shows this file as stored (opened or reloaded).
    virtual void FileLoaded(const std::string& /*path*/) {}
    // The document was written to its own file (path is the document's path).
    virtual void FileSaved(const std::string& /*path*/) {}
    // Another document replaced this one (welcome, import, restore); path may be empty.
    virtual void DocumentReplaced(const std::string& /*path*/) {}
    // Before the document's own file is written over; false stops the save.
    virtual bool MayWriteOver(const std::string& /*path*/) { return true; }
    // Without asking: false when the file is no longer the one last loaded or saved.
    virtual bool FileAsKnown(const std::string& /*path*/) { return true; }
};

}  // namespace qorva
