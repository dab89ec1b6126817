// Page calls that keep their place behind typed keys.
//
// Keys the shell lets through reach the page on the browser's input channel, page
// calls on another one, so a call made for Enter could run before the characters
// typed just ahead of it. The page counts the keys it has received; a call script
// compares that count with the key presses the shell has let through and, while
// the page is behind, answers "not yet" without calling anything.
// Qt Core only, so it tests without a browser.
#pragma once

#include <QString>
#include <QVariant>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qorva {

// Script for the document-creation bootstrap: counts the keys the page receives into
// the read-only window.__qorvaKeysReceived, listening at window capture before the
// page's own listeners, so that no page handler can hide a key from it.
QString KeyCounterScript();

// Script calling window[name] with up to two text arguments, unless the page has
// received fewer than `awaitedKeys` keys.
QString PageCallScript(std::string_view name, const std::optional<std::string>& first,
                       const std::optional<std::string>& second, qint64 awaitedKeys);

struct PageAnswer {
    enum class Kind {
        Value,        // `text` holds the result (empty for null or undefined)
        Error,        // `text` holds the message
        KeysPending,  // the page has not seen all forwarded keys; nothing was called
        None,         // no answer the script gives (page gone or not loaded)
    };
    Kind kind = Kind::None;
    std::string text;
    std::optional<qint64> keysReceived;
};

PageAnswer ReadPageAnswer(const QVariant& result);

// Keys the page should have received, counted from the last page load.
class KeyLedger {
public:
    void KeyForwarded() { ++expected_; }
    void Reset() { expected_ = 0; }
    qint64 Expected() const { return expected_; }
    // The page had received `received` keys where `asked` were expected: follow the
    // page, since a key the browser drops or one the shell never saw must not hold
    // up later calls.
    void Settle(qint64 asked, qint64 received) { expected_ += received - asked; }

private:
    qint64 expected_ = 0;
};

// Runs `attempt` with the ledger's expected count until the page has caught up, with
// `pause` between tries; once `limit` has passed, one last attempt awaits nothing.
// The ledger then follows the page's count.
PageAnswer CallAfterForwardedKeys(KeyLedger& ledger,
                                  const std::function<PageAnswer(qint64 awaited)>& attempt,
                                  const std::function<void()>& pause,
                                  std::chrono::milliseconds limit);

}  // namespace qorva
