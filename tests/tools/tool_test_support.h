// Helpers shared by the tool suites: scratch folders, environment overrides and
// small shell-outs to the inspection tools (pdftotext, unzip).
#pragma once

#include <string>
#include <vector>

namespace qorva::test {

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file (plain, non-atomic) and returns its path.
    std::string write(const std::string& name, const std::string& bytes, int mode = 0644) const;

private:
    std::string path_;
};

// Sets an environment variable for the lifetime of the object.
class EnvOverride {
public:
    EnvOverride(const char* name, const std::string& value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    bool had_;
    std::string old_;
};

// Runs a shell command and returns its standard output; exitCode receives its status.
std::string Shell(const std::string& command, int* exitCode = nullptr);
// Quotes for /bin/sh.
std::string ShellQuote(const std::string& text);
// The text pdftotext extracts from a PDF.
std::string PdfText(const std::string& pdfPath);
// Collapses runs of whitespace to one space, so extracted text compares simply.
std::string Squeeze(const std::string& text);
// Writes a small valid PNG picture (four by four red pixels) and returns its path.
std::string WriteTinyPng(const std::string& path);
// Names of the entries directly inside a folder, sorted; none for a missing folder.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace qorva::test
