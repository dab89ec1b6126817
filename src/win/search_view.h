// The search bar below the editor: one text field and "Find Next". It searches
// nothing itself; it reports the field's text to the frame.
#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace qorva {

class CSearchViewCallback {
public:
    virtual ~CSearchViewCallback() = default;
    virtual void StartSearch(const QString& text) = 0;
    virtual void ContinueSearch(const QString& text) = 0;
    virtual void CloseSearch() = 0;
};

class CSearchView : public QWidget {
    Q_OBJECT
public:
    // Height of the pane the frame gives the bar.
    static constexpr int kPaneHeight = 44;

    explicit CSearchView(QWidget* parent = nullptr);

    // Until a callback is set, the bar reports nothing.
    void SetCallback(CSearchViewCallback* callback) { callback_ = callback; }

    // Focus to the field with its previous text selected.
    void FocusField();

    // The bar's own command map: it handles no menu command.
    bool HandleCommand(int commandId);

    QLineEdit* field() const { return field_; }
    QPushButton* findNextButton() const { return findNext_; }

    QSize sizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void continueSearch();

    QLineEdit* field_;
    QPushButton* findNext_;
    CSearchViewCallback* callback_ = nullptr;
};

}  // namespace qorva
