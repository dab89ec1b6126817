#include "src/win/settings/settings_store.h"

#include "tools/files/file_io.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorva {
namespace {

using OrderedJson = nlohmann::ordered_json;

// The type tags of the stored file, as users' files have them: texts are "REG_SZ"
// (or "REG_EXPAND_SZ", read as a text), numbers "REG_DWORD".
constexpr std::string_view kTypeText = "REG_SZ";
constexpr std::string_view kTypeOtherText = "REG_EXPAND_SZ";
constexpr std::string_view kTypeNumber = "REG_DWORD";

enum class FileState { Missing, Readable, Damaged, Unreadable };

struct LoadedFile {
    FileState state = FileState::Missing;
    OrderedJson root = OrderedJson::object();
};

LoadedFile Load(const std::filesystem::path& file) {
    LoadedFile loaded;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        loaded.state = std::filesystem::exists(file, ec) ? FileState::Unreadable : FileState::Missing;
        return loaded;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        loaded.state = FileState::Unreadable;
        return loaded;
    }
    OrderedJson root = OrderedJson::parse(bytes.str(), nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded() || !root.is_object()) {
        loaded.state = FileState::Damaged;
        return loaded;
    }
    loaded.state = FileState::Readable;
    loaded.root = std::move(root);
    return loaded;
}

std::optional<SettingValue> Decode(const OrderedJson& entry) {
    if (!entry.is_object()) return std::nullopt;
    auto type = entry.find("type");
    auto data = entry.find("data");
    if (type == entry.end() || data == entry.end() || !type->is_string()) return std::nullopt;
    const std::string& name = type->get_ref<const std::string&>();
    if ((name == kTypeText || name == kTypeOtherText) && data->is_string()) {
        return SettingValue::OfText(data->get<std::string>());
    }
    if (name == kTypeNumber && data->is_number_unsigned() && data->get<std::uint64_t>() <= 0xFFFFFFFFu) {
        return SettingValue::OfNumber(static_cast<std::uint32_t>(data->get<std::uint64_t>()));
    }
    return std::nullopt;
}

OrderedJson Encode(const SettingValue& value) {
    if (value.isNumber()) return {{"type", kTypeNumber}, {"data", value.number}};
    return {{"type", kTypeText}, {"data", value.text}};
}

// Holds an exclusive lock on "<file>.lock" for its lifetime. The lock file is
// separate because the settings file itself is replaced by rename.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& file) {
        std::string lockPath = file.string() + ".lock";
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Readers see either the old or the new settings, never a partial file. The
// file holds the user's recent paths, so a new one is private.
bool ReplaceAtomically(const std::filesystem::path& file, const std::string& bytes) {
    try {
        WriteWholeFile(file.string(), bytes, 0600);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

// A damaged file is kept under a name of its own for the user to inspect.
bool SetAside(const std::filesystem::path& file) {
    std::string aside = file.string() + ".damaged-" + std::to_string(std::time(nullptr)) + "-" +
                        std::to_string(::getpid());
    return ::rename(file.c_str(), aside.c_str()) == 0;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path SettingsStore::DefaultPath() {
    std::filesystem::path base;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : "/tmp") / ".config";
    }
    return base / "qorva" / "settings.json";
}

std::optional<SettingValue> SettingsStore::Read(std::string_view key, std::string_view name) const {
    LoadedFile loaded = Load(file_);
    if (loaded.state != FileState::Readable) return std::nullopt;
    auto k = loaded.root.find(std::string(key));
    if (k == loaded.root.end() || !k->is_object()) return std::nullopt;
    auto v = k->find(std::string(name));
    if (v == k->end()) return std::nullopt;
    return Decode(*v);
}

bool SettingsStore::KeyExists(std::string_view key) const {
    LoadedFile loaded = Load(file_);
    if (loaded.state != FileState::Readable) return false;
    auto k = loaded.root.find(std::string(key));
    return k != loaded.root.end() && k->is_object();
}

bool SettingsStore::Apply(std::string_view key, const std::vector<SettingChange>& changes) {
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    FileLock lock(file_);
    if (!lock.locked()) return false;

    LoadedFile loaded = Load(file_);
    if (loaded.state == FileState::Unreadable) return false;
    if (loaded.state == FileState::Damaged && !SetAside(file_)) return false;

    OrderedJson& values = loaded.root[std::string(key)];
    if (!values.is_object()) values = OrderedJson::object();
    for (const SettingChange& change : changes) {
        if (change.value) {
            values[change.name] = Encode(*change.value);
        } else {
            values.erase(change.name);
        }
    }
    // Paths on Linux may hold bytes that are not UTF-8; they are stored replaced
    // rather than failing the whole write.
    std::string bytes = loaded.root.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
    return ReplaceAtomically(file_, bytes);
}

bool SettingsStore::Write(std::string_view key, std::string_view name, const SettingValue& value) {
    return Apply(key, {SettingChange{std::string(name), value}});
}

bool SettingsStore::Delete(std::string_view key, std::string_view name) {
    return Apply(key, {SettingChange{std::string(name), std::nullopt}});
}

SettingsStore& UserSettings() {
    static SettingsStore store(SettingsStore::DefaultPath());
    return store;
}

}  // namespace qorva
