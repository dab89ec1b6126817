// The settings of exports under "Software\Qorva": how long an outside tool may run,
// and whether Word, Rich Text and EPUB exports may fetch remote pictures.
#pragma once

#include "src/win/settings/settings_store.h"

#include <chrono>
#include <string>

namespace qorva {

// "ToolTimeLimit", seconds as a 32-bit number; missing, zero or of another type:
// the default of the process runner (five minutes).
std::chrono::seconds ToolTimeLimitSetting(const SettingsStore& store = UserSettings());
bool WriteToolTimeLimitSetting(std::chrono::seconds limit, SettingsStore& store = UserSettings());

// "FetchRemoteImages", a truth value; off unless the user turned it on.
bool FetchRemoteImagesSetting(const SettingsStore& store = UserSettings());
bool WriteFetchRemoteImagesSetting(bool fetch, SettingsStore& store = UserSettings());

// "SpellingLanguage" ("en_US") as the language tag exports carry ("en-US"); en-US
// when it is missing or malformed.
std::string ExportLanguageSetting(const SettingsStore& store = UserSettings());

// "EmbedExportPictures", a truth value: HTML exports hold their pictures; off by default.
bool EmbedExportPicturesSetting(const SettingsStore& store = UserSettings());

}  // namespace qorva
