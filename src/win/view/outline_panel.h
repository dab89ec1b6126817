// The Outline side panel: the document's headings as a tree by level. The
// heading the caret is under is shown in bold; a click or Enter on a heading
// moves the caret there. It follows edits once typing pauses, asking the page
// nothing while changes keep coming.
#pragma once

#include "src/win/view/outline_headings.h"

#include <QDockWidget>

#include <functional>
#include <string>
#include <vector>

class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace qorva {

struct OutlinePage {
    std::function<std::string()> getOutline;        // the page's getOutline answer
    std::function<int()> getCurrent;                 // the page's getOutlineCurrent answer
    std::function<void(int block)> goToBlock;        // caret to a block, focus to the page
    std::function<unsigned()> changeCount;           // grows with every change of the document
    std::function<void()> focusPage;                 // Escape in the tree: back to the text
};

class OutlinePanel : public QDockWidget {
    Q_OBJECT
public:
    // How often the panel looks for changes while it is shown.
    static constexpr int kPollMs = 300;
    // Width when first shown; the user may drag it.
    static constexpr int kStartWidth = 220;

    OutlinePanel(OutlinePage page, QWidget* parent);

    // Shows the panel with the focus in its tree, or hides it.
    void Toggle();

    // Reads the whole outline from the page now.
    void Refresh();

    // What the panel does every kPollMs while shown.
    void Poll();

    QTreeWidget* tree() const { return tree_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool SameLevels(const std::vector<OutlineHeading>& a, const std::vector<OutlineHeading>& b);
    static void ShowHeading(QTreeWidgetItem* item, const OutlineHeading& heading);
    void Rebuild(const std::vector<OutlineHeading>& headings);
    void MarkCurrent(int index);
    void Activate(QTreeWidgetItem* item);

    OutlinePage page_;
    QTreeWidget* tree_;
    QTimer* poll_;
    std::vector<OutlineHeading> headings_;
    std::vector<QTreeWidgetItem*> items_;
    int current_ = -1;
    unsigned seenChanges_ = 0;
    bool stale_ = true;
    bool shownBefore_ = false;
};

}  // namespace qorva
