// Qt key events turned into key messages, the message loop's idle periods, and
// the update feed reader.
#include "src/win/keys/message_loop.h"
#include "src/win/platform/qt_key_message.h"
#include "src/win/app/update_checker.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <optional>
#include <tuple>

#include <gtest/gtest.h>

namespace qorva {
namespace {

std::vector<KeyMessage> Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                              const QString& text = {}) {
    return KeyMessagesFor(QEvent::KeyPress, key, modifiers, text);
}

// Kind, code and modifiers, to compare whole messages.
std::vector<std::tuple<KeyMessageKind, int, int>> Fields(const std::vector<KeyMessage>& messages) {
    std::vector<std::tuple<KeyMessageKind, int, int>> fields;
    for (const KeyMessage& m : messages) fields.emplace_back(m.kind, m.code, m.modifiers);
    return fields;
}

TEST(QtKeyMessages, PressesGiveAKeyDownAndTheirCharacterReleasesOneKeyUp) {
    using K = KeyMessageKind;
    struct Case { const char* what; std::vector<KeyMessage> messages, expected; };
    for (const Case& c : std::vector<Case>{
             {"Shift+Tab", Press(Qt::Key_Backtab, Qt::ShiftModifier), {{K::KeyDown, vk::Tab, kModShift}, {K::Char, vk::Tab, kModShift}}},
             {"keypad Enter", Press(Qt::Key_Enter, Qt::KeypadModifier, "\r"), {{K::KeyDown, vk::Return, 0}, {K::Char, vk::Return, 0}}},
             {"Shift+A", Press(Qt::Key_A, Qt::ShiftModifier, "A"), {{K::KeyDown, 'A', kModShift}, {K::Char, 'A', kModShift}}},
             {"Left, which types nothing", Press(Qt::Key_Left), {{K::KeyDown, vk::Left, 0}}},
             {"Ctrl+.", Press(Qt::Key_Period, Qt::ControlModifier), {{K::KeyDown, vk::OemPeriod, kModCtrl}}},
             {"Ctrl alone counts itself", Press(Qt::Key_Control), {{K::KeyDown, vk::Control, kModCtrl}}},
             {"Ctrl released", KeyMessagesFor(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier, {}),
              {{K::KeyUp, vk::Control, 0}}},
             {"Tab released", KeyMessagesFor(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, "\t"), {{K::KeyUp, vk::Tab, 0}}}}) {
        EXPECT_EQ(Fields(c.messages), Fields(c.expected)) << c.what;
    }
    EXPECT_EQ(ModifierSetFor(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier),
              kModCtrl | kModAlt | kModShift);
}

class CountingIdle : public CIdleHandler {
public:
    int runs = 0;
    int wantsMore = 0;  // runs that still ask for another
    bool OnIdle() override {
        ++runs;
        return wantsMore-- > 0;
    }
};

// Spins the loop briefly so it blocks and reaches its idle point.
void Spin() {
    QTimer::singleShot(30, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST(MessageLoop, RegistersForItsThreadAndRunsIdleHandlersOncePerIdlePeriod) {
    EXPECT_EQ(ChromiumMessageHandler::Current(), nullptr);
    auto loop = std::make_unique<ChromiumMessageHandler>();
    EXPECT_EQ(ChromiumMessageHandler::Current(), loop.get());
    CountingIdle idle;
    loop->AddIdleHandler(&idle);
    QObject target;
    // The handlers' runs so far, after an event of `type` reached the program (none: nothing did).
    const auto runsAfter = [&](std::optional<QEvent::Type> type) {
        QEvent event(type.value_or(QEvent::None));
        if (type) QCoreApplication::sendEvent(&target, &event);
        loop->RunIdleHandlers();
        return idle.runs;
    };
    EXPECT_EQ(runsAfter({}), 1);
    EXPECT_EQ(runsAfter({}), 1) << "no new period without activity";
    for (QEvent::Type type : {QEvent::MouseMove, QEvent::HoverMove, QEvent::Paint}) {
        EXPECT_EQ(runsAfter(type), 1) << "moves and painting start no period: " << type;
    }
    EXPECT_EQ(runsAfter(QEvent::KeyPress), 2);
    EXPECT_EQ(runsAfter(static_cast<QEvent::Type>(QEvent::User + 1)), 3) << "the program's own events do";
    loop->StartIdlePeriod();
    Spin();
    EXPECT_EQ(idle.runs, 4) << "the loop runs idle handlers when it is about to wait";
    loop->RemoveIdleHandler(&idle);
    EXPECT_EQ(runsAfter(QEvent::KeyPress), 4);

    // A handler wanting more keeps the period open.
    idle.wantsMore = 2;
    loop->AddIdleHandler(&idle);
    loop->StartIdlePeriod();
    for (int i = 0; i < 5; ++i) loop->RunIdleHandlers();
    EXPECT_EQ(idle.runs, 7);
    loop.reset();
    EXPECT_EQ(ChromiumMessageHandler::Current(), nullptr);
}

TEST(Appcast, NewestItemWinsBrokenFeedsGiveNothingVersionsCompareAsNumbers) {
    const QByteArray feed = R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
 <channel><title>Qorva</title>
  <item><title>Qorva 0.9</title><enclosure url="https://example.org/q-0.9.deb" sparkle:version="0.9"/></item>
  <item><title>Qorva 0.10</title><sparkle:version>0.10</sparkle:version>
        <enclosure url="https://example.org/q-0.10.deb"/></item>
  <item><title>Qorva 0.2</title><enclosure url="https://example.org/q-0.2.deb" sparkle:version="0.2"/></item>
 </channel></rss>)";
    const auto latest = LatestAppcastItem(feed);
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->version, QStringLiteral("0.10"));
    EXPECT_EQ(latest->downloadUrl, QStringLiteral("https://example.org/q-0.10.deb"));
    EXPECT_FALSE(LatestAppcastItem("<rss><channel><item><title>x</item>"));
    EXPECT_FALSE(LatestAppcastItem("<rss><channel></channel></rss>"));
    EXPECT_FALSE(LatestAppcastItem("\x00\xff garbage"));
    EXPECT_LT(CompareVersions("0.9", "0.10"), 0);
    EXPECT_EQ(CompareVersions("1.2", "1.2.0"), 0);
    EXPECT_GT(CompareVersions("2", "1.9.9"), 0);
}

}  // namespace
}  // namespace qorva

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
