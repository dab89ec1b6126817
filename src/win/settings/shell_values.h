// The few stored values the editor view and start-up use (Zoom, LastRunVersion).
// A settings store plugs itself in with SetShellValueStore; until one does, the
// values live in a small file of their own under the user's config folder.
#pragma once

#include <string>

namespace qorva {

class ShellValueStore {
public:
    virtual ~ShellValueStore() = default;
    // A string value under Software\Qorva, or `fallback` when it is missing.
    virtual std::string ReadString(const std::string& name, const std::string& fallback) = 0;
    virtual bool WriteString(const std::string& name, const std::string& value) = 0;
};

// The store in use; never null.
ShellValueStore& ShellValues();
// Replaces the store (not owned; must outlive its use). nullptr restores the default.
void SetShellValueStore(ShellValueStore* store);

std::string ReadZoomSetting();
void WriteZoomSetting(const std::string& zoom);
std::string ReadLastRunVersion();
void WriteLastRunVersion(const std::string& version);
// Whether the update checker looks for a new version at start-up (at most daily):
// the text "0" in "Updates\CheckForUpdates" switches it off, anything else stored
// leaves it on. Unset, it is on for a program built by hand and off for one a
// package manager installed and keeps up to date: its package ships the file
// kPackagedMarker in the program's installed data folder.
inline constexpr const char* kPackagedMarker = "updates-by-package-manager";
bool CheckForUpdatesSetting(const std::string& stored, bool packaged);
bool ReadCheckForUpdates();
void WriteCheckForUpdates(bool check);

}  // namespace qorva
