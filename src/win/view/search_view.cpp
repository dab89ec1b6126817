#include "src/win/view/search_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qorva {

QString ReplacedCountText(int count) {
    if (count == 0) return QStringLiteral("No matches");
    return count == 1 ? QStringLiteral("1 replaced") : QStringLiteral("%1 replaced").arg(count);
}

CSearchView::CSearchView(QWidget* parent) : QWidget(parent) {
    field_ = new QLineEdit(this);
    field_->setObjectName("searchField");
    field_->setPlaceholderText("Find");
    findNext_ = new QPushButton("Find Next", this);
    findNext_->setObjectName("findNextButton");
    findNext_->setDefault(true);
    matchCase_ = new QCheckBox("Match case", this);
    matchCase_->setObjectName("matchCaseBox");
    wholeWord_ = new QCheckBox("Whole word", this);
    wholeWord_->setObjectName("wholeWordBox");
    replaceField_ = new QLineEdit(this);
    replaceField_->setObjectName("replaceField");
    replaceField_->setPlaceholderText("Replace with");
    replace_ = new QPushButton("Replace", this);
    replace_->setObjectName("replaceButton");
    replaceAll_ = new QPushButton("Replace All", this);
    replaceAll_->setObjectName("replaceAllButton");
    status_ = new QLabel(this);
    status_->setObjectName("searchStatus");

    // The fields take the width; buttons and options keep their size at the right.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setHorizontalSpacing(7);
    layout->setVerticalSpacing(4);
    layout->addWidget(field_, 0, 0);
    layout->addWidget(findNext_, 0, 1);
    layout->addWidget(matchCase_, 0, 2);
    layout->addWidget(wholeWord_, 0, 3);
    layout->addWidget(replaceField_, 1, 0);
    layout->addWidget(replace_, 1, 1);
    layout->addWidget(replaceAll_, 1, 2);
    layout->addWidget(status_, 1, 3);
    layout->setColumnStretch(0, 1);
    setTabOrder(field_, findNext_);
    setTabOrder(findNext_, matchCase_);
    setTabOrder(matchCase_, wholeWord_);
    setTabOrder(wholeWord_, replaceField_);
    setTabOrder(replaceField_, replace_);
    setTabOrder(replace_, replaceAll_);

    for (QWidget* replaceRow : {static_cast<QWidget*>(replaceField_), static_cast<QWidget*>(replace_),
                                static_cast<QWidget*>(replaceAll_)}) {
        replaceRow->installEventFilter(this);
    }

    connect(field_, &QLineEdit::textChanged, this, [this](const QString& text) {
        status_->clear();
        if (callback_) callback_->StartSearch(text);
    });
    connect(findNext_, &QPushButton::clicked, this, &CSearchView::continueSearch);
    connect(replace_, &QPushButton::clicked, this, &CSearchView::replace);
    connect(replaceAll_, &QPushButton::clicked, this, &CSearchView::replaceAll);
    connect(matchCase_, &QCheckBox::toggled, this, &CSearchView::optionsChanged);
    connect(wholeWord_, &QCheckBox::toggled, this, &CSearchView::optionsChanged);
}

QSize CSearchView::sizeHint() const { return {506, kPaneHeight}; }

void CSearchView::FocusField() {
    field_->setFocus(Qt::OtherFocusReason);
    field_->selectAll();
}

// With nothing to find yet, the find field comes first: typing into the replace
// field would replace nothing.
void CSearchView::FocusReplaceField() {
    if (field_->text().isEmpty()) {
        FocusField();
        return;
    }
    replaceField_->setFocus(Qt::OtherFocusReason);
    replaceField_->selectAll();
}

void CSearchView::Close() {
    hide();
    if (callback_) callback_->CloseSearch();
}

void CSearchView::ReportOptions() {
    if (callback_) callback_->SetSearchOptions(matchCase_->isChecked(), wholeWord_->isChecked());
}

void CSearchView::continueSearch() {
    if (callback_) callback_->ContinueSearch(field_->text());
}

void CSearchView::replace() {
    status_->clear();
    if (callback_) callback_->Replace(field_->text(), replaceField_->text());
}

void CSearchView::replaceAll() {
    if (!callback_ || field_->text().isEmpty()) return;
    status_->setText(ReplacedCountText(callback_->ReplaceAll(field_->text(), replaceField_->text())));
}

// A changed option searches again from where the search began.
void CSearchView::optionsChanged() {
    status_->clear();
    ReportOptions();
    if (callback_ && !field_->text().isEmpty()) callback_->StartSearch(field_->text());
}

// Enter in the replace field or on Replace replaces, on Replace All replaces all.
bool CSearchView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == replaceAll_) replaceAll();
            else replace();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CSearchView::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere else in the bar is the default button's action, Escape
    // closes; the field passes both keys on to here.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            continueSearch();
            return;
        case Qt::Key_Escape:
            Close();
            return;
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace qorva
