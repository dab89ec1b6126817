// Export templates: the built-in ones, listing user templates, and applying them.
#include "src/win/tools/templates.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using test::ScratchFolder;

TEST(BuiltinTemplates, TheFourFileNamesEachHoldTheBodyMarker) {
    for (auto name : {"Default.html5", "Bootstrap.html5", "Default.xelatex", "Table of Contents.xelatex"})
        EXPECT_NE(BuiltinTemplate(name).value().find("$body$"), std::string::npos) << name;
    // The LaTeX templates differ only in the table of contents.
    std::string plain(BuiltinTemplate("Default.xelatex").value());
    std::string contents(BuiltinTemplate("Table of Contents.xelatex").value());
    plain.replace(plain.find("$body$"), 0, "\\tableofcontents\n\n");
    EXPECT_EQ(plain, contents);
    for (auto name : {"Default", "default.html5", "../welcome.text"}) EXPECT_FALSE(BuiltinTemplate(name).has_value()) << name;
}

TEST(TemplateList, UserTemplatesSortOrdinallyWithoutRepeatsOrDefaultAndTheBuiltinExtraIsAlwaysOffered) {
    ScratchFolder user, program;
    for (auto name : {"b.html5", "Z.html5", "Default.html5", "Bootstrap.html5", "notes.txt", ".html5"})
        program.write(name, "<p>$body$</p>");
    user.write("Mine.html5", "$body$");
    user.write("Z.html5", "$body$");
    EXPECT_EQ(ListTemplates(".html5", {user.path(), program.path()}),
              (std::vector<std::string>{"Bootstrap", "Mine", "Z", "b"}));
    ScratchFolder empty;
    EXPECT_EQ(ListTemplates(".xelatex", {empty.path(), "/nonexistent"}),
              std::vector<std::string>{"Table of Contents"});
    EXPECT_EQ(ListTemplates(".html5", {}), std::vector<std::string>{"Bootstrap"});
}

TEST(ApplyTemplate, BuiltinDefaultSurroundsTheBodyAndUserFilesReplaceItUserDataFolderFirst) {
    std::string expected(BuiltinTemplate("Default.html5").value());
    expected.replace(expected.find("$body$"), 6, "<p>Hi</p>");
    EXPECT_EQ(ApplyTemplate("Default.html5", "<p>Hi</p>", {}), expected);
    ScratchFolder user, program;
    program.write("Default.xelatex", "program [$body$]");
    EXPECT_EQ(ApplyTemplate("Default.xelatex", "B", {user.path(), program.path()}), "program [B]");
    user.write("Default.xelatex", "user [$body$]");
    EXPECT_EQ(ApplyTemplate("Default.xelatex", "B", {user.path(), program.path()}), "user [B]");
}

TEST(ApplyTemplate, EveryMarkerIsReplacedAndNothingElseInterpreted) {
    ScratchFolder folder;
    folder.write("Twice.html5", "$body$|$title$|$body$|$bod$");
    EXPECT_EQ(ApplyTemplate("Twice.html5", "X", {folder.path()}), "X|$title$|X|$bod$");
    // A body that itself holds the marker is not expanded again.
    EXPECT_EQ(ApplyTemplate("Twice.html5", "$body$", {folder.path()}), "$body$|$title$|$body$|$bod$");
}

TEST(ApplyTemplate, AStaticTemplateDropsTheBodyAMissingOrEmptyOneGivesItBare) {
    ScratchFolder folder;
    folder.write("Static.html5", "<p>fixed</p>\n");
    EXPECT_EQ(ApplyTemplate("Static.html5", "lost", {folder.path()}), "<p>fixed</p>\n");
    folder.write("Empty.html5", "");
    EXPECT_EQ(ApplyTemplate("Empty.html5", "body", {folder.path()}), "body");
    EXPECT_EQ(ApplyTemplate("Nothing.html5", "body", {folder.path()}), "body");
    EXPECT_EQ(ApplyTemplate("../etc/passwd", "body", {folder.path()}), "body");
}

}  // namespace
}  // namespace qorva
