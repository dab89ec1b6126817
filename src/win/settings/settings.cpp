#include "src/win/settings/settings.h"

#include "tools/files/file_io.h"
#include "tools/user_files/user_files.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace qorva {

size_t Utf16Length(std::string_view utf8) {
    size_t units = 0;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        size_t width = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        if (i + width > utf8.size()) width = 1;
        units += width == 4 ? 2 : 1;
        i += width;
    }
    return units;
}

std::string ReadSettingString(std::string_view name, std::string_view fallback, const SettingsStore& store) {
    std::optional<SettingValue> value = store.Read(kSettingsKey, name);
    if (!value || value->isNumber() || Utf16Length(value->text) > kMaxSettingStringLength) {
        return std::string(fallback);
    }
    return value->text;
}

bool WriteSettingString(std::string_view name, std::string_view text, SettingsStore& store) {
    return store.Write(kSettingsKey, name, SettingValue::OfText(std::string(text)));
}

bool ReadSettingBool(std::string_view name, bool fallback, const SettingsStore& store) {
    std::optional<SettingValue> value = store.Read(kSettingsKey, name);
    if (!value || value->isText()) return fallback;
    return value->number != 0;
}

std::string DefaultFormatSetting(const SettingsStore& store) { return ReadSettingString("DefaultFormat", "", store); }
bool SaveUnwrappedSetting(const SettingsStore& store) { return ReadSettingBool("SaveUnwrapped", false, store); }

std::string ThemeSetting(const SettingsStore& store) { return ReadSettingString("Theme", "Default", store); }
bool WriteThemeSetting(std::string_view theme, SettingsStore& store) { return WriteSettingString("Theme", theme, store); }

std::string InfoSetting(const SettingsStore& store) { return ReadSettingString("Info", "", store); }
bool WriteInfoSetting(std::string_view info, SettingsStore& store) { return WriteSettingString("Info", info, store); }

std::string ZoomSetting(const SettingsStore& store) { return ReadSettingString("Zoom", "1.0", store); }
bool WriteZoomSetting(std::string_view zoom, SettingsStore& store) { return WriteSettingString("Zoom", zoom, store); }

std::string SpellingLanguageSetting(const SettingsStore& store) {
    const std::string code = ReadSettingString("SpellingLanguage", "", store);
    return code.empty() ? "en_US" : code;
}
bool WriteSpellingLanguageSetting(std::string_view code, SettingsStore& store) {
    return WriteSettingString("SpellingLanguage", code, store);
}

bool CopyDroppedImagesSetting(const SettingsStore& store) { return ReadSettingBool("CopyDroppedImages", true, store); }

std::string LastRunVersionSetting(const SettingsStore& store) { return ReadSettingString("LastRunVersion", "", store); }
bool WriteLastRunVersionSetting(std::string_view version, SettingsStore& store) {
    return WriteSettingString("LastRunVersion", version, store);
}

bool WriteDefaultFormatSetting(std::string_view keyword, SettingsStore& store) {
    return WriteSettingString("DefaultFormat", keyword, store);
}
bool WriteSaveUnwrappedSetting(bool unwrapped, SettingsStore& store) {
    return store.Write(kSettingsKey, "SaveUnwrapped", SettingValue::OfNumber(unwrapped ? 1 : 0));
}

std::string MarkdownFormatSetting(const SettingsStore& store) { return ReadSettingString(kMarkdownFormatSetting, "", store); }
bool WriteMarkdownFormatSetting(std::string_view keyword, SettingsStore& store) {
    return WriteSettingString(kMarkdownFormatSetting, keyword, store);
}

bool AutoSaveSetting(const SettingsStore& store) { return ReadSettingBool("AutoSave", false, store); }

int AutoSaveDelaySetting(const SettingsStore& store) {
    const std::optional<SettingValue> value = store.Read(kSettingsKey, "AutoSaveDelay");
    if (!value || value->isText() || value->number < 1) return kDefaultAutoSaveDelay;
    return static_cast<int>(std::min<std::uint32_t>(value->number, kLongestAutoSaveDelay));
}

bool WriteAutoSaveSettings(bool on, int delaySeconds, SettingsStore& store) {
    const auto delay = static_cast<std::uint32_t>(std::clamp(delaySeconds, 1, kLongestAutoSaveDelay));
    return store.Apply(kSettingsKey, {{"AutoSave", SettingValue::OfNumber(on ? 1 : 0)}, {"AutoSaveDelay", SettingValue::OfNumber(delay)}});
}

