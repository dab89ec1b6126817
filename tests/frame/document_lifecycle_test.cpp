#include "src/win/document_conversion.h"
#include "src/win/document_lifecycle.h"
#include "src/win/file_content.h"
#include "src/win/menu_commands.h"
#include "resources/resources.h"
#include "tests/frame/document_test_support.h"
#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace qorva {
namespace {

using testing::ReadFileBytes;
using Answer = MessageAnswer;
using Texts = std::vector<std::string>;

class DocumentLifecycleTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    SettingsStore settings{folder / "settings.json"};
    testing::MemoryPage page;
    testing::ScriptedUi ui;
    RecentDocumentList recent;
    DocumentLifecycle document{page, ui, recent, settings};

    void TypeIntoPage(const std::string& nativeText) {
        page.model = TryReadTextFormat(nativeText);
        page.modified = true;
    }
    bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(DocumentLifecycleTest, LoadingSetsPathClearsModifiedAndRecordsIt) {
    std::string path = folder.Write("my notes #1.text", "# Title\r\n\r\nsome text\r\n");
    page.modified = true;
    ASSERT_TRUE(document.LoadFile(path));
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(page.baseUrl, "file://" + folder.path().string() + "/my%20notes%20%231.text");
    EXPECT_TRUE(Has(TryWriteTextFormat(page.model, false), "some text"));
    EXPECT_EQ(recent.Entries(), Texts{path});
    EXPECT_EQ(ui.exportResets, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentLifecycleTest, OddBytesOpenModifiedWithAWordAndKeepWhatFollowsThem) {
    std::string path = folder.Write("odd.text", "# Title\r\n\r\nbefore" + std::string(1, '\0') + "after \xFF end\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    EXPECT_EQ(document.path(), path);
    EXPECT_TRUE(page.modified);
    std::string text = TryWriteTextFormat(page.model, false);
    EXPECT_TRUE(Has(text, "Title") && Has(text, "before\xEF\xBF\xBD" "after") && Has(text, "end")) << text;
    EXPECT_EQ(ui.MessageTexts(), Texts{path + " contains bytes that are not UTF-8 text; saving will replace them."});
}

TEST_F(DocumentLifecycleTest, ABinaryTooLargeMissingOrFolderPathIsRefusedWithItsReasonAndChangesNothing) {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    for (int i = 0; i < 4000; ++i) png += static_cast<char>((i * 7919) % 256);
    std::string binary = folder.Write("picture.text", png);
    std::string huge = folder.Write("huge.text", "");  // sparse: only its size is looked at
    std::filesystem::resize_file(huge, kPageDocumentLimitBytes + 1);
    const std::uint64_t limit = kPageDocumentLimitBytes / 1'000'000;
    std::string missing = (folder / "gone.text").string();
    page.model = "kept";
    page.modified = true;
    for (const std::string& path : {binary, huge, missing, folder.path().string()}) EXPECT_FALSE(document.LoadFile(path));
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, binary + " is not a text file and cannot be opened.");
    EXPECT_EQ(ui.messages[1].text, huge + " is too large to open: " + std::to_string(limit + 1) + " MB; the limit is " +
                                       std::to_string(limit) + " MB.");
    EXPECT_TRUE(Has(ui.messages[2].text, missing) && Has(ui.messages[2].text, "No such file or directory"))
        << ui.messages[2].text;
    EXPECT_EQ(ui.messages[2].caption, "Qorva");
    EXPECT_TRUE(Has(ui.messages[3].text, folder.path().string()));
    EXPECT_EQ(page.model, "kept");
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(document.path(), "");
    EXPECT_TRUE(recent.Entries().empty());
}

TEST_F(DocumentLifecycleTest, APageThatDoesNotTakeOrGiveBackTheDocumentNeverCostsTheFile) {
    std::string first = folder.Write("first.text", "first\r\n");
    std::filesystem::create_directory(folder / "other");
    std::string second = folder.Write("other/second.text", "second\r\n");
    ASSERT_TRUE(document.LoadFile(first));
    const std::string firstBase = page.baseUrl, firstModel = page.model;
    page.modified = true;
    page.takesDocuments = false;
    EXPECT_FALSE(document.LoadFile(second));
    EXPECT_EQ(page.model, firstModel);
    EXPECT_EQ(document.path(), first);
    EXPECT_EQ(page.baseUrl, firstBase);
    EXPECT_TRUE(page.modified);
    // A lost answer may still have taken effect: the page is given back its document.
    page.takesDocuments = true;
    page.model = TryReadTextFormat("typed\n");
    const std::string typed = page.model;
    page.lostSetAnswers = 1;
    EXPECT_FALSE(document.LoadFile(second));
    EXPECT_EQ(page.model, typed);
    EXPECT_EQ(document.path(), first);
    // An unreadable answer is not an empty document: nothing is written or closed.
    page.givesDocuments = false;
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(document.AskToSave());
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadFileBytes(first), "first\r\n");
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(ui.MessageTexts(), (Texts{"The editor could not take the document " + second + "; it was not opened.",
                                        "The editor could not take the document " + second + "; it was not opened.",
                                        std::string(message::kSaveChanges),
                                        "The document could not be read back from the editor, so it was not saved.",
                                        "The document could not be read back from the editor, so it was not saved."}));
}

TEST_F(DocumentLifecycleTest, OpenAsksToSaveFirstCancelKeepsAllAndTheFormatComesFromDefaultFormat) {
    ASSERT_TRUE(settings.Write("Software\\Qorva", "DefaultFormat", RegValue::String("GitHub")));
    document.ResetFormat();
    page.model = "unsaved";
    page.modified = true;
    std::string path = folder.Write("readme.md", "# Heading\r\n");
    ui.chosenFiles = {path, path};
    ui.answers = {Answer::Cancel, Answer::No};
    document.Open();
    EXPECT_EQ(ui.MessageTexts(), Texts{"Save changes?"});
    EXPECT_EQ(page.model, "unsaved");
    EXPECT_EQ(document.path(), "");
    document.Open();
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown) << "\"GitHub\" is not a keyword";
    EXPECT_EQ(ui.dialogs.at(0), OpenDocumentDialog());
}

