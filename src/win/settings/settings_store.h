// The settings file: registry-style keys holding typed values, kept as JSON under
// the user's XDG config folder. Several windows (processes) share it, so every
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

// The three registry value types the program uses. A string is never a number:
// reading one as the other gives the caller's default.
enum class RegType { String, ExpandString, Dword };

struct RegValue {
    RegType type = RegType::String;
    std::string text;        // String, ExpandString (UTF-8)
    std::uint32_t number = 0;  // Dword

    static RegValue String(std::string text) { return {RegType::String, std::move(text), 0}; }
    static RegValue Dword(std::uint32_t number) { return {RegType::Dword, {}, number}; }
    bool operator==(const RegValue&) const = default;
};

// One value to set (value present) or delete (value absent) within a key.
struct RegChange {
    std::string name;
    std::optional<RegValue> value;
};

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    // $XDG_CONFIG_HOME/qorva/settings.json, or ~/.config/qorva/settings.json.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& path() const { return file_; }

    // The value, or nothing when the file, key or value is missing, damaged or
    // of a type this program does not know.
    std::optional<RegValue> Read(std::string_view key, std::string_view name) const;
    bool KeyExists(std::string_view key) const;

    // Applies the changes to one key (creating it) in one atomic replacement.
    // False when the file could not be written; the old file then stays as it was.
    bool Apply(std::string_view key, const std::vector<RegChange>& changes);
    bool Write(std::string_view key, std::string_view name, const RegValue& value);
    bool Delete(std::string_view key, std::string_view name);

private:
    std::filesystem::path file_;
};

// The store of the current user, at DefaultPath() as it was on first use.
SettingsStore& UserSettings();

}  // namespace qorva
