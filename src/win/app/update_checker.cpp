#include "src/win/app/update_checker.h"

#include "src/win/settings/settings.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

namespace qorva {
namespace {

constexpr qint64 kSecondsBetweenChecks = 24 * 60 * 60;
constexpr int kTimeoutMs = 15000;

}  // namespace

int CompareVersions(const QString& a, const QString& b) {
    const QStringList left = a.trimmed().split(QLatin1Char('.'));
    const QStringList right = b.trimmed().split(QLatin1Char('.'));
    for (qsizetype i = 0; i < qMax(left.size(), right.size()); ++i) {
        const qlonglong l = i < left.size() ? left.at(i).toLongLong() : 0;
        const qlonglong r = i < right.size() ? right.at(i).toLongLong() : 0;
        if (l != r) return l < r ? -1 : 1;
    }
    return 0;
}

std::optional<AppcastItem> LatestAppcastItem(const QByteArray& feed) {
    QXmlStreamReader xml(feed);
    std::optional<AppcastItem> best;
    AppcastItem item;
    bool inItem = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == QLatin1String("item")) {
                inItem = true;
                item = {};
            } else if (inItem && name == QLatin1String("title")) {
                item.title = xml.readElementText();
            } else if (inItem && name == QLatin1String("version")) {
                item.version = xml.readElementText().trimmed();
            } else if (inItem && name == QLatin1String("enclosure")) {
                const auto attributes = xml.attributes();
                item.downloadUrl = attributes.value(QLatin1String("url")).toString();
                for (const auto& attribute : attributes) {
                    if (attribute.name() == QLatin1String("version") && item.version.isEmpty()) {
                        item.version = attribute.value().toString().trimmed();
                    }
                }
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("item")) {
            inItem = false;
            if (!item.version.isEmpty() &&
                (!best || CompareVersions(item.version, best->version) > 0)) {
                best = item;
            }
        }
    }
    if (xml.hasError()) return std::nullopt;
    return best;
}

UpdateChecker::UpdateChecker(const QString& feedUrl, const QString& currentVersion, QWidget* owner,
                             SettingsStore& store)
    : feedUrl_(feedUrl), currentVersion_(currentVersion), owner_(owner), store_(store) {}

UpdateChecker::~UpdateChecker() { Cleanup(); }

bool UpdateChecker::Start() {
    if (!CheckForUpdatesSetting(store_)) return false;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 last = LastUpdateCheckSetting(store_);
    if (last > 0 && now - last < kSecondsBetweenChecks && last <= now) return false;
    Check(false);
    return true;
}

void UpdateChecker::CheckWithUi() { Check(true); }

void UpdateChecker::Cleanup() {
    delete network_;
    network_ = nullptr;
}

void UpdateChecker::Check(bool withUi) {
    if (!network_) network_ = new QNetworkAccessManager(this);
    QNetworkRequest request{QUrl(feedUrl_)};
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, withUi] {
        Finished(reply, withUi);
        emit CheckFinished();
    });
}

void UpdateChecker::Finished(QNetworkReply* reply, bool withUi) {
    reply->deleteLater();
    const bool fetched = reply->error() == QNetworkReply::NoError;
    if (fetched) {
        WriteLastUpdateCheckSetting(QDateTime::currentSecsSinceEpoch(), store_);
    }
    const auto latest = fetched ? LatestAppcastItem(reply->readAll()) : std::nullopt;
    if (!latest) {
        if (withUi) {
            QMessageBox::warning(owner_, QStringLiteral("Qorva"),
                                 QStringLiteral("Update information could not be retrieved."));
        }
        return;
    }
    if (CompareVersions(latest->version, currentVersion_) <= 0) {
        if (withUi) {
            QMessageBox::information(owner_, QStringLiteral("Qorva"),
                                     QStringLiteral("You're up to date: Qorva %1 is the newest version.")
                                         .arg(currentVersion_));
        }
        return;
    }
    const auto answer = QMessageBox::question(
        owner_, QStringLiteral("Qorva"),
        QStringLiteral("A new version of Qorva is available: %1 (you have %2).\nDownload it now?")
            .arg(latest->version, currentVersion_));
    if (answer == QMessageBox::Yes && !latest->downloadUrl.isEmpty()) {
        QDesktopServices::openUrl(QUrl(latest->downloadUrl));
    }
}

}  // namespace qorva
