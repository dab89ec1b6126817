// Start-up decisions that need no window: the first document and
// where the window goes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qorva {

// The program's arguments joined into one command line, as the user typed them.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// The document argument of a command line: the text between a leading double quote
// and the next one (or the end), else the whole line.
std::string CommandLineArgument(const std::string& commandLine);

enum class FirstDocumentKind { Untitled, Welcome, File, WelcomeIfFirstRun };

struct FirstDocument {
    FirstDocumentKind kind;
    std::string argument;  // the argument as typed, for File
};

FirstDocument ChooseFirstDocument(const std::string& commandLine);

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};

// Top-left corner of a window of the given size centred on the work area, kept
// inside it where it fits.
std::pair<int, int> CentreOnWorkArea(int width, int height, const Rect& workArea);

// The first window: a share of the work area that suits writing, centred on it.
Rect FirstWindowRect(const Rect& workArea);
// A stored window, shrunk to the work area where larger and moved into it where
// any part of it would lie outside (a smaller or rearranged screen since).
Rect FitToWorkArea(const Rect& stored, const Rect& workArea);

}  // namespace qorva

namespace qorva {

// The program's file version text from its version number ("0.1.0" gives "0.1",
// "1.2.3" gives "1.2.3.0"): four parts when build or revision is not zero, else two.
std::string FileVersionText(const std::string& version);

}  // namespace qorva
