#include "src/win/document/document_title.h"
#include "src/win/keys/virtual_keys.h"
#include "src/win/menus/menu_accelerators.h"
#include "src/win/menus/command_ids.h"
#include "src/win/menus/menu_layout.h"
#include <gtest/gtest.h>
#include <cstring>
#include <map>
#include <tuple>

namespace qorva {
namespace {

// "Ctrl+Shift+Z", "Ctrl +", "F11" as shown in a menu: virtual-key code and modifiers.
std::pair<int, int> ParseAcceleratorText(const std::string& text) {
    static const std::map<std::string, int> named = {
        {"Up", vk::Up}, {"Down", vk::Down}, {"Left", vk::Left}, {"Right", vk::Right}, {"Enter", vk::Return},
        {"Backspace", vk::Back}, {"Delete", vk::Delete}, {"F11", vk::F11}, {"]", vk::OemCloseBracket},
        {"[", vk::OemOpenBracket}, {"/", vk::OemSlash}, {"\\", vk::OemBackslash}, {",", vk::OemComma},
        {" +", vk::OemPlus}, {" -", vk::OemMinus}, {" 0", '0'}};
    int modifiers = 0;
    std::string rest = text;
    for (auto [prefix, bit] : {std::pair{"Ctrl+", kModCtrl}, {"Ctrl", kModCtrl}, {"Alt+", kModAlt}, {"Shift+", kModShift}})
        if (rest.starts_with(prefix)) modifiers |= bit, rest.erase(0, std::strlen(prefix));
    if (auto it = named.find(rest); it != named.end()) return {it->second, modifiers};
    if (rest.size() == 1) return {rest[0], modifiers};
    ADD_FAILURE() << "unreadable accelerator text " << text;
    return {0, 0};
}

void CollectShownAccelerators(const std::vector<MenuNode>& nodes, std::vector<std::pair<std::string, int>>& out) {
    for (const MenuNode& node : nodes) {
        if (node.kind == MenuNode::Kind::Submenu) CollectShownAccelerators(node.children, out);
        size_t tab = node.label.find('\t');
        if (node.kind == MenuNode::Kind::Command && tab != std::string::npos) out.emplace_back(node.label.substr(tab + 1), node.id);
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

TEST(Accelerators, ModifierSetsMatchExactly) {
    // Keys shown in no menu.
    constexpr int CtrlAlt = kModCtrl | kModAlt;
    for (auto [key, modifiers, command] : {std::tuple{vk::Insert, kModShift, command_id::Paste}, {'Y', kModCtrl, command_id::Redo},
                                           {vk::Up, CtrlAlt, command_id::RowBefore}, {vk::Right, CtrlAlt, command_id::ColumnAfter}})
        EXPECT_EQ(AcceleratorCommand(key, modifiers), command) << key;
    for (auto [key, modifiers] : {std::pair{'Z', CtrlAlt}, {'Z', 0}, {'N', CtrlAlt}}) EXPECT_FALSE(AcceleratorCommand(key, modifiers));
    EXPECT_FALSE(AcceleratorCommand(vk::OemPlus, kModCtrl | kModShift)) << "Ctrl+Shift+= is not Larger";
}

// The titles themselves are read off the running window in tests/gui.
TEST(DocumentTitle, TheWelcomeDocumentIsWelcomeUntilModifiedOrSaved) {
    EXPECT_EQ(DocumentTitle("", true, true), "Untitled* - Qorva");
    EXPECT_EQ(DocumentTitle("/d/a.text", true, false), "/d/a.text - Qorva");
}

// The texts for each count are read off the running window in tests/gui (frame_window.test.mjs).
TEST(CountSuffix, SelectionWinsTotalIsAskedOnlyWithoutOneAndNoneAsksNothing) {
    auto never = [] { return ADD_FAILURE() << "the page was asked", 0; };
    EXPECT_EQ(CountSuffix(CountDisplay::None, never, never), "");
    int totalAsked = 0;
    auto total = [&] { return ++totalAsked, 12; };
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 4; }, total), " - 4 Words Selected");
    EXPECT_EQ(totalAsked, 0);
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return 0; }, total), " - 12 Words");
    EXPECT_EQ(CountSuffix(CountDisplay::Words, [] { return -1; }, total), " - 12 Words");
    EXPECT_EQ(totalAsked, 2);
    EXPECT_EQ(CountSuffix(CountDisplay::Characters, [] { return 1; }, total), " - 1 Character Selected");
}

// Read off the running window in tests/gui (frame_window.test.mjs).
TEST(StatusLine, CountsWithTheSelectionFirstSingularsAndReadingTimeRoundedUp) {
    for (auto [counts, text] : std::initializer_list<std::pair<const char*, const char*>>{
             {"0 0 0 0", "0 words, 0 characters, 0 min read"},
             {"1 1 0 0", "1 word, 1 character, 1 min read"},
             {"1234 6873 1 5", "Selected: 1 word, 5 characters    1,234 words, 6,873 characters, 6 min read"},
             {"460 2000 0 1", "Selected: 0 words, 1 character    460 words, 2,000 characters, 2 min read"},
             {"", ""}, {"12 x 0 0", ""}, {"3 -1 0 0", ""}})
        EXPECT_EQ(StatusLineText(counts), text) << counts;
}

}  // namespace
}  // namespace qorva