TEST_F(DocumentLifecycleTest, NativeFilesHaveCrLfAndNoByteOrderMarkAndSaveUnwrappedSelectsTheUnwrappedWriter) {
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "word" + std::to_string(i) + " ";
    TypeIntoPage("# Title\n\n" + longLine + "\n");
    std::string wrapped = (folder / "wrapped.text").string(), unwrapped = (folder / "unwrapped.text").string();
    ASSERT_TRUE(document.WriteFile(wrapped));
    std::string bytes = ReadFileBytes(wrapped);
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(Has(bytes, "Title\r\n")) << bytes;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at " << i;
    }
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(document.path(), "") << "writing does not change the path";

    ASSERT_TRUE(settings.Write("Software\\Qorva", "SaveUnwrapped", RegValue::Dword(1)));
    ASSERT_TRUE(document.WriteFile(unwrapped));
    auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    EXPECT_GT(lines(bytes), lines(ReadFileBytes(unwrapped)));
}

TEST_F(DocumentLifecycleTest, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheOldFileAndState) {
    std::string path = folder.Write("keep.text", "old content\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("new content\n");
    const std::string target = (folder / "no-such-folder" / "x.text").string();
    EXPECT_FALSE(document.WriteFile(target));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(Has(ui.messages[0].text, target) && Has(ui.messages[0].text, "No such file or directory"))
        << ui.messages[0].text;
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(ReadFileBytes(path), "old content\r\n");
    page.model = "";
    EXPECT_FALSE(document.WriteFile((folder / "empty.text").string()));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.text"));
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.chosenFiles.push_back((folder / "x.text").string());
    EXPECT_FALSE(document.SaveAs());
    EXPECT_EQ(ui.messages.back(), message::ErrorWritingFile());
    EXPECT_EQ(ui.messages.back().caption, "");
    EXPECT_EQ(document.path(), path);
}

TEST_F(DocumentLifecycleTest, TheWelcomeDocumentIsUntitledUntilSavedAsThenRecorded) {
    document.LoadWelcome();
    EXPECT_TRUE(document.welcome());
    EXPECT_EQ(document.path(), "");
    EXPECT_EQ(page.model, TryReadTextFormat(*findResource("welcome.text")));
    EXPECT_NE(page.model, "");
    EXPECT_EQ(ui.exportResets, 1);
    page.modified = true;
    std::string path = (folder / "saved.text").string();
    ui.chosenFiles.push_back(path);
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ui.dialogs.at(0), SaveDocumentDialog());
    EXPECT_EQ(document.path(), path);
    EXPECT_FALSE(document.welcome());
    EXPECT_EQ(recent.Entries(), Texts{path});
    EXPECT_TRUE(Has(ReadFileBytes(path), "Welcome"));
}

