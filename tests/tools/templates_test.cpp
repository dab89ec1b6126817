// Export templates and the user folders they and themes are looked for in.
#include "tools/files/file_io.h"
#include "tools/templates/templates.h"
#include "tools/user_files/user_files.h"
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
}

// The built-in Default around a body is checked by the HTML export (export_test.cpp).
// Every marker is replaced and nothing else interpreted, a body holding the marker is not
// expanded again; a static template drops the body, a missing or empty one gives it bare.
TEST(ApplyTemplate, MarkersAreReplacedOnceAndTheUserDataFolderComesFirst) {
    TempFolder user, program;
    program.Write("Default.xelatex", "program [$body$]");
    EXPECT_EQ(ApplyTemplate("Default.xelatex", "B", {user.path(), program.path()}), "program [B]");
    user.Write("Default.xelatex", "user [$body$]");
    user.Write("Twice.html5", "$body$|$title$|$body$|$bod$");
    user.Write("Static.html5", "<p>fixed</p>\n");
    user.Write("Empty.html5", "");
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Default.xelatex", "B", "user [B]"}, {"Twice.html5", "X", "X|$title$|X|$bod$"},
        {"Twice.html5", "$body$", "$body$|$title$|$body$|$bod$"}, {"Static.html5", "lost", "<p>fixed</p>\n"},
        {"Empty.html5", "body", "body"}, {"Nothing.html5", "body", "body"}, {"../welcome.text", "body", "body"}};
    for (const auto& [name, body, applied] : cases)
        EXPECT_EQ(ApplyTemplate(name, body, {user.path(), program.path()}), applied) << name;
}

// An exported page is read where no network may be: it must not load scripts, styles
// or anything else from another host.
TEST(BuiltinTemplate, NoneRefersToAnotherHost) {
    for (const char* name : {"Default.html5", "Bootstrap.html5", "Default.xelatex", "Table of Contents.xelatex"}) {
        const std::optional<std::string_view> text = BuiltinTemplate(name);
        ASSERT_TRUE(text && text->find("$body$") != std::string_view::npos) << name;
        for (const char* remote : {"://", "\"//", "'//", "url(", "@import"})
            EXPECT_EQ(text->find(remote), std::string_view::npos) << name << " holds " << remote;
    }
}

TEST(UserFolders, UserDataFolderFollowsXdgThenHomeAndTheProgramsDataFolderSitsBesideItsExecutable) {
    EXPECT_EQ(InstalledDataFolder("/opt/qorva/bin"), "/opt/qorva/share/qorva");
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
