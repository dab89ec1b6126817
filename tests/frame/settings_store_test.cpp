#include "src/win/menus/command_ids.h"
#include "src/win/menus/recent_documents.h"
#include "src/win/settings/settings.h"
#include "src/win/settings/settings_store.h"
#include "tests/frame/temp_folder.h"
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

namespace qorva {

// Readable failure messages for settings values.
inline void PrintTo(const SettingValue& value, std::ostream* out) {
    if (value.isNumber()) *out << "number " << value.number;
    else *out << '"' << value.text << '"';
}

namespace {

using testing::ReadFileBytes;
using testing::WriteFileBytes;

constexpr std::string_view kKey = kSettingsKey;

class SettingsStoreTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    std::filesystem::path file = folder / "qorva/settings.json";
    SettingsStore store{file};

    void Seed(const std::string& bytes) {
        std::filesystem::create_directories(file.parent_path());
        WriteFileBytes(file, bytes);
    }
    void Put(const char* name, SettingValue value) { ASSERT_TRUE(store.Write(kKey, name, value)); }
    std::vector<std::string> FilesBesideIt() { return testing::FolderEntries(file.parent_path()); }
};

TEST_F(SettingsStoreTest, TypedValuesRoundTripInTheStoredLayoutAndEachWriteTouchesOnlyItsValue) {
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_FALSE(store.KeyExists(kKey));
    EXPECT_FALSE(std::filesystem::exists(file)) << "reading does not create the file";
    Put("Theme", SettingValue::OfText("Dark"));
    Put("SaveUnwrapped", SettingValue::OfNumber(0xFFFFFFFFu));
    Put("Path", SettingValue::OfText("$HOME/x"));
    ASSERT_TRUE(store.Write("Software\\Qorva\\Recent Document List", "DocumentCount", SettingValue::OfNumber(9)));
    Put("Theme", SettingValue::OfText("Light"));
    EXPECT_EQ(store.Read(kKey, "Theme"), SettingValue::OfText("Light"));
    EXPECT_EQ(store.Read(kKey, "SaveUnwrapped"), SettingValue::OfNumber(0xFFFFFFFFu));
    EXPECT_EQ(store.Read(kKey, "Path"), SettingValue::OfText("$HOME/x"));
    nlohmann::json root = nlohmann::json::parse(ReadFileBytes(file));
    EXPECT_EQ(root["Software\\Qorva"]["Theme"], (nlohmann::json{{"type", "REG_SZ"}, {"data", "Light"}}));
    EXPECT_EQ(root["Software\\Qorva\\Recent Document List"]["DocumentCount"],
              (nlohmann::json{{"type", "REG_DWORD"}, {"data", 9}}));
    // The file holds the user's recent paths: a new one is private, and no temporary file stays.
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(FilesBesideIt(), (std::vector<std::string>{"settings.json", "settings.json.lock"}));
    ASSERT_TRUE(store.Delete(kKey, "Theme"));
    ASSERT_TRUE(store.Apply(kKey, {{"New", SettingValue::OfNumber(3)}, {"Path", std::nullopt}}));
    for (const char* gone : {"Theme", "Path"}) EXPECT_FALSE(store.Read(kKey, gone)) << gone;
    EXPECT_EQ(store.Read(kKey, "New"), SettingValue::OfNumber(3));
    EXPECT_EQ(store.Read(kKey, "SaveUnwrapped"), SettingValue::OfNumber(0xFFFFFFFFu));
}

// Texts stored as "REG_EXPAND_SZ" read as texts and keep their form when others are written.
TEST_F(SettingsStoreTest, ValuesOfUnknownShapeReadAsMissingWithoutHurtingOthers) {
    Seed(R"({"Software\\Qorva": {
        "Good": {"type": "REG_SZ", "data": "yes"},
        "Expand": {"type": "REG_EXPAND_SZ", "data": "$HOME/x"},
        "Binary": {"type": "REG_BINARY", "data": "00ff"},
        "Negative": {"type": "REG_DWORD", "data": -1},
        "TooBig": {"type": "REG_DWORD", "data": 4294967296},
        "Mismatch": {"type": "REG_SZ", "data": 5},
        "Bare": "text"}})");
    for (const char* name : {"Binary", "Negative", "TooBig", "Mismatch", "Bare"}) EXPECT_FALSE(store.Read(kKey, name)) << name;
    Put("Other", SettingValue::OfText("o"));
    EXPECT_EQ(store.Read(kKey, "Good"), SettingValue::OfText("yes"));
    EXPECT_EQ(store.Read(kKey, "Expand"), SettingValue::OfText("$HOME/x"));
    EXPECT_EQ(nlohmann::json::parse(ReadFileBytes(file))["Software\\Qorva"]["Expand"]["type"], "REG_EXPAND_SZ");
}

