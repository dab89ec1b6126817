// The spelling languages and the update checks
// against a feed server on the loopback address.
#include "src/win/settings/settings.h"
#include "src/win/spelling/spelling_languages.h"
#include "src/win/app/update_checker.h"

#include <QApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qorva {
namespace {

// Hunspell dictionaries in a fake folder: only a .dic with its .aff is offered,
// by label, and its engine name swaps the underscore.
TEST(SpellingLanguages, InstalledDictionariesByLabel) {
    QTemporaryDir root;
    for (const char* name : {"fr.dic", "fr.aff", "de_DE.dic", "de_DE.aff", "xx_Latn.dic", "xx_Latn.aff",
                             "en_GB.dic", "readme.txt"})
        ASSERT_TRUE(QFile(root.filePath(name)).open(QIODevice::WriteOnly));
    qputenv("QORVA_HUNSPELL_PATH", root.path().toLocal8Bit() + ":/no/such/folder");
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", root.path().toLocal8Bit());  // no converted dictionaries of the user's
    std::string listed;
    for (const SpellingLanguage& language : InstalledSpellingLanguages())
        if (language.code != "en_US") listed += language.code + "=" + language.label + ";";  // built beside the test
    qunsetenv("QORVA_HUNSPELL_PATH");
    qputenv("XDG_DATA_HOME", data);
    EXPECT_EQ(listed, "fr=French;de_DE=German (Germany);xx_Latn=xx_Latn;");
    EXPECT_EQ(EngineDictionaryName("de_DE"), "de-DE");
}

// A feed server on the loopback address that answers every request with `feed`.
class FeedServer {
public:
    explicit FeedServer(QByteArray feed) : feed_(std::move(feed)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++requests;
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/xml\r\nContent-Length: " +
                                  QByteArray::number(feed_.size()) + "\r\nConnection: close\r\n\r\n" + feed_);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(server_.serverPort()); }
    int requests = 0;

private:
    QByteArray feed_;
    QTcpServer server_;
};

bool AnyWindowShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* window) { return window->isVisible(); });
}

class UpdateChecks : public ::testing::Test {
protected:
    QTemporaryDir config;
    SettingsStore store{config.filePath(QStringLiteral("settings.json")).toStdString()};
    std::string LastCheck() const { return ReadSettingString("Updates\\LastCheckTime", "", store); }
};

TEST_F(UpdateChecks, StoredChoiceWinsUnsetItIsOffOnlyForAPackagedProgram) {
    for (const auto& [stored, packaged, on] : std::vector<std::tuple<std::string, bool, bool>>{
             {"", false, true}, {"", true, false}, {"1", true, true}, {"0", false, false}, {"yes", true, true}}) {
        ASSERT_TRUE(WriteSettingString("Updates\\CheckForUpdates", stored, store));
        EXPECT_EQ(CheckForUpdatesSetting(store, packaged), on) << stored << " " << packaged;
    }
}

// An unreachable feed, then the current version: both quiet; only the check that
// reached the feed is counted, and the next automatic one waits a day.
TEST_F(UpdateChecks, FailuresAndTheCurrentVersionAreQuietChecksAreAtMostDailyAndSwitchedOffMeansNoRequest) {
    FeedServer server(R"(<rss><channel><item><title>Qorva 0.1</title>
        <enclosure url="https://example.org/q.deb" version="0.1"/></item></channel></rss>)");
    for (const QString& feed : {QStringLiteral("http://127.0.0.1:1/appcast.xml"), server.Url()}) {
        UpdateChecker checker(feed, "0.1", nullptr, store);
        QSignalSpy finished(&checker, &UpdateChecker::CheckFinished);
        ASSERT_TRUE(checker.Start());
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_FALSE(AnyWindowShown());
        EXPECT_EQ(LastCheck().empty(), feed != server.Url()) << feed.toStdString();
    }
    EXPECT_EQ(server.requests, 1);
    EXPECT_FALSE(UpdateChecker(server.Url(), "0.1", nullptr, store).Start()) << "the next automatic check waits a day";
    ASSERT_TRUE(WriteLastUpdateCheckSetting(0, store) && WriteCheckForUpdatesSetting(false, store));
    EXPECT_FALSE(UpdateChecker(server.Url(), "0.1", nullptr, store).Start());
    EXPECT_EQ(server.requests, 1);
}

}  // namespace
}  // namespace qorva

int main(int argc, char** argv) {
    // Widgets without a screen: the test also runs when listed at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
