#include "tools/files/file_io.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <system_error>
#include <vector>

namespace qorva {
namespace {

class ScopedFd {
public:
    explicit ScopedFd(int fd) : fd_(fd) {}
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    ~ScopedFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error can
    // show up here on some file systems).
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Follows symbolic links so that writing through a link updates the file it names.
std::string writeTarget(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
        std::vector<char> buffer(PATH_MAX + 1);
        ssize_t n = readlink(target.c_str(), buffer.data(), PATH_MAX);
        if (n < 0) return target;
        std::string link(buffer.data(), static_cast<size_t>(n));
        target = link.front() == '/' ? link : JoinPath(FolderOf(target), link);
    }
    throw FileError(path, ELOOP);
}

// The hidden file a write of `target` goes through: ".NAME.qorva-", six
// characters and ".tmp", a form no other program uses, so the cleanup never takes
// a user's ".NAME.backup" or another tool's ".NAME.XXXXXX".
constexpr std::string_view kTemporaryMark = "qorva-";
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string temporaryPrefix(const std::string& target) {
    return "." + target.substr(target.find_last_of('/') + 1) + "." + std::string(kTemporaryMark);
}

bool isTemporaryOf(const std::string& entry, const std::string& prefix) {
    if (entry.size() != prefix.size() + 6 + kTemporarySuffix.size() || entry.compare(0, prefix.size(), prefix) != 0 ||
        entry.compare(prefix.size() + 6, kTemporarySuffix.size(), kTemporarySuffix) != 0)
        return false;
    for (size_t i = prefix.size(); i < prefix.size() + 6; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    }
    return true;
}

// Refuses what is there unless it is a regular file (or nothing): a rename would
// put a regular file in place of a device, a pipe or a folder.
void requireRegularOrAbsent(const std::string& path, const std::string& target) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0) return;
    if (S_ISDIR(info.st_mode)) throw FileError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) throw FileError(path, EINVAL, kNotARegularFile);
}

// The rename would replace a file the user may not write; root is held to the
// file's own read-only mark as well, which it could otherwise override.
int refusalToReplace(const std::string& target, const struct stat& existing) {
    if (access(target.c_str(), W_OK) != 0) return errno;
    if (geteuid() == 0 && (existing.st_mode & 0222) == 0) return EACCES;
    return 0;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& path) {
    const std::string target = writeTarget(path);
    const std::string folderPath = FolderOf(target);
    const std::string prefix = temporaryPrefix(target);
    DIR* folder = opendir(folderPath.c_str());
    if (!folder) return;
    while (dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (!isTemporaryOf(name, prefix)) continue;
        const std::string temporary = JoinPath(folderPath, name);
        ScopedFd fd(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        struct stat info {}, named {};
        // Only a regular file of this user's, with no other name.
        if (fd.get() < 0 || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
            info.st_nlink != 1)
            continue;
        // A write in progress holds its lock; one whose writer died holds none. The
        // name must still be the file that was checked.
        if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && lstat(temporary.c_str(), &named) == 0 &&
            named.st_dev == info.st_dev && named.st_ino == info.st_ino)
            ::unlink(temporary.c_str());
    }
    closedir(folder);
}

FileError::FileError(const std::string& path, int errorCode)
    : std::runtime_error(path + ": " + SystemErrorText(errorCode)), errorCode_(errorCode) {}

FileError::FileError(const std::string& path, int errorCode, const std::string& reason)
    : std::runtime_error(path + ": " + reason), errorCode_(errorCode) {}

int OpenTemporaryBeside(const std::string& target, std::string& temporary) {
    temporary = JoinPath(FolderOf(target), temporaryPrefix(target) + "XXXXXX" + std::string(kTemporarySuffix));
    const int fd = mkostemps(temporary.data(), static_cast<int>(kTemporarySuffix.size()), O_CLOEXEC);
    if (fd < 0) return fd;
    // Held until the file is closed or the process dies: marks the write as live.
    flock(fd, LOCK_EX);
    return fd;
}

namespace {

// `bytes` in a new file beside `target` with `mode`, synced and closed, its name
// returned; `prepare` sees the open file first. On failure nothing is left and
// the error is thrown for `path`.
std::string WriteTemporaryBeside(const std::string& path, const std::string& target, std::string_view bytes,
                                 mode_t mode, const std::function<void(int fd)>& prepare = {}) {
    std::string temporary;
    ScopedFd fd(OpenTemporaryBeside(target, temporary));
    if (fd.get() < 0) throw FileError(path, errno);
    if (prepare) prepare(fd.get());
    if (fchmod(fd.get(), mode) != 0 || !writeAll(fd.get(), bytes) || fsync(fd.get()) != 0 || !fd.close()) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError(path, error);
    }
    return temporary;
}

}  // namespace

