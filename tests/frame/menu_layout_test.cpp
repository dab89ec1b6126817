#include "src/win/menu_accelerators.h"
#include "src/win/menu_commands.h"
#include "src/win/menu_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace qorva {
namespace {

void Outline(const std::vector<MenuNode>& nodes, int depth, std::ostringstream& out) {
    for (const MenuNode& node : nodes) {
        out << std::string(depth * 2, ' ');
        switch (node.kind) {
            case MenuNode::Kind::Separator: out << "---\n"; break;
            case MenuNode::Kind::Submenu:
                out << node.label << "\n";
                Outline(node.children, depth + 1, out);
                break;
            case MenuNode::Kind::Command: out << node.label << " = " << node.id << "\n"; break;
        }
    }
}

std::string OutlineOf(const MenuNode& top) {
    std::ostringstream out;
    Outline(top.children, 0, out);
    return out.str();
}

const MenuNode& Top(int position) { return MainMenuLayout().at(position); }

TEST(MenuLayout, TopLevelMenusInOrder) {
    std::vector<std::string> labels;
    for (const MenuNode& top : MainMenuLayout()) labels.push_back(top.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"&File", "&Edit", "&Insert", "&Paragraph", "&Character", "&Table",
                                                "&Window", "&Help"}));
    EXPECT_EQ(Top(kWindowMenuPosition).label, "&Window");
    EXPECT_EQ(Top(0).children.at(kOpenRecentPosition).label, "Open Recent");
}

TEST(MenuLayout, FileMenu) {
    EXPECT_EQ(OutlineOf(Top(0)),
              "&New\tCtrl+N = 57600\n"
              "&Open...\tCtrl+O = 57601\n"
              "Open Recent\n"
              "  No Recent Files = 57616\n"
              "Reopen in Format\n"
              "  Qorva Markdown = 33000\n  Pandoc Markdown = 33001\n  GitHub Markdown = 33002\n  MultiMarkdown = 33003\n"
              "&Save\tCtrl+S = 57603\n"
              "Save in Format\n"
              "  Qorva Markdown = 33020\n  Pandoc Markdown = 33021\n  GitHub Markdown = 33022\n  MultiMarkdown = 33023\n"
              "Save &As... = 57604\n"
              "---\n"
              "&Import\n  Import HTML... = 33040\n  Import LaTeX... = 33041\n"
              "&Export\n"
              "  Repeat Export\tCtrl+Alt+Shift+E = 33080\n  ---\n"
              "  Export HTML5... = 33061\n  Export Word Document... = 33063\n  Export Rich Text... = 33064\n"
              "  Export EPUB... = 33065\n  Export PDF... = 33060\n  Export XeLaTeX... = 33062\n"
              "---\n"
              "&Print...\tCtrl+P = 57607\n"
              "---\n"
              "E&xit = 57665\n");
}

TEST(MenuLayout, EditMenu) {
    EXPECT_EQ(OutlineOf(Top(1)),
              "&Undo\tCtrl+Z = 57643\n&Redo\tCtrl+Shift+Z = 57644\n---\n"
              "Cu&t\tCtrl+X = 57635\n&Copy\tCtrl+C = 57634\nCopy as HTML\tCtrl+Shift+C = 32900\n&Paste\tCtrl+V = 57637\n"
              "Paste as Markdown\n  MultiMarkdown Format = 32902\n  Qorva Format = 32901\n"
              "---\n"
              "Move Paragraph\n"
              "  Shift &Up\tAlt+Shift+Up = 32850\n  Shift &Down\tAlt+Shift+Down = 32851\n"
              "  Shift Left\tAlt+Shift+Left = 32852\n  Shift Right\tAlt+Shift+Right = 32853\n"
              "  In&dent\tCtrl+] = 32854\n  &Unindent\tCtrl+[ = 32855\n"
              "Follow Link\tCtrl+Enter = 32860\n"
              "Writing Direction\n  Left to Right\tCtrl+Alt+Shift+Right = 32840\n"
              "  Right to Left\tCtrl+Alt+Shift+Left = 32841\n"
              "---\n"
              "Search\tCtrl+F = 57636\n");
}

TEST(MenuLayout, InsertParagraphCharacterAndTableMenus) {
    EXPECT_EQ(OutlineOf(Top(2)),
              "Hyperlink...\tCtrl+K = 32911\nFootnote\tCtrl+R = 32870\nImage...\tCtrl+Shift+I = 32910\n"
              "Table\tCtrl+Shift+L = 32871\n");
    EXPECT_EQ(OutlineOf(Top(3)),
              "Heading 1\tCtrl+1 = 32800\nHeading 2\tCtrl+2 = 32801\nHeading 3\tCtrl+3 = 32802\n"
              "&Bulleted Item\tCtrl+Shift+B = 32803\n&Numbered Item\tCtrl+Shift+N = 32804\n"
              "Cod&e Block\tCtrl+Shift+E = 32805\nMa&th Block\tCtrl+Shift+T = 32806\n&Image = 32807\nNote = 32808\n"
              "&Quotation\tCtrl+Shift+Q = 32809\nComment\tCtrl+/ = 32810\nPlain\tCtrl+Shift+\\ = 32811\n");
    EXPECT_EQ(OutlineOf(Top(4)),
              "Emphas&is\tCtrl+I = 32820\nStrong Emphasis\tCtrl+B = 32821\nCod&e\tCtrl+E = 32822\n"
              "Ma&th\tCtrl+T = 32823\nURL = 32824\n&Hyperlink Text = 32825\n&Reference = 32826\n"
              "Clear Formatting\tCtrl+\\ = 32827\n");
    EXPECT_EQ(OutlineOf(Top(5)),
              "Insert Table\tCtrl+Shift+L = 32871\n---\n"
              "Insert Row Before\tCtrl+Alt+Up = 32880\nInsert Row After\tCtrl+Alt+Down = 32881\n"
              "Insert Column Before\tCtrl+Alt+Left = 32882\nInsert Column After\tCtrl+Alt+Right = 32883\n---\n"
              "Remove Row\tCtrl+Shift+Backspace = 32884\nRemove Column\tCtrl+Shift+Delete = 32885\n");
}

TEST(MenuLayout, WindowAndHelpMenus) {
    EXPECT_EQ(OutlineOf(Top(6)),
              "&Full Screen\tF11 = 33120\n"
              "Font\n  &Larger\tCtrl + = 32920\n  &Smaller\tCtrl - = 32921\n  &Reset\tCtrl 0 = 32922\n"
              "Themes\n  Default = 33100\n"
              "Display Word Count = 33130\nDisplay Character Count = 33131\n");
    EXPECT_EQ(OutlineOf(Top(7)),
              "&About Qorva = 57664\nCheck for Updates... = 33140\nWelcome to Qorva = 33141\n"
              "Qorva Support = 33144\nSend Feedback = 33145\n");
}

// Reads an accelerator text as shown in a menu ("Ctrl+Shift+Z", "Ctrl +", "F11")
// into a virtual-key code and modifier set.
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
    CollectShownAccelerators(MainMenuLayout(), shown);
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
    EXPECT_EQ(AcceleratorCommand('Z', 1), menu_id::Undo);
    EXPECT_EQ(AcceleratorCommand('Z', 5), menu_id::Redo);
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
