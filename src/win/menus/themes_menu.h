// The "Themes" submenu of the "&Window" menu: one item per theme after the fixed
// "Default", a check mark on the items named like the "Theme" setting, and the
// chosen theme's style sheet handed to the editor page.
#pragma once

#include "src/win/settings/settings_store.h"
#include "tools/user_files/user_files.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace qorva {

class MenuBar;

class ThemesMenu {
public:
    using StyleSheetSink = std::function<void(const std::string& css)>;
    using ErrorSink = std::function<void(const std::string& message)>;

    // `setThemeCss` reaches the editor page; `showError` tells the user about a
    // theme file that cannot be read. Themes are looked for in `folders`.
    ThemesMenu(MenuBar& menus, StyleSheetSink setThemeCss, ErrorSink showError,
               SettingsStore& settings = UserSettings(), std::vector<std::string> folders = UserFileFolders());

    // The window's own colours follow the theme: `useDarkPalette` is told whether
    // it is "Dark"; `desktopPrefersDark` decides what "Desktop" stands for.
    void SetWindowLook(std::function<void(bool dark)> useDarkPalette, std::function<bool()> desktopPrefersDark);
    // Applies the theme again when it follows the desktop.
    void DesktopSchemeChanged();

    // Adds the user's and the built-in themes after "Default". Once per window.
    void BuildThemesMenu();
    // Checks exactly the items whose name equals the "Theme" setting.
    void UpdateThemeChecks();
    // Hands the current theme's style sheet to the page (empty for "Default"), and
    // the window its colours.
    void ApplyTheme();
    // Stores the item's theme as the setting, then updates the checks and the page.
    void ChooseTheme(const QAction* item);

    // The theme commands that come through the frame's routing; false for others.
    bool HandleCommand(int commandId);

    // The items of the submenu in order, "Default" first.
    std::vector<QAction*> Items() const;

private:
    MenuBar& menus_;
    QMenu* menu_;
    StyleSheetSink setThemeCss_;
    ErrorSink showError_;
    SettingsStore& settings_;
    std::vector<std::string> folders_;
    std::function<void(bool)> useDarkPalette_;
    std::function<bool()> desktopPrefersDark_;
};

// The theme an item stands for: its name as listed, whatever the label shows.
QString ThemeNameOf(const QAction* item);

}  // namespace qorva
