#include "src/win/document/file_stamp.h"

#include "src/win/document/file_content.h"
#include "tools/files/file_io.h"

#include <QCryptographicHash>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace qorva {

FileStamp StampOf(const std::string& path, const FileStamp* previous) {
    struct stat info {}, entry {};
    if (::stat(path.c_str(), &info) != 0) return {};
    FileStamp stamp{true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                    static_cast<std::int64_t>(info.st_size),
                    static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    stamp.statusChangedNs = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
    if (::lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
        char resolved[PATH_MAX];
        stamp.linkTarget = ::realpath(path.c_str(), resolved) ? resolved : path;
    }
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    stamp.takenNs = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    // Every write sets the inode's change time, which no program can set back;
    // trusted only when it was well before the earlier stamp, as file systems
    // with coarse times give writes within a second or two the same time.
    constexpr std::int64_t kCoarseTimeNs = 3'000'000'000;
    if (previous && previous->exists && previous->statusChangedNs == stamp.statusChangedNs &&
        previous->statusChangedNs < previous->takenNs - kCoarseTimeNs &&
        previous->device == stamp.device && previous->inode == stamp.inode && previous->size == stamp.size &&
        previous->modifiedNs == stamp.modifiedNs) {
        stamp.contentHash = previous->contentHash;
        return stamp;
    }
    // A rewrite may keep size and time (and the inode): only the content tells.
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= kPageDocumentLimitBytes) {
        try {
            const std::string bytes = ReadWholeFile(path, kPageDocumentLimitBytes);
            stamp.contentHash = QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                                         QCryptographicHash::Sha256)
                                    .toHex()
                                    .toStdString();
        } catch (const FileError&) {
        }
    }
    return stamp;
}

OutsideChange DecideOutsideChange(const FileStamp& known, const FileStamp& now, bool modified,
                                  bool missingReported) {
    if (!now.exists) return known.exists && !missingReported ? OutsideChange::ReportMissing : OutsideChange::None;
    if (now == known) return OutsideChange::None;
    // Reading through a new link would show, and a save would write, another file.
    if (!now.linkTarget.empty() && now.linkTarget != known.linkTarget) return OutsideChange::ReportLinked;
    return modified ? OutsideChange::AskReload : OutsideChange::Reload;
}

namespace message {

MessageSpec ReloadChangedFile(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been changed by another program.\n\nKeep your unsaved changes? (No "
                "loads the changed file and your changes are lost.)",
            std::string(kQorva), MessageButtons::YesNo, MessageIcon::Exclamation};
}

MessageSpec FileWasRemoved(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been deleted or moved by another program.\n\nThe document stays open; save it "
                "to keep it.",
            std::string(kQorva), MessageButtons::Ok, MessageIcon::Exclamation};
}

MessageSpec FileBecameLink(std::string_view path, std::string_view target) {
    return {"\u2018" + std::string(path) + "\u2019 has been replaced by another program with a link to \u2018" +
                std::string(target) +
                "\u2019.\n\nThat file is not opened; the document stays as it was. Saving asks before writing "
                "there.",
            std::string(kQorva), MessageButtons::Ok, MessageIcon::Exclamation};
}

MessageSpec OverwriteChangedFile(std::string_view path) {
    return {"\u2018" + std::string(path) +
                "\u2019 has been changed by another program since it was opened or saved.\n\nSave over "
                "it anyway?",
            std::string(kQorva), MessageButtons::YesNo, MessageIcon::Exclamation};
}

}  // namespace message
}  // namespace qorva
