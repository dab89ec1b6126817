#include "src/win/menus/desktop_color_scheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cctype>

namespace qorva {
namespace {

constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kPortalInterface[] = "org.freedesktop.portal.Settings";
constexpr char kAppearance[] = "org.freedesktop.appearance";
constexpr char kColorScheme[] = "color-scheme";
constexpr int kWaitMs = 3000;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The portal wraps the value in one variant or two, depending on its version.
std::optional<unsigned> SchemeOf(QVariant value) {
    while (value.canConvert<QDBusVariant>()) value = qvariant_cast<QDBusVariant>(value).variant();
    bool ok = false;
    const unsigned scheme = value.toUInt(&ok);
    return ok ? std::optional<unsigned>(scheme) : std::nullopt;
}

}  // namespace

bool DesktopPrefersDark(const DesktopSchemeHints& hints) {
    if (hints.portal == 1u) return true;
    if (hints.portal == 2u) return false;
    const std::string gnome = Lower(hints.gnomeColorScheme);
    if (gnome.find("prefer-dark") != std::string::npos) return true;
    if (gnome.find("prefer-light") != std::string::npos) return false;
    // "Adwaita:dark" or a theme named like "Adwaita-dark".
    const std::string gtk = Lower(hints.gtkTheme);
    return gtk.find(":dark") != std::string::npos ||
           (gtk.size() >= 5 && gtk.compare(gtk.size() - 5, 5, "-dark") == 0);
}

DesktopColorScheme::DesktopColorScheme(QObject* parent) : QObject(parent) {
    hints_.gtkTheme = qEnvironmentVariable("GTK_THEME").toStdString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        ReadGnomeSetting();
        return;
    }
    bus.connect(kPortalService, kPortalPath, kPortalInterface, "SettingChanged", this,
                SLOT(OnPortalSettingChanged(QString, QString, QDBusVariant)));
    ReadPortal();
}

void DesktopColorScheme::ReadPortal() {
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalInterface, "Read");
    call << QString(kAppearance) << QString(kColorScheme);
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, kWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusMessage reply = done->reply();
        std::optional<unsigned> scheme;
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            scheme = SchemeOf(reply.arguments().first());
        }
        if (!scheme) {
            // No portal, or one without the appearance settings.
            ReadGnomeSetting();
            return;
        }
        DesktopSchemeHints hints = hints_;
        hints.portal = scheme;
        Update(hints);
    });
}

void DesktopColorScheme::ReadGnomeSetting() {
    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this, [this, process] {
        process->deleteLater();
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0) return;
        DesktopSchemeHints hints = hints_;
        hints.gnomeColorScheme = QString::fromUtf8(process->readAllStandardOutput()).trimmed().toStdString();
        Update(hints);
    });
    connect(process, &QProcess::errorOccurred, this, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) process->deleteLater();
    });
    QTimer::singleShot(kWaitMs, process, [process] { process->kill(); });
    process->start(QStringLiteral("gsettings"),
                   {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme")});
}

void DesktopColorScheme::OnPortalSettingChanged(const QString& group, const QString& key, const QDBusVariant& value) {
    if (group != kAppearance || key != kColorScheme) return;
    DesktopSchemeHints hints = hints_;
    hints.portal = SchemeOf(QVariant::fromValue(value));
    Update(hints);
}

void DesktopColorScheme::Update(DesktopSchemeHints hints) {
    const bool before = PrefersDark();
    hints_ = std::move(hints);
    if (PrefersDark() != before) emit Changed();
}

}  // namespace qorva
