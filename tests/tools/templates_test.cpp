// Export templates and the user folders they and themes are looked for in.
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/templates.h"
#include "src/win/tools/user_files.h"
#include "tests/tools/tool_test_support.h"
#include <gtest/gtest.h>

namespace qorva {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

TEST(TemplateList, UserTemplatesSortOrdinallyWithoutRepeatsOrDefaultAndTheBuiltinExtraIsAlwaysOffered) {
    TempFolder user, program;
    for (auto name : {"b.html5", "Z.html5", "Default.html5", "Bootstrap.html5", "notes.txt", ".html5"})
        program.Write(name, "<p>$body$</p>");
    user.Write("Mine.html5", "$body$");
    user.Write("Z.html5", "$body$");
    EXPECT_EQ(ListTemplates(".html5", {user.path(), program.path()}),
              (std::vector<std::string>{"Bootstrap", "Mine", "Z", "b"}));
    TempFolder empty;
    EXPECT_EQ(ListTemplates(".xelatex", {empty.path(), "/nonexistent"}),
              std::vector<std::string>{"Table of Contents"});
    EXPECT_EQ(ListTemplates(".html5", {}), std::vector<std::string>{"Bootstrap"});
}

// The built-in Default around a body is checked by the HTML export (export_test.cpp).
TEST(ApplyTemplate, UserFilesReplaceTheBuiltinOneUserDataFolderFirst) {
    TempFolder user, program;
    program.Write("Default.xelatex", "program [$body$]");
    EXPECT_EQ(ApplyTemplate("Default.xelatex", "B", {user.path(), program.path()}), "program [B]");
    user.Write("Default.xelatex", "user [$body$]");
    EXPECT_EQ(ApplyTemplate("Default.xelatex", "B", {user.path(), program.path()}), "user [B]");
}

TEST(ApplyTemplate, EveryMarkerIsReplacedAndNothingElseInterpreted) {
    TempFolder folder;
    folder.Write("Twice.html5", "$body$|$title$|$body$|$bod$");
    EXPECT_EQ(ApplyTemplate("Twice.html5", "X", {folder.path()}), "X|$title$|X|$bod$");
    // A body that itself holds the marker is not expanded again.
    EXPECT_EQ(ApplyTemplate("Twice.html5", "$body$", {folder.path()}), "$body$|$title$|$body$|$bod$");
}

TEST(ApplyTemplate, AStaticTemplateDropsTheBodyAMissingOrEmptyOneGivesItBare) {
    TempFolder folder;
    folder.Write("Static.html5", "<p>fixed</p>\n");
    EXPECT_EQ(ApplyTemplate("Static.html5", "lost", {folder.path()}), "<p>fixed</p>\n");
    folder.Write("Empty.html5", "");
    for (const char* bare : {"Empty.html5", "Nothing.html5", "../etc/passwd", "../welcome.text"})
        EXPECT_EQ(ApplyTemplate(bare, "body", {folder.path()}), "body") << bare;
}

TEST(UserFolders, UserDataFolderFollowsXdgThenHomeAndTheProgramsDataFolderSitsBesideItsExecutable) {
    EXPECT_TRUE(FileExists(JoinPath(ProgramFolder(), "qorva_tools_tests")));
    for (auto [program, data] : {std::pair{"/usr/bin", "/usr/share/qorva"}, 
                                 {"/opt/qorva/bin", "/opt/qorva/share/qorva"}})
        EXPECT_EQ(InstalledDataFolder(program), data) << program;
    ScopedEnv data("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(UserDataFolder(), "/data/home/qorva");
    ScopedEnv relative("XDG_DATA_HOME", "relative/ignored");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share/qorva");
    EXPECT_EQ(UserFileFolders(), (std::vector<std::string>{"/home/someone/.local/share/qorva", ProgramFolder(),
                                                           InstalledDataFolder(ProgramFolder())}));
}

TEST(UserFolders, NamesCannotLeaveTheFolders) {
    testing::TempFolder folder;
    folder.Write("a.theme", "x");
    EXPECT_EQ(FindUserFile("a.theme", {folder.path()}), folder.File("a.theme"));
    for (const char* outside : {"../a.theme", "..", ""}) EXPECT_EQ(FindUserFile(outside, {folder.path()}), "") << outside;
}

}  // namespace
}  // namespace qorva
