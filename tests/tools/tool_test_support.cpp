#include "tests/tools/tool_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace qorva::test {

ScratchFolder::ScratchFolder() {
    std::string pattern = "/tmp/qorva-tools-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() { Shell("chmod -R u+rwx " + ShellQuote(path_) + " && rm -rf " + ShellQuote(path_)); }

std::string ScratchFolder::write(const std::string& name, const std::string& bytes, int mode) const {
    std::string path = file(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    if (::chmod(path.c_str(), mode) != 0) throw std::runtime_error("cannot write " + path);
    return path;
}

EnvOverride::EnvOverride(const char* name, const std::string& value) : name_(name) {
    const char* old = getenv(name);
    had_ = old != nullptr;
    if (old) old_ = old;
    setenv(name, value.c_str(), 1);
}

EnvOverride::~EnvOverride() {
    if (had_)
        setenv(name_.c_str(), old_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

std::string Shell(const std::string& command, int* exitCode) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    int status = pclose(pipe);
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string PdfText(const std::string& pdfPath) { return Shell("pdftotext " + ShellQuote(pdfPath) + " - 2>&1"); }

std::string Squeeze(const std::string& text) {
    std::istringstream words(text);
    std::string out;
    for (std::string word; words >> word;) out += (out.empty() ? "" : " ") + word;
    return out;
}

std::string WriteTinyPng(const std::string& path) {
    Shell("printf %s iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGP4z8AARwzEcQCukw/x0F8jngAAAABJRU5ErkJggg=="
          " | base64 -d > " + ShellQuote(path));
    return path;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace qorva::test
