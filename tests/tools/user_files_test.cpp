// Where user files are looked for.
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/user_files.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using test::EnvOverride;

TEST(UserFolders, UserDataFolderFollowsXdgThenHome) {
    EnvOverride data("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(UserDataFolder(), "/data/home/qorva");
    EnvOverride relative("XDG_DATA_HOME", "relative/ignored");
    EnvOverride home("HOME", "/home/someone");
    EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share/qorva");
    EXPECT_EQ(UserFileFolders(), (std::vector<std::string>{"/home/someone/.local/share/qorva", ProgramFolder(),
                                                           InstalledDataFolder(ProgramFolder())}));
}

TEST(UserFolders, ProgramFolderHoldsTheRunningExecutableAndTheDataFolderSitsBesideIt) {
    EXPECT_TRUE(FileExists(JoinPath(ProgramFolder(), "qorva_tools_tests")));
    EXPECT_EQ(InstalledDataFolder("/usr/bin"), "/usr/share/qorva");
    EXPECT_EQ(InstalledDataFolder("/opt/qorva/bin"), "/opt/qorva/share/qorva");
    EXPECT_EQ(InstalledDataFolder("/bin"), "/share/qorva");
}

TEST(UserFolders, NamesCannotLeaveTheFolders) {
    test::ScratchFolder folder;
    folder.write("a.theme", "x");
    EXPECT_EQ(FindUserFile("a.theme", {folder.path()}), folder.file("a.theme"));
    EXPECT_EQ(FindUserFile("../a.theme", {folder.path()}), "");
    EXPECT_EQ(FindUserFile("..", {folder.path()}), "");
    EXPECT_EQ(FindUserFile("", {folder.path()}), "");
}

}  // namespace
}  // namespace qorva
