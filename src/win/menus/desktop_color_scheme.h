// Whether the desktop asks programs for dark colours, for the theme "Desktop".
// Qt 6.4 cannot tell, so the answer is gathered without blocking: the
// freedesktop settings portal over D-Bus, else GNOME's setting through
// gsettings, and the GTK_THEME variable; with none of them, light.
#pragma once

#include <QObject>

#include <optional>
#include <string>

class QDBusVariant;

namespace qorva {

struct DesktopSchemeHints {
    // The portal's org.freedesktop.appearance color-scheme: 0 no preference, 1 dark, 2 light.
    std::optional<unsigned> portal;
    // gsettings' org.gnome.desktop.interface color-scheme as printed ("'prefer-dark'").
    std::string gnomeColorScheme;
    // The GTK_THEME variable ("Adwaita:dark").
    std::string gtkTheme;
};

// The first hint with a preference decides, in the order of the fields.
bool DesktopPrefersDark(const DesktopSchemeHints& hints);

class DesktopColorScheme : public QObject {
    Q_OBJECT
public:
    // Starts the reads and follows the portal's changes.
    explicit DesktopColorScheme(QObject* parent = nullptr);

    bool PrefersDark() const { return DesktopPrefersDark(hints_); }

signals:
    // The answer of PrefersDark has changed.
    void Changed();

private slots:
    void OnPortalSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void ReadPortal();
    void ReadGnomeSetting();
    void Update(DesktopSchemeHints hints);

    DesktopSchemeHints hints_;
};

}  // namespace qorva
