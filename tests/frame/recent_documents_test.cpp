#include "src/win/recent_documents.h"
#include "tests/frame/reg_value_printer.h"
#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

using Entries = std::vector<std::string>;

class RecentDocumentsTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    SettingsStore store{folder / "settings.json"};
    RecentDocumentList list;

    void Put(const std::string& name, RegValue value) { ASSERT_TRUE(store.Write(kRecentDocumentsKey, name, value)); }
};

TEST_F(RecentDocumentsTest, TheFirstCommandGivesTheNewestAndCommandsOutsideTheListNothing) {
    list.Add("/d/a.text");
    list.Add("/d/b.text");
    EXPECT_EQ(list.Entries(), (Entries{"/d/a.text", "/d/b.text"}));
    EXPECT_EQ(list.Get(57616), "/d/b.text");
    EXPECT_FALSE(list.Get(57618));
    EXPECT_FALSE(list.Get(57615));
    EXPECT_FALSE(list.Remove(57631));
    EXPECT_TRUE(list.Remove(57617));
    EXPECT_EQ(list.Entries(), (Entries{"/d/b.text"}));
}

TEST_F(RecentDocumentsTest, ReaddingAPathInAnotherCaseKeepsOneEntryNowNewest) {
    for (const char* path : {"/d/Notes.text", "/d/other.text", "/D/NOTES.TEXT", "/d/Ärger.text", "/d/ärger.text"})
        list.Add(path);
    EXPECT_EQ(list.Entries(), (Entries{"/d/other.text", "/D/NOTES.TEXT", "/d/ärger.text"}));
}

TEST_F(RecentDocumentsTest, ATenthFileDropsTheOldestAndLongPathsAreCutTo259Characters) {
    for (int i = 1; i <= 10; ++i) list.Add("/d/" + std::to_string(i) + ".text");
    ASSERT_EQ(list.Entries().size(), 9u);
    EXPECT_EQ(list.Entries().front(), "/d/2.text");
    list.Add("/" + std::string(300, 'a'));
    EXPECT_EQ(list.Entries().back().size(), 259u);
    // A character outside the basic plane straddling the limit is dropped whole.
    list.Add(std::string(258, 'b') + "\xF0\x9F\x98\x80");
    EXPECT_EQ(list.Entries().back(), std::string(258, 'b'));
}

TEST_F(RecentDocumentsTest, TheMaximumSetOrStoredIsClampedTo2Through16) {
    for (auto [stored, maximum] : {std::pair{1u, 2}, {0u, 2}, {100u, 16}, {0xFFFFFFFFu, 16}}) {
        list.SetMaximum(static_cast<int>(std::min(stored, 100u)));
        EXPECT_EQ(list.Maximum(), maximum) << stored;
        Put("DocumentCount", RegValue::Dword(stored));
        ASSERT_TRUE(list.Read(store));
        EXPECT_EQ(list.Maximum(), maximum) << stored;
    }
}

TEST_F(RecentDocumentsTest, WriteStoresNewestFirstClearsStaleValuesAndReadRestoresTheList) {
    for (int k = 1; k <= 16; ++k) Put("Document" + std::to_string(k), RegValue::String("/stale"));
    list.Add("/home/u/Docs with spaces/two.md");
    list.Add("/d/ünïcode.text");
    ASSERT_TRUE(list.Write(store));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "DocumentCount"), RegValue::Dword(9));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "Document1"), RegValue::String("/d/ünïcode.text"));
    for (int k = 3; k <= 16; ++k) EXPECT_FALSE(store.Read(kRecentDocumentsKey, "Document" + std::to_string(k))) << k;
    RecentDocumentList again;
    ASSERT_TRUE(again.Read(store));
    EXPECT_EQ(again.Entries(), list.Entries());
    EXPECT_EQ(again.Maximum(), 9);
}

TEST_F(RecentDocumentsTest, ReadWithoutACountKeepsTheListAndSkipsGapsWrongTypesAndOverlongPaths) {
    list.Add("/d/kept.text");
    Put("Document1", RegValue::String("/d/newest"));
    EXPECT_FALSE(list.Read(store));
    Put("DocumentCount", RegValue::String("5"));  // the wrong type counts as missing
    EXPECT_FALSE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/kept.text"}));
    Put("DocumentCount", RegValue::Dword(5));
    Put("Document2", RegValue::Dword(4));
    Put("Document3", RegValue::String("/d/" + std::string(300, 'x')));
    Put("Document5", RegValue::String("/d/oldest"));
    Put("Document6", RegValue::String("/d/beyond-the-maximum"));
    ASSERT_TRUE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/oldest", "/d/newest"}));
    testing::WriteFileBytes(store.path(), "{not json");
    EXPECT_FALSE(list.Read(store)) << "a damaged settings file";
}

}  // namespace
}  // namespace qorva
