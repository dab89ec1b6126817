#include "src/win/settings/shell_values.h"

#include "src/win/tools/file_helpers.h"
#include "src/win/tools/user_files.h"
#include "src/win/view/zoom.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace qorva {
namespace {

// Keeps the values in an INI file of its own, so it never touches the files of
// the full settings store.
class IniValueStore final : public ShellValueStore {
public:
    std::string ReadString(const std::string& name, const std::string& fallback) override {
        QSettings settings = Open();
        const QVariant value = settings.value(Key(name));
        if (!value.isValid() || value.typeId() != QMetaType::QString) return fallback;
        return value.toString().toStdString();
    }

    bool WriteString(const std::string& name, const std::string& value) override {
        QSettings settings = Open();
        settings.setValue(Key(name), QString::fromStdString(value));
        settings.sync();
        return settings.status() == QSettings::NoError;
    }

private:
    static QString Key(const std::string& name) {
        return QStringLiteral("Qorva/") + QString::fromStdString(name);
    }
    static QSettings Open() {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/qorva");
        QDir().mkpath(folder);
        return QSettings(folder + QStringLiteral("/shell.ini"), QSettings::IniFormat);
    }
};

ShellValueStore* gStore = nullptr;

// The update checker's values are named as if in a key of their own.
const std::string kCheckForUpdatesValue = "Updates\\CheckForUpdates";

}  // namespace

ShellValueStore& ShellValues() {
    static IniValueStore fallbackStore;
    return gStore ? *gStore : fallbackStore;
}

void SetShellValueStore(ShellValueStore* store) { gStore = store; }

std::string ReadZoomSetting() { return ShellValues().ReadString("Zoom", std::string(kDefaultZoom)); }
void WriteZoomSetting(const std::string& zoom) { ShellValues().WriteString("Zoom", zoom); }
std::string ReadLastRunVersion() { return ShellValues().ReadString("LastRunVersion", ""); }
void WriteLastRunVersion(const std::string& version) {
    ShellValues().WriteString("LastRunVersion", version);
}

bool CheckForUpdatesSetting(const std::string& stored, bool packaged) {
    return stored.empty() ? !packaged : stored != "0";
}

bool ReadCheckForUpdates() {
    const bool packaged = QFileInfo::exists(
        QString::fromStdString(JoinPath(InstalledDataFolder(ProgramFolder()), kPackagedMarker)));
    return CheckForUpdatesSetting(ShellValues().ReadString(kCheckForUpdatesValue, ""), packaged);
}
void WriteCheckForUpdates(bool check) { ShellValues().WriteString(kCheckForUpdatesValue, check ? "1" : "0"); }

}  // namespace qorva
