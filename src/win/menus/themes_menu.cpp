#include "src/win/menus/themes_menu.h"

#include "src/win/menus/menu_bar.h"
#include "src/win/menus/command_ids.h"
#include "src/win/settings/settings.h"
#include "tools/files/file_io.h"
#include "tools/themes/themes.h"

#include <QAction>
#include <QMenu>

namespace qorva {
namespace {

constexpr char kThemeNameProperty[] = "qorvaThemeName";

// A file name may hold "&", which a menu label would take for a mnemonic.
QString LabelFor(const QString& name) {
    QString label = name;
    return label.replace('&', QStringLiteral("&&"));
}

}  // namespace

QString ThemeNameOf(const QAction* item) {
    const QVariant name = item->property(kThemeNameProperty);
    return name.isValid() ? name.toString() : item->text();
}

ThemesMenu::ThemesMenu(MenuBar& menus, StyleSheetSink setThemeCss, ErrorSink showError,
                       SettingsStore& settings, std::vector<std::string> folders)
    : menus_(menus),
      menu_(menus.themesMenu()),
      setThemeCss_(std::move(setThemeCss)),
      showError_(std::move(showError)),
      settings_(settings),
      folders_(std::move(folders)) {}

void ThemesMenu::SetWindowLook(std::function<void(bool)> useDarkPalette, std::function<bool()> desktopPrefersDark) {
    useDarkPalette_ = std::move(useDarkPalette);
    desktopPrefersDark_ = std::move(desktopPrefersDark);
}

void ThemesMenu::DesktopSchemeChanged() {
    if (ThemeSetting(settings_) == kDesktopThemeName) ApplyTheme();
}

void ThemesMenu::BuildThemesMenu() {
    if (!menu_) return;
    if (QAction* desktop = menus_.action(command_id::ThemeDesktop)) {
        desktop->setProperty(kThemeNameProperty, QString::fromLatin1(kDesktopThemeName));
    }
    int commandId = command_id::ThemeFirst + 1;
    for (const std::string& theme : ThemeMenuNames(folders_)) {
        const QString name = QString::fromStdString(theme);
        QAction* item = nullptr;
        if (commandId <= command_id::ThemeLast) {
            item = menus_.addCommand(menu_, LabelFor(name), commandId++);
        } else {
            // The identifiers after the theme range belong to other commands, so
            // further themes are chosen directly rather than left without effect.
            item = menu_->addAction(LabelFor(name));
            QObject::connect(item, &QAction::triggered, menu_, [this, item] { ChooseTheme(item); });
        }
        item->setProperty(kThemeNameProperty, name);
    }
}

std::vector<QAction*> ThemesMenu::Items() const {
    std::vector<QAction*> items;
    if (!menu_) return items;
    for (QAction* item : menu_->actions()) {
        if (!item->isSeparator()) items.push_back(item);
    }
    return items;
}

void ThemesMenu::UpdateThemeChecks() {
    const QString current = QString::fromStdString(ThemeSetting(settings_));
    for (QAction* item : Items()) {
        item->setCheckable(true);
        item->setChecked(ThemeNameOf(item) == current);
    }
}

void ThemesMenu::ApplyTheme() {
    std::string name = ThemeSetting(settings_);
    if (name == kDesktopThemeName) {
        name = desktopPrefersDark_ && desktopPrefersDark_() ? kDarkThemeName : kDefaultThemeName;
    }
    if (useDarkPalette_) useDarkPalette_(name == kDarkThemeName);
    std::string css;
    try {
        css = ThemeStyleSheet(name, folders_);
    } catch (const FileError& error) {
        // The page keeps the default look; the user learns why the theme is missing.
        showError_("The theme \u201C" + name + "\u201D cannot be used.\n" + error.what());
    }
    setThemeCss_(css);
}

void ThemesMenu::ChooseTheme(const QAction* item) {
    if (!item) return;
    WriteThemeSetting(ThemeNameOf(item).toStdString(), settings_);
    UpdateThemeChecks();
    ApplyTheme();
}

bool ThemesMenu::HandleCommand(int commandId) {
    if (commandId != command_id::ThemeDesktop && (commandId < command_id::ThemeFirst || commandId > command_id::ThemeLast)) {
        return false;
    }
    for (QAction* item : Items()) {
        if (CommandIdOf(item) == commandId) {
            ChooseTheme(item);
            break;
        }
    }
    return true;
}

}  // namespace qorva
