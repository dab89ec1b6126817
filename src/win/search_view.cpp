#include "src/win/search_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace qorva {

CSearchView::CSearchView(QWidget* parent) : QWidget(parent) {
    field_ = new QLineEdit(this);
    field_->setObjectName("searchField");
    findNext_ = new QPushButton("Find Next", this);
    findNext_->setObjectName("findNextButton");
    findNext_->setDefault(true);

    // The field takes the width; the button keeps its size at the right edge.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(7);
    layout->addWidget(field_, 1);
    layout->addWidget(findNext_, 0);
    setTabOrder(field_, findNext_);

    connect(field_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (callback_) callback_->StartSearch(text);
    });
    connect(findNext_, &QPushButton::clicked, this, &CSearchView::continueSearch);
}

QSize CSearchView::sizeHint() const { return {506, kPaneHeight}; }

void CSearchView::FocusField() {
    field_->setFocus(Qt::OtherFocusReason);
    field_->selectAll();
}

bool CSearchView::HandleCommand(int) { return false; }

void CSearchView::continueSearch() {
    if (callback_) callback_->ContinueSearch(field_->text());
}

void CSearchView::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere in the bar is the default button's action, Escape closes;
    // the field passes both keys on to here.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            continueSearch();
            return;
        case Qt::Key_Escape:
            if (callback_) callback_->CloseSearch();
            return;
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace qorva
