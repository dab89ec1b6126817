#include "src/win/document/document_conversion.h"
#include "src/win/document/document_lifecycle.h"
#include "src/win/document/document_prefetch.h"
#include "src/win/document/file_content.h"
#include "src/win/document/paragraph_wrapping.h"
#include "src/win/menus/command_ids.h"
#include "resources/resources.h"
#include "tests/frame/document_test_support.h"
#include "tests/frame/temp_folder.h"
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

namespace qorva {
namespace {

using testing::ReadFileBytes;
using ::testing::AllOf;
using ::testing::HasSubstr;
using Answer = MessageAnswer;
using Texts = std::vector<std::string>;
using Kind = FileContent;

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
    std::string Load(const std::string& name, const std::string& bytes) {
        std::string path = folder.Write(name, bytes);
        EXPECT_TRUE(document.LoadFile(path)) << path;
        return path;
    }
    void ExpectKept(const std::string& model, const std::string& path) {
        EXPECT_EQ(page.model, model);
        EXPECT_EQ(document.path(), path);
        EXPECT_TRUE(page.modified);
    }
};

TEST_F(DocumentLifecycleTest, LoadingSetsPathClearsModifiedAndRecordsIt) {
    const std::string words = "some t\xC3\xA9xt \xE2\x82\xAC \xF0\x9F\x98\x80";  // UTF-8 passes unchanged
    page.modified = true;
    std::string path = Load("my notes #1.text", "# Title\r\n\r\n" + words + "\r\n");
    EXPECT_EQ(page.baseUrl, "file://" + folder.path().string() + "/my%20notes%20%231.text");
    EXPECT_THAT(TryWriteTextFormat(page.model, false), HasSubstr(words));
    EXPECT_EQ(std::tuple(document.path(), page.modified, recent.Entries(), ui.exportResets, ui.messages.size()),
              std::tuple(path, false, Texts{path}, 1, 0u));
}

// Bytes that are not UTF-8, a sequence cut off by the end of the file among them.
TEST_F(DocumentLifecycleTest, OddBytesOpenModifiedWithAWordAndKeepWhatFollowsThem) {
    std::string path = Load("odd.text", "# Title\r\n\r\nbefore" + std::string(1, '\0') + "after \xFF end\r\n\r\ncut \xE2\x82");
    EXPECT_EQ(std::tuple(document.path(), page.modified), std::tuple(path, true));
    EXPECT_THAT(TryWriteTextFormat(page.model, false),
                AllOf(HasSubstr("Title"), HasSubstr("before\xEF\xBF\xBD" "after"), HasSubstr("end"), HasSubstr("cut \xEF\xBF\xBD")));
    EXPECT_EQ(ui.MessageTexts(), Texts{path + " contains bytes that are not UTF-8 text; saving will replace them."});
}

TEST_F(DocumentLifecycleTest, ABinaryTooLargeMissingOrFolderPathIsRefusedWithItsReasonAndChangesNothing) {
    std::string binary = folder.Write("picture.text", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(4000, '\0'));
    std::string huge = folder.Write("huge.text", "");  // sparse: only its size is looked at
    std::filesystem::resize_file(huge, kPageDocumentLimitBytes + 1);
    const std::uint64_t limit = kPageDocumentLimitBytes / 1'000'000;
    std::string missing = folder.File("gone.text");
    page.model = "kept";
    page.modified = true;
    for (const std::string& path : {binary, huge, missing, folder.path().string()}) EXPECT_FALSE(document.LoadFile(path));
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.messages[0].text, binary + " is not a text file and cannot be opened.");
    EXPECT_EQ(ui.messages[1].text, huge + " is too large to open: " + std::to_string(limit + 1) + " MB; the limit is " +
                                       std::to_string(limit) + " MB.");
    EXPECT_THAT(ui.messages[2].text, AllOf(HasSubstr(missing), HasSubstr("No such file or directory")));
    EXPECT_THAT(ui.messages[3].text, HasSubstr(folder.path().string()));
    ExpectKept("kept", "");
    EXPECT_TRUE(recent.Entries().empty());
}

