// Shared by the frame, tools and export suites: a fresh folder under the temporary
// folder, removed with everything in it afterwards; an environment variable set
// for a test's lifetime; whole files; a stand-in Pandoc.
#pragma once

#include <sys/stat.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qorva::testing {

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Names of the entries directly inside a folder, sorted; none for a missing folder.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qorva-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        // Tests take rights away from folders; give them back so that all can go.
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
            if (entry.is_directory(ec) && !entry.is_symlink(ec)) ::chmod(entry.path().c_str(), 0700);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes `bytes` to `name` in the folder and returns the file's path.
    std::string Write(const std::string& name, const std::string& bytes, int mode = 0644) const {
        WriteFileBytes(path_ / name, bytes);
        ::chmod((path_ / name).c_str(), mode);
        return File(name);
    }

private:
    std::filesystem::path path_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name), had_(std::getenv(name) != nullptr) {
        if (had_) old_ = std::getenv(name);
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { had_ ? ::setenv(name_.c_str(), old_.c_str(), 1) : ::unsetenv(name_.c_str()); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    bool had_;
    std::string old_;
};

// A scratch home folder, HOME while it lives, with a stand-in `pandoc` in its
// ~/.local/bin (found before any on PATH) that prints `versionLine` for --version
// and runs `script` otherwise.
struct FakePandocHome {
    TempFolder home;
    ScopedEnv homeVariable{"HOME", home.path()};
    std::string pandoc;
    FakePandocHome(const std::string& versionLine, const std::string& script) {
        std::filesystem::create_directories(home / ".local/bin");
        pandoc = home.Write(".local/bin/pandoc", "#!/bin/sh\nif [ \"$1\" = --version ]; then printf '" + versionLine +
                                                     "\\nCompiled with nothing\\n'; exit 0; fi\n" + script + "\n", 0755);
    }
};

}  // namespace qorva::testing
