#include "tests/tools/tool_test_support.h"
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace qorva::test {

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

}  // namespace qorva::test
