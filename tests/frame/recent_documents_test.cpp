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

    void Put(const std::string& name, RegValue value) {
        ASSERT_TRUE(store.Write(kRecentDocumentsKey, name, value));
    }
    // The list written to the store and read back into a fresh one.
    RecentDocumentList WrittenAndReadBack() {
        EXPECT_TRUE(list.Write(store));
        RecentDocumentList again;
        EXPECT_TRUE(again.Read(store));
        return again;
    }
};

TEST_F(RecentDocumentsTest, NewestIsLastAndFirstInTheMenuAndAnEmptyListShowsAGreyedPlaceholder) {
    EXPECT_EQ(list.MenuItems("No Recent Files"), (std::vector<RecentMenuItem>{{57616, "No Recent Files", false}}));
    list.Add("/d/a.text");
    list.Add("/d/b.text");
    EXPECT_EQ(list.Entries(), (Entries{"/d/a.text", "/d/b.text"}));
    EXPECT_EQ(list.MenuItems("No Recent Files"),
              (std::vector<RecentMenuItem>{{57616, "&1 /d/b.text", true}, {57617, "&2 /d/a.text", true}}));
}

TEST_F(RecentDocumentsTest, ReaddingAPathInAnotherCaseKeepsOneEntryNowNewest) {
    list.Add("/d/Notes.text");
    list.Add("/d/other.text");
    list.Add("/D/NOTES.TEXT");
    EXPECT_EQ(list.Entries(), (Entries{"/d/other.text", "/D/NOTES.TEXT"}));
    // The comparison covers letters beyond ASCII.
    list.Add("/d/Ärger.text");
    list.Add("/d/ärger.text");
    EXPECT_EQ(list.Entries(), (Entries{"/d/other.text", "/D/NOTES.TEXT", "/d/ärger.text"}));
}

TEST_F(RecentDocumentsTest, ATenthFileDropsTheOldestOfNine) {
    for (int i = 1; i <= 10; ++i) list.Add("/d/" + std::to_string(i) + ".text");
    ASSERT_EQ(list.Entries().size(), 9u);
    EXPECT_EQ(list.Entries().front(), "/d/2.text");
    EXPECT_EQ(list.Entries().back(), "/d/10.text");
}

TEST_F(RecentDocumentsTest, LongPathsAreCutTo259Characters) {
    list.Add("/" + std::string(300, 'a'));
    EXPECT_EQ(list.Entries().back().size(), 259u);
    // A character outside the basic plane straddling the limit is dropped whole.
    std::string path = std::string(258, 'b');
    path += "\xF0\x9F\x98\x80";
    list.Add(path);
    EXPECT_EQ(list.Entries().back(), std::string(258, 'b'));
}

TEST_F(RecentDocumentsTest, IdentifiersCountFromTheNewest) {
    list.Add("/d/old.text");
    list.Add("/d/mid.text");
    list.Add("/d/new.text");
    EXPECT_EQ(list.Get(57616), "/d/new.text");
    EXPECT_EQ(list.Get(57618), "/d/old.text");
    EXPECT_FALSE(list.Get(57619));
    EXPECT_FALSE(list.Get(57615));
    EXPECT_TRUE(list.Remove(57617));
    EXPECT_EQ(list.Entries(), (Entries{"/d/old.text", "/d/new.text"}));
    EXPECT_FALSE(list.Remove(57631));
    EXPECT_EQ(list.Entries().size(), 2u);
}

TEST_F(RecentDocumentsTest, MaximumIsClampedTo2Through16) {
    list.SetMaximum(0);
    EXPECT_EQ(list.Maximum(), 2);
    list.SetMaximum(100);
    EXPECT_EQ(list.Maximum(), 16);
}

TEST_F(RecentDocumentsTest, WriteStoresCountAndPathsNewestFirstAndClearsStaleValues) {
    for (int k = 1; k <= 15; ++k) Put("Document" + std::to_string(k), RegValue::String("/stale"));
    list.Add("/d/a.text");
    list.Add("/d/b.text");
    ASSERT_TRUE(list.Write(store));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "DocumentCount"), RegValue::Dword(9));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "Document1"), RegValue::String("/d/b.text"));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "Document2"), RegValue::String("/d/a.text"));
    for (int k = 3; k <= 16; ++k) EXPECT_FALSE(store.Read(kRecentDocumentsKey, "Document" + std::to_string(k))) << k;
}

TEST_F(RecentDocumentsTest, AListOfSixteenThatShrinksLeavesNoSixteenthValue) {
    list.SetMaximum(16);
    for (int i = 1; i <= 16; ++i) list.Add("/d/" + std::to_string(i));
    ASSERT_TRUE(list.Write(store));
    ASSERT_TRUE(list.Remove(57616 + 15));
    EXPECT_EQ(WrittenAndReadBack().Entries(), list.Entries());
}

TEST_F(RecentDocumentsTest, WriteThenReadRestoresTheSameList) {
    list.Add("/d/one.text");
    list.Add("/home/u/Docs with spaces/two.md");
    list.Add("/d/ünïcode.text");
    RecentDocumentList again = WrittenAndReadBack();
    EXPECT_EQ(again.Entries(), list.Entries());
    EXPECT_EQ(again.Maximum(), 9);
}

TEST_F(RecentDocumentsTest, ReadWithoutCountKeepsTheListAndReportsNoRebuild) {
    list.Add("/d/kept.text");
    Put("Document1", RegValue::String("/d/x.text"));
    EXPECT_FALSE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/kept.text"}));
    Put("DocumentCount", RegValue::String("9"));  // the wrong type counts as missing
    EXPECT_FALSE(list.Read(store));
}

TEST_F(RecentDocumentsTest, StoredCountIsClamped) {
    for (auto [stored, maximum] : {std::pair{1u, 2}, {0u, 2}, {100u, 16}, {0xFFFFFFFFu, 16}}) {
        Put("DocumentCount", RegValue::Dword(stored));
        ASSERT_TRUE(list.Read(store));
        EXPECT_EQ(list.Maximum(), maximum) << stored;
    }
}

TEST_F(RecentDocumentsTest, ReadSkipsGapsWrongTypesAndOverlongPaths) {
    Put("DocumentCount", RegValue::Dword(5));
    Put("Document1", RegValue::String("/d/newest"));
    Put("Document2", RegValue::Dword(4));
    Put("Document3", RegValue::String("/d/" + std::string(300, 'x')));
    Put("Document5", RegValue::String("/d/oldest"));
    Put("Document6", RegValue::String("/d/beyond-the-maximum"));
    ASSERT_TRUE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/oldest", "/d/newest"}));
}

TEST_F(RecentDocumentsTest, DamagedSettingsFileGivesAnEmptyList) {
    testing::WriteFileBytes(store.path(), "{not json");
    EXPECT_FALSE(list.Read(store));
    EXPECT_TRUE(list.Entries().empty());
}

}  // namespace
}  // namespace qorva
