#include "src/win/view/outline_panel.h"

#include "src/win/platform/browser.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>

#include <algorithm>
#include <QTimer>
#include <QTreeWidget>

namespace qorva {

OutlinePanel::OutlinePanel(OutlinePage page, QWidget* parent)
    : QDockWidget(QStringLiteral("Outline"), parent), page_(std::move(page)) {
    setObjectName(QStringLiteral("outlinePanel"));
    setFeatures(QDockWidget::DockWidgetClosable);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("outlineTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setUniformRowHeights(true);
    tree_->setExpandsOnDoubleClick(false);
    setWidget(tree_);
    tree_->installEventFilter(this);
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &OutlinePanel::Poll);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Activate(item); });
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Activate(item); });
    // Asks the page only while shown.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible) {
            poll_->stop();
            return;
        }
        Refresh();
        poll_->start();
    });
    hide();
}

void OutlinePanel::Toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    show();
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (window && !shownBefore_) window->resizeDocks({this}, {kStartWidth}, Qt::Horizontal);
    shownBefore_ = true;
    tree_->setFocus(Qt::OtherFocusReason);
    if (!tree_->currentItem() && current_ >= 0) tree_->setCurrentItem(items_[current_]);
}

// Changes still coming: wait. The first quiet poll after them reads the
// outline again; a quiet document only has its current heading asked for.
void OutlinePanel::Poll() {
    // Never inside another page call's wait: the next poll comes soon enough.
    if (Browser::PendingCallDepth() > 0) return;
    const unsigned changes = page_.changeCount();
    if (changes != seenChanges_) {
        seenChanges_ = changes;
        stale_ = true;
        return;
    }
    if (stale_) {
        Refresh();
        return;
    }
    MarkCurrent(page_.getCurrent());
}

void OutlinePanel::Refresh() {
    seenChanges_ = page_.changeCount();
    stale_ = false;
    const Outline outline = ParseOutline(page_.getOutline());
    if (outline.headings != headings_) {
        if (SameLevels(outline.headings, headings_)) {
            // The tree keeps its shape (and what the user folded): only texts and blocks change.
            for (size_t i = 0; i < items_.size(); ++i) ShowHeading(items_[i], outline.headings[i]);
            headings_ = outline.headings;
        } else {
            Rebuild(outline.headings);
        }
    }
    MarkCurrent(outline.current);
}

bool OutlinePanel::SameLevels(const std::vector<OutlineHeading>& a, const std::vector<OutlineHeading>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) { return x.level == y.level; });
}

void OutlinePanel::ShowHeading(QTreeWidgetItem* item, const OutlineHeading& heading) {
    const QString text = QString::fromStdString(heading.text).simplified();
    item->setText(0, text.isEmpty() ? QStringLiteral("(empty heading)") : text);
    item->setData(0, Qt::UserRole, heading.block);
}

void OutlinePanel::Rebuild(const std::vector<OutlineHeading>& headings) {
    headings_ = headings;
    tree_->clear();
    items_.clear();
    current_ = -1;
    const std::vector<int> parents = OutlineParents(headings_);
    for (size_t i = 0; i < headings_.size(); ++i) {
        auto* item = parents[i] < 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(items_[parents[i]]);
        ShowHeading(item, headings_[i]);
        items_.push_back(item);
    }
    tree_->expandAll();
}

void OutlinePanel::MarkCurrent(int index) {
    if (index >= static_cast<int>(items_.size())) index = -1;
    if (index == current_) return;
    if (current_ >= 0) {
        QFont font = items_[current_]->font(0);
        font.setBold(false);
        items_[current_]->setFont(0, font);
    }
    current_ = index;
    if (current_ < 0) return;
    QFont font = items_[current_]->font(0);
    font.setBold(true);
    items_[current_]->setFont(0, font);
    tree_->scrollToItem(items_[current_]);
    // Keyboard browsing in the tree keeps its own place.
    if (!tree_->hasFocus()) tree_->setCurrentItem(items_[current_]);
}

bool OutlinePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && page_.focusPage) {
        page_.focusPage();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

void OutlinePanel::Activate(QTreeWidgetItem* item) {
    if (!item) return;
    page_.goToBlock(item->data(0, Qt::UserRole).toInt());
    MarkCurrent(static_cast<int>(std::find(items_.begin(), items_.end(), item) - items_.begin()));
}

}  // namespace qorva
