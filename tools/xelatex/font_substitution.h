// Fonts named in a LaTeX template that this system lacks (the built-in templates
// ask for Georgia and Courier New) would leave XeLaTeX setting every letter in the
// null font, giving a PDF without text. They are swapped for installed ones.
#pragma once

#include <string>
#include <string_view>

namespace qorva {

// True when fontconfig knows a font of exactly this family (case-insensitive).
bool IsFontFamilyInstalled(std::string_view family);

enum class FontRole { Main, Sans, Mono };

// The installed family fontconfig offers in place of `family` for the role (its
// own substitution rules first, then the generic serif, sans-serif or monospace
// family); empty when no usable font is installed at all.
std::string InstalledSubstitute(std::string_view family, FontRole role);

// Rewrites the family of every \setmainfont, \setsansfont and \setmonofont whose
// font is not installed. With no font installed at all, the command is commented
// out so that XeLaTeX falls back to its own Latin Modern fonts. Text naming
// installed fonts is returned unchanged.
std::string SubstituteMissingFonts(std::string_view latex);

}  // namespace qorva