TEST_F(SettingsStoreTest, ADamagedFileGivesNothingIsLeftAloneByReadingAndSetAsideByWriting) {
    Seed("[1, 2, 3]");  // JSON, but not an object
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_FALSE(store.KeyExists(kKey));
    const std::string damaged = "{\"Software\\\\Qorva\": {\"Theme\": {\"type\": \"REG_SZ\", \"da\xff\x00garbage";
    Seed(damaged);
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_EQ(ReadFileBytes(file), damaged);
    Put("Theme", SettingValue::OfText("Dark"));
    EXPECT_EQ(store.Read(kKey, "Theme"), SettingValue::OfText("Dark"));
    std::vector<std::string> names = FilesBesideIt();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(names[1].starts_with("settings.json.damaged-")) << names[1];
    EXPECT_EQ(ReadFileBytes(file.parent_path() / names[1]), damaged);
}

TEST_F(SettingsStoreTest, AFailedWriteReportsFalseAndLeavesWhatIsThere) {
    WriteFileBytes(folder / "blocked", "not a folder");
    SettingsStore blocked(folder / "blocked" / "settings.json");
    EXPECT_FALSE(blocked.Write(kKey, "Theme", SettingValue::OfText("x")));
    EXPECT_EQ(ReadFileBytes(folder / "blocked"), "not a folder");
}

TEST(SettingsStorePath, FollowsXdgConfigHomeThenHome) {
    testing::ScopedEnv config("XDG_CONFIG_HOME", "/tmp/qorva-config-test");
    EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/qorva-config-test/qorva/settings.json");
    testing::ScopedEnv relative("XDG_CONFIG_HOME", "relative/ignored");  // the XDG rules ignore relative paths
    testing::ScopedEnv home("HOME", "/tmp/qorva-home-test");
    EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/qorva-home-test/.config/qorva/settings.json");
}

// Two windows share the file; each checks its own latest value after every write.
TEST_F(SettingsStoreTest, TwoProcessesWritingAThousandValuesEachLoseNothing) {
    constexpr std::uint32_t kWrites = 1000;
    auto writer = [&](const std::string& name) {
        SettingsStore own(file);
        for (std::uint32_t i = 1; i <= kWrites; ++i) {
            if (!own.Write(kKey, name, SettingValue::OfNumber(i))) _exit(1);
            if (own.Read(kKey, name) != SettingValue::OfNumber(i)) _exit(2);
        }
        _exit(0);
    };
    std::vector<pid_t> children;
    for (const char* name : {"First", "Second"})
        if (const pid_t child = fork(); child == 0) writer(name); else children.push_back(child);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "1: a write failed, 2: a value was lost: " << status;
    }
    for (const char* name : {"First", "Second"}) EXPECT_EQ(store.Read(kKey, name), SettingValue::OfNumber(kWrites)) << name;
}

TEST_F(SettingsStoreTest, SettingsAreTheirDefaultWhenMissingOfTheWrongTypeOrLongerThan1024Utf16Units) {
    EXPECT_EQ(std::tuple(DefaultFormatSetting(store), SaveUnwrappedSetting(store), ThemeSetting(store), ZoomSetting(store)),
              std::tuple("", false, "Default", "1.0"));
    std::string wide;  // 513 emoji: 1026 units as the registry counts them
    for (int i = 0; i < 513; ++i) wide += "\xF0\x9F\x98\x80";
    const std::string longest(1024, 'x');
    for (auto [value, theme] : {std::pair{SettingValue::OfText("Night"), std::string("Night")},
                                {SettingValue::OfNumber(1), "Default"}, {SettingValue::OfText(longest), longest},
                                {SettingValue::OfText(longest + "x"), "Default"}, {SettingValue::OfText(wide), "Default"}}) {
        Put("Theme", value);
        EXPECT_EQ(ThemeSetting(store), theme) << ::testing::PrintToString(value);
    }
    for (auto [value, expected] : {std::pair{SettingValue::OfNumber(7), true}, {SettingValue::OfNumber(0), false}, {SettingValue::OfText("1"), false}}) {
        Put("SaveUnwrapped", value);
        EXPECT_EQ(SaveUnwrappedSetting(store), expected) << ::testing::PrintToString(value);
    }
    EXPECT_TRUE(ReadSettingBool("SaveUnwrapped", true, store)) << "the caller's default applies";
    ASSERT_TRUE(WriteZoomSetting("1.095445", store));
    EXPECT_EQ(store.Read("Software\\Qorva", "Zoom"), SettingValue::OfText("1.095445"));
}

TEST_F(SettingsStoreTest, WhatPreferencesWriteIsReadBackUnderTheSameNameAndHandEditedDelaysStayInRange) {
    ASSERT_TRUE(WriteDefaultFormatSetting("github", store) && WriteMarkdownFormatSetting("github", store) &&
                WriteSaveUnwrappedSetting(true, store));
    EXPECT_EQ(std::tuple(DefaultFormatSetting(store), MarkdownFormatSetting(store), SaveUnwrappedSetting(store),
                         AutoSaveSetting(store), AutoSaveDelaySetting(store)),
              std::tuple("github", "github", true, false, 5));
    for (auto [delay, stored] : {std::pair{0, 1u}, {7, 7u}, {9999, 600u}}) {
        ASSERT_TRUE(WriteAutoSaveSettings(true, delay, store));
        EXPECT_EQ(store.Read(kKey, "AutoSaveDelay"), SettingValue::OfNumber(stored));
        EXPECT_EQ(AutoSaveDelaySetting(store), static_cast<int>(stored));
    }
    EXPECT_TRUE(AutoSaveSetting(store));
    for (auto [value, read] : {std::pair{SettingValue::OfNumber(0), 5}, {SettingValue::OfNumber(100000), 600}, {SettingValue::OfText("9"), 5}}) {
        Put("AutoSaveDelay", value);
        EXPECT_EQ(AutoSaveDelaySetting(store), read) << ::testing::PrintToString(value);
    }
}

