// Editor themes: the menu's names and the style sheet each name gives.
#include "src/win/tools/themes.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using test::ScratchFolder;
using Names = std::vector<std::string>;

TEST(ThemeMenu, UserThemesFollowTheBuiltinsInOrdinalOrder) {
    ScratchFolder folder;
    folder.write("b.theme", "div {}");
    folder.write("Z.theme", "div {}");
    folder.write("readme.txt", "");
    EXPECT_EQ(ThemeMenuNames({folder.path()}), (Names{"Dark", "Monospaced", "Serif", "Z", "b"}));
}

TEST(ThemeMenu, FileNamedLikeABuiltinAddsNoSecondItem) {
    ScratchFolder user, program;
    user.write("Dark.theme", "body { color: red }");
    program.write("Dark.theme", "body { color: blue }");
    EXPECT_EQ(ThemeMenuNames({user.path(), program.path()}), (Names{"Dark", "Monospaced", "Serif"}));
}

TEST(ThemeMenu, DefaultThemeFileAddsAnItemBesideTheFixedOne) {
    ScratchFolder folder;
    folder.write("Default.theme", "body {}");
    EXPECT_EQ(ThemeMenuNames({folder.path()}), (Names{"Dark", "Default", "Monospaced", "Serif"}));
}

TEST(ThemeStyleSheet, BuiltinSheetsForTheThreeBuiltinNamesAndNoneForOthers) {
    EXPECT_NE(ThemeStyleSheet("Dark", {}).find("background-color: #000;"), std::string::npos);
    EXPECT_NE(ThemeStyleSheet("Monospaced", {}).find("content: \"\xe2\x80\x94\";"), std::string::npos);
    EXPECT_NE(ThemeStyleSheet("Serif", {}).find("font-family: Georgia, serif;"), std::string::npos);
    EXPECT_EQ(ThemeStyleSheet("Default", {}), "");
    EXPECT_EQ(ThemeStyleSheet("Deleted Theme", {}), "");
    EXPECT_EQ(ThemeStyleSheet("dark", {}), "");
}

TEST(ThemeStyleSheet, UserFileOverridesTheBuiltin) {
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
