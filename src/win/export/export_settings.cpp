#include "src/win/export/export_settings.h"

#include "src/win/settings/settings.h"
#include "tools/export/export_metadata.h"
#include "tools/process/process_runner.h"

namespace qorva {

std::chrono::seconds ToolTimeLimitSetting(const SettingsStore& store) {
    const std::optional<SettingValue> value = store.Read(kSettingsKey, "ToolTimeLimit");
    if (!value || value->isText() || value->number == 0) return kDefaultToolTimeLimit;
    return std::chrono::seconds(value->number);
}

bool WriteToolTimeLimitSetting(std::chrono::seconds limit, SettingsStore& store) {
    return store.Write(kSettingsKey, "ToolTimeLimit", SettingValue::OfNumber(static_cast<std::uint32_t>(limit.count())));
}

bool FetchRemoteImagesSetting(const SettingsStore& store) { return ReadSettingBool("FetchRemoteImages", false, store); }

bool WriteFetchRemoteImagesSetting(bool fetch, SettingsStore& store) {
    return store.Write(kSettingsKey, "FetchRemoteImages", SettingValue::OfNumber(fetch ? 1 : 0));
}

std::string ExportLanguageSetting(const SettingsStore& store) {
    return LanguageTag(SpellingLanguageSetting(store));
}

bool EmbedExportPicturesSetting(const SettingsStore& store) { return ReadSettingBool("EmbedExportPictures", false, store); }

}  // namespace qorva
