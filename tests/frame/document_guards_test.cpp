#include "src/win/document/outside_change_watch.h"
#include "src/win/document/recovery_keeper.h"
#include "src/win/document/recovery_store.h"
#include "tests/frame/document_test_support.h"
#include "tests/frame/temp_folder.h"
#include <QTest>
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

namespace qorva {
namespace {

using testing::TempFolder;

// A document loaded from a file of its own, watched for changes made outside.
struct WatchedDocument {
    TempFolder temp;
    const std::string file = temp.Write("a.text", "one\n");
    bool modified = false;
    int reloads = 0, marks = 0;
    testing::ScriptedUi user;
    std::vector<MessageSpec>& asked = user.messages;
    OutsideChangeWatch watch{{[this] { return modified; }, [this](const MessageSpec& m) { return user.ShowMessage(m); },
                              [this] { ++reloads; }, [this] { ++marks, modified = true; }}};
    WatchedDocument() { watch.FileLoaded(file); }
    bool WaitUntilAsked() { return QTest::qWaitFor([&] { return asked.size() == 1; }, 5000); }
};

// Until the file events that have come in are looked at: a second reload or
// question would have been made by then.
void Settle(const OutsideChangeWatch& watch) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !watch.CheckPending(); }, 5000));
}

void WriteInPlace(const std::string& path, const std::string& bytes) { testing::WriteFileBytes(path, bytes); }
// What many editors do: a new file beside the old one takes its name.
void WriteThroughRename(const std::string& path, const std::string& bytes) {
    testing::WriteFileBytes(path + ".new~", bytes);
    std::filesystem::rename(path + ".new~", path);
}
// A rewrite in place that keeps the size (of "one\n") and puts the old time back.
void WriteKeepingSizeAndTime(const std::string& path, const std::string&) {
    const auto time = std::filesystem::last_write_time(path);
    testing::WriteFileBytes(path, "two\n");
    std::filesystem::last_write_time(path, time);
}

// The watched cases below show the other decisions.
TEST(OutsideChangeTest, AFileThatComesBackAfterGoingIsAskedAboutAndOneNeverThereIsNot) {
    const FileStamp file{true, 1, 2, 3, 4}, gone;
    FileStamp newer = file;
    newer.modifiedNs += 1;
    EXPECT_EQ(DecideOutsideChange(file, newer, true, true), OutsideChange::AskReload);
    EXPECT_EQ(DecideOutsideChange(gone, gone, false, false), OutsideChange::None);
}