// The limit is on the file; a file within it whose mark-up takes more than the editor
// holds says both sizes, each for what it is.
TEST_F(DocumentLifecycleTest, AFileWithinTheLimitThatTheEditorCannotHoldSaysBothSizes) {
    std::string items;
    while (items.size() < 6'500'000) items += "-   *x*\r\n";
    const std::string path = folder.Write("items.text", items);
    const std::uint64_t model = TryReadTextFormat(items).size();
    ASSERT_GT(model, kPageDocumentLimitBytes);
    EXPECT_FALSE(document.LoadFile(path));
    EXPECT_EQ(ui.MessageTexts(), Texts{path + " is too large to open: its 7 MB take " +
                                       std::to_string(MegabytesRoundedUp(model)) +
                                       " MB in the editor; the limit there is 20 MB."});
}

TEST_F(DocumentLifecycleTest, APageThatDoesNotTakeOrGiveBackTheDocumentNeverCostsTheFile) {
    std::filesystem::create_directory(folder / "other");
    std::string second = folder.Write("other/second.text", "second\r\n");
    std::string first = Load("first.text", "first\r\n");
    const std::string firstBase = page.baseUrl, firstModel = page.model;
    page.modified = true;
    page.takesDocuments = false;
    EXPECT_FALSE(document.LoadFile(second));
    ExpectKept(firstModel, first);
    EXPECT_EQ(page.baseUrl, firstBase);
    // A lost answer may still have taken effect: the page is given back its document.
    page.takesDocuments = true;
    page.lostSetAnswers = 1;
    TypeIntoPage("typed\n");
    const std::string typed = page.model;
    EXPECT_FALSE(document.LoadFile(second));
    ExpectKept(typed, first);
    // An unreadable answer is not an empty document: nothing is written or closed.
    page.givesDocuments = false;
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(document.AskToSave());
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadFileBytes(first), "first\r\n");
    EXPECT_TRUE(page.modified);
    const std::string notTaken = "The editor could not take the document " + second + "; it was not opened.";
    const std::string notRead = "The document could not be read back from the editor, so it was not saved.";
    EXPECT_EQ(ui.MessageTexts(), (Texts{notTaken, notTaken, "Save changes to first.text?", notRead, notRead}));
}

// Open, Open Recent and the command line choose alike: the format the file was last
// opened or saved in, else its extension's, else DefaultFormat's.
TEST_F(DocumentLifecycleTest, OpenAsksToSaveFirstAndEveryOpenTakesTheRememberedFormatElseTheNamesElseTheDefault) {
    using F = DocumentFormat;
    ASSERT_TRUE(settings.Write("Software\\Qorva", "DefaultFormat", SettingValue::OfText("github")));
    document.ResetFormat();
    page.model = "unsaved";
    page.modified = true;
    const std::string readme = folder.Write("readme.md", "# Heading\n\n-   one\n-   two\n");
    const std::string notes = folder.Write("notes.txt", "# Notes\n");
    ui.chosenFiles = {readme, readme, notes};
    ui.answers = {Answer::Cancel, Answer::No};
    document.Open();
    EXPECT_EQ(ui.MessageTexts(), Texts{"Save changes to the untitled document?"});
    ExpectKept("unsaved", "");
    EXPECT_EQ(ui.dialogs.at(0), OpenDocumentDialog());
    document.Open();
    EXPECT_EQ(std::tuple(document.path(), document.modified(), document.format()),
              std::tuple(readme, false, F::PandocMarkdown));
    document.Open();
    EXPECT_EQ(document.format(), F::GitHubMarkdown);
    document.ReopenInFormat(command_id::ReopenMmd);  // remembered, as the format of a save is
    EXPECT_TRUE(document.OpenNamedFile(readme));
    EXPECT_EQ(document.format(), F::PandocMarkdown);
    document.OpenRecent(command_id::RecentFirst + 1);
    EXPECT_EQ(std::tuple(document.path(), document.format()), std::tuple(notes, F::MultiMarkdown));
}

