// The settings file: keys ("Software\\Qorva") holding named texts and numbers, kept
// as JSON under the user's XDG config folder. Several windows (processes) share it, so every
// change re-reads the file under a lock and replaces it atomically; a change
// never loses a value another process wrote in between.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// A stored value: a text or a 32-bit number. A text is never a number: reading
// one as the other gives the caller's default.
struct SettingValue {
    enum class Kind { Text, Number };
    Kind kind = Kind::Text;
    std::string text;          // Text (UTF-8)
    std::uint32_t number = 0;  // Number

    static SettingValue OfText(std::string text) { return {Kind::Text, std::move(text), 0}; }
    static SettingValue OfNumber(std::uint32_t number) { return {Kind::Number, {}, number}; }
    bool isText() const { return kind == Kind::Text; }
    bool isNumber() const { return kind == Kind::Number; }
    bool operator==(const SettingValue&) const = default;
};

// One value to set (value present) or delete (value absent) within a key.
struct SettingChange {
    std::string name;
    std::optional<SettingValue> value;
};

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    // $XDG_CONFIG_HOME/qorva/settings.json, or ~/.config/qorva/settings.json.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& path() const { return file_; }

    // The value, or nothing when the file, key or value is missing, damaged or
    // of a type this program does not know.
    std::optional<SettingValue> Read(std::string_view key, std::string_view name) const;
    bool KeyExists(std::string_view key) const;

    // Applies the changes to one key (creating it) in one atomic replacement.
    // False when the file could not be written; the old file then stays as it was.
    bool Apply(std::string_view key, const std::vector<SettingChange>& changes);
    bool Write(std::string_view key, std::string_view name, const SettingValue& value);
    bool Delete(std::string_view key, std::string_view name);

private:
    std::filesystem::path file_;
};

// The store of the current user, at DefaultPath() as it was on first use.
SettingsStore& UserSettings();

}  // namespace qorva