TEST(OutsideChangeTest, UnmodifiedDocumentsReloadAfterInPlaceAndRenameWrites) {
    for (auto write : {&WriteInPlace, &WriteThroughRename, &WriteKeepingSizeAndTime}) {
        WatchedDocument doc;
        write(doc.file, "changed " + std::to_string(std::rand()) + "\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return doc.reloads == 1; }, 5000));
        Settle(doc.watch);
        EXPECT_EQ(std::tuple(doc.reloads, doc.asked.size()), std::tuple(1, 0u));
    }
}

// Reading through the link would show another file, and saving would write there.
TEST(OutsideChangeTest, AFileSwappedForALinkIsReportedOnceAndNeitherReadNorWrittenOverWithoutAsking) {
    WatchedDocument doc;
    const std::string other = doc.temp.Write("other.text", "someone else's\n");
    std::filesystem::create_symlink(other, doc.file + ".link~");
    std::filesystem::rename(doc.file + ".link~", doc.file);
    ASSERT_TRUE(doc.WaitUntilAsked());
    Settle(doc.watch);
    doc.watch.Check();
    EXPECT_EQ(std::tuple(doc.reloads, doc.marks, doc.asked), std::tuple(0, 1, std::vector{message::FileBecameLink(
                                                                           doc.file, std::filesystem::canonical(other).string())}));
    doc.user.answers = {MessageAnswer::No};
    EXPECT_FALSE(doc.watch.MayWriteOver(doc.file));
}

TEST(OutsideChangeTest, ModifiedDocumentsAskOnceAndKeepingThemMeansSavingAsksBeforeWritingOver) {
    WatchedDocument doc;
    const std::string& file = doc.file;
    EXPECT_TRUE(doc.watch.MayWriteOver(file));
    doc.modified = true;
    doc.user.answers = {MessageAnswer::Yes};  // keep mine
    WriteThroughRename(file, "theirs\n");
    ASSERT_TRUE(doc.WaitUntilAsked());
    EXPECT_EQ(doc.asked[0], message::ReloadChangedFile(file));
    Settle(doc.watch);
    doc.watch.Check();
    EXPECT_EQ(std::tuple(doc.asked.size(), doc.reloads), std::tuple(1u, 0)) << "the same change is not asked about twice";
    doc.user.answers = {MessageAnswer::No};
    EXPECT_FALSE(doc.watch.MayWriteOver(file));
    EXPECT_EQ(doc.asked.back(), message::OverwriteChangedFile(file));
    doc.watch.FileSaved(file);
    EXPECT_TRUE(doc.watch.MayWriteOver(file)) << "after a save the file on disk is the document's";
    doc.user.answers = {MessageAnswer::No};  // load theirs
    WriteInPlace(file, "theirs again\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.reloads == 1; }, 5000));
}

TEST(OutsideChangeTest, AFileThatGoesIsReportedOnceAndMarksTheDocumentModified) {
    WatchedDocument doc;
    const std::string& file = doc.file;
    std::filesystem::remove(file);
    ASSERT_TRUE(doc.WaitUntilAsked());
    EXPECT_EQ(doc.asked[0], message::FileWasRemoved(file));
    EXPECT_EQ(std::tuple(doc.marks, doc.modified), std::tuple(1, true));
    doc.temp.Write("other.text", "a neighbour changes\n");
    Settle(doc.watch);
    doc.watch.Check();
    EXPECT_EQ(doc.asked.size(), 1u);
    EXPECT_TRUE(doc.watch.MayWriteOver(file)) << "nothing on disk to write over";
}

std::string Numbered(int n) { return R"(["text",["para",{"level":0},["plain",")" + std::to_string(n) + "\"]]]"; }

struct KeptDocument {
    TempFolder temp;
    std::string folder = (temp / "recovery").string();
    bool modified = true;
    bool answerLater = false;  // the page answers when told, as a busy page does
    int snapshots = 0;
    std::vector<RecoveryKeeper::Document::Take> waiting;
    RecoveryKeeper keeper{{[this] { return modified; },
                           [this](RecoveryKeeper::Document::Take take) {
                               answerLater ? waiting.push_back(std::move(take)) : take(Copy());
                           }},
                          RecoverySlot(folder),
                          {std::chrono::milliseconds(150), std::chrono::milliseconds(400)}};
    RecoveryRecord Copy() {
        ++snapshots;
        return {"/d.text", DocumentFormat::QorvaMarkdown, false, Numbered(snapshots), 1};
    }
    bool FileExists() {
        keeper.Flush();
        return std::filesystem::exists(keeper.file());
    }
};

TEST(RecoveryKeeperTest, KeepsAfterAPauseAndAtLeastEveryLongestWaitWhileChangesGoOn) {
    KeptDocument doc;
    doc.keeper.DocumentChanged();
    EXPECT_FALSE(doc.FileExists()) << "nothing is taken while the user may still be typing";
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.FileExists(); }, 2000));
    EXPECT_EQ(doc.snapshots, 1);
    // Changes at every turn of the loop never pause for 150 ms, yet copies are taken.
    const int before = doc.snapshots;
    EXPECT_TRUE(QTest::qWaitFor([&] { return doc.keeper.DocumentChanged(), doc.snapshots - before >= 2; }, 3000));
    doc.keeper.Flush();
    EXPECT_EQ(DecodeRecoveryRecord(testing::ReadFileBytes(doc.keeper.file()))->model,
              Numbered(doc.snapshots));
}

