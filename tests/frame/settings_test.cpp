#include "src/win/settings.h"
#include "tests/frame/reg_value_printer.h"
#include "tests/frame/temp_folder.h"

#include <gtest/gtest.h>

namespace qorva {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    SettingsStore store{folder / "settings.json"};

    void Put(const char* name, RegValue value) { ASSERT_TRUE(store.Write(kSettingsKey, name, value)); }
};

TEST_F(SettingsTest, EveryValueHasItsDefaultWhenMissing) {
    EXPECT_EQ(DefaultFormatSetting(store), "");
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    EXPECT_EQ(ThemeSetting(store), "Default");
    EXPECT_EQ(InfoSetting(store), "");
    EXPECT_EQ(ZoomSetting(store), "1.0");
    EXPECT_EQ(LastRunVersionSetting(store), "");
}

TEST_F(SettingsTest, WrittenValuesAreReadBackUnderSoftwareQorva) {
    ASSERT_TRUE(WriteThemeSetting("Dark", store));
    ASSERT_TRUE(WriteInfoSetting("characters", store));
    ASSERT_TRUE(WriteZoomSetting("1.095445", store));
    ASSERT_TRUE(WriteLastRunVersionSetting("0.1.0", store));
    EXPECT_EQ(ThemeSetting(store), "Dark");
    EXPECT_EQ(InfoSetting(store), "characters");
    EXPECT_EQ(ZoomSetting(store), "1.095445");
    EXPECT_EQ(LastRunVersionSetting(store), "0.1.0");
    EXPECT_EQ(store.Read("Software\\Qorva", "Zoom"), RegValue::String("1.095445"));
}

TEST_F(SettingsTest, SaveUnwrappedIsANumberReadAsTruthAndAStringIsIgnored) {
    Put("SaveUnwrapped", RegValue::Dword(7));
    EXPECT_TRUE(SaveUnwrappedSetting(store));
    Put("SaveUnwrapped", RegValue::Dword(0));
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    Put("SaveUnwrapped", RegValue::String("1"));
    EXPECT_FALSE(SaveUnwrappedSetting(store));
    EXPECT_TRUE(ReadSettingBool("SaveUnwrapped", true, store)) << "the caller's default applies";
}

TEST_F(SettingsTest, ExpandableStringsReadLikeStringsANumberGivesTheDefault) {
    Put("Theme", RegValue{RegType::ExpandString, "Night", 0});
    EXPECT_EQ(ThemeSetting(store), "Night");
    Put("Theme", RegValue::Dword(1));
    EXPECT_EQ(ThemeSetting(store), "Default");
}

TEST_F(SettingsTest, StringsLongerThan1024CharactersGiveTheDefault) {
    Put("Theme", RegValue::String(std::string(1024, 'x')));
    EXPECT_EQ(ThemeSetting(store), std::string(1024, 'x'));
    Put("Theme", RegValue::String(std::string(1025, 'x')));
    EXPECT_EQ(ThemeSetting(store), "Default");
    // Characters outside the basic plane take two UTF-16 units, as the registry counts them.
    std::string wide;
    for (int i = 0; i < 513; ++i) wide += "\xF0\x9F\x98\x80";
    Put("Theme", RegValue::String(wide));
    EXPECT_EQ(ThemeSetting(store), "Default");
}

TEST_F(SettingsTest, DefaultFormatIsReturnedAsStoredForTheCallerToMatch) {
    Put("DefaultFormat", RegValue::String("GitHub"));
    EXPECT_EQ(DefaultFormatSetting(store), "GitHub");
}

TEST(Utf16Length, CountsCodeUnits) {
    EXPECT_EQ(Utf16Length(""), 0u);
    EXPECT_EQ(Utf16Length("abc"), 3u);
    EXPECT_EQ(Utf16Length("\xC3\xA9"), 1u);          // é
    EXPECT_EQ(Utf16Length("\xE2\x82\xAC"), 1u);      // €
    EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);  // an emoji: a surrogate pair
    EXPECT_EQ(Utf16Length("\xFF\xFE"), 2u);          // odd bytes count one each
}

TEST(CountDisplay, InfoTextsMapExactly) {
    EXPECT_EQ(CountDisplayFromInfo("words"), CountDisplay::Words);
    EXPECT_EQ(CountDisplayFromInfo("characters"), CountDisplay::Characters);
    EXPECT_EQ(CountDisplayFromInfo("Words"), CountDisplay::None);
    EXPECT_EQ(CountDisplayFromInfo(""), CountDisplay::None);
    EXPECT_EQ(CountDisplayFromInfo("chars"), CountDisplay::None);
}

TEST(CountDisplay, ChoosingTheShownCountSwitchesItOff) {
    EXPECT_EQ(InfoForCountCommand(CountDisplay::None, CountDisplay::Words), "words");
    EXPECT_EQ(InfoForCountCommand(CountDisplay::Words, CountDisplay::Words), "");
    EXPECT_EQ(InfoForCountCommand(CountDisplay::Words, CountDisplay::Characters), "characters");
    EXPECT_EQ(InfoForCountCommand(CountDisplay::Characters, CountDisplay::Characters), "");
}

}  // namespace
}  // namespace qorva
