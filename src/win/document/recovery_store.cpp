#include "src/win/document/recovery_store.h"

#include "src/win/tools/file_helpers.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
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

std::optional<FileLock> FileLock::TryTake(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) return std::nullopt;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
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
        MakeFolders(folder_);
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

std::optional<OrphanedRecovery> ClaimRecovery(const std::string& file) {
    std::optional<FileLock> lock = FileLock::TryTake(LockPathOf(file));
    if (!lock) return std::nullopt;
    std::optional<RecoveryRecord> record;
    try {
        record = DecodeRecoveryRecord(ReadWholeFile(file));
    } catch (const FileError&) {
    }
    if (!record) return std::nullopt;
    return OrphanedRecovery{file, std::move(*record), std::move(lock)};
}

std::vector<OrphanedRecovery> ClaimOrphanedRecoveries(const std::string& folder) {
    std::vector<OrphanedRecovery> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    std::vector<std::string> files;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.front() != '.' && EndsWith(name, kRecordSuffix)) files.push_back(JoinPath(folder, name));
    }
    ::closedir(dir);
    for (const std::string& file : files) {
        if (std::optional<OrphanedRecovery> orphan = ClaimRecovery(file)) found.push_back(std::move(*orphan));
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