TEST(RecoveryKeeperTest, SavingLoadingAndDiscardingRemoveTheFile) {
    const std::pair<const char*, void (*)(RecoveryKeeper&)> ways[] = {
        {"save", [](RecoveryKeeper& k) { k.FileSaved("/d.text"); }},
        {"load", [](RecoveryKeeper& k) { k.FileLoaded("/d.text"); }},
        {"discard", [](RecoveryKeeper& k) { k.Discard(); }}};
    for (const auto& [name, way] : ways) {
        KeptDocument doc;
        doc.keeper.KeepNow();
        ASSERT_TRUE(doc.FileExists()) << name;
        doc.keeper.DocumentChanged();
        way(doc.keeper);
        EXPECT_FALSE(doc.FileExists()) << name;
        EXPECT_FALSE(doc.keeper.CopyDue()) << name << ": no timer brings it back";
    }
    // A copy asked for before a save and answered after it is dropped.
    KeptDocument late;
    late.answerLater = true;
    late.keeper.KeepNow();
    late.keeper.FileSaved("/d.text");
    ASSERT_EQ(late.waiting.size(), 1u);
    late.waiting[0](late.Copy());
    EXPECT_FALSE(late.FileExists());
    late.keeper.KeepNow();
    late.waiting[1](late.Copy());
    EXPECT_TRUE(late.FileExists());
    KeptDocument unmodified;
    unmodified.modified = false;
    unmodified.keeper.KeepNow();
    EXPECT_EQ(std::tuple(unmodified.FileExists(), unmodified.snapshots), std::tuple(false, 0));
}

RecoveryRecord Record(std::string path, std::int64_t savedAt,
                      std::string model = R"(["text",["para",{"level":0},["plain","x"]]])") {
    return {std::move(path), DocumentFormat::GitHubMarkdown, false, std::move(model), savedAt};
}

TEST(RecoveryRecordTest, RoundTripsOddPathsAndModelsAndRejectsWhatIsNotARecord) {
    for (const RecoveryRecord& record :
         {Record("", 0), Record("/home/w/\u00e9t\u00e9 \"quoted\".text", 1700000000),
          Record("/a\nb", 5, std::string("[\"text\",[\"para\",{\"level\":0},[\"plain\",\"\\u0000\xf0\x9f\x98\x80\"]]]"))}) {
        EXPECT_EQ(DecodeRecoveryRecord(EncodeRecoveryRecord(record)), record);
    }
    const std::string whole = EncodeRecoveryRecord(Record("/x.text", 9));
    for (const std::string& bad : std::vector<std::string>{
             "", "[]", whole.substr(0, whole.size() / 2), R"({"path":"/x","format":2})", R"({"path":"/x","format":9,"model":"[]"})",
             R"({"path":"/x","format":0,"model":""})", EncodeRecoveryRecord(Record("/x.text", 9, R"(["not","a document"])")),
             EncodeRecoveryRecord(Record("x.text", 9)), EncodeRecoveryRecord(Record("/a/../x.text", 9)),
             R"({"path":"/x","format":0,"model":"[]","welcome":"yes"})", R"({"path":"/x","format":0,"model":"[]","savedAt":"noon"})"})
        EXPECT_FALSE(DecodeRecoveryRecord(bad)) << bad;
}

