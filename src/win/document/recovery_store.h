// Recovery files: while a document has unsaved changes its window keeps a copy of
// the model in a file of its own under $XDG_STATE_HOME/qorva/recovery/, locked for
// as long as the window runs. A file whose lock is free belongs to a window that
// ended without saving (a crash or a kill), and can be offered at the next start.
// No Qt here: the store is tested and benchmarked without a display.
#pragma once

#include "src/win/document/document_format.h"
#include "src/win/document/file_content.h"
#include "src/win/document/file_stamp.h"

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
    // The file as the document last loaded or saved it: a save of the restored
    // document asks before writing over anything else.
    FileStamp file;
    bool operator==(const RecoveryRecord&) const = default;
};

std::string EncodeRecoveryRecord(const RecoveryRecord& record);
// Nothing for bytes that are not a whole record (a damaged or foreign file): the
// model must be a document the editor takes, the path absolute and plain.
std::optional<RecoveryRecord> DecodeRecoveryRecord(std::string_view bytes);

// A record file larger than this is not read: its model could not go into the
// page anyway (escaping in the record makes it larger than the model).
inline constexpr std::uint64_t kRecoveryRecordLimitBytes = 3 * kPageDocumentLimitBytes;

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

// Makes the folder (and those above it) or checks the one there: it must be a
// real folder of this user, not a link, and its mode becomes 0700. Throws FileError.
void PrepareRecoveryFolder(const std::string& folder);

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

// The readable orphans in the folder, oldest first. Damaged ones (not a regular
// file, too large, not a record) are renamed with kDamagedSuffix so they are
// not offered again, their locks removed, and their names with the reasons added
// to `setAside`. A folder that is a link or another user's gives nothing.
std::vector<OrphanedRecovery> ClaimOrphanedRecoveries(const std::string& folder,
                                                      std::vector<std::string>* setAside = nullptr);
// Claims one named file; nothing when its window still runs or it cannot be read
// (it is then set aside as above, with the reason in `damage`).
std::optional<OrphanedRecovery> ClaimRecovery(const std::string& file, std::string* damage = nullptr);
inline constexpr std::string_view kDamagedSuffix = ".damaged";
// Deletes the file and its lock.
void DiscardRecovery(OrphanedRecovery& orphan);

}  // namespace qorva