// The name and the content agree: a flavour goes under a Markdown name, the
// native format under a ".text" one, and the file under the old name stays.
TEST_F(DocumentLifecycleTest, SaveInAFormatOfAnotherFamilyAsksForANameWithItsExtensionAndSaveAsGoesByTheName) {
    using F = DocumentFormat;
    using Keyword = std::optional<std::string>;
    const std::string story = Load("story.text", "Story\r\n");
    TypeIntoPage("Title\n=====\n\nSome *emphasis* here.\n");
    const std::string markdown = folder.File("story.md");
    ui.chosenFiles = {std::nullopt, markdown};
    document.SaveInFormat(command_id::SaveInPandoc);
    EXPECT_EQ(std::tuple(document.format(), page.modified), std::tuple(F::QorvaMarkdown, true)) << "cancelled";
    document.SaveInFormat(command_id::SaveInPandoc);
    EXPECT_EQ(ui.dialogs, std::vector<FileDialogSpec>(2, SaveDocumentDialog(F::PandocMarkdown, markdown)));
    EXPECT_EQ(std::tuple(ui.dialogs[0].selectedFilter, ui.dialogs[0].defaultExtension), std::tuple(1u, "md"));
    EXPECT_EQ(ReadFileBytes(story), "Story\r\n");
    EXPECT_EQ(ReadFileBytes(markdown), "# Title\r\n\r\nSome *emphasis* here.\r\n") << "the document's line ends";
    EXPECT_EQ(std::tuple(document.path(), document.format(), recent.FormatOf(markdown)),
              std::tuple(markdown, F::PandocMarkdown, Keyword("pandoc")));
    // Within the family the file is written in place, and remembered in its new flavour.
    document.SaveInFormat(command_id::SaveInGithub);
    EXPECT_EQ(std::tuple(ui.dialogs.size(), recent.FormatOf(markdown)), std::tuple(2u, Keyword("github")));
    const std::string again = folder.File("again.text");
    ui.chosenFiles = {again};
    ASSERT_TRUE(document.SaveAs());
    EXPECT_EQ(ui.dialogs.back(), SaveDocumentDialog(F::GitHubMarkdown));
    EXPECT_EQ(document.format(), F::QorvaMarkdown);
    EXPECT_THAT(ReadFileBytes(again), HasSubstr("Title\r\n====="));
}

// Lines end as they did in the file; a new file's end in line feeds.
TEST_F(DocumentLifecycleTest, LineEndsStayAsTheFileHadThemNoByteOrderMarkAndSaveUnwrappedSelectsTheUnwrappedWriter) {
    std::string longLine;
    for (int i = 0; i < 30; ++i) longLine += "word" + std::to_string(i) + " ";
    TypeIntoPage("# Title\n\n" + longLine + "\n");
    ASSERT_TRUE(document.WriteFile(folder.File("wrapped.text")));
    std::string bytes = ReadFileBytes(folder.File("wrapped.text"));
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_FALSE(page.modified);
    EXPECT_EQ(document.path(), "") << "writing does not change the path";
    ASSERT_TRUE(settings.Write("Software\\Qorva", "SaveUnwrapped", SettingValue::OfNumber(1)));
    ASSERT_TRUE(document.WriteFile(folder.File("unwrapped.text")));
    auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    EXPECT_GT(lines(bytes), lines(ReadFileBytes(folder.File("unwrapped.text"))));
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        const std::string path = Load("ends.text", "A" + lineEnd + lineEnd + "B" + lineEnd);
        TypeIntoPage("C\n\nB\n");
        ASSERT_TRUE(document.Save());
        EXPECT_EQ(ReadFileBytes(path), "C" + lineEnd + lineEnd + "B" + lineEnd);
    }
    // A file whose paragraphs stand on one line each is saved that way without the setting.
    ASSERT_TRUE(settings.Write("Software\\Qorva", "SaveUnwrapped", SettingValue::OfNumber(0)));
    const std::string path = Load("long.text", "A\n\n" + longLine + "\n");
    TypeIntoPage("C\n\n" + longLine.substr(0, longLine.size() - 1) + "\n");
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "C\n\n" + longLine.substr(0, longLine.size() - 1) + "\n");
}

TEST_F(DocumentLifecycleTest, AFailedWriteNamesTheFileAndTheReasonAndKeepsTheOldFileAndState) {
    std::string path = Load("keep.text", "old content\r\n");
    TypeIntoPage("new content\n");
    const std::string target = folder.File("no-such-folder/x.text");
    EXPECT_FALSE(document.WriteFile(target));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_THAT(ui.messages[0].text, AllOf(HasSubstr(target), HasSubstr("No such file or directory")));
    EXPECT_TRUE(page.modified);
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(ReadFileBytes(path), "old content\r\n");
    page.model = "";
    EXPECT_FALSE(document.WriteFile(folder.File("empty.text")));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.text"));
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.chosenFiles.push_back(folder.File("x.text"));
    EXPECT_FALSE(document.SaveAs());
    EXPECT_EQ(ui.messages.back(), message::ErrorWritingFile());
    EXPECT_EQ(document.path(), path);
}

