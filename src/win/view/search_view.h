// The search bar below the editor: the search field with "Find Next", the
// replace field with "Replace" and "Replace All", and the Match case and Whole
// word options. It searches nothing itself; it reports to its callback (the editor view).
#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qorva {

class CSearchViewCallback {
public:
    virtual ~CSearchViewCallback() = default;
    virtual void StartSearch(const QString& text) = 0;
    virtual void ContinueSearch(const QString& text) = 0;
    // The bar has been hidden.
    virtual void CloseSearch() = 0;
    virtual void SetSearchOptions(bool matchCase, bool wholeWord) = 0;
    // Replaces the selected match, if the selection is one, and finds the next.
    virtual void Replace(const QString& text, const QString& replacement) = 0;
    // Replaces every match; returns how many.
    virtual int ReplaceAll(const QString& text, const QString& replacement) = 0;
};

class CSearchView : public QWidget {
    Q_OBJECT
public:
    // Height of the pane the frame gives the bar: two rows.
    static constexpr int kPaneHeight = 72;

    explicit CSearchView(QWidget* parent = nullptr);

    // Until a callback is set, the bar reports nothing.
    void SetCallback(CSearchViewCallback* callback) { callback_ = callback; }

    // Focus to the field with its previous text selected.
    void FocusField();
    // The same for the replace field.
    void FocusReplaceField();

    // Hides the bar and tells the callback.
    void Close();

    // Tells the callback the options as they are ticked now.
    void ReportOptions();

    QLineEdit* field() const { return field_; }
    QPushButton* findNextButton() const { return findNext_; }
    QLineEdit* replaceField() const { return replaceField_; }
    QPushButton* replaceButton() const { return replace_; }
    QPushButton* replaceAllButton() const { return replaceAll_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QCheckBox* wholeWordBox() const { return wholeWord_; }
    QLabel* statusLabel() const { return status_; }

    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void continueSearch();
    void replace();
    void replaceAll();
    void optionsChanged();

    QLineEdit* field_;
    QPushButton* findNext_;
    QLineEdit* replaceField_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QLabel* status_;
    CSearchViewCallback* callback_ = nullptr;
};

// What the bar says after Replace All.
QString ReplacedCountText(int count);

}  // namespace qorva
