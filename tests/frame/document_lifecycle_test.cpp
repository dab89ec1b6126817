#include "src/win/document_conversion.h"
#include "src/win/document_lifecycle.h"
#include "src/win/menu_commands.h"
#include "resources/resources.h"
#include "tests/frame/document_test_support.h"
#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <algorithm>

namespace qorva {
namespace {

using testing::MemoryPage;
using testing::ReadFileBytes;
using testing::ScriptedUi;
using testing::WriteFileBytes;
using Answer = MessageAnswer;

class DocumentLifecycleTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    SettingsStore settings{folder / "settings.json"};
    MemoryPage page;
    ScriptedUi ui;
    RecentDocumentList recent;
    DocumentLifecycle document{page, ui, recent, settings};

    std::string File(const std::string& name, const std::string& bytes) {
        std::string path = (folder / name).string();
        WriteFileBytes(path, bytes);
        return path;
    }
    // A document with real content, as the page would hold it after typing.
    void TypeIntoPage(const std::string& nativeText) {
        page.model = ReadTextFormat(nativeText);
        page.modified = true;
    }
    std::string ModelText() { return WriteTextFormat(page.model, false); }
};

// --- Loading -----------------------------------------------------------------

TEST_F(DocumentLifecycleTest, LoadingANativeFileSetsPathClearsModifiedAndRecordsIt) {
    std::string path = File("my notes #1.text", "# Title\r\n\r\nSome *text*.\r\n");
    page.modified = true;
    ASSERT_TRUE(document.LoadFile(path));
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(page.modified);
    // The base URL escapes spaces and odd characters.
    EXPECT_EQ(page.baseUrl, "file://" + folder.path().string() + "/my%20notes%20%231.text");
    EXPECT_NE(page.model.find("Title"), std::string::npos);
    EXPECT_EQ(recent.Entries(), std::vector<std::string>{path});
    EXPECT_EQ(ui.exportResets, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentLifecycleTest, AMissingFileOrAFolderNamesItselfAndTheReasonAndChangesNothing) {
    page.model = "kept";
    page.modified = true;
    std::string missing = (folder / "gone.text").string();
    EXPECT_FALSE(document.LoadFile(missing));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(missing), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(ui.messages[0].caption, "Qorva");
    EXPECT_EQ(page.model, "kept");
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(document.path(), "");
    EXPECT_TRUE(recent.Entries().empty());
    // A folder instead of a file is refused the same way.
    EXPECT_FALSE(document.LoadFile(folder.path().string()));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].text.find(folder.path().string()), std::string::npos);
}

TEST_F(DocumentLifecycleTest, ZeroBytesAndBadUtf8OpenWithoutLosingWhatFollows) {
    std::string path = File("odd.text", std::string("before\0after \xFF\xFE end\r\n", 22));
    ASSERT_TRUE(document.LoadFile(path));
    std::string text = ModelText();
    EXPECT_NE(text.find("before\xEF\xBF\xBD" "after"), std::string::npos) << text;
    EXPECT_NE(text.find("end"), std::string::npos) << text;
}

TEST_F(DocumentLifecycleTest, OpenTakesTheFormatFromDefaultFormatNotTheExtension) {
    ASSERT_TRUE(settings.Write("Software\\Qorva", "DefaultFormat", RegValue::String("GitHub")));
    document.ResetFormat();
    std::string path = File("readme.md", "# Heading\r\n");
    ui.chosenFiles.push_back(path);
    document.Open();
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown) << "\"GitHub\" is not a keyword";
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0], OpenDocumentDialog());
    EXPECT_EQ(document.path(), path);
}

TEST_F(DocumentLifecycleTest, OpenAsksToSaveFirstAndCancelKeepsEverything) {
    page.model = "unsaved";
    page.modified = true;
    ui.chosenFiles.push_back(File("other.text", "x\r\n"));
    ui.answers = {Answer::Cancel};
    document.Open();
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Save changes?"});
    EXPECT_EQ(ui.messages[0], message::SaveChanges());
    EXPECT_EQ(page.model, "unsaved");
    EXPECT_EQ(document.path(), "");
}

TEST_F(DocumentLifecycleTest, AnsweringNoThenOpeningLeavesTheDocumentUnmodified) {
    page.modified = true;
    std::string path = File("next.text", "next\r\n");
    ui.chosenFiles.push_back(path);
    ui.answers = {Answer::No};
    document.Open();
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(document.modified());
}

// --- Writing -----------------------------------------------------------------

