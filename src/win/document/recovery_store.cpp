#include "src/win/document/recovery_store.h"

#include "tools/converter_host/converter_host.h"
#include "tools/files/file_io.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorva {
namespace {

constexpr std::string_view kRecordSuffix = ".json";
constexpr std::string_view kLockSuffix = ".lock";

std::string LockPathOf(const std::string& recordFile) {
    return recordFile.substr(0, recordFile.size() - kRecordSuffix.size()) + std::string(kLockSuffix);
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

void MakeFolders(const std::string& folder) {
    std::string partial;
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at == folder.size() || folder[at] == '/') {
            partial = folder.substr(0, at);
            if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) throw FileError(partial, errno);
        }
    }
}

// A model the editor page takes: a document, which the text writer can write.
bool IsDocumentModel(const std::string& model) {
    const nlohmann::json json = nlohmann::json::parse(model, nullptr, false);
    if (!json.is_array() || json.empty() || json[0] != "text") return false;
    std::string error;
    TryWriteTextFormat(model, false, &error);
    return error.empty();
}

bool IsPlainAbsolutePath(const std::string& path) {
    return !path.empty() && path.front() == '/' && path.find('\0') == std::string::npos &&
           std::filesystem::path(path).lexically_normal().string() == path;
}

nlohmann::ordered_json EncodeStamp(const FileStamp& stamp) {
    nlohmann::ordered_json json;
    json["device"] = stamp.device;
    json["inode"] = stamp.inode;
    json["size"] = stamp.size;
    json["modifiedNs"] = stamp.modifiedNs;
    json["link"] = stamp.linkTarget;
    json["hash"] = stamp.contentHash;
    return json;
}

std::optional<FileStamp> DecodeStamp(const nlohmann::json& json) {
    if (!json.is_object()) return std::nullopt;
    for (const char* key : {"device", "inode", "size", "modifiedNs"}) {
        if (!json.contains(key) || !json[key].is_number_integer()) return std::nullopt;
    }
    for (const char* key : {"link", "hash"}) {
        if (!json.contains(key) || !json[key].is_string()) return std::nullopt;
    }
    return FileStamp{true,
                     json["device"].get<std::uint64_t>(),
                     json["inode"].get<std::uint64_t>(),
                     json["size"].get<std::int64_t>(),
                     json["modifiedNs"].get<std::int64_t>(),
                     json["link"].get<std::string>(),
                     json["hash"].get<std::string>()};
}

// Renamed so that it is never offered again, kept for whoever wants to look.
void SetAside(const std::string& file) {
    ::rename(file.c_str(), (file + std::string(kDamagedSuffix)).c_str());
    ::unlink(LockPathOf(file).c_str());
}

std::string RecordDamage(const std::string& file, std::optional<RecoveryRecord>& record) {
    try {
        record = DecodeRecoveryRecord(ReadWholeFile(file, kRecoveryRecordLimitBytes, false));
    } catch (const FileError& error) {
        if (error.errorCode() == ELOOP) return file + ": a link, which is not followed";
        return error.errorCode() == ENOENT ? "" : error.what();
    }
    return record ? "" : file + ": not a recovery record";
}

// Unique among the windows of this machine: the process and the moment it asked.
std::string NewSlotName() {
    static int counter = 0;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::to_string(::getpid()) + "-" +
           std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) + "-" +
           std::to_string(++counter);
}

}  // namespace

std::string EncodeRecoveryRecord(const RecoveryRecord& record) {
    nlohmann::ordered_json json;
    json["path"] = record.path;
    json["format"] = static_cast<int>(record.format);
    json["welcome"] = record.welcome;
    json["savedAt"] = record.savedAt;
    if (record.file.exists) json["file"] = EncodeStamp(record.file);
    json["model"] = record.model;
    return json.dump();
}

std::optional<RecoveryRecord> DecodeRecoveryRecord(std::string_view bytes) {
    const nlohmann::json json = nlohmann::json::parse(bytes, nullptr, false);
    if (!json.is_object()) return std::nullopt;
    const auto path = json.find("path");
    const auto format = json.find("format");
    const auto model = json.find("model");
    if (path == json.end() || !path->is_string() || format == json.end() || !format->is_number_integer() ||
        model == json.end() || !model->is_string() || model->get_ref<const std::string&>().empty()) {
        return std::nullopt;
    }
    const int formatNumber = format->get<int>();
    if (formatNumber < 0 || formatNumber > static_cast<int>(DocumentFormat::GitHubMarkdown)) return std::nullopt;
    const auto welcome = json.find("welcome");
    const auto savedAt = json.find("savedAt");
    if ((welcome != json.end() && !welcome->is_boolean()) ||
        (savedAt != json.end() && !savedAt->is_number_integer())) {
        return std::nullopt;
    }
    RecoveryRecord record;
    record.path = path->get<std::string>();
    record.format = static_cast<DocumentFormat>(formatNumber);
    record.welcome = welcome != json.end() && welcome->get<bool>();
    record.savedAt = savedAt != json.end() ? savedAt->get<std::int64_t>() : 0;
    record.model = model->get<std::string>();
    if (!record.path.empty() && !IsPlainAbsolutePath(record.path)) return std::nullopt;
    if (const auto file = json.find("file"); file != json.end()) {
        std::optional<FileStamp> stamp = DecodeStamp(*file);
        if (!stamp || record.path.empty()) return std::nullopt;
        record.file = std::move(*stamp);
    }
    if (!IsDocumentModel(record.model)) return std::nullopt;
    return record;
}

