// Recovery files: while a document has unsaved changes its window keeps a copy of
// the model in a file of its own under $XDG_STATE_HOME/qorva/recovery/, locked for
// as long as the window runs. A file whose lock is free belongs to a window that
// ended without saving (a crash or a kill), and can be offered at the next start.
// No Qt here: the store is tested and benchmarked without a display.
#pragma once

#include "src/win/document/document_format.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

struct RecoveryRecord {
    std::string path;  // the document's file; empty for an untitled document
    DocumentFormat format = DocumentFormat::QorvaMarkdown;
    bool welcome = false;
    std::string model;          // the editor's model JSON
    std::int64_t savedAt = 0;   // seconds since the epoch
    bool operator==(const RecoveryRecord&) const = default;
};

std::string EncodeRecoveryRecord(const RecoveryRecord& record);
// Nothing for bytes that are not a whole record (a damaged or foreign file).
std::optional<RecoveryRecord> DecodeRecoveryRecord(std::string_view bytes);

// $XDG_STATE_HOME/qorva/recovery, else ~/.local/state/qorva/recovery.
std::string DefaultRecoveryFolder();

// An exclusive lock on a file (flock), held while the object lives. The system
// drops it when the process ends in any way, kill -9 included.
class FileLock {
public:
    static std::optional<FileLock> TryTake(const std::string& path);
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

// One window's recovery file. The folder is made on the first write.
class RecoverySlot {
public:
    explicit RecoverySlot(std::string folder);
    // Replaces the file atomically. Throws FileError.
    void Write(const RecoveryRecord& record);
    void Remove();
    const std::string& file() const { return file_; }

private:
    std::string folder_;
    std::string name_;
    std::string file_;
    std::optional<FileLock> lock_;
};

// A recovery file left by a window that no longer runs, locked by this process
// until it is restored, discarded or let go.
struct OrphanedRecovery {
    std::string file;
    RecoveryRecord record;
    std::optional<FileLock> lock;
};

// The readable orphans in the folder, oldest first. Damaged files are left alone.
std::vector<OrphanedRecovery> ClaimOrphanedRecoveries(const std::string& folder);
// Claims one named file; nothing when its window still runs or it cannot be read.
std::optional<OrphanedRecovery> ClaimRecovery(const std::string& file);
// Deletes the file and its lock.
void DiscardRecovery(OrphanedRecovery& orphan);

}  // namespace qorva