bool FocusModeSetting(const SettingsStore& store) { return ReadSettingBool("FocusMode", false, store); }
bool WriteFocusModeSetting(bool on, SettingsStore& store) {
    return store.Write(kSettingsKey, "FocusMode", SettingValue::OfNumber(on ? 1 : 0));
}
bool TypewriterModeSetting(const SettingsStore& store) { return ReadSettingBool("TypewriterMode", false, store); }
bool WriteTypewriterModeSetting(bool on, SettingsStore& store) {
    return store.Write(kSettingsKey, "TypewriterMode", SettingValue::OfNumber(on ? 1 : 0));
}

bool InstalledByPackageManager() { return FileExists(JoinPath(InstalledDataFolder(ProgramFolder()), kPackagedMarker)); }

bool CheckForUpdatesSetting(const SettingsStore& store, bool packaged) {
    const std::string stored = ReadSettingString("Updates\\CheckForUpdates", "", store);
    return stored.empty() ? !packaged : stored != "0";
}
bool WriteCheckForUpdatesSetting(bool check, SettingsStore& store) {
    return WriteSettingString("Updates\\CheckForUpdates", check ? "1" : "0", store);
}

long long LastUpdateCheckSetting(const SettingsStore& store) {
    try {
        return std::stoll(ReadSettingString("Updates\\LastCheckTime", "0", store));
    } catch (const std::exception&) {
        return 0;
    }
}
bool WriteLastUpdateCheckSetting(long long seconds, SettingsStore& store) {
    return WriteSettingString("Updates\\LastCheckTime", std::to_string(seconds), store);
}

namespace {

// Four whole numbers separated by commas, with a size no window could lack.
std::optional<std::array<int, 4>> ParseGeometry(const std::string& text) {
    std::array<int, 4> numbers{};
    size_t at = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        size_t used = 0;
        try {
            numbers[i] = std::stoi(text.substr(at), &used);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        at += used;
        const bool last = i + 1 == numbers.size();
        if (last ? at != text.size() : (at >= text.size() || text[at] != ',')) return std::nullopt;
        ++at;
    }
    constexpr int kLargest = 100000;
    if (numbers[2] < 1 || numbers[3] < 1 || numbers[2] > kLargest || numbers[3] > kLargest) return std::nullopt;
    if (std::abs(numbers[0]) > kLargest || std::abs(numbers[1]) > kLargest) return std::nullopt;
    return numbers;
}

}  // namespace

WindowLayout ReadWindowLayout(const SettingsStore& store) {
    WindowLayout layout;
    layout.geometry = ParseGeometry(ReadSettingString("WindowGeometry", "", store));
    layout.maximized = ReadSettingBool("WindowMaximized", false, store);
    layout.outline = ReadSettingBool("Outline", false, store);
    layout.matchCase = ReadSettingBool("SearchMatchCase", false, store);
    layout.wholeWord = ReadSettingBool("SearchWholeWord", false, store);
    return layout;
}

bool WriteWindowLayout(const WindowLayout& layout, SettingsStore& store) {
    auto flag = [](bool on) { return SettingValue::OfNumber(on ? 1 : 0); };
    std::vector<SettingChange> changes = {{"WindowMaximized", flag(layout.maximized)},
                                      {"Outline", flag(layout.outline)},
                                      {"SearchMatchCase", flag(layout.matchCase)},
                                      {"SearchWholeWord", flag(layout.wholeWord)}};
    if (const auto& g = layout.geometry) {
        const std::string text = std::to_string((*g)[0]) + "," + std::to_string((*g)[1]) + "," +
                                 std::to_string((*g)[2]) + "," + std::to_string((*g)[3]);
        changes.push_back({"WindowGeometry", SettingValue::OfText(text)});
    }
    return store.Apply(kSettingsKey, changes);
}

CountDisplay CountDisplayFromInfo(std::string_view info) {
    if (info == "words") return CountDisplay::Words;
    if (info == "characters") return CountDisplay::Characters;
    return CountDisplay::None;
}

std::string_view InfoForCountCommand(CountDisplay current, CountDisplay chosen) {
    if (chosen == current) return "";
    return chosen == CountDisplay::Words ? "words" : chosen == CountDisplay::Characters ? "characters" : "";
}

}  // namespace qorva
