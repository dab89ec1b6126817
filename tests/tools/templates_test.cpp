// Export templates: the built-in ones, listing user templates, and applying them.
#include "src/win/tools/file_helpers.h"
#include "src/win/tools/templates.h"
#include "tests/tools/tool_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qorva {
namespace {

using test::ScratchFolder;

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::istringstream stream{std::string(text)};
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

const std::string kMathJaxPath = "/mathjax/latest/MathJax.js?config=TeX-AMS-MML_HTMLorMML\"";

TEST(BuiltinTemplates, DefaultHtmlIsAMinimalPageWithMathJax) {
    std::string_view text = BuiltinTemplate("Default.html5").value();
    ASSERT_TRUE(text.ends_with("</html>\n"));
    std::vector<std::string> lines = linesOf(text);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[3], "<meta charset=\"UTF-8\">");
    EXPECT_TRUE(lines[4].starts_with("<script type=\"text/javascript\" src=\"https://"));
    EXPECT_TRUE(lines[4].ends_with(kMathJaxPath + "></script>"));
    EXPECT_EQ(lines[7], "$body$");
}

TEST(BuiltinTemplates, BootstrapHtmlWrapsTheBodyInAContainer) {
    std::vector<std::string> lines = linesOf(BuiltinTemplate("Bootstrap.html5").value());
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_TRUE(lines[9].ends_with("/svn/trunk/html5.js\"></script>"));
    EXPECT_TRUE(lines[12].starts_with("  <link href=\"https://"));
    EXPECT_TRUE(lines[12].ends_with("/bootstrap/assets/css/bootstrap.css\" rel=\"stylesheet\">"));
    EXPECT_TRUE(lines[15].ends_with(kMathJaxPath + ">"));
    EXPECT_EQ(lines[16], "  </script>");
    EXPECT_EQ(lines[21], "<div class=\"container\">");
    EXPECT_EQ(lines[23], "$body$");
    for (size_t empty : {6u, 11u, 13u, 17u, 22u, 24u}) EXPECT_EQ(lines[empty], "") << empty;
}

TEST(BuiltinTemplates, LatexTemplatesDifferOnlyInTheTableOfContents) {
    std::vector<std::string> plain = linesOf(BuiltinTemplate("Default.xelatex").value());
    std::vector<std::string> contents = linesOf(BuiltinTemplate("Table of Contents.xelatex").value());
    ASSERT_EQ(contents.size(), plain.size() + 2);
    EXPECT_EQ(plain.front(), "\\documentclass[10pt]{article}");
    EXPECT_EQ(plain.back(), "\\end{document}");
    // Fifteen groups, one empty line between each, the last one holding the body.
    int emptyLines = 0;
    for (const std::string& line : plain) emptyLines += line.empty();
    EXPECT_EQ(emptyLines, 14 + 2);
    auto begin = std::find(plain.begin(), plain.end(), "\\begin{document}") - plain.begin();
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + begin, contents.begin()));
    EXPECT_EQ(contents[begin + 2], "\\tableofcontents");
    EXPECT_EQ(contents[begin + 4], "$body$");
    EXPECT_NE(std::find(plain.begin(), plain.end(), "\\setmainfont{Georgia}"), plain.end());
    EXPECT_NE(std::find(plain.begin(), plain.end(), "\\setmonofont{Courier New}"), plain.end());
}

TEST(BuiltinTemplates, OnlyTheFourFileNamesAreBuiltIn) {
    EXPECT_FALSE(BuiltinTemplate("Default").has_value());
    EXPECT_FALSE(BuiltinTemplate("default.html5").has_value());
    EXPECT_FALSE(BuiltinTemplate("../welcome.text").has_value());
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

TEST(ApplyTemplate, BuiltinDefaultSurroundsTheBody) {
    std::string page = ApplyTemplate("Default.html5", "<p>Hi</p>", {});
    std::string expected(BuiltinTemplate("Default.html5").value());
    expected.replace(expected.find("$body$"), 6, "<p>Hi</p>");
    EXPECT_EQ(page, expected);
}

TEST(ApplyTemplate, UserFileReplacesTheBuiltinAndUserDataFolderWins) {
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