TEST_F(DocumentLifecycleTest, TheWelcomeDocumentIsUntitledUntilSavedAsThenRecorded) {
    document.LoadWelcome();
    EXPECT_EQ(std::tuple(document.welcome(), document.path(), ui.exportResets), std::tuple(true, "", 1));
    EXPECT_EQ(page.model, TryReadTextFormat(*findResource("welcome.text")));
    page.modified = true;
    std::string path = folder.File("saved.text");
    ui.chosenFiles.push_back(path);
    ASSERT_TRUE(document.Save());
    EXPECT_EQ(ui.dialogs.at(0), SaveDocumentDialog());
    EXPECT_EQ(std::tuple(document.path(), document.welcome(), recent.Entries()), std::tuple(path, false, Texts{path}));
    EXPECT_THAT(ReadFileBytes(path), HasSubstr("Welcome"));
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
    ExpectKept("[\"text\"]", "");
    std::string path = Load("doc.text", "first\r\n");
    TypeIntoPage("second\n");
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(document.AskToSave());
    EXPECT_THAT(ReadFileBytes(path), HasSubstr("second"));
    EXPECT_FALSE(page.modified);
}

TEST_F(DocumentLifecycleTest, ARecentEntryWhoseFileIsGoneIsReportedAndRemovedAndNoEntryDoesNothing) {
    document.OpenRecent(command_id::RecentFirst + 3);
    EXPECT_EQ(std::tuple(ui.messages.size(), ui.recentChanges), std::tuple(0u, 0));
    std::string gone = folder.File("deleted.text");
    recent.Add(gone);
    document.OpenRecent(command_id::RecentFirst);
    EXPECT_EQ(ui.MessageTexts(), Texts{"File " + gone + " doesn't exist."});
    EXPECT_EQ(std::tuple(recent.Entries(), ui.recentChanges), std::tuple(Texts{}, 1));
}

TEST_F(DocumentLifecycleTest, ReopenSkipsUntitledDocumentsAndAsksBeforeDroppingChanges) {
    page.modified = true;
    document.ReopenInFormat(command_id::ReopenQorva);
    EXPECT_EQ(std::tuple(ui.messages.size(), page.setTextCalls), std::tuple(0u, 0));
    Load("r.text", "disk\r\n");
    TypeIntoPage("edited\n");
    const std::string edited = page.model;
    ui.answers = {Answer::No, Answer::Yes};
    document.ReopenInFormat(command_id::ReopenQorva);
    EXPECT_EQ(page.model, edited);
    document.ReopenInFormat(command_id::ReopenQorva);
    EXPECT_EQ(ui.MessageTexts(), Texts(2, "Changes will be lost. Proceed?"));
    EXPECT_THAT(page.model, HasSubstr("disk"));
    EXPECT_FALSE(page.modified);
}

TEST_F(DocumentLifecycleTest, WithoutPandocTheFlavourCommandsOfferTheDownloadAndDoNothing) {
    testing::ScopedEnv noPandoc("PATH", folder.File("empty-bin"));
    if (DetectPandoc().usable()) GTEST_SKIP() << "a Pandoc outside PATH is installed";
    recent.Add(folder.Write("a.text", "x\r\n"));
    ui.answers = {Answer::Ok, Answer::Cancel, Answer::Cancel};
    document.SaveInFormat(command_id::SaveInPandoc);
    document.Import(command_id::ImportHtml);
    document.Import(command_id::ImportLatex);
    EXPECT_EQ(ui.messages, std::vector<MessageSpec>(3, message::PandocMissing()));
    EXPECT_EQ(ui.urls, Texts{kPandocDownloadPage});
    EXPECT_EQ(std::tuple(document.format(), ui.dialogs.size()), std::tuple(DocumentFormat::QorvaMarkdown, 0u));
}