std::string SystemErrorText(int errorCode) { return std::system_category().message(errorCode); }

std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes, bool followLinks) {
    // Not blocking: opening a pipe would wait for a writer.
    ScopedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW)));
    if (fd.get() < 0) throw FileError(path, errno);
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) throw FileError(path, errno);
    if (S_ISDIR(info.st_mode)) throw FileError(path, EISDIR);
    if (!S_ISREG(info.st_mode)) throw FileError(path, EINVAL, kNotARegularFile);
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) throw FileError(path, EFBIG);
    fcntl(fd.get(), F_SETFL, fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(path, errno);
        }
        if (n == 0) break;
        // A file that grows while it is read is held to the bound too.
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) throw FileError(path, EFBIG);
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes, std::optional<mode_t> newFileMode) {
    const std::string target = writeTarget(path);
    struct stat existing {};
    requireRegularOrAbsent(path, target);
    const bool replacing = stat(target.c_str(), &existing) == 0;
    if (replacing) {
        if (int refusal = refusalToReplace(target, existing)) throw FileError(path, refusal);
    }
    RemoveStaleTemporaries(target);

    // mkostemp makes the file private; give it the target's mode, or the usual
    // mode for a new file.
    mode_t mode = replacing ? (existing.st_mode & 07777) : newFileMode ? *newFileMode : [] {
        mode_t mask = umask(0);
        umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    const std::string temporary = WriteTemporaryBeside(path, target, bytes, mode, [&](int fd) {
        // Keep the owner when root saves someone else's file; failure is harmless.
        if (replacing && geteuid() == 0 && fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        }
    });
    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        throw FileError(path, error);
    };
    try {
        requireRegularOrAbsent(path, target);  // once more: it may have been swapped meanwhile
    } catch (const FileError&) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) fail(errno);
    // Make the new name itself durable; failure here does not lose data.
    ScopedFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) fsync(folder.get());
}

void WriteNewFile(const std::string& path, std::string_view bytes, mode_t mode) {
    // Written aside in full, then given its name with link(), which refuses any
    // name already there, a link included.
    const std::string temporary = WriteTemporaryBeside(path, path, bytes, mode);
    const int error = ::link(temporary.c_str(), path.c_str()) != 0 ? errno : 0;
    ::unlink(temporary.c_str());
    if (error) throw FileError(path, error);
}

void MoveFileReplacing(const std::string& source, const std::string& target) {
    // An export over a read-only file is refused as a save over one is: the rename
    // alone would replace it.
    const std::string resolved = writeTarget(target);
    requireRegularOrAbsent(target, resolved);
    struct stat existing {};
    if (stat(resolved.c_str(), &existing) == 0) {
        if (int refusal = refusalToReplace(resolved, existing)) throw FileError(target, refusal);
    }
    if (::rename(source.c_str(), resolved.c_str()) == 0) return;
    if (errno != EXDEV) throw FileError(target, errno);
    WriteWholeFile(target, ReadWholeFile(source));
    ::unlink(source.c_str());
}

bool MakeTempFolder(std::string& path) {
    const char* base = getenv("TMPDIR");
    std::string folder = (base && *base) ? base : "/tmp";
    std::string pattern = JoinPath(folder, "TEXXXXXXX");
    if (!mkdtemp(pattern.data())) return false;
    char resolved[PATH_MAX];
    path = realpath(pattern.c_str(), resolved) ? std::string(resolved) : pattern;
    return true;
}

void RemoveTempFolder(const std::string& path) {
    if (DIR* folder = opendir(path.c_str())) {
        while (dirent* entry = readdir(folder)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            // unlink refuses folders, which are left in place on purpose.
            ::unlink(JoinPath(path, name).c_str());
        }
        closedir(folder);
    }
    ::rmdir(path.c_str());
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    if (!getcwd(buffer.data(), buffer.size())) return ".";
    return buffer.data();
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    return JoinPath(CurrentFolder(), path);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

LineEnds LineEndsOf(std::string_view text) {
    std::size_t lineFeeds = 0, crLfs = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        ++lineFeeds;
        if (i > 0 && text[i - 1] == '\r') ++crLfs;
    }
    return crLfs * 2 > lineFeeds ? LineEnds::CrLf : LineEnds::Lf;
}

std::string WithLineEnds(std::string_view text, LineEnds ends) {
    if (ends == LineEnds::Lf) return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A line end that is CR LF already stays one.
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace qorva
