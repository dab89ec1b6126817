// Page call scripts and the page's key counter, run in Qt's own JavaScript engine
// against a stand-in window; the wait for forwarded keys with a stand-in page.
#include "src/win/platform/page_call.h"

#include <QCoreApplication>
#include <QJSEngine>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace qorva {
namespace {

// A global object that is also `window`, with addEventListener recording what is
// registered and key events handed to those listeners.
class StandInWindow : public ::testing::Test {
protected:
    StandInWindow() {
        engine_.globalObject().setProperty(QStringLiteral("window"), engine_.globalObject());
        Run("var listeners = [], calls = [];"
            "function addEventListener(type, listener, capture) {"
            "  listeners.push({type: type, listener: listener, capture: capture}); }"
            "function echo(a, b) { calls.push([a, b]); return a + '|' + b; }"
            "function nothing() { calls.push([]); return null; }"
            "function fails() { calls.push([]); throw new Error('it broke'); }");
    }

    QJSValue Run(const QString& script) {
        const QJSValue value = engine_.evaluate(script);
        EXPECT_FALSE(value.isError()) << value.toString().toStdString();
        return value;
    }
    QJSValue Run(const char* script) { return Run(QString::fromUtf8(script)); }
    void SetReceived(int keys) { Run(QStringLiteral("window.__qorvaKeysReceived = %1").arg(keys)); }
    int Received() { return Run("window.__qorvaKeysReceived").toInt(); }
    int Calls() { return Run("calls.length").toInt(); }
    PageAnswer Call(std::string_view name, qint64 awaited, const std::optional<std::string>& first = std::nullopt,
                    const std::optional<std::string>& second = std::nullopt) {
        return ReadPageAnswer(Run(PageCallScript(name, first, second, awaited)).toVariant());
    }
    // A key event as the browser hands it to the listeners; it stays in `event` for
    // the test to mark as a page handler would.
    void Dispatch(const char* type, const char* fields, bool trusted = true) {
        Run(QStringLiteral("var event = {type: '%1', isTrusted: %2, defaultPrevented: false,"
                           "  ctrlKey: false, altKey: false, metaKey: false, %3};"
                           "listeners.forEach(function (l) { if (l.type === event.type) l.listener(event); })")
                .arg(QString::fromUtf8(type), trusted ? "true" : "false", QString::fromUtf8(fields)));
    }

    QJSEngine engine_;
};

using Kind = PageAnswer::Kind;

// Kind, text and keys received, to compare whole answers.
std::tuple<Kind, std::string, std::optional<qint64>> Whole(const PageAnswer& answer) {
    return {answer.kind, answer.text, answer.keysReceived};
}

TEST_F(StandInWindow, CallWaitsUntilThePageHasCaughtUpAndReportsItsCount) {
    EXPECT_EQ(Call("echo", 1, "a").kind, Kind::KeysPending) << "no counter: nothing received";
    EXPECT_EQ(Call("echo", 0, "a").kind, Kind::Value);
    SetReceived(4);
    EXPECT_EQ(Whole(Call("echo", 5, "a")), Whole({Kind::KeysPending, "", 4}));
    EXPECT_EQ(Calls(), 1) << "nothing may run before the keys are in";

    SetReceived(7);
    const std::string odd = "quote \" backslash \\ line\n\u00e9 </script>";
    EXPECT_EQ(Whole(Call("echo", 7, odd, "b")), Whole({Kind::Value, odd + "|b", 7}));
    EXPECT_EQ(Whole(Call("echo", 3, std::nullopt, "second")), Whole({Kind::Value, "undefined|second", 7}))
        << "a missing first argument stays undefined; more received than awaited still runs";
    EXPECT_EQ(Calls(), 3);
}

TEST_F(StandInWindow, NullAndErrorsKeepTheirMeaningAnythingElseIsNoAnswer) {
    const auto kindAndText = [](const PageAnswer& answer) { return std::pair(answer.kind, answer.text); };
    EXPECT_EQ(kindAndText(Call("nothing", 0)), std::pair(Kind::Value, std::string()));
    EXPECT_EQ(kindAndText(Call("fails", 0)), std::pair(Kind::Error, std::string("it broke")));
    const PageAnswer missing = Call("noSuchFunction", 0);
    EXPECT_EQ(kindAndText(missing), std::pair(Kind::Error, std::string("no page function noSuchFunction")));
    for (const QVariant& odd : {QVariant(), QVariant(QVariantList{0}), QVariant(QVariantList{7, 1, QStringLiteral("x")})}) {
        EXPECT_EQ(Whole(ReadPageAnswer(odd)), Whole({})) << odd.toString().toStdString();
    }
}

TEST_F(StandInWindow, CounterListensAtCaptureOnceAndCountsKeysThatTypeNothingAtTheirKeydown) {
    Run(KeyCounterScript());
    Run(KeyCounterScript());  // a second run must not count twice
    EXPECT_EQ(Run("listeners.filter(function (l) { return l.type === 'keydown'; }).length").toInt(), 1);
    EXPECT_TRUE(Run("listeners.every(function (l) { return l.capture; })").toBool());
    Dispatch("keydown", "key: 'ArrowLeft'");
    Dispatch("keydown", "key: 'b', ctrlKey: true");
    Dispatch("keydown", "key: 'Shift'");
    EXPECT_EQ(Received(), 3);
    // A keydown the page prevents types nothing either.
    Dispatch("keydown", "key: 'x'");
    Run("event.defaultPrevented = true");
    EXPECT_EQ(Received(), 4);
}

TEST_F(StandInWindow, KeyThatTypesCountsOnceItsCharacterIsIn) {
    Run(KeyCounterScript());
    Dispatch("keydown", "key: 'd'");
    EXPECT_EQ(Received(), 0);
    EXPECT_EQ(Call("echo", 1, "a").kind, PageAnswer::Kind::KeysPending);
    Dispatch("keypress", "key: 'd'");
    EXPECT_EQ(Received(), 1);
    EXPECT_EQ(Call("echo", 1, "a").kind, PageAnswer::Kind::Value);

    Dispatch("keydown", "key: ' '");
    // A keypress made up by page code is no sign of the browser's character.
    Dispatch("keypress", "key: ' '", false);
    EXPECT_EQ(Received(), 1);
    Dispatch("keyup", "key: ' '");
    EXPECT_EQ(Received(), 2);
    Dispatch("keydown", "key: '\u00e9'");
    EXPECT_EQ(Received(), 2);
}

TEST_F(StandInWindow, CounterIgnoresMadeUpKeydownsAndCannotBeChanged) {
    Run(KeyCounterScript());
    Dispatch("keydown", "key: 'Enter'");
    Dispatch("keydown", "key: 'Enter'", false);
    EXPECT_EQ(Received(), 1);
    Run("try { window.__qorvaKeysReceived = 100; } catch (e) {}");
    EXPECT_EQ(Received(), 1);
    EXPECT_FALSE(Run("Object.keys(window).indexOf('__qorvaKeysReceived') >= 0").toBool());
}

// A page that takes in one more key each time the shell pauses, up to `arriving`.
struct StandInPage {
    qint64 received = 0, arriving = 0;
    int attempts = 0, runs = 0;
    std::vector<qint64> awaited;