TEST_F(DocumentLifecycleTest, AFailingPandocChangesNothingAndItsMessageIsShown) {
    ASSERT_TRUE(document.LoadFileAs(folder.Write("notes.md", "notes\n"), DocumentFormat::PandocMarkdown));
    {
        testing::FakePandocHome failing("pandoc 2.17.1.1", "cat > /dev/null; exit 64");
        document.SaveInFormat(command_id::SaveInGithub);
        EXPECT_EQ(document.format(), DocumentFormat::PandocMarkdown) << "a failed save keeps the flavour";
        ui.messages.clear();
    }
    const std::string path = folder.Write("doc.text", "text\r\n");
    ASSERT_TRUE(document.OpenNamedFile(path));
    const std::string model = page.model;
    testing::FakePandocHome failing("pandoc 2.17.1.1", "cat > /dev/null; echo 'pandoc: simulated failure' >&2; exit 64");
    document.ReopenInFormat(command_id::ReopenMmd);
    ui.chosenFiles.push_back(folder.Write("page.html", "<p>x</p>"));
    EXPECT_FALSE(document.Import(command_id::ImportHtml));
    EXPECT_EQ(ui.MessageTexts(), Texts(2, "Pandoc Error\npandoc: simulated failure\n"));
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
    EXPECT_EQ(std::tuple(page.model, document.path()), std::tuple(model, path));
    std::string target = folder.Write("keep.md", "original\n");
    TypeIntoPage("changed\n");
    ui.chosenFiles.push_back(target);
    document.SaveInFormat(command_id::SaveInPandoc);
    EXPECT_TRUE(ui.chosenFiles.empty()) << "the save was offered the file it must leave alone";
    EXPECT_EQ(std::tuple(ReadFileBytes(target), page.modified, document.path()), std::tuple("original\n", true, path));
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_THAT(ui.messages[2].text, HasSubstr("simulated failure"));
    EXPECT_EQ(document.format(), DocumentFormat::QorvaMarkdown);
}

TEST_F(DocumentLifecycleTest, ImportGivesAnUntitledUnmodifiedDocumentOutOfTheRecentList) {
    std::string previous = folder.Write("prev.text", "prev\r\n");
    recent.Add(previous);
    ui.chosenFiles = {folder.Write("page.html", "<h1>Imported</h1><p>Some <em>text</em></p>"),
                      folder.Write("paper.tex", "\\section{Intro}\nHello \\emph{world}.\n")};
    ASSERT_TRUE(document.Import(command_id::ImportHtml));
    EXPECT_EQ(ui.dialogs.at(0), ImportDialogFor(command_id::ImportHtml)->second);
    EXPECT_THAT(page.model, HasSubstr("Imported"));
    EXPECT_EQ(std::tuple(document.path(), page.modified, page.baseUrl, recent.Entries()),
              std::tuple("", false, "", Texts{previous}));
    ASSERT_TRUE(document.Import(command_id::ImportLatex));
    EXPECT_THAT(page.model, HasSubstr("Intro"));
}

TEST_F(DocumentLifecycleTest, AnImportTooLargeOrNotTakenByThePageKeepsTheDocumentAndItsPath) {
    std::string path = Load("doc.text", "doc\r\n");
    TypeIntoPage("typed\n");
    const std::string typed = page.model;
    std::string huge = folder.Write("huge.html", "");
    std::filesystem::resize_file(huge, kPageDocumentLimitBytes + 1);
    ui.answers = {Answer::No, Answer::Ok, Answer::No, Answer::Ok};
    ui.chosenFiles = {huge, folder.Write("page.html", "<h1>Imported</h1>")};
    EXPECT_FALSE(document.Import(command_id::ImportHtml));
    page.lostSetAnswers = 1;
    EXPECT_FALSE(document.Import(command_id::ImportHtml));
    ExpectKept(typed, path);
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_THAT(ui.messages[1].text, HasSubstr("is too large to open"));
    EXPECT_THAT(ui.messages[3].text, HasSubstr("could not take the document"));
}

TEST_F(DocumentLifecycleTest, NewAndWelcomeStartAnotherProcessOrSaySoWhenItFails) {
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.started, (std::vector<Texts>{{}, {"--welcome"}}));
    EXPECT_TRUE(ui.messages.empty());
    ui.startSucceeds = false;
    document.New();
    document.OpenWelcomeWindow();
    EXPECT_EQ(ui.messages, (std::vector<MessageSpec>{message::NewWindowFailed(), message::WelcomeFailed()}));
}