TEST_F(DocumentLifecycleTest, NativeFilesAreWrittenWithCrLfAndNoByteOrderMark) {
    TypeIntoPage("# Title\n\nOne paragraph.\n");
    std::string path = (folder / "out.text").string();
    ASSERT_TRUE(document.WriteFile(path));
    std::string bytes = ReadFileBytes(path);
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_NE(bytes.find("Title\r\n"), std::string::npos) << bytes;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    }
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(document.path(), "") << "writing does not change the path";
}

TEST_F(DocumentLifecycleTest, SaveUnwrappedSelectsTheUnwrappedWriter) {
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "word" + std::to_string(i) + " ";
    TypeIntoPage(longLine + "\n");
    std::string wrapped = (folder / "wrapped.text").string();
    ASSERT_TRUE(document.WriteFile(wrapped));
    ASSERT_TRUE(settings.Write("Software\\Qorva", "SaveUnwrapped", RegValue::Dword(1)));
    std::string unwrapped = (folder / "unwrapped.text").string();
    ASSERT_TRUE(document.WriteFile(unwrapped));
    auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    EXPECT_GT(lines(ReadFileBytes(wrapped)), lines(ReadFileBytes(unwrapped)));
}

TEST_F(DocumentLifecycleTest, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheState) {
    std::string path = File("keep.text", "old content\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("new content\n");
    const std::string target = (folder / "no-such-folder" / "x.text").string();
    EXPECT_FALSE(document.WriteFile(target));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(target), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(ReadFileBytes(path), "old content\r\n");
}

TEST_F(DocumentLifecycleTest, AnEmptyPageWritesNothingAndSaysNothing) {
    page.model = "";
    EXPECT_FALSE(document.WriteFile((folder / "empty.text").string()));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.text"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentLifecycleTest, SaveAsFailureShowsErrorWritingFileAndKeepsThePath) {
    page.model = "";
    ui.chosenFiles.push_back((folder / "x.text").string());
    EXPECT_FALSE(document.SaveAs());
    EXPECT_EQ(ui.messages, std::vector<MessageSpec>{message::ErrorWritingFile()});
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(document.path(), "");
}

TEST_F(DocumentLifecycleTest, SaveAsStoresPathClearsWelcomeAndAddsToRecent) {
    document.LoadWelcome();
    EXPECT_TRUE(document.welcome());
    page.modified = true;
    std::string path = (folder / "saved.text").string();
    ui.chosenFiles.push_back(path);
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ui.dialogs.at(0), SaveDocumentDialog());
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(document.welcome());
    EXPECT_EQ(recent.Entries(), std::vector<std::string>{path});
    EXPECT_NE(ReadFileBytes(path).find("Welcome"), std::string::npos);
}

// --- Save changes? -----------------------------------------------------------

TEST_F(DocumentLifecycleTest, UnmodifiedDocumentsCloseWithoutAQuestionElseNoProceedsCancelStops) {
    EXPECT_TRUE(document.AskToSave());
    EXPECT_TRUE(ui.messages.empty());
    page.modified = true;
    ui.answers = {Answer::No, Answer::Cancel};
    EXPECT_TRUE(document.AskToSave());
    EXPECT_FALSE(document.AskToSave());
    EXPECT_TRUE(page.modified);
}

TEST_F(DocumentLifecycleTest, SaveChangesYesOnAnUntitledDocumentWhoseSaveAsIsCancelledAbandonsTheClose) {
    page.model = "[\"text\"]";
    page.modified = true;
    ui.answers = {Answer::Yes};
    ui.chosenFiles.push_back(std::nullopt);
    EXPECT_FALSE(document.AskToSave());
    EXPECT_EQ(document.path(), "");
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(ui.messages.size(), 1u) << "a cancelled dialog says nothing more";
}

TEST_F(DocumentLifecycleTest, SaveChangesYesWithAPathWritesThereAndProceeds) {
    std::string path = File("doc.text", "first\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("second\n");
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(document.AskToSave());
    EXPECT_NE(ReadFileBytes(path).find("second"), std::string::npos);
    EXPECT_FALSE(page.modified);
}

// --- Recent documents --------------------------------------------------------

TEST_F(DocumentLifecycleTest, ARecentEntryWhoseFileIsGoneIsReportedAndRemovedAndNoEntryDoesNothing) {
    document.OpenRecent(menu_id::RecentFirst + 3);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.recentChanges, 0);
    std::string gone = (folder / "deleted.text").string();
    recent.Add(gone);
    document.OpenRecent(menu_id::RecentFirst);
    EXPECT_EQ(ui.messages, std::vector<MessageSpec>{message::FileDoesNotExist(gone)});
    EXPECT_EQ(ui.messages[0].text, "File " + gone + " doesn't exist.");
    EXPECT_TRUE(recent.Entries().empty());
    EXPECT_EQ(ui.recentChanges, 1);
}