TEST_F(DocumentLifecycleTest, SaveChangesAsksOnlyWhenModifiedNoProceedsCancelOrACancelledSaveAsStops) {
    EXPECT_TRUE(document.AskToSave());
    EXPECT_TRUE(ui.messages.empty());
    page.model = "[\"text\"]";
    page.modified = true;
    ui.answers = {Answer::No, Answer::Cancel, Answer::Yes};
    ui.chosenFiles.push_back(std::nullopt);
    EXPECT_TRUE(document.AskToSave());
    EXPECT_FALSE(document.AskToSave());
    EXPECT_FALSE(document.AskToSave());
    EXPECT_EQ(ui.messages.size(), 3u) << "a cancelled dialog says nothing more";
    EXPECT_EQ(document.path(), "");
    EXPECT_TRUE(page.modified);
    std::string path = folder.Write("doc.text", "first\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("second\n");
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(document.AskToSave());
    EXPECT_TRUE(Has(ReadFileBytes(path), "second"));
    EXPECT_FALSE(page.modified);
}

TEST_F(DocumentLifecycleTest, ARecentEntryWhoseFileIsGoneIsReportedAndRemovedAndNoEntryDoesNothing) {
    document.OpenRecent(menu_id::RecentFirst + 3);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.recentChanges, 0);
    std::string gone = (folder / "deleted.text").string();
    recent.Add(gone);
    document.OpenRecent(menu_id::RecentFirst);
    EXPECT_EQ(ui.MessageTexts(), Texts{"File " + gone + " doesn't exist."});
    EXPECT_TRUE(recent.Entries().empty());
    EXPECT_EQ(ui.recentChanges, 1);
}

TEST_F(DocumentLifecycleTest, ReopenSkipsUntitledDocumentsAndAsksBeforeDroppingChanges) {
    page.modified = true;
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(page.setTextCalls, 0);

    ASSERT_TRUE(document.LoadFile(folder.Write("r.text", "disk\r\n")));
    page.model = "edited";
    page.modified = true;
    ui.answers = {Answer::No, Answer::Yes};
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_EQ(page.model, "edited");
    document.ReopenInFormat(menu_id::ReopenQorva);
    EXPECT_EQ(ui.MessageTexts(), Texts(2, "Changes will be lost. Proceed?"));
    EXPECT_TRUE(Has(page.model, "disk"));
    EXPECT_FALSE(page.modified);
}

TEST_F(DocumentLifecycleTest, SaveInGitHubFormatUnderATextNameWritesGitHubMarkdownThatReopens) {
    TypeIntoPage("Heading\n=======\n\nA *word* and **strong**.\n");
    std::string path = (folder / "github.text").string();
    ui.chosenFiles.push_back(path);
    document.SaveInFormat(menu_id::SaveInGithub);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    EXPECT_EQ(document.format(), DocumentFormat::GitHubMarkdown);
    std::string bytes = ReadFileBytes(path);
    EXPECT_TRUE(Has(bytes, "# Heading") && Has(bytes, "**strong**")) << "ATX headings: " << bytes;
    EXPECT_FALSE(Has(bytes, "\r\n")) << "Pandoc's line ends are kept";
    document.ReopenInFormat(menu_id::ReopenPandoc);
    EXPECT_TRUE(Has(page.model, "strong"));
    ASSERT_EQ(document.format(), DocumentFormat::PandocMarkdown);
    TypeIntoPage("# Heading\n\nchanged\n");
    ASSERT_TRUE(document.Save());
    bytes = ReadFileBytes(path);
    EXPECT_TRUE(Has(bytes, "changed") && !Has(bytes, "\r\n")) << bytes;
    ui.chosenFiles.push_back(folder.Write("plain.text", "plain\r\n"));
    document.Open();
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
}