using Entries = std::vector<std::string>;

class RecentDocumentsTest : public SettingsStoreTest {
protected:
    RecentDocumentList list;

    void Put(const std::string& name, SettingValue value) { ASSERT_TRUE(store.Write(kRecentDocumentsKey, name, value)); }
};

TEST_F(RecentDocumentsTest, APathReaddedInAnotherCaseIsOneEntryNowNewestAndCommandsCountFromTheNewest) {
    for (const char* path : {"/d/Notes.text", "/d/other.text", "/D/NOTES.TEXT", "/d/Ärger.text", "/d/ärger.text"})
        list.Add(path);
    EXPECT_EQ(list.Entries(), (Entries{"/d/other.text", "/D/NOTES.TEXT", "/d/ärger.text"}));  // oldest first
    EXPECT_EQ(list.Get(command_id::RecentFirst), "/d/ärger.text");
    EXPECT_FALSE(list.Get(command_id::RecentFirst - 1));
    EXPECT_TRUE(list.Remove(command_id::RecentFirst + 1));
    EXPECT_EQ(list.Entries(), (Entries{"/d/other.text", "/d/ärger.text"}));
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
        Put("DocumentCount", SettingValue::OfNumber(stored));
        ASSERT_TRUE(list.Read(store));
        EXPECT_EQ(list.Maximum(), maximum) << stored;
    }
}

// Each entry's format lies beside it; an entry stored without one (by an older
// program, or never opened by this one) has none.
TEST_F(RecentDocumentsTest, WriteStoresNewestFirstWithFormatsClearsStaleValuesAndReadRestoresTheList) {
    for (int k = 1; k <= 16; ++k) Put("Document" + std::to_string(k), SettingValue::OfText("/stale"));
    Put("Format5", SettingValue::OfText("mmd"));
    list.Add("/d/old.text");
    list.Add("/home/u/Docs with spaces/two.md", "github");
    list.Add("/d/ünïcode.text", "pandoc");
    list.SetFormat("/D/OLD.TEXT", "text");  // in place: the order stays
    ASSERT_TRUE(list.Write(store));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "DocumentCount"), SettingValue::OfNumber(9));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "Document1"), SettingValue::OfText("/d/ünïcode.text"));
    EXPECT_EQ(store.Read(kRecentDocumentsKey, "Format2"), SettingValue::OfText("github"));
    for (int k = 4; k <= 16; ++k) EXPECT_FALSE(store.Read(kRecentDocumentsKey, "Document" + std::to_string(k))) << k;
    EXPECT_FALSE(store.Read(kRecentDocumentsKey, "Format5"));
    store.Delete(kRecentDocumentsKey, "Format2");
    RecentDocumentList again;
    ASSERT_TRUE(again.Read(store));
    EXPECT_EQ(again.Entries(), list.Entries());
    using Format = std::optional<std::string>;
    EXPECT_EQ((std::vector{again.FormatOf("/d/ünïcode.text"), again.FormatOf("/home/u/Docs with spaces/two.md"),
                           again.FormatOf("/d/old.text"), again.FormatOf("/d/none.text")}),
              (std::vector<Format>{"pandoc", std::nullopt, "text", std::nullopt}));
    EXPECT_EQ(again.Maximum(), 9);
}

TEST_F(RecentDocumentsTest, ReadWithoutACountKeepsTheListAndSkipsGapsWrongTypesAndOverlongPaths) {
    list.Add("/d/kept.text");
    Put("Document1", SettingValue::OfText("/d/newest"));
    EXPECT_FALSE(list.Read(store));
    Put("DocumentCount", SettingValue::OfText("5"));  // the wrong type counts as missing
    EXPECT_FALSE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/kept.text"}));
    for (auto [name, value] : {std::pair{"DocumentCount", SettingValue::OfNumber(5)}, {"Document2", SettingValue::OfNumber(4)},
                               {"Document3", SettingValue::OfText("/d/" + std::string(300, 'x'))},
                               {"Document5", SettingValue::OfText("/d/oldest")},
                               {"Document6", SettingValue::OfText("/d/beyond-the-maximum")}})
        Put(name, value);
    ASSERT_TRUE(list.Read(store));
    EXPECT_EQ(list.Entries(), (Entries{"/d/oldest", "/d/newest"}));
    testing::WriteFileBytes(store.path(), "{not json");
    EXPECT_FALSE(list.Read(store)) << "a damaged settings file";
}

}  // namespace
}  // namespace qorva
