// Builds the menu bar from its layout and keeps what the frame needs of it: the
// actions by command identifier, the submenus found by position, and the update
// table of enabled states applied when a menu drops down.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace qorva {

class MenuBar : public QObject {
    Q_OBJECT
public:
    using CommandHandler = std::function<void(int commandId)>;

    // Fills `bar` with the eight menus; choosing an item calls `onCommand`.
    MenuBar(QMenuBar* bar, CommandHandler onCommand);

    QMenuBar* bar() const { return bar_; }
    // The "Open Recent" submenu (third item of "&File") and the "&Window" menu.
    QMenu* openRecentMenu() const { return openRecent_; }
    QMenu* windowMenu() const { return window_; }
    QMenu* themesMenu() const { return themes_; }

    // Every action carrying the identifier (the table command appears twice).
    std::vector<QAction*> actions(int commandId) const;
    QAction* action(int commandId) const;

    // A new item in `menu` that sends `commandId` when chosen.
    QAction* addCommand(QMenu* menu, const QString& label, int commandId);
    QAction* insertCommand(QMenu* menu, QAction* before, const QString& label, int commandId);

    // The update table: enabled states kept here and applied to the menus when
    // they drop down. An accelerator still sends its command while disabled.
    void setEnabledState(int commandId, bool enabled);
    bool enabledState(int commandId) const;

    void setChecked(int commandId, bool checked);

private:
    void build(QMenu* menu, const struct MenuNode& node);
    void applyUpdateTable(QMenu* menu);
    QAction* makeAction(const QString& label, int commandId);

    QMenuBar* bar_;
    CommandHandler onCommand_;
    std::multimap<int, QAction*> actions_;
    std::map<int, bool> updateTable_;
    QMenu* openRecent_ = nullptr;
    QMenu* window_ = nullptr;
    QMenu* themes_ = nullptr;
};

// The command identifier an action carries, 0 for none.
int CommandIdOf(const QAction* action);

}  // namespace qorva