TEST(RecoveryStoreTest, AWindowsFileIsOfferedOnlyAfterItEndedAndGoesWhenRemovedOrDiscarded) {
    TempFolder temp;
    const std::string folder = (temp / "state/qorva/recovery").string();
    {
        RecoverySlot running(folder);
        running.Write(Record("/running.text", 30));
        EXPECT_EQ(DecodeRecoveryRecord(testing::ReadFileBytes(running.file())), Record("/running.text", 30));
        EXPECT_EQ(std::filesystem::status(running.file()).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        EXPECT_TRUE(ClaimOrphanedRecoveries(folder).empty()) << "its window still runs";
        RecoverySlot saved(folder);
        saved.Write(Record("/saved.text", 10));
        saved.Remove();
        EXPECT_FALSE(std::filesystem::exists(saved.file()));
    }
    {
        RecoverySlot older(folder);
        older.Write(Record("/older.text", 20));
    }
    // Both windows ended without removing their files (as a killed process does).
    std::vector<OrphanedRecovery> orphans = ClaimOrphanedRecoveries(folder);
    std::vector<std::string> paths;
    for (const OrphanedRecovery& orphan : orphans) paths.push_back(orphan.record.path);
    ASSERT_EQ(paths, (std::vector<std::string>{"/older.text", "/running.text"}));
    EXPECT_TRUE(ClaimOrphanedRecoveries(folder).empty()) << "claimed ones are not offered twice";
    EXPECT_FALSE(ClaimRecovery(orphans[0].file));
    DiscardRecovery(orphans[0]);
    EXPECT_FALSE(std::filesystem::exists(orphans[0].file));
    orphans[1].lock.reset();  // kept for the next start
    ASSERT_EQ(ClaimOrphanedRecoveries(folder).size(), 1u);
}

// Files planted in the folder: none hangs the start, is followed elsewhere or
// loads as an empty document; each is renamed aside, and its lock goes.
TEST(RecoveryStoreTest, PlantedAndDamagedFilesAreSetAsideUnfollowedAndTheFolderIsMadePrivate) {
    TempFolder temp;
    EXPECT_TRUE(ClaimOrphanedRecoveries((temp / "absent").string()).empty());
    const std::filesystem::path folder = temp / "recovery";
    std::filesystem::create_directory(folder);
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    const std::string whole = EncodeRecoveryRecord(Record("/x.text", 9));
    const std::pair<const char*, std::string> files[] = {
        {"good.json", whole}, {"cut.json", whole.substr(0, whole.size() / 2)}, {"huge.json", ""}, {"outside-lock.json", whole}};
    for (const auto& [name, bytes] : files) testing::WriteFileBytes(folder / name, bytes);
    // Sparse: large on paper, nothing on disk.
    std::filesystem::resize_file(folder / "huge.json", 100'000'000);
    ASSERT_EQ(mkfifo((folder / "pipe.json").c_str(), 0600), 0);
    std::filesystem::create_symlink(temp.Write("elsewhere.json", whole), folder / "linked.json");
    std::filesystem::create_symlink(temp / "made-outside", folder / "outside-lock.lock");

    std::vector<OrphanedRecovery> orphans = ClaimOrphanedRecoveries(folder.string());
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(temp / "made-outside"));
    EXPECT_EQ(testing::FolderEntries(folder),
              (std::vector<std::string>{"cut.json.damaged", "good.json", "good.lock", "huge.json.damaged",
                                        "linked.json.damaged", "outside-lock.json.damaged", "pipe.json.damaged"}));
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
    orphans.clear();
    // A folder that is a link is neither read nor written.
    std::filesystem::create_symlink(folder, temp / "linked-folder");
    EXPECT_TRUE(ClaimOrphanedRecoveries((temp / "linked-folder").string()).empty());
    EXPECT_ANY_THROW(RecoverySlot((temp / "linked-folder").string()).Write(Record("/x.text", 9)));
}

TEST(RecoveryStoreTest, TheFolderFollowsXdgStateHome) {
    testing::ScopedEnv home("HOME", "/h");
    for (auto [state, folder] : {std::pair{"/s", "/s/qorva/recovery"}, {"", "/h/.local/state/qorva/recovery"}}) {
        testing::ScopedEnv variable("XDG_STATE_HOME", state);
        EXPECT_EQ(DefaultRecoveryFolder(), folder) << state;
    }
}

}  // namespace
}  // namespace qorva