// --- Reopen and Save in Format -------------------------------------------------

TEST_F(DocumentLifecycleTest, ReopenDoesNothingForAnUntitledDocument) {
    page.modified = true;
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(page.setTextCalls, 0);
}

TEST_F(DocumentLifecycleTest, ReopenOfAModifiedDocumentAsksAndNoKeepsTheChanges) {
    std::string path = File("r.text", "disk\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    page.model = "edited";
    page.modified = true;
    ui.answers = {Answer::No, Answer::Yes};
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_EQ(page.model, "edited");
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"Changes will be lost. Proceed?",
                                                           "Changes will be lost. Proceed?"}));
    EXPECT_NE(page.model.find("disk"), std::string::npos);
    EXPECT_FALSE(page.modified);
}

TEST_F(DocumentLifecycleTest, SaveInGitHubFormatUnderATextNameWritesGitHubMarkdown) {
    TypeIntoPage("# Heading\n\nA *word* and **strong**.\n");
    std::string path = (folder / "github.text").string();
    ui.chosenFiles.push_back(path);
    document.SaveInFormat(menu_id::SaveInGithub);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    EXPECT_EQ(document.format(), DocumentFormat::GitHubMarkdown);
    std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("# Heading"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("**strong**"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("\r\n"), std::string::npos) << "Pandoc's line ends are kept";

    // Reopened through Pandoc, the same document comes back.
    document.ReopenInFormat(menu_id::ReopenGithub);
    EXPECT_NE(page.model.find("strong"), std::string::npos);
    EXPECT_EQ(document.format(), DocumentFormat::GitHubMarkdown);
}

TEST_F(DocumentLifecycleTest, PandocMarkdownRoundTripsAndAnotherOpenReturnsToTheDefault) {
    std::string path = File("pandoc.md", "Title\n=====\n\n* one\n* two\n");
    ASSERT_TRUE(document.LoadFile(path));
    document.ReopenInFormat(menu_id::ReopenPandoc);
    ASSERT_EQ(document.format(), DocumentFormat::PandocMarkdown);
    page.modified = true;
    ASSERT_TRUE(document.Save());
    std::string saved = ReadFileBytes(path);
    EXPECT_NE(saved.find("# Title"), std::string::npos) << "ATX headings: " << saved;
    EXPECT_NE(saved.find("two"), std::string::npos);

    ui.chosenFiles.push_back(File("plain.text", "plain\r\n"));
    document.Open();
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
}

TEST_F(DocumentLifecycleTest, WithoutPandocTheFlavourCommandsOfferTheDownloadAndDoNothing) {
    testing::ScopedEnv noPandoc("PATH", (folder / "empty-bin").string());
    if (DetectPandoc().usable()) GTEST_SKIP() << "a Pandoc outside PATH is installed";
    std::string path = File("a.text", "x\r\n");
    recent.Add(path);
    ui.answers = {Answer::Ok, Answer::Cancel, Answer::Cancel};
    document.SaveInFormat(menu_id::SaveInPandoc);
    document.Import(menu_id::ImportHtml);
    document.Import(menu_id::ImportLatex);
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const MessageSpec& shown : ui.messages) EXPECT_EQ(shown, message::PandocMissing());
    EXPECT_EQ(ui.urls, std::vector<std::string>{kPandocDownloadPage});
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
    EXPECT_TRUE(ui.dialogs.empty());
}

// A stand-in that reports a usable version but fails every conversion, as a
// broken Pandoc installation would.
std::string MakeFailingPandoc(const std::filesystem::path& bin) {
    std::filesystem::create_directories(bin);
    std::string script = (bin / "pandoc").string();
    WriteFileBytes(script,
                   "#!/bin/sh\n"
                   "if [ \"$1\" = --version ]; then echo 'pandoc 2.17.1.1'; exit 0; fi\n"
                   "cat > /dev/null; echo 'pandoc: simulated failure' >&2; exit 64\n");
    ::chmod(script.c_str(), 0755);
    return bin.string() + ":/usr/bin:/bin";
}

