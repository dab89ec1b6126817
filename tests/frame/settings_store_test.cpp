#include "src/win/settings/settings.h"
#include "src/win/settings/settings_store.h"
#include "tests/frame/reg_value_printer.h"
#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qorva {
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
    void Put(const char* name, RegValue value) { ASSERT_TRUE(store.Write(kKey, name, value)); }
    std::vector<std::string> FilesBesideIt() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(SettingsStoreTest, TypedValuesRoundTripInTheRegistryLayoutAndEachWriteTouchesOnlyItsValue) {
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_FALSE(store.KeyExists(kKey));
    EXPECT_FALSE(std::filesystem::exists(file)) << "reading does not create the file";
    const RegValue expand{RegType::ExpandString, "$HOME/x", 0};
    ASSERT_TRUE(store.Write(kKey, "Theme", RegValue::String("Dark")));
    ASSERT_TRUE(store.Write(kKey, "SaveUnwrapped", RegValue::Dword(0xFFFFFFFFu)));
    ASSERT_TRUE(store.Write(kKey, "Path", expand));
    ASSERT_TRUE(store.Write("Software\\Qorva\\Recent Document List", "DocumentCount", RegValue::Dword(9)));
    ASSERT_TRUE(store.Write(kKey, "Theme", RegValue::String("Light")));
    EXPECT_EQ(store.Read(kKey, "Theme"), RegValue::String("Light"));
    EXPECT_EQ(store.Read(kKey, "SaveUnwrapped"), RegValue::Dword(0xFFFFFFFFu));
    EXPECT_EQ(store.Read(kKey, "Path"), expand);

    nlohmann::json root = nlohmann::json::parse(ReadFileBytes(file));
    EXPECT_EQ(root["Software\\Qorva"]["Theme"], (nlohmann::json{{"type", "REG_SZ"}, {"data", "Light"}}));
    EXPECT_EQ(root["Software\\Qorva\\Recent Document List"]["DocumentCount"],
              (nlohmann::json{{"type", "REG_DWORD"}, {"data", 9}}));
    // The file holds the user's recent paths: a new one is private, and no temporary file stays.
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(FilesBesideIt(), (std::vector<std::string>{"settings.json", "settings.json.lock"}));

    ASSERT_TRUE(store.Delete(kKey, "Theme"));
    ASSERT_TRUE(store.Apply(kKey, {{"New", RegValue::Dword(3)}, {"Path", std::nullopt}}));
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_FALSE(store.Read(kKey, "Path"));
    EXPECT_EQ(store.Read(kKey, "New"), RegValue::Dword(3));
    EXPECT_EQ(store.Read(kKey, "SaveUnwrapped"), RegValue::Dword(0xFFFFFFFFu));
}

TEST_F(SettingsStoreTest, ValuesOfUnknownShapeReadAsMissingWithoutHurtingOthers) {
    Seed(R"({"Software\\Qorva": {
        "Good": {"type": "REG_SZ", "data": "yes"},
        "Binary": {"type": "REG_BINARY", "data": "00ff"},
        "Negative": {"type": "REG_DWORD", "data": -1},
        "TooBig": {"type": "REG_DWORD", "data": 4294967296},
        "Mismatch": {"type": "REG_SZ", "data": 5},
        "Bare": "text"}})");
    for (const char* name : {"Binary", "Negative", "TooBig", "Mismatch", "Bare"}) {
        EXPECT_FALSE(store.Read(kKey, name)) << name;
    }
    ASSERT_TRUE(store.Write(kKey, "Other", RegValue::String("o")));
    EXPECT_EQ(store.Read(kKey, "Good"), RegValue::String("yes"));
}

TEST_F(SettingsStoreTest, ADamagedFileGivesNothingIsLeftAloneByReadingAndSetAsideByWriting) {
    Seed("[1, 2, 3]");  // JSON, but not an object
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_FALSE(store.KeyExists(kKey));
    const std::string damaged = "{\"Software\\\\Qorva\": {\"Theme\": {\"type\": \"REG_SZ\", \"da\xff\x00garbage";
    Seed(damaged);
    EXPECT_FALSE(store.Read(kKey, "Theme"));
    EXPECT_EQ(ReadFileBytes(file), damaged);

    ASSERT_TRUE(store.Write(kKey, "Theme", RegValue::String("Dark")));
    EXPECT_EQ(store.Read(kKey, "Theme"), RegValue::String("Dark"));
    std::vector<std::string> names = FilesBesideIt();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(names[1].starts_with("settings.json.damaged-")) << names[1];
    EXPECT_EQ(ReadFileBytes(file.parent_path() / names[1]), damaged);
}