TEST_F(DocumentLifecycleTest, WithoutPandocTheFlavourCommandsOfferTheDownloadAndDoNothing) {
    testing::ScopedEnv noPandoc("PATH", (folder / "empty-bin").string());
    if (DetectPandoc().usable()) GTEST_SKIP() << "a Pandoc outside PATH is installed";
    recent.Add(folder.Write("a.text", "x\r\n"));
    ui.answers = {Answer::Ok, Answer::Cancel, Answer::Cancel};
    document.SaveInFormat(menu_id::SaveInPandoc);
    document.Import(menu_id::ImportHtml);
    document.Import(menu_id::ImportLatex);
    EXPECT_EQ(ui.messages, std::vector<MessageSpec>(3, message::PandocMissing()));
    EXPECT_EQ(ui.urls, Texts{kPandocDownloadPage});
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
    EXPECT_TRUE(ui.dialogs.empty());
}

TEST_F(DocumentLifecycleTest, AFailingPandocChangesNothingAndItsMessageIsShown) {
    std::string path = folder.Write("doc.text", "text\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    const std::string model = page.model;
    std::filesystem::create_directories(folder / "bin");
    std::string script = folder.Write("bin/pandoc",
                                      "#!/bin/sh\n"
                                      "if [ \"$1\" = --version ]; then echo 'pandoc 2.17.1.1'; exit 0; fi\n"
                                      "cat > /dev/null; echo 'pandoc: simulated failure' >&2; exit 64\n");
    ::chmod(script.c_str(), 0755);
    testing::ScopedEnv failing("PATH", (folder / "bin").string() + ":/usr/bin:/bin");
    if (DetectPandoc().location != "pandoc") GTEST_SKIP() << "a Pandoc outside PATH is installed";

    document.ReopenInFormat(menu_id::ReopenMmd);
    ui.chosenFiles.push_back(folder.Write("page.html", "<p>x</p>"));
    EXPECT_FALSE(document.Import(menu_id::ImportHtml));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.MessageTexts(), Texts(2, "Pandoc Error\npandoc: simulated failure\n"));
    EXPECT_EQ(ui.messages[1].caption, "Import failed");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Stop);
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(page.model, model);

    std::string target = folder.Write("keep.md", "original\n");
    TypeIntoPage("changed\n");
    ui.chosenFiles.push_back(target);
    document.SaveInFormat(menu_id::SaveInPandoc);
    EXPECT_EQ(ReadFileBytes(target), "original\n");
    EXPECT_TRUE(page.modified);
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_TRUE(Has(ui.messages[2].text, "simulated failure")) << ui.messages[2].text;
    EXPECT_EQ(document.path(), path);
}

TEST_F(DocumentLifecycleTest, ImportGivesAnUntitledUnmodifiedDocumentOutOfTheRecentList) {
    std::string previous = folder.Write("prev.text", "prev\r\n");
    recent.Add(previous);
    ui.chosenFiles.push_back(folder.Write("page.html", "<h1>Imported</h1><p>Some <em>text</em></p>"));
    ASSERT_TRUE(document.Import(menu_id::ImportHtml));
    EXPECT_EQ(ui.dialogs.at(0), ImportDialogFor(menu_id::ImportHtml)->second);
    EXPECT_TRUE(Has(page.model, "Imported")) << page.model;
    EXPECT_EQ(document.path(), "");
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(page.baseUrl, "");
    EXPECT_EQ(recent.Entries(), Texts{previous});
    ui.chosenFiles.push_back(folder.Write("paper.tex", "\\section{Intro}\nHello \\emph{world}.\n"));
    ASSERT_TRUE(document.Import(menu_id::ImportLatex));
    EXPECT_TRUE(Has(page.model, "Intro")) << page.model;
}

