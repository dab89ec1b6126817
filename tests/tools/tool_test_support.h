// Helpers shared by the tool suites: small shell-outs to the inspection tools
// (pdftotext, unzip); folders and the environment are in tests/frame/temp_folder.h.
#pragma once

#include "tests/frame/temp_folder.h"
#include <sys/wait.h>
#include <cstdio>
#include <stdexcept>

namespace qorva::test {

using testing::FakePandocHome;
using testing::FolderEntries;

// Runs a shell command and returns its standard output; exitCode receives its status.
inline std::string Shell(const std::string& command, int* exitCode = nullptr) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    int status = pclose(pipe);
    if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string PdfText(const std::string& pdfPath) { return Shell("pdftotext " + ShellQuote(pdfPath) + " - 2>&1"); }

// A PDF's bytes followed by the inflated contents of its streams, where text a
// viewer does not show (embedded files, objects in object streams) can be seen.
inline std::string PdfInflated(const std::string& pdfPath) {
    return Shell("python3 -c " + ShellQuote("import re, sys, zlib\n"
                                            "data = open(sys.argv[1], 'rb').read()\n"
                                            "parts = [data]\n"
                                            "for m in re.finditer(rb'stream\\r?\\n(.*?)endstream', data, re.S):\n"
                                            "    try: parts.append(zlib.decompressobj().decompress(m.group(1)))\n"
                                            "    except zlib.error: pass\n"
                                            "sys.stdout.buffer.write(b'\\n'.join(parts))\n") +
                 " " + ShellQuote(pdfPath));
}

// The number of pictures in a PDF.
inline std::string PdfImageCount(const std::string& pdfPath) {
    return Shell("pdfimages -list " + ShellQuote(pdfPath) + " | tail -n +3 | wc -l");
}

// Collapses runs of whitespace to one space, so extracted text compares simply.
inline std::string Squeeze(const std::string& text) {
    std::istringstream words(text);
    std::string out;
    for (std::string word; words >> word;) out += (out.empty() ? "" : " ") + word;
    return out;
}

// Writes a small valid PNG picture (four by four red pixels) and returns its path.
inline std::string WriteTinyPng(const std::string& path) {
    Shell("printf %s iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGP4z8AARwzEcQCukw/x0F8jngAAAABJRU5ErkJggg=="
          " | base64 -d > " + ShellQuote(path));
    return path;
}

}  // namespace qorva::test