    PageAnswer Attempt(qint64 awaitedKeys) {
        ++attempts;
        awaited.push_back(awaitedKeys);
        if (received < awaitedKeys) return {PageAnswer::Kind::KeysPending, {}, received};
        ++runs;
        return {PageAnswer::Kind::Value, "ran", received};
    }
    void Pause() { received += received < arriving; }
};

PageAnswer CallOn(StandInPage& page, KeyLedger& ledger, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    return CallAfterForwardedKeys(ledger, [&](qint64 awaited) { return page.Attempt(awaited); }, [&] { page.Pause(); }, limit);
}

TEST(CallAfterForwardedKeys, RunsAtOnceInStepOrAfterWaitingForKeysOnTheirWay) {
    for (const auto& [received, attempts] : {std::pair{5, 1}, std::pair{2, 4}}) {
        StandInPage page{.received = received, .arriving = 5};
        KeyLedger ledger;
        for (int i = 0; i < 5; ++i) ledger.KeyForwarded();
        const std::string text = CallOn(page, ledger).text;
        EXPECT_EQ(std::tuple(text, page.runs, page.attempts, page.received, ledger.Expected()),
                  std::tuple("ran", 1, attempts, 5, 5));
    }
}

TEST(CallAfterForwardedKeys, AKeyThatNeverArrivesHoldsUpOneCallOnly) {
    StandInPage page{.received = 3, .arriving = 3};
    KeyLedger ledger;
    for (int i = 0; i < 4; ++i) ledger.KeyForwarded();
    const auto limit = std::chrono::milliseconds(20);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CallOn(page, ledger, limit).text, "ran");
    EXPECT_GE(std::chrono::steady_clock::now() - start, limit);
    // The last attempt awaits nothing, and the ledger follows the page.
    EXPECT_EQ(std::tuple(page.runs, page.awaited.back(), ledger.Expected()), std::tuple(1, 0, 3));

    // The next key and call are in step again.
    ledger.KeyForwarded();
    page.received = page.arriving = 4;
    page.attempts = 0;
    CallOn(page, ledger, limit);
    EXPECT_EQ(std::pair(page.attempts, page.awaited.back()), std::pair(1, qint64{4}));
}

TEST(CallAfterForwardedKeys, KeysTheShellNeverCountedRaiseTheLedger) {
    StandInPage page{.received = 3, .arriving = 3};
    KeyLedger ledger;
    ledger.KeyForwarded();
    CallOn(page, ledger);
    EXPECT_EQ(ledger.Expected(), 3);
    ledger.KeyForwarded();
    page.arriving = 4;
    page.attempts = 0;
    CallOn(page, ledger);
    EXPECT_EQ(page.attempts, 2) << "the new key is awaited, not taken as already received";
}

TEST(CallAfterForwardedKeys, KeysLetThroughDuringTheCallStayCounted) {
    StandInPage page{.received = 1, .arriving = 1};
    KeyLedger ledger;
    ledger.KeyForwarded();
    const auto attempt = [&](qint64 awaited) {
        ledger.KeyForwarded();
        return page.Attempt(awaited);
    };
    CallAfterForwardedKeys(ledger, attempt, [] {}, std::chrono::seconds(10));
    EXPECT_EQ(ledger.Expected(), 2);
}

}  // namespace
}  // namespace qorva

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the JavaScript engine needs one
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
