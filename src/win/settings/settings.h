// The program's settings under "Software\Qorva": typed values with their defaults.
// Values are read when needed and never cached; a missing value, a value of the
// wrong type or a damaged settings file gives the default, and nothing is reported.
#pragma once

#include "src/win/settings/settings_store.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qorva {

inline constexpr std::string_view kSettingsKey = "Software\\Qorva";
inline constexpr std::string_view kRecentDocumentsKey = "Software\\Qorva\\Recent Document List";
inline constexpr std::string_view kUpdatesKey = "Software\\Qorva\\Updates";

// Longest string value accepted, in UTF-16 code units as the registry counts them.
inline constexpr size_t kMaxSettingStringLength = 1024;

// Length of a UTF-8 text in UTF-16 code units (invalid bytes count as one unit each).
size_t Utf16Length(std::string_view utf8);

// One value of "Software\Qorva" by name. A text of at most 1024 characters, else the default.
std::string ReadSettingString(std::string_view name, std::string_view fallback,
                              const SettingsStore& store = UserSettings());
bool WriteSettingString(std::string_view name, std::string_view text,
                        SettingsStore& store = UserSettings());
// A number read as a truth value (non-zero is true), else the default.
bool ReadSettingBool(std::string_view name, bool fallback, const SettingsStore& store = UserSettings());

// Each setting by name, with its default.
std::string DefaultFormatSetting(const SettingsStore& store = UserSettings());
bool SaveUnwrappedSetting(const SettingsStore& store = UserSettings());
std::string ThemeSetting(const SettingsStore& store = UserSettings());
bool WriteThemeSetting(std::string_view theme, SettingsStore& store = UserSettings());
std::string InfoSetting(const SettingsStore& store = UserSettings());
bool WriteInfoSetting(std::string_view info, SettingsStore& store = UserSettings());
std::string ZoomSetting(const SettingsStore& store = UserSettings());
bool WriteZoomSetting(std::string_view zoom, SettingsStore& store = UserSettings());
// A Hunspell dictionary name such as "de_DE"; "en_US" when missing or empty.
std::string SpellingLanguageSetting(const SettingsStore& store = UserSettings());
bool WriteSpellingLanguageSetting(std::string_view code, SettingsStore& store = UserSettings());
// Whether a dropped picture from outside the document's folder is copied into images/ beside it.
bool CopyDroppedImagesSetting(const SettingsStore& store = UserSettings());
std::string LastRunVersionSetting(const SettingsStore& store = UserSettings());
bool WriteLastRunVersionSetting(std::string_view version, SettingsStore& store = UserSettings());
bool WriteDefaultFormatSetting(std::string_view keyword, SettingsStore& store = UserSettings());
bool WriteSaveUnwrappedSetting(bool unwrapped, SettingsStore& store = UserSettings());
// How Markdown-named files open: "github", else (anything or nothing) Pandoc Markdown.
inline constexpr std::string_view kMarkdownFormatSetting = "MarkdownFormat";
std::string MarkdownFormatSetting(const SettingsStore& store = UserSettings());
bool WriteMarkdownFormatSetting(std::string_view keyword, SettingsStore& store = UserSettings());

// Automatic saving of titled documents once typing pauses: "AutoSave" (a truth
// value, off by default) and "AutoSaveDelay" (seconds of pause, 1 to 600, default 5).
inline constexpr int kDefaultAutoSaveDelay = 5;
inline constexpr int kLongestAutoSaveDelay = 600;
bool AutoSaveSetting(const SettingsStore& store = UserSettings());
int AutoSaveDelaySetting(const SettingsStore& store = UserSettings());
bool WriteAutoSaveSettings(bool on, int delaySeconds, SettingsStore& store = UserSettings());
// The writing modes of the Window menu (numbers 0/1, default off).
bool FocusModeSetting(const SettingsStore& store = UserSettings());
bool WriteFocusModeSetting(bool on, SettingsStore& store = UserSettings());
bool TypewriterModeSetting(const SettingsStore& store = UserSettings());
bool WriteTypewriterModeSetting(bool on, SettingsStore& store = UserSettings());

// Whether the update checker looks for a new version at start-up (at most daily):
// the text "0" switches it off, any other text leaves it on. Unset, it is on for a
// program built by hand and off for one a package manager installed and keeps up
// to date: its package ships the file kPackagedMarker in the installed data folder.
// Stored, like the time of the last check, as a value of "Software\Qorva" whose
// name starts "Updates\" (not in the key kUpdatesKey).
inline constexpr const char* kPackagedMarker = "updates-by-package-manager";
bool InstalledByPackageManager();
bool CheckForUpdatesSetting(const SettingsStore& store = UserSettings(), bool packaged = InstalledByPackageManager());
bool WriteCheckForUpdatesSetting(bool check, SettingsStore& store = UserSettings());
// Seconds since the epoch of the last check that reached the feed; 0 when none did.
long long LastUpdateCheckSetting(const SettingsStore& store = UserSettings());
bool WriteLastUpdateCheckSetting(long long seconds, SettingsStore& store = UserSettings());

// The window as the user left it. The geometry is the normal (not maximised)
// frame, stored as the text "left,top,width,height" so that it stays hand-editable.
struct WindowLayout {
    std::optional<std::array<int, 4>> geometry;
    bool maximized = false;
    bool outline = false;
    bool matchCase = false;
    bool wholeWord = false;
    bool operator==(const WindowLayout&) const = default;
};
WindowLayout ReadWindowLayout(const SettingsStore& store = UserSettings());
bool WriteWindowLayout(const WindowLayout& layout, SettingsStore& store = UserSettings());

// The count display mode of the window title.
enum class CountDisplay { None = 0, Words = 1, Characters = 2 };

// "words" gives Words, "characters" gives Characters, exactly; anything else None.
CountDisplay CountDisplayFromInfo(std::string_view info);
// The Info text that toggles `chosen`: empty when it is already `current`.
std::string_view InfoForCountCommand(CountDisplay current, CountDisplay chosen);

}  // namespace qorva
