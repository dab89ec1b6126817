#include "src/win/settings/settings_shell_values.h"

#include "src/win/settings/settings.h"
#include "src/win/settings/shell_values.h"

namespace qorva {
namespace {

class SettingsShellValues final : public ShellValueStore {
public:
    std::string ReadString(const std::string& name, const std::string& fallback) override {
        return ReadSettingString(name, fallback);
    }
    bool WriteString(const std::string& name, const std::string& value) override {
        return WriteSettingString(name, value);
    }
};

}  // namespace

void UseSettingsStoreForShellValues() {
    static SettingsShellValues store;
    SetShellValueStore(&store);
}

}  // namespace qorva
