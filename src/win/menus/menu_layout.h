// The menu bar as data: labels with their mnemonics and accelerator texts (after
// "\t"), command identifiers, submenus and separators, top to bottom.
#pragma once

#include <string>
#include <vector>

namespace qorva {

struct MenuNode {
    enum class Kind { Command, Submenu, Separator };
    Kind kind = Kind::Command;
    std::string label;
    int id = 0;  // commands only
    std::vector<MenuNode> children;  // submenus only
};

// The eight top-level menus: "&File" to "&Help".
const std::vector<MenuNode>& MenuBarLayout();

// Positions the frame finds by position, as the menu resource places them.
inline constexpr int kWindowMenuPosition = 6;
inline constexpr int kOpenRecentPosition = 2;

}  // namespace qorva
