#include "src/win/menus/themes_menu.h"
#include "src/win/menus/desktop_color_scheme.h"
#include "qt_printers.h"
#include "src/win/menus/menu_bar.h"
#include "src/win/menus/command_ids.h"
#include "src/win/settings/settings.h"
#include "tools/themes/themes.h"
#include "tests/frame/temp_folder.h"
#include <QAction>
#include <QMenuBar>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace qorva {
namespace {

class ThemesMenuTest : public ::testing::Test {
protected:
    void Build() {
        menus_ = new MenuBar(&bar_, [this](int id) { routed_.push_back(id); });
        themes_ = std::make_unique<ThemesMenu>(
            *menus_, [this](const std::string& css) { pageCss_.push_back(css); },
            [this](const std::string& message) { errors_.push_back(message); }, settings_,
            std::vector<std::string>{folder_.path().string()});
        themes_->SetWindowLook([this](bool dark) { darkPalette_.push_back(dark); }, [this] { return desktopDark_; });
        themes_->BuildThemesMenu();
        themes_->UpdateThemeChecks();
        themes_->ApplyTheme();
    }

    QStringList Labels(bool checkedOnly = false) const {
        QStringList labels;
        for (QAction* item : themes_->Items())
            if (!checkedOnly || item->isChecked()) labels << (checkedOnly ? ThemeNameOf(item) : item->text());
        return labels;
    }
    QStringList Checked() const { return Labels(true); }
    QAction* Item(const QString& name, int occurrence = 0) const {
        for (QAction* item : themes_->Items())
            if (ThemeNameOf(item) == name && occurrence-- == 0) return item;
        return nullptr;
    }
    void Choose(QAction* item) {
        ASSERT_NE(item, nullptr);
        routed_.clear();
        item->trigger();
        for (int id : routed_) themes_->HandleCommand(id);
    }