struct FileEvents : DocumentFileObserver {
    Texts events;
    bool allowWrite = true;
    void FileLoaded(const std::string& path) override { events.push_back("loaded " + path); }
    void FileSaved(const std::string& path) override { events.push_back("saved " + path); }
    void DocumentReplaced(const std::string& path) override { events.push_back("replaced " + path); }
    bool MayWriteOver(const std::string& path) override { return events.push_back("may write " + path), allowWrite; }
    bool known = true;
    bool FileAsKnown(const std::string&) override { return known; }
};

TEST_F(DocumentLifecycleTest, AutoSaveWritesWithoutAskingOnlyOverTheFileAsKnownAndOnlyWhatASaveGivesBack) {
    using Outcome = AutoSaveResult::Outcome;
    FileEvents observer;
    document.AddFileObserver(&observer);
    EXPECT_EQ(document.AutoSave().outcome, Outcome::NotNeeded) << "untitled";
    const std::string path = Load("auto.text", "Disk\r\n");
    EXPECT_EQ(document.AutoSave().outcome, Outcome::NotNeeded) << "unmodified";
    TypeIntoPage("Mine\r\n");
    observer.known = false;
    EXPECT_EQ(document.AutoSave().outcome, Outcome::Skipped);
    observer.known = true;
    EXPECT_EQ(document.AutoSave().outcome, Outcome::Saved);
    EXPECT_EQ(std::tuple(ReadFileBytes(path), page.modified), std::tuple("Mine\r\n", false));
    TypeIntoPage("Again\r\n");
    page.givesDocuments = false;
    const AutoSaveResult failed = document.AutoSave();
    EXPECT_EQ(std::tuple(failed.outcome, failed.note, page.modified),
              std::tuple(Outcome::Failed, "Automatic save failed: " + message::PageDidNotGiveDocument().text, true));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(observer.events, (Texts{"loaded " + path, "saved " + path})) << "nothing asked";
    page.givesDocuments = true;
    // Odd bytes and a restored document wait for the user's own save.
    Load("odd.text", "a\xFF\r\n");
    EXPECT_EQ(document.AutoSave().outcome, Outcome::Skipped);
    document.Restore(path, DocumentFormat::QorvaMarkdown, false, TryReadTextFormat("Restored\r\n"));
    EXPECT_EQ(document.AutoSave().outcome, Outcome::Skipped);
    ASSERT_TRUE(document.Save());
    TypeIntoPage("Later\r\n");
    EXPECT_EQ(document.AutoSave().outcome, Outcome::Saved);
    EXPECT_EQ(ReadFileBytes(path), "Later\r\n");
}

TEST_F(DocumentLifecycleTest, ObserversHearLoadsAndSavesAndARefusedWriteKeepsFileAndChanges) {
    FileEvents observer;
    document.AddFileObserver(&observer);
    const std::string path = Load("kept.text", "Disk\r\n");
    TypeIntoPage("Mine\r\n");
    observer.allowWrite = false;
    EXPECT_FALSE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "Disk\r\n");
    EXPECT_TRUE(page.modified);
    observer.allowWrite = true;
    EXPECT_TRUE(document.Save());
    EXPECT_EQ(ReadFileBytes(path), "Mine\r\n");
    const std::string other = folder.File("other.text");
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
    EXPECT_TRUE(document.modified());
    ExpectKept(model, path);
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