TEST_F(DocumentLifecycleTest, AnImportTooLargeOrNotTakenByThePageKeepsTheDocumentAndItsPath) {
    std::string path = folder.Write("doc.text", "doc\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("typed\n");
    const std::string typed = page.model;
    std::string huge = folder.Write("huge.html", "");
    std::filesystem::resize_file(huge, kPageDocumentLimitBytes + 1);
    ui.answers = {Answer::No, Answer::Ok, Answer::No, Answer::Ok};
    ui.chosenFiles = {huge, folder.Write("page.html", "<h1>Imported</h1>")};
    EXPECT_FALSE(document.Import(menu_id::ImportHtml));
    page.lostSetAnswers = 1;
    EXPECT_FALSE(document.Import(menu_id::ImportHtml));
    EXPECT_EQ(page.model, typed);
    EXPECT_EQ(document.path(), path);
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_TRUE(Has(ui.messages[1].text, "is too large to open")) << ui.messages[1].text;
    EXPECT_TRUE(Has(ui.messages[3].text, "could not take the document")) << ui.messages[3].text;
}

TEST_F(DocumentLifecycleTest, NewAndWelcomeStartAnotherProcessAndOnlyFileCommandsAreTaken) {
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.started, (std::vector<Texts>{{}, {"--welcome"}}));
    EXPECT_TRUE(ui.messages.empty());
    ui.startSucceeds = false;
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.messages, (std::vector<MessageSpec>{message::NewWindowFailed(), message::WelcomeFailed()}));
    for (int id : {menu_id::New, menu_id::WelcomeDocument, menu_id::RecentLast}) EXPECT_TRUE(document.HandleCommand(id));
    for (int id : {menu_id::Copy, menu_id::FullScreen}) EXPECT_FALSE(document.HandleCommand(id));
}


struct FileEvents : DocumentFileObserver {
    std::vector<std::string> events;
    bool allowWrite = true;
    void FileLoaded(const std::string& path) override { events.push_back("loaded " + path); }
    void FileSaved(const std::string& path) override { events.push_back("saved " + path); }
    void DocumentReplaced(const std::string& path) override { events.push_back("replaced " + path); }
    bool MayWriteOver(const std::string& path) override {
        events.push_back("may write " + path);
        return allowWrite;
    }
};

TEST_F(DocumentLifecycleTest, ObserversHearLoadsAndSavesAndARefusedWriteKeepsFileAndChanges) {
    FileEvents observer;
    document.AddFileObserver(&observer);
    const std::string path = folder.Write("kept.text", "Disk\r\n");
    ASSERT_TRUE(document.LoadFile(path));
    TypeIntoPage("Mine\r\n");
    observer.allowWrite = false;
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "Disk\r\n");
    EXPECT_TRUE(page.modified);
    observer.allowWrite = true;
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "Mine\r\n");
    const std::string other = (folder / "other.text").string();
    ui.chosenFiles = {other};
    EXPECT_TRUE(document.SaveAs());
    EXPECT_EQ(observer.events, (Texts{"loaded " + path, "may write " + path, "may write " + path, "saved " + path,
                                      "saved " + other}))
        << "a new name is not asked about";
}

TEST_F(DocumentLifecycleTest, ARestoredDocumentIsModifiedUnderItsOldPathAndWritesNothingUntilSaved) {
    FileEvents observer;
    document.AddFileObserver(&observer);
    const std::string path = folder.Write("restored.text", "On disk\r\n");
    const std::string model = TryReadTextFormat("Restored\r\n");
    document.Restore(path, DocumentFormat::QorvaMarkdown, false, model);
    EXPECT_EQ(document.path(), path);
    EXPECT_TRUE(document.modified());
    EXPECT_EQ(page.model, model);
    EXPECT_EQ(ReadFileBytes(path), "On disk\r\n");
    EXPECT_EQ(observer.events, Texts{"replaced " + path});
    EXPECT_TRUE(recent.Entries().empty());
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "Restored\r\n");
    const int resets = ui.exportResets;
    EXPECT_TRUE(document.Reload());
    EXPECT_EQ(observer.events.back(), "loaded " + path);
    EXPECT_EQ(ui.exportResets, resets);
}

}  // namespace
}  // namespace qorva
