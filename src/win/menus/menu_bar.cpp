#include "src/win/menus/menu_bar.h"

#include "src/win/menus/command_ids.h"
#include "src/win/menus/menu_layout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qorva {

int CommandIdOf(const QAction* action) { return action ? action->data().toInt() : 0; }

MenuBar::MenuBar(QMenuBar* bar, CommandHandler onCommand)
    : QObject(bar), bar_(bar), onCommand_(std::move(onCommand)) {
    for (int id : {command_id::ReopenQorva, command_id::ReopenPandoc, command_id::ReopenGithub, command_id::ReopenMmd,
                   command_id::RepeatExport}) {
        updateTable_[id] = true;
    }
    const std::vector<MenuNode>& layout = MenuBarLayout();
    for (const MenuNode& top : layout) {
        QMenu* menu = bar_->addMenu(QString::fromStdString(top.label));
        build(menu, top);
    }
    QList<QAction*> menus = bar_->actions();
    window_ = menus.at(kWindowMenuPosition)->menu();
    QMenu* file = menus.at(0)->menu();
    openRecent_ = file->actions().at(kOpenRecentPosition)->menu();
    for (QAction* item : window_->actions()) {
        if (item->menu() && item->text() == "Themes") themes_ = item->menu();
    }
    for (int id : {command_id::DisplayWordCount, command_id::DisplayCharacterCount, command_id::Outline, command_id::FocusMode,
                   command_id::TypewriterMode}) {
        if (QAction* item = action(id)) item->setCheckable(true);
    }
}

void MenuBar::build(QMenu* menu, const MenuNode& node) {
    // Enabled states are applied as each menu drops down, the way the frame's
    // update table works; accelerators do not go through the menus at all.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { applyUpdateTable(menu); });
    for (const MenuNode& child : node.children) {
        switch (child.kind) {
            case MenuNode::Kind::Separator: menu->addSeparator(); break;
            case MenuNode::Kind::Submenu: build(menu->addMenu(QString::fromStdString(child.label)), child); break;
            case MenuNode::Kind::Command: addCommand(menu, QString::fromStdString(child.label), child.id); break;
        }
    }
}

QAction* MenuBar::makeAction(const QString& label, int commandId) {
    auto* item = new QAction(label, this);
    item->setData(commandId);
    // Menus show the text after "\t" as the accelerator; the keys themselves are
    // the frame's accelerator table, so no shortcut is registered here.
    connect(item, &QAction::triggered, this, [this, commandId] {
        if (onCommand_) onCommand_(commandId);
    });
    actions_.emplace(commandId, item);
    connect(item, &QObject::destroyed, this, [this, item, commandId] {
        auto [first, last] = actions_.equal_range(commandId);
        for (auto it = first; it != last; ++it) {
            if (it->second == item) {
                actions_.erase(it);
                break;
            }
        }
    });
    return item;
}

QAction* MenuBar::addCommand(QMenu* menu, const QString& label, int commandId) {
    QAction* item = makeAction(label, commandId);
    menu->addAction(item);
    return item;
}

QAction* MenuBar::insertCommand(QMenu* menu, QAction* before, const QString& label, int commandId) {
    QAction* item = makeAction(label, commandId);
    menu->insertAction(before, item);
    return item;
}

std::vector<QAction*> MenuBar::actions(int commandId) const {
    std::vector<QAction*> found;
    auto [first, last] = actions_.equal_range(commandId);
    for (auto it = first; it != last; ++it) found.push_back(it->second);
    return found;
}

QAction* MenuBar::action(int commandId) const {
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void MenuBar::setEnabledState(int commandId, bool enabled) { updateTable_[commandId] = enabled; }

bool MenuBar::enabledState(int commandId) const {
    auto it = updateTable_.find(commandId);
    return it == updateTable_.end() || it->second;
}

void MenuBar::applyUpdateTable(QMenu* menu) {
    for (QAction* item : menu->actions()) {
        auto it = updateTable_.find(CommandIdOf(item));
        if (it != updateTable_.end()) item->setEnabled(it->second);
    }
}

void MenuBar::setChecked(int commandId, bool checked) {
    for (QAction* item : actions(commandId)) item->setChecked(checked);
}

}  // namespace qorva