    testing::TempFolder folder_;  // the theme files; the settings file beside them is no theme
    SettingsStore settings_{folder_ / "settings.json"};
    QMenuBar bar_;
    MenuBar* menus_ = nullptr;
    std::unique_ptr<ThemesMenu> themes_;
    std::vector<int> routed_;
    std::vector<std::string> pageCss_;
    std::vector<std::string> errors_;
    std::vector<bool> darkPalette_;
    bool desktopDark_ = false;
};

// A user's Default.theme is a second item, and both Defaults are checked.
TEST_F(ThemesMenuTest, UserThemesNamedLikeBuiltInOnesReplaceTheirSheets) {
    folder_.Write("Dark.theme", "body { background-color: #00ff00 }");
    folder_.Write("Default.theme", "body { color: gray }");
    Build();
    EXPECT_EQ(Labels(), QStringList({"Follow the Desktop", "Default", "Dark", "Default", "Monospaced", "Serif"}));
    EXPECT_EQ(Checked(), QStringList({"Default", "Default"}));
    EXPECT_EQ(pageCss_.back(), "body { color: gray }");
    Choose(Item("Dark"));
    EXPECT_EQ(pageCss_.back(), "body { background-color: #00ff00 }");
}

TEST_F(ThemesMenuTest, AtStartTheStoredThemeIsCheckedAndApplied) {
    WriteThemeSetting("Serif", settings_);
    Build();
    EXPECT_EQ(Checked(), QStringList({"Serif"}));
    ASSERT_EQ(pageCss_.size(), 1u);
    EXPECT_EQ(pageCss_[0], ThemeStyleSheet("Serif", {folder_.path().string()}));
}

TEST_F(ThemesMenuTest, ChoosingStoresTheNameAsItIsChecksOnlyItAndRestyles) {
    folder_.Write("Rock&Roll.theme", "body { color: purple }");
    Build();
    EXPECT_EQ(Checked(), QStringList({"Default"}));
    EXPECT_EQ(pageCss_.back(), "") << "Default is the page's own look";
    // An ampersand in a file name is shown as itself, not as a mnemonic.
    ASSERT_NE(Item("Rock&Roll"), nullptr);
    EXPECT_EQ(Item("Rock&Roll")->text(), "Rock&&Roll");
    for (auto [name, css] : {std::pair{"Monospaced", "Courier New"}, {"Rock&Roll", "body { color: purple }"}, {"Default", ""}}) {
        Choose(Item(name));
        EXPECT_EQ(ThemeSetting(settings_), name);
        EXPECT_EQ(Checked(), QStringList({name}));
        const std::string& sheet = pageCss_.back();
        EXPECT_TRUE(name == std::string("Monospaced") ? sheet.find(css) != std::string::npos : sheet == css) << name << ": " << sheet;
    }
}

// "Desktop" is Dark or Default as the desktop prefers, applied again when that
// changes; the window's palette is dark exactly when the page is.
TEST_F(ThemesMenuTest, FollowingTheDesktopAndTheWindowPalette) {
    Build();
    const std::string dark = ThemeStyleSheet("Dark", {folder_.path().string()});
    Choose(Item("Desktop"));
    EXPECT_EQ(ThemeSetting(settings_), "Desktop");
    EXPECT_EQ(Checked(), QStringList({"Desktop"}));
    EXPECT_EQ(Item("Desktop")->text(), "Follow the Desktop");
    EXPECT_EQ(std::pair(pageCss_.back(), bool(darkPalette_.back())), std::pair(std::string(), false));
    desktopDark_ = true;
    themes_->DesktopSchemeChanged();
    EXPECT_EQ(std::pair(pageCss_.back(), bool(darkPalette_.back())), std::pair(dark, true));
    Choose(Item("Serif"));
    EXPECT_FALSE(darkPalette_.back());
    const size_t applied = pageCss_.size();
    themes_->DesktopSchemeChanged();
    EXPECT_EQ(pageCss_.size(), applied) << "a chosen theme does not follow the desktop";
    Choose(Item("Dark"));
    EXPECT_EQ(std::pair(pageCss_.back(), bool(darkPalette_.back())), std::pair(dark, true));
}

TEST(DesktopPrefersDark, ThePortalThenGnomeThenTheGtkThemeDecide) {
    const std::optional<unsigned> none;
    for (auto [portal, gnome, gtk, dark] : {
             std::tuple{std::optional(1u), "'prefer-light'", "", true},
             {std::optional(2u), "'prefer-dark'", "Adwaita:dark", false},
             {std::optional(0u), "'prefer-dark'", "", true},
             {none, "'default'", "Adwaita:dark", true},
             {std::optional(0u), "'prefer-light'", "Adwaita-dark", false},
             {none, "", "Arc-Dark", true},
             {none, "", "Adwaita", false},
             {none, "", "darkness", false},
             {std::optional(7u), "", "", false}}) {
        EXPECT_EQ(DesktopPrefersDark({portal, gnome, gtk}), dark) << gnome << " " << gtk;
    }
}

TEST_F(ThemesMenuTest, AStoredThemeThatNoLongerExistsGivesTheDefaultLookAndNoCheck) {
    WriteThemeSetting("dark", settings_);  // names are matched exactly: there is only "Dark"
    Build();
    EXPECT_TRUE(Checked().isEmpty());
    EXPECT_EQ(pageCss_.back(), "");
    EXPECT_TRUE(errors_.empty());
}

// Built-in names and user files sort together, ordinally; only the first eleven get ids.
TEST_F(ThemesMenuTest, DefaultThenAllThemesInOrdinalOrderAndThoseBeyondTheElevenIdsStillWork) {
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "b"}) folder_.Write(std::string(name) + ".theme", "x");
    folder_.Write("notes.txt", "not a theme");
    Build();
    EXPECT_EQ(Labels(), QStringList({"Follow the Desktop", "Default", "A", "B", "C", "D", "Dark", "E", "F", "G", "H",
                                     "I", "Monospaced", "Serif", "b"}));
    EXPECT_EQ(CommandIdOf(themes_->Items()[0]), command_id::ThemeDesktop);
    for (size_t i = 1; i < themes_->Items().size(); ++i) {
        EXPECT_EQ(CommandIdOf(themes_->Items()[i]), i <= 11 ? command_id::ThemeFirst + static_cast<int>(i) - 1 : 0)
            << "ids after 33110 belong to other commands";
    }
    Choose(themes_->Items().back());
    EXPECT_TRUE(routed_.empty());
    EXPECT_EQ(ThemeSetting(settings_), "b");
    EXPECT_EQ(Checked(), QStringList({"b"}));
}

TEST_F(ThemesMenuTest, AnUnreadableThemeFileIsReportedAndTheDefaultLookKept) {
    // A socket cannot be opened as a file, whoever runs the test.
    const std::string socketPath = (folder_ / "Broken.theme").string();
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    WriteThemeSetting("Broken", settings_);
    Build();
    ::close(fd);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_NE(errors_[0].find("Broken"), std::string::npos);
    EXPECT_EQ(pageCss_.back(), "");
}

}  // namespace
}  // namespace qorva
