// Edit > Preferences: every setting a user may want to change, in groups. Each
// change is stored at once in the settings file and handed to the window through
// the same paths its menus use; the window has a Close button and no Cancel.
#pragma once

#include <QDialog>
#include <QString>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qorva {

// What the window does when a setting changes.
struct PreferencesTargets {
    // The entries of Window > Themes, in order: what is stored and what is shown.
    struct Theme {
        QString name;
        QString label;
    };
    std::function<std::vector<Theme>()> themes;
    std::function<void(const QString& name)> chooseTheme;
    std::function<void(const std::string& zoom)> setZoom;
    std::function<void(std::chrono::seconds limit)> setToolTimeLimit;
    std::function<void()> defaultFormatChanged;
};

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(PreferencesTargets targets, QWidget* parent = nullptr);

    // Shows the settings as they are stored now (another window, a hand edit or a
    // menu may have changed them).
    void Reload();

protected:
    // Each time the window comes to the front, it shows what is stored then.
    bool event(QEvent* event) override;

private:
    PreferencesTargets targets_;
    QComboBox* defaultFormat_;
    QComboBox* markdownFormat_;
    QCheckBox* saveUnwrapped_;
    QCheckBox* autoSave_;
    QSpinBox* autoSaveDelay_;
    QComboBox* theme_;
    QSpinBox* zoom_;
    QComboBox* spelling_;
    QCheckBox* fetchRemoteImages_;
    QSpinBox* toolTimeLimit_;
    QCheckBox* checkForUpdates_;
    bool loading_ = false;
};

}  // namespace qorva