TEST_F(DocumentLifecycleTest, AFailingPandocOnSaveShowsItsMessageAndOverwritesNothing) {
    testing::ScopedEnv failing("PATH", MakeFailingPandoc(folder / "bin"));
    if (DetectPandoc().location != "pandoc") GTEST_SKIP() << "a Pandoc outside PATH is installed";
    std::string path = File("keep.md", "original\n");
    TypeIntoPage("changed\n");
    ui.chosenFiles.push_back(path);
    document.SaveInFormat(menu_id::SaveInPandoc);
    EXPECT_EQ(ReadFileBytes(path), "original\n");
    EXPECT_TRUE(page.modified);
    ASSERT_GE(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("simulated failure"), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(document.path(), "");
}

TEST_F(DocumentLifecycleTest, AFailingPandocOnReopenKeepsDocumentPathAndFormat) {
    std::string path = File("doc.text", "text\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    std::string model = page.model;
    testing::ScopedEnv failing("PATH", MakeFailingPandoc(folder / "bin"));
    if (DetectPandoc().location != "pandoc") GTEST_SKIP() << "a Pandoc outside PATH is installed";
    document.ReopenInFormat(menu_id::ReopenMmd);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Pandoc Error\npandoc: simulated failure\n");
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(page.model, model);
}

// --- Import ------------------------------------------------------------------

TEST_F(DocumentLifecycleTest, ImportLeavesAnUntitledUnmodifiedDocumentOutOfTheRecentList) {
    std::string path = File("page.html", "<h1>Imported</h1><p>Some <em>text</em></p>");
    std::string previous = File("prev.text", "prev\r\n");
    recent.Add(previous);
    page.modified = false;
    ui.chosenFiles.push_back(path);
    ASSERT_TRUE(document.Import(menu_id::ImportHtml));
    EXPECT_EQ(ui.dialogs.at(0), ImportDialogFor(menu_id::ImportHtml)->second);
    EXPECT_NE(page.model.find("Imported"), std::string::npos) << page.model;
    EXPECT_EQ(document.path(), "");
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(page.baseUrl, "");
    EXPECT_EQ(recent.Entries(), std::vector<std::string>{previous});
    // LaTeX is read through Pandoc the same way.
    ui.chosenFiles.push_back(File("paper.tex", "\\section{Intro}\nHello \\emph{world}.\n"));
    ASSERT_TRUE(document.Import(menu_id::ImportLatex));
    EXPECT_NE(page.model.find("Intro"), std::string::npos) << page.model;
}

TEST_F(DocumentLifecycleTest, AFailingImportShowsPandocsMessageUnderImportFailed) {
    std::string source = File("page.html", "<p>x</p>");
    testing::ScopedEnv failing("PATH", MakeFailingPandoc(folder / "bin"));
    if (DetectPandoc().location != "pandoc") GTEST_SKIP() << "a Pandoc outside PATH is installed";
    page.model = "kept";
    ui.chosenFiles.push_back(source);
    EXPECT_FALSE(document.Import(menu_id::ImportHtml));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Import failed");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.messages[0].text, "Pandoc Error\npandoc: simulated failure\n");
    EXPECT_EQ(page.model, "kept");
}

// --- Welcome, New ------------------------------------------------------------

TEST_F(DocumentLifecycleTest, WelcomeDocumentIsUntitledAndMarked) {
    document.LoadWelcome();
    EXPECT_TRUE(document.welcome());
    EXPECT_EQ(document.path(), "");
    EXPECT_EQ(page.model, ReadTextFormat(*findResource("welcome.text")));
    EXPECT_NE(page.model, "");
    EXPECT_EQ(ui.exportResets, 1);
}

TEST_F(DocumentLifecycleTest, NewAndWelcomeStartAnotherProcess) {
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.started, (std::vector<std::vector<std::string>>{{}, {"--welcome"}}));
    EXPECT_TRUE(ui.messages.empty());
    ui.startSucceeds = false;
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.messages, (std::vector<MessageSpec>{message::NewWindowFailed(), message::WelcomeFailed()}));
    EXPECT_EQ(ui.messages[1].text, "Failed to open \u2018Welcome\u2019 document");
}

TEST_F(DocumentLifecycleTest, FileCommandsAreRoutedAndOthersAreNot) {
    EXPECT_TRUE(document.HandleCommand(menu_id::New));
    EXPECT_TRUE(document.HandleCommand(menu_id::WelcomeDocument));
    EXPECT_TRUE(document.HandleCommand(menu_id::RecentLast));
    EXPECT_FALSE(document.HandleCommand(menu_id::Copy));
    EXPECT_FALSE(document.HandleCommand(menu_id::FullScreen));
}

}  // namespace
}  // namespace qorva
