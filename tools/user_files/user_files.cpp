#include "tools/user_files/user_files.h"

#include "tools/files/file_io.h"

#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

#include <algorithm>

namespace qorva {

std::string ProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return CurrentFolder();
    return FolderOf(std::string(buffer, static_cast<size_t>(n)));
}

std::string UserDataFolder() {
    const char* data = getenv("XDG_DATA_HOME");
    if (data && *data == '/') return JoinPath(data, "qorva");
    const char* home = getenv("HOME");
    return JoinPath(JoinPath(home && *home ? home : "/", ".local/share"), "qorva");
}

std::string InstalledDataFolder(const std::string& programFolder) {
    return JoinPath(FolderOf(programFolder), "share/qorva");
}

std::vector<std::string> UserFileFolders() {
    const std::string program = ProgramFolder();
    return {UserDataFolder(), program, InstalledDataFolder(program)};
}

std::string FindUserFile(const std::string& fileName, const std::vector<std::string>& folders) {
    if (fileName.empty() || fileName.find('/') != std::string::npos || fileName == "." || fileName == "..")
        return {};
    for (const std::string& folder : folders) {
        std::string path = JoinPath(folder, fileName);
        if (FileExists(path)) return path;
    }
    return {};
}

std::vector<std::string> ListUserFiles(const std::string& extension, const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (const std::string& folder : folders) {
        DIR* dir = opendir(folder.c_str());
        if (!dir) continue;
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() <= extension.size() || !name.ends_with(extension)) continue;
            if (!FileExists(JoinPath(folder, name))) continue;
            names.push_back(name.substr(0, name.size() - extension.size()));
        }
        closedir(dir);
    }
    return names;
}

void SortOrdinalUnique(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

}  // namespace qorva
