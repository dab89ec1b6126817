#include "src/win/menus/recent_menu.h"

#include "src/win/menus/menu_bar.h"

#include <QAction>
#include <QMenu>

namespace qorva {
namespace {

bool IsRecentItem(const QAction* item, int maximum) {
    int id = CommandIdOf(item);
    return id >= kRecentFirstId && id <= kRecentFirstId - 1 + std::max(maximum, 1);
}

}  // namespace

QString RecentPlaceholderOf(QMenu* submenu) {
    for (QAction* item : submenu->actions()) {
        if (CommandIdOf(item) == kRecentFirstId) return item->text();
    }
    return "(empty)";
}

void RebuildRecentMenu(MenuBar& menus, QMenu* submenu, const RecentDocumentList& list, const QString& placeholder) {
    // The first old entry marks the place; entries beyond the maximum of an
    // earlier list go too, so no stale path survives a lower maximum.
    QAction* anchor = nullptr;
    const QList<QAction*> items = submenu->actions();
    for (QAction* item : items) {
        if (CommandIdOf(item) == kRecentFirstId && !anchor) anchor = item;
    }
    QAction* before = nullptr;
    if (anchor) {
        int index = static_cast<int>(items.indexOf(anchor));
        for (int i = index + 1; i < items.size(); ++i) {
            if (!IsRecentItem(items.at(i), kRecentHighestMaximum)) {
                before = items.at(i);
                break;
            }
        }
    }
    for (QAction* item : items) {
        if (IsRecentItem(item, kRecentHighestMaximum)) {
            submenu->removeAction(item);
            item->deleteLater();
        }
    }
    for (const RecentMenuItem& entry : list.MenuItems(placeholder.toStdString())) {
        QString text = QString::fromStdString(entry.text);
        if (entry.enabled) {
            // "&1 " is the mnemonic; an ampersand inside the path is shown as itself.
            qsizetype space = text.indexOf(' ');
            text = text.left(space + 1) + text.mid(space + 1).replace("&", "&&");
        }
        QAction* item = menus.insertCommand(submenu, before, text, entry.id);
        item->setEnabled(entry.enabled);
    }
}

}  // namespace qorva
