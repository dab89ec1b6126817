// Editor themes: the menu's names and the style sheet each name gives.
#include "src/win/tools/themes.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using test::ScratchFolder;
using Names = std::vector<std::string>;

TEST(ThemeMenu, UserThemesFollowTheBuiltinsInOrdinalOrderWithoutRepeats) {
    ScratchFolder user, program;
    for (auto name : {"b.theme", "Z.theme", "Dark.theme", "Default.theme"}) user.write(name, "div {}");
    user.write("readme.txt", "");
    program.write("Dark.theme", "body { color: blue }");
    EXPECT_EQ(ThemeMenuNames({program.path()}), (Names{"Dark", "Monospaced", "Serif"}));
    // A Default.theme file adds an item beside the fixed one.
    EXPECT_EQ(ThemeMenuNames({user.path(), program.path()}), (Names{"Dark", "Default", "Monospaced", "Serif", "Z", "b"}));
}

TEST(ThemeStyleSheet, BuiltinSheetsForTheThreeBuiltinNamesUserFilesFirst) {
    for (auto name : {"Dark", "Monospaced", "Serif"}) EXPECT_NE(ThemeStyleSheet(name, {}), "") << name;
    EXPECT_EQ(ThemeStyleSheet("Default", {}), "");
    EXPECT_EQ(ThemeStyleSheet("dark", {}), "");
    ScratchFolder user, program;
    program.write("Dark.theme", "body { color: blue }");
    EXPECT_EQ(ThemeStyleSheet("Dark", {user.path(), program.path()}), "body { color: blue }");
    user.write("Dark.theme", "body { color: red }");
    EXPECT_EQ(ThemeStyleSheet("Dark", {user.path(), program.path()}), "body { color: red }");
    user.write("Mine.theme", "div { margin: 0 }");
    EXPECT_EQ(ThemeStyleSheet("Mine", {user.path(), program.path()}), "div { margin: 0 }");
}

}  // namespace
}  // namespace qorva
