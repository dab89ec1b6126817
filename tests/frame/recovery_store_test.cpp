#include "src/win/document/recovery_store.h"

#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qorva {
namespace {

using testing::TempFolder;

RecoveryRecord Record(std::string path, std::int64_t savedAt, std::string model = R"(["text",["para",{},["plain","x"]]])") {
    return {std::move(path), DocumentFormat::GitHubMarkdown, false, std::move(model), savedAt};
}

TEST(RecoveryRecordTest, RoundTripsOddPathsAndModelsAndRejectsWhatIsNotARecord) {
    for (const RecoveryRecord& record :
         {Record("", 0), Record("/home/w/\u00e9t\u00e9 \"quoted\".text", 1700000000),
          Record("/a\nb", 5, std::string("[\"text\",\"\\u0000\xf0\x9f\x98\x80\"]"))}) {
        EXPECT_EQ(DecodeRecoveryRecord(EncodeRecoveryRecord(record)), record);
    }
    const std::string whole = EncodeRecoveryRecord(Record("/x.text", 9));
    for (const std::string& bad :
         {std::string(), std::string("[]"), whole.substr(0, whole.size() / 2), std::string(R"({"path":"/x","format":2})"),
          std::string(R"({"path":"/x","format":9,"model":"[]"})"), std::string(R"({"path":1,"format":0,"model":"[]"})"),
          std::string(R"({"path":"/x","format":0,"model":""})"),
          std::string(R"({"path":"/x","format":0,"model":"[]","welcome":"yes"})"),
          std::string(R"({"path":"/x","format":0,"model":"[]","savedAt":"noon"})")}) {
        EXPECT_FALSE(DecodeRecoveryRecord(bad)) << bad;
    }
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
    ASSERT_EQ(orphans.size(), 2u);
    EXPECT_EQ(orphans[0].record.path, "/older.text");
    EXPECT_EQ(orphans[1].record.path, "/running.text");
    EXPECT_TRUE(ClaimOrphanedRecoveries(folder).empty()) << "claimed ones are not offered twice";
    EXPECT_FALSE(ClaimRecovery(orphans[0].file));

    DiscardRecovery(orphans[0]);
    EXPECT_FALSE(std::filesystem::exists(orphans[0].file));
    orphans[1].lock.reset();  // kept for the next start
    ASSERT_EQ(ClaimOrphanedRecoveries(folder).size(), 1u);
}

TEST(RecoveryStoreTest, DamagedFilesAreLeftAloneAndAMissingFolderHoldsNothing) {
    TempFolder temp;
    EXPECT_TRUE(ClaimOrphanedRecoveries((temp / "absent").string()).empty());
    const std::string damaged = temp.Write("1-2-3.json", "{\"path\":\"/x.te");
    EXPECT_TRUE(ClaimOrphanedRecoveries(temp.path().string()).empty());
    EXPECT_TRUE(std::filesystem::exists(damaged));
}

TEST(RecoveryStoreTest, TheFolderFollowsXdgStateHome) {
    {
        testing::ScopedEnv state("XDG_STATE_HOME", "/s");
        EXPECT_EQ(DefaultRecoveryFolder(), "/s/qorva/recovery");
    }
    testing::ScopedEnv state("XDG_STATE_HOME", "");
    testing::ScopedEnv home("HOME", "/h");
    EXPECT_EQ(DefaultRecoveryFolder(), "/h/.local/state/qorva/recovery");
}

}  // namespace
}  // namespace qorva
