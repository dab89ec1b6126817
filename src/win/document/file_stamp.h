// What the program last knew of a document's file on disk, and what to do when
// the disk no longer agrees with it.
#pragma once

#include "src/win/document/document_messages.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qorva {

// Identity and version of a file as the file system reports them. A file written
// through a rename gets a new inode; one written in place a new time or size, or
// only new content when the writer kept both.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::string linkTarget;   // the file a symbolic link at the path leads to; empty for no link
    std::string contentHash;  // of a regular file of at most the page's limit; empty otherwise
    // When the inode last changed (content or attributes); a file that kept it and
    // the rest kept its content. Not part of the comparison: a new mode alone is
    // no change of the document.
    std::int64_t statusChangedNs = 0;
    std::int64_t takenNs = 0;  // when the stamp was taken
    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs && linkTarget == other.linkTarget && contentHash == other.contentHash;
    }
};

// `previous`, when given, is an earlier stamp of the same path: its content hash
// is taken over instead of reading the file again if nothing about the file has
// changed since (a busy folder reports every change of its other files).
FileStamp StampOf(const std::string& path, const FileStamp* previous = nullptr);

enum class OutsideChange {
    None,           // the file is as the document last saw it
    Reload,         // changed, and the document has nothing to lose
    AskReload,      // changed while the document holds unsaved changes
    ReportMissing,  // gone (deleted or moved away), not reported yet
    ReportLinked,   // now a link to another file, which is not read
};

// `known` is the file as last loaded, saved or reported; `missingReported` is set
// once a disappearance has been reported, so it is reported only once.
OutsideChange DecideOutsideChange(const FileStamp& known, const FileStamp& now, bool modified,
                                  bool missingReported);

namespace message {
// Yes keeps the document's changes, so the key that answers by default loses nothing.
MessageSpec ReloadChangedFile(std::string_view path);
MessageSpec FileWasRemoved(std::string_view path);
MessageSpec FileBecameLink(std::string_view path, std::string_view target);
MessageSpec OverwriteChangedFile(std::string_view path);
}  // namespace message

}  // namespace qorva