std::string DefaultRecoveryFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state && *state == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.local/state";
    }
    return base + "/qorva/recovery";
}

void PrepareRecoveryFolder(const std::string& folder) {
    MakeFolders(folder);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) throw FileError(folder, errno);
    if (!S_ISDIR(info.st_mode)) throw FileError(folder, ENOTDIR, "not a folder (a link or another kind of file)");
    if (info.st_uid != ::geteuid()) throw FileError(folder, EPERM, "a folder of another user");
    // Others must not read the documents kept here nor plant files.
    if ((info.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) throw FileError(folder, errno);
}

std::optional<FileLock> FileLock::TryTake(const std::string& path) {
    // Never through a link, and only a regular file: a planted lock must not make
    // the program create or open anything elsewhere.
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (descriptor < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || ::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    return FileLock(descriptor);
}

FileLock::FileLock(FileLock&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

RecoverySlot::RecoverySlot(std::string folder) : folder_(std::move(folder)), name_(NewSlotName()) {
    file_ = JoinPath(folder_, name_ + std::string(kRecordSuffix));
}

void RecoverySlot::Write(const RecoveryRecord& record) {
    if (!lock_) {
        PrepareRecoveryFolder(folder_);
        lock_ = FileLock::TryTake(LockPathOf(file_));
        if (!lock_) throw FileError(LockPathOf(file_), errno ? errno : EAGAIN);
    }
    WriteWholeFile(file_, EncodeRecoveryRecord(record), 0600);
}

void RecoverySlot::Remove() {
    ::unlink(file_.c_str());
    if (lock_) {
        ::unlink(LockPathOf(file_).c_str());
        lock_.reset();
    }
}

std::optional<OrphanedRecovery> ClaimRecovery(const std::string& file, std::string* damage) {
    std::optional<FileLock> lock = FileLock::TryTake(LockPathOf(file));
    std::optional<RecoveryRecord> record;
    std::string why = lock ? RecordDamage(file, record) : "";
    if (!lock || !record) {
        // A lock that cannot be taken as a regular file is damage too.
        struct stat info {};
        if (!lock && ::lstat(LockPathOf(file).c_str(), &info) == 0 && !S_ISREG(info.st_mode))
            why = LockPathOf(file) + ": " + kNotARegularFile;
        if (!why.empty()) {
            SetAside(file);
            if (damage) *damage = why;
        } else if (lock) {
            ::unlink(LockPathOf(file).c_str());  // the record is gone: so goes the lock made for it
        }
        return std::nullopt;
    }
    return OrphanedRecovery{file, std::move(*record), std::move(lock)};
}

std::vector<OrphanedRecovery> ClaimOrphanedRecoveries(const std::string& folder, std::vector<std::string>* setAside) {
    std::vector<OrphanedRecovery> found;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return found;
    try {
        PrepareRecoveryFolder(folder);
    } catch (const FileError& error) {
        if (setAside) setAside->push_back(error.what());
        return found;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    std::vector<std::string> files;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.front() != '.' && EndsWith(name, kRecordSuffix)) files.push_back(JoinPath(folder, name));
    }
    ::closedir(dir);
    for (const std::string& file : files) {
        std::string damage;
        if (std::optional<OrphanedRecovery> orphan = ClaimRecovery(file, &damage)) {
            found.push_back(std::move(*orphan));
        } else if (!damage.empty() && setAside) {
            setAside->push_back(damage);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const OrphanedRecovery& a, const OrphanedRecovery& b) {
        return a.record.savedAt < b.record.savedAt;
    });
    return found;
}

void DiscardRecovery(OrphanedRecovery& orphan) {
    ::unlink(orphan.file.c_str());
    ::unlink(LockPathOf(orphan.file).c_str());
    orphan.lock.reset();
}

}  // namespace qorva
