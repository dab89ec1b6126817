// Checks an appcast feed for a newer version of the program. The automatic check
// runs at most once a day and says nothing unless there is an update; the
// "Check for Updates..." command reports every outcome. No network: nothing happens.
#pragma once

#include "src/win/settings/settings_store.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

namespace qorva {

inline constexpr char kUpdateFeedUrl[] = "https://updates.qorva.app/appcast-linux.xml";

struct AppcastItem {
    QString version;
    QString title;
    QString downloadUrl;
};

// The item with the highest version in an appcast feed, if the feed has one.
std::optional<AppcastItem> LatestAppcastItem(const QByteArray& feed);

// Compares dotted version texts part by part as numbers: <0, 0 or >0.
int CompareVersions(const QString& a, const QString& b);

class UpdateChecker : public QObject {
    Q_OBJECT
public:
    // The choice to check and the time of the last check are kept in `store`.
    UpdateChecker(const QString& feedUrl, const QString& currentVersion, QWidget* owner,
                  SettingsStore& store = UserSettings());
    ~UpdateChecker() override;

    // The automatic check after the window is shown; true when it asked the feed.
    bool Start();
    // The user asked: report the outcome, failures included.
    void CheckWithUi();
    // Stops a check in progress.
    void Cleanup();

signals:
    // A check that asked the feed has its answer (or failed), and said what it had to.
    void CheckFinished();

private:
    void Check(bool withUi);
    void Finished(QNetworkReply* reply, bool withUi);

    QString feedUrl_;
    QString currentVersion_;
    QPointer<QWidget> owner_;
    SettingsStore& store_;
    QNetworkAccessManager* network_ = nullptr;
};

}  // namespace qorva