TEST_F(SettingsStoreTest, AFailedWriteReportsFalseAndLeavesWhatIsThere) {
    WriteFileBytes(folder / "blocked", "not a folder");
    SettingsStore blocked(folder / "blocked" / "settings.json");
    EXPECT_FALSE(blocked.Write(kKey, "Theme", RegValue::String("x")));
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
            if (!own.Write(kKey, name, RegValue::Dword(i))) _exit(1);
            if (own.Read(kKey, name) != RegValue::Dword(i)) _exit(2);
        }
        _exit(0);
    };
    pid_t first = fork();
    if (first == 0) writer("First");
    pid_t second = fork();
    if (second == 0) writer("Second");
    for (pid_t child : {first, second}) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a write failed, 2: a value was lost";
    }
    EXPECT_EQ(store.Read(kKey, "First"), RegValue::Dword(kWrites));
    EXPECT_EQ(store.Read(kKey, "Second"), RegValue::Dword(kWrites));
}

TEST_F(SettingsStoreTest, MissingValuesGiveDefaultsAndWrittenOnesComeBackUnderSoftwareQorva) {
    EXPECT_EQ(DefaultFormatSetting(store), "");
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    EXPECT_EQ(ThemeSetting(store), "Default");
    EXPECT_EQ(ZoomSetting(store), "1.0");
    ASSERT_TRUE(WriteThemeSetting("Dark", store));
    ASSERT_TRUE(WriteZoomSetting("1.095445", store));
    EXPECT_EQ(ThemeSetting(store), "Dark");
    EXPECT_EQ(store.Read("Software\\Qorva", "Zoom"), RegValue::String("1.095445"));
    Put("DefaultFormat", RegValue::String("GitHub"));
    EXPECT_EQ(DefaultFormatSetting(store), "GitHub") << "returned as stored for the caller to match";
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeGiveTheDefault) {
    Put("SaveUnwrapped", RegValue::Dword(7));
    EXPECT_TRUE(SaveUnwrappedSetting(store));
    Put("SaveUnwrapped", RegValue::Dword(0));
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    Put("SaveUnwrapped", RegValue::String("1"));
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    EXPECT_TRUE(ReadSettingBool("SaveUnwrapped", true, store)) << "the caller's default applies";
    Put("Theme", RegValue{RegType::ExpandString, "Night", 0});
    EXPECT_EQ(ThemeSetting(store), "Night");
    Put("Theme", RegValue::Dword(1));
    EXPECT_EQ(ThemeSetting(store), "Default");
}

TEST_F(SettingsStoreTest, StringsLongerThan1024Utf16UnitsGiveTheDefault) {
    Put("Theme", RegValue::String(std::string(1024, 'x')));
    EXPECT_EQ(ThemeSetting(store), std::string(1024, 'x'));
    Put("Theme", RegValue::String(std::string(1025, 'x')));
    EXPECT_EQ(ThemeSetting(store), "Default");
    std::string wide;  // 513 emoji: 1026 units as the registry counts them
    for (int i = 0; i < 513; ++i) wide += "\xF0\x9F\x98\x80";
    Put("Theme", RegValue::String(wide));
    EXPECT_EQ(ThemeSetting(store), "Default");
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("\xE2\x82\xAC"), 1u);
    EXPECT_EQ(Utf16Length("\xFF\xFE"), 2u);  // odd bytes count one each
}

TEST(CountDisplay, InfoTextsMapExactlyAndChoosingTheShownCountSwitchesItOff) {
    EXPECT_EQ(CountDisplayFromInfo("words"), CountDisplay::Words);
    EXPECT_EQ(CountDisplayFromInfo("characters"), CountDisplay::Characters);
    EXPECT_EQ(CountDisplayFromInfo("Words"), CountDisplay::None);
    EXPECT_EQ(CountDisplayFromInfo(""), CountDisplay::None);
    EXPECT_EQ(InfoForCountCommand(CountDisplay::None, CountDisplay::Words), "words");
    EXPECT_EQ(InfoForCountCommand(CountDisplay::Words, CountDisplay::Words), "");
    EXPECT_EQ(InfoForCountCommand(CountDisplay::Words, CountDisplay::Characters), "characters");
}

}  // namespace
}  // namespace qorva
