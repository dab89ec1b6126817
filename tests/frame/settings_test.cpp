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

TEST_F(SettingsTest, MissingValuesGiveDefaultsAndWrittenOnesComeBackUnderSoftwareQorva) {
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

TEST_F(SettingsTest, ValuesOfTheWrongTypeGiveTheDefault) {
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

TEST_F(SettingsTest, StringsLongerThan1024Utf16UnitsGiveTheDefault) {
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
