// Shows the recent-document list in the "Open Recent" submenu.
#pragma once

#include "src/win/menus/recent_documents.h"

#include <QString>

class QMenu;

namespace qorva {

class MenuBar;

// The placeholder: the text of the submenu's item 57616 when the list is
// attached, or "(empty)" when it has no such item.
QString RecentPlaceholderOf(QMenu* submenu);

// Replaces the items 57616 up to 57615 + maximum by the list's entries ("&1 path",
// newest first) or, for an empty list, by one greyed placeholder item, keeping
// their place among any other items of the submenu.
void RebuildRecentMenu(MenuBar& menus, QMenu* submenu, const RecentDocumentList& list, const QString& placeholder);

}  // namespace qorva
