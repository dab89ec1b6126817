// Editor themes: style sheets for the editor page, built in or from user files.
#pragma once

#include "tools/user_files/user_files.h"

#include <string>
#include <vector>

namespace qorva {

// Command ids of the theme menu: "Default" has the first; the names of
// ThemeMenuNames follow in order. Only ids up to kLastThemeCommand are handled.
inline constexpr int kFirstThemeCommand = 33100;
inline constexpr int kLastThemeCommand = 33110;
inline constexpr const char* kDefaultThemeName = "Default";
// The theme setting that follows the desktop's colour scheme: "Dark" or "Default".
inline constexpr const char* kDesktopThemeName = "Desktop";
inline constexpr const char* kDarkThemeName = "Dark";

// The theme menu items after the fixed "Default": user .theme files and the
// built-in "Dark", "Monospaced" and "Serif", in ordinal order without repeats.
// A user file named Default.theme adds a second "Default" item, as it should:
// the fixed item stays.
std::vector<std::string> ThemeMenuNames(const std::vector<std::string>& folders = UserFileFolders());

// The style sheet of a theme: the user file NAME.theme if there is one, else the
// built-in sheet for "Dark", "Monospaced" or "Serif", else empty (the page's own
// look). Throws FileError when the user file cannot be read.
std::string ThemeStyleSheet(const std::string& name, const std::vector<std::string>& folders = UserFileFolders());

}  // namespace qorva
