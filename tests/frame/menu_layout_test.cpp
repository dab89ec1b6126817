#include "src/win/menus/menu_accelerators.h"
#include "src/win/menus/menu_commands.h"
#include "src/win/menus/menu_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace qorva {
namespace {

// "Ctrl+Shift+Z", "Ctrl +", "F11" as shown in a menu: virtual-key code and modifiers.
std::pair<int, int> ParseAcceleratorText(const std::string& text) {
    static const std::map<std::string, int> named = {
        {"Up", 38},  {"Down", 40},      {"Left", 37},      {"Right", 39}, {"Enter", 13}, {"Backspace", 8},
        {"Delete", 46}, {"F11", 122},   {"]", 221},        {"[", 219},    {"/", 191},    {"\\", 220},
    };
    if (text == "Ctrl +") return {187, 1};
    if (text == "Ctrl -") return {189, 1};
    if (text == "Ctrl 0") return {'0', 1};
    int modifiers = 0;
    std::string rest = text;
    for (auto [prefix, bit] : {std::pair{"Ctrl+", 1}, std::pair{"Alt+", 2}, std::pair{"Shift+", 4}}) {
        if (rest.starts_with(prefix)) {
            modifiers |= bit;
            rest = rest.substr(std::string(prefix).size());
        }
    }
    if (auto it = named.find(rest); it != named.end()) return {it->second, modifiers};
    if (rest.size() == 1) return {rest[0], modifiers};
    ADD_FAILURE() << "unreadable accelerator text " << text;
    return {0, 0};
}

void CollectShownAccelerators(const std::vector<MenuNode>& nodes, std::vector<std::pair<std::string, int>>& out) {
    for (const MenuNode& node : nodes) {
        if (node.kind == MenuNode::Kind::Submenu) CollectShownAccelerators(node.children, out);
        size_t tab = node.label.find('\t');
        if (node.kind == MenuNode::Kind::Command && tab != std::string::npos) {
            out.emplace_back(node.label.substr(tab + 1), node.id);
        }
    }
}

TEST(Accelerators, EveryKeyShownInAMenuSendsThatItemsCommand) {
    std::vector<std::pair<std::string, int>> shown;
    CollectShownAccelerators(MenuBarLayout(), shown);
    ASSERT_GT(shown.size(), 50u);
    for (const auto& [text, id] : shown) {
        auto [key, modifiers] = ParseAcceleratorText(text);
        EXPECT_EQ(AcceleratorCommand(key, modifiers), id) << text;
    }
}

TEST(Accelerators, KeysNotShownInMenusAndModifierSetsMatchingExactly) {
    EXPECT_EQ(AcceleratorCommand('W', 1), menu_id::Exit);
    EXPECT_EQ(AcceleratorCommand(45, 1), menu_id::Copy);   // Ctrl+Insert
    EXPECT_EQ(AcceleratorCommand(46, 4), menu_id::Cut);    // Shift+Delete
    EXPECT_EQ(AcceleratorCommand(45, 4), menu_id::Paste);  // Shift+Insert
    EXPECT_FALSE(AcceleratorCommand('Z', 3));
    EXPECT_FALSE(AcceleratorCommand('Z', 0));
    EXPECT_FALSE(AcceleratorCommand('N', 3));
    EXPECT_FALSE(AcceleratorCommand(187, 5)) << "Ctrl+Shift+= is not Larger";
}

TEST(Accelerators, NoKeyIsBoundTwice) {
    std::set<std::pair<int, int>> seen;
    for (const Accelerator& accelerator : AcceleratorTable()) {
        EXPECT_TRUE(seen.insert({accelerator.virtualKey, accelerator.modifiers}).second)
            << accelerator.virtualKey << "/" << accelerator.modifiers;
    }
}

}  // namespace
}  // namespace qorva