// The first document is read ahead while the window starts; what the load then
// shows is the file as it is when the load comes, in the format the load uses.
TEST_F(DocumentLifecycleTest, AFileReadAheadIsTakenOnceOnlyForItsPathAndFormatWhileUnchanged) {
    using F = DocumentFormat;
    const std::string original = "# Read ahead\r\n\r\nFirst words.\r\n";
    const std::string rewritten = "# Read again\r\n\r\nOther words.\r\n";  // the same size
    // What is taken is always the file as it is now. A rewrite may come before the worker reads the file,
    // which then holds the new text: whether it is taken then depends on that race.
    for (const auto& [what, takenName, takenFormat, rewrite, taken] : std::vector<std::tuple<std::string, std::string, F, bool, bool>>{
             {"the same file", "ahead.text", F::QorvaMarkdown, false, true},
             {"another format", "ahead.text", F::PandocMarkdown, false, false},
             {"another file", "other.text", F::QorvaMarkdown, false, false},
             {"the file written meanwhile", "ahead.text", F::QorvaMarkdown, true, false}}) {
        const std::string path = folder.Write("ahead.text", original), other = folder.Write("other.text", original);
        PrepareDocument(path, F::QorvaMarkdown);
        if (rewrite) folder.Write("ahead.text", rewritten);
        const std::string name = takenName == "other.text" ? other : path, now = ReadFileBytes(name);
        const std::optional<PreparedDocument> prepared = TakePreparedDocument(name, takenFormat);
        if (!rewrite) EXPECT_EQ(prepared.has_value(), taken) << what;
        if (prepared) EXPECT_EQ(std::tuple(prepared->bytes, prepared->result.text), std::tuple(now, TryReadTextFormat(now))) << what;
        EXPECT_FALSE(TakePreparedDocument(name, takenFormat)) << what << ": taken once";
    }
    // Through the load: a file rewritten after it was read ahead opens as it is now.
    const std::string path = folder.Write("ahead.text", original);
    PrepareDocument(path, F::QorvaMarkdown);
    folder.Write("ahead.text", rewritten);
    EXPECT_TRUE(document.OpenNamedFile(path));
    EXPECT_EQ(page.model, TryReadTextFormat(rewritten));
    PrepareDocument(path, F::QorvaMarkdown);
    EXPECT_TRUE(document.OpenNamedFile(path));
    EXPECT_EQ(std::tuple(page.model, document.lineEnds()), std::tuple(TryReadTextFormat(rewritten), LineEnds::CrLf));
}

// What kind of file the bytes make, before anything is read as text.
std::string Repeat(const std::string& unit, size_t times) {
    std::string out;
    while (times--) out += unit;
    return out;
}

TEST(FileContent, TellsTextOddBytesAndBinaryApart) {
    using std::string_literals::operator""s;
    const std::string prose = Repeat("A line of ordinary prose, with t\xC3\xA9xt \xE6\x96\x87 and \xF0\x9F\x98\x80.\r\n", 200);
    const struct { const char* name; std::string bytes; Kind kind; } cases[] = {
        {"empty", "", Kind::Text},
        {"prose in UTF-8 with tabs, form feeds and escapes", prose + "\t\f\x1b[0m", Kind::Text},
        {"a cut-off sequence at the end", prose + "\xE6\x96", Kind::NotUtf8},
        {"a UTF-16 surrogate", prose + "\xED\xA0\x80", Kind::NotUtf8},
        {"odd bytes far past the start", Repeat("text ", 20000) + "\xFF", Kind::NotUtf8},
        {"a few zero bytes in a short line", "a\0b\0c\0d"s, Kind::NotUtf8},
        {"a PNG", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10"s + Repeat("\x08\x06\0\0\0\x1f\xf3\xff" "a"s, 50), Kind::Binary},
        {"UTF-16 text", Repeat("t\0e\0x\0t\0"s, 100), Kind::Binary},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyFileContent(c.bytes), c.kind) << c.name;
}

TEST(ParagraphWrapping, OnlyALongLineOfProseThatCouldHaveBeenBrokenCounts) {
    const std::string words = Repeat("word ", 24), url = "https://example.org/" + std::string(120, 'x');
    const struct { const char* name; std::string text; bool unwrapped; } cases[] = {
        {"a paragraph on one line", "# T\r\n\r\n" + words + "\r\n", true},
        {"a list item on one line", "-   " + words + "\n", true},
        {"wrapped at 72", Repeat("word word word word word word word word word word word word word word\n", 4), false},
        {"a fenced code line", "```\n" + words + "\n```\n", false},
        {"an indented code line", "    " + words + "\n", false},
        {"a table row", "| " + words + " |\n", false},
        {"an address alone on its line", "See\n" + url + "\n", false},
        {"a long line after an unclosed fence", "~~~\n" + words, false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasUnwrappedParagraphs(c.text), c.unwrapped) << c.name;
}

}  // namespace
}  // namespace qorva
