// Helpers shared by the tool suites: small shell-outs to the inspection tools
// (pdftotext, unzip); folders and the environment are in tests/frame/temp_folder.h.
#pragma once

#include "tests/frame/temp_folder.h"
#include <string>
#include <vector>

namespace qorva::test {

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
using testing::FolderEntries;
using testing::FakePandocHome;

}  // namespace qorva::test
