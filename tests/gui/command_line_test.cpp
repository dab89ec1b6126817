// The program's own command line: options, the documents named, and the format a
// named file opens in.
#include "src/win/app/command_line_options.h"
#include "src/win/document/named_file_format.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace qorva {
namespace {

using Args = std::vector<std::string>;

TEST(ProgramArguments, OptionsAreReadFromTheFirstArgumentOnly) {
    struct Case { Args arguments; ProgramAction action; Args documentArguments; bool filesOnly; };
    const Case cases[] = {
        {{}, ProgramAction::Start, {}, false},
        {{"--help"}, ProgramAction::PrintHelp, {}, false},
        {{"-h", "notes.text"}, ProgramAction::PrintHelp, {}, false},
        {{"-x", "notes.text"}, ProgramAction::UnknownOption, {}, false},
        {{"-"}, ProgramAction::Start, {"-"}, false},
        {{"my", "-notes.text"}, ProgramAction::Start, {"my", "-notes.text"}, false},
        {{"notes.text", "--help"}, ProgramAction::Start, {"notes.text", "--help"}, false},
        {{"--", "--help"}, ProgramAction::Start, {"--help"}, true},
    };
    for (const Case& c : cases) {
        const ProgramRequest request = ReadProgramArguments(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        EXPECT_EQ(std::tie(request.action, request.documentArguments, request.filesOnly),
                  std::tie(c.action, c.documentArguments, c.filesOnly));
    }
    EXPECT_EQ(ReadProgramArguments({"-x", "a"}).unknownOption, "-x");
}

TEST(StartDocuments, SeveralFilesOpenOneByOneUnlessTheWholeLineNamesAFile) {
    const std::set<std::string> files = {"/a b.md", "/x.md", "/y.md", "--welcome", "/a"};
    const auto isFile = [&](const std::string& path) { return files.count(path) > 0; };
    struct Case { Args arguments; std::string commandLine; Args otherFiles; };
    const Case cases[] = {
        {{"/a", "b.md"}, "/a b.md", {}},               // a path with spaces, typed unquoted
        {{"/x.md", "/y.md"}, "/x.md", {"/y.md"}},      // as a file manager passes them
        {{"/x.md", "/y.md", "/x.md"}, "/x.md", {"/y.md", "/x.md"}},
        {{"/x.md", "/gone.md"}, "/x.md /gone.md", {}},  // reported as one missing path
        {{"--welcome"}, "--welcome", {}},
        {{"--", "--welcome"}, "./--welcome", {}},
        {{"--", "\"quoted.md"}, "./\"quoted.md", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const StartDocuments start = ArrangeStartDocuments(ReadProgramArguments(c.arguments), isFile);
        EXPECT_EQ(std::tie(start.commandLine, start.otherFiles), std::tie(c.commandLine, c.otherFiles));
    }
}

// Opening: the remembered format, else the extension's, else DefaultFormat's.
// Saving under a name: the name's format family, keeping a Markdown flavour.
TEST(NamedFileFormat, RememberedFormatThenExtensionThenDefaultAndANameSaysItsFamily) {
    using F = DocumentFormat;
    const std::optional<F> none;
    struct Case {
        const char *path, *markdownSetting;
        std::optional<F> remembered, opened;
        F savedFromMmd, savedFromQorva;
    };
    const Case cases[] = {
        {"/home/u/notes.TEXT", "github", none, F::QorvaMarkdown, F::QorvaMarkdown, F::QorvaMarkdown},
        {"/home/u/notes.text", "", F::GitHubMarkdown, F::GitHubMarkdown, F::QorvaMarkdown, F::QorvaMarkdown},
        {"/home/u/notes.md", "", none, F::PandocMarkdown, F::MultiMarkdown, F::PandocMarkdown},
        {"/home/u/notes.markdown", "github", none, F::GitHubMarkdown, F::MultiMarkdown, F::GitHubMarkdown},
        {"/home/u/notes.mdown", "github", F::PandocMarkdown, F::PandocMarkdown, F::MultiMarkdown, F::GitHubMarkdown},
        {"/home/u/notes.Mkd", "", none, F::PandocMarkdown, F::MultiMarkdown, F::PandocMarkdown},
        {"/home/u/notes.md", "GitHub", none, F::PandocMarkdown, F::MultiMarkdown, F::PandocMarkdown},  // exact keywords
        {"/home/u/notes.txt", "github", none, F::MultiMarkdown, F::MultiMarkdown, F::QorvaMarkdown},  // DefaultFormat
        {"/home/u/.md", "", none, F::MultiMarkdown, F::MultiMarkdown, F::QorvaMarkdown},  // a hidden file
        {"/home/u.md/notes", "", none, F::MultiMarkdown, F::MultiMarkdown, F::QorvaMarkdown},
        {"notes.markdown", "", none, F::PandocMarkdown, F::MultiMarkdown, F::PandocMarkdown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " with " + c.markdownSetting);
        EXPECT_EQ(FormatForNamedFile(c.path, c.remembered, c.markdownSetting, F::MultiMarkdown), c.opened);
        EXPECT_EQ(FormatForSavedName(c.path, F::MultiMarkdown, c.markdownSetting), c.savedFromMmd);
        EXPECT_EQ(FormatForSavedName(c.path, F::QorvaMarkdown, c.markdownSetting), c.savedFromQorva);
    }
    EXPECT_EQ(WithExtensionOf("/home/u/story.text", F::GitHubMarkdown), "/home/u/story.md");
    EXPECT_EQ(WithExtensionOf("/home/u.d/story", F::QorvaMarkdown), "/home/u.d/story.text");
    for (F format : {F::QorvaMarkdown, F::PandocMarkdown, F::MultiMarkdown, F::GitHubMarkdown}) {
        EXPECT_EQ(FormatOfKeyword(KeywordOf(format)), format);
    }
    EXPECT_EQ(FormatOfKeyword("GitHub"), std::nullopt);
}

}  // namespace
}  // namespace qorva
