#include "src/win/platform/page_call.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

namespace qorva {
namespace {

// One quoted JavaScript string literal.
QString ScriptString(const std::string& text) {
    const QJsonArray wrapped{QString::fromStdString(text)};
    QByteArray json = QJsonDocument(wrapped).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// The first element of every answer the call script gives.
enum AnswerKind { kValue = 0, kError = 1, kKeysPending = 2 };

}  // namespace

QString KeyCounterScript() {
    // A key counts once its keydown is in and, for a key that types, the character
    // too: the browser hands that over as an input event of its own, which a call
    // could otherwise slip in front of. A keydown the page prevents types nothing.
    // A getter over a closure: page code can neither reset nor bump the count, and
    // key events the page makes up itself (not trusted) are not counted.
    return QStringLiteral(R"JS(
;(function () {
  if (Object.prototype.hasOwnProperty.call(window, '__qorvaKeysReceived')) return;
  var keydowns = 0, awaitingCharacter = null;
  function typesCharacter(event) {
    return Array.from(event.key).length === 1 && !event.ctrlKey && !event.altKey && !event.metaKey;
  }
  Object.defineProperty(window, '__qorvaKeysReceived', {
    get: function () {
      var last = awaitingCharacter;
      return last && !last.defaultPrevented && typesCharacter(last) ? keydowns - 1 : keydowns;
    },
    enumerable: false, configurable: false
  });
  window.addEventListener('keydown', function (event) {
    if (!event.isTrusted) return;
    keydowns += 1;
    awaitingCharacter = event;
  }, true);
  function characterIn(event) { if (event.isTrusted) awaitingCharacter = null; }
  window.addEventListener('keypress', characterIn, true);
  window.addEventListener('keyup', characterIn, true);
})();
)JS");
}

QString PageCallScript(std::string_view name, const std::optional<std::string>& first,
                       const std::optional<std::string>& second, qint64 awaitedKeys) {
    QStringList arguments;
    if (first) arguments << ScriptString(*first);
    if (second) {
        if (!first) arguments << QStringLiteral("undefined");
        arguments << ScriptString(*second);
    }
    // [kind, keys received, text]: the text is left out for null or undefined and
    // for "keys pending".
    return QStringLiteral(
               "(function(){var k=window.__qorvaKeysReceived|0;"
               "if(k<%3)return [2,k];"
               "if(typeof window[%1]!=='function')return [1,k,'no page function '+%1];"
               "try{var r=window[%1](%2);"
               "return r===null||r===undefined?[0,k]:[0,k,String(r)];}"
               "catch(e){return [1,k,String(e&&e.message!==undefined?e.message:e)];}})()")
        .arg(ScriptString(std::string(name)), arguments.join(QLatin1Char(',')),
             QString::number(awaitedKeys));
}

PageAnswer ReadPageAnswer(const QVariant& result) {
    const QVariantList list = result.toList();
    PageAnswer answer;
    if (list.size() < 2 || list.size() > 3) return answer;
    answer.keysReceived = list.at(1).toLongLong();
    const QString text = list.size() == 3 ? list.at(2).toString() : QString();
    switch (list.at(0).toInt()) {
        case kValue: answer.kind = PageAnswer::Kind::Value; break;
        case kError: answer.kind = PageAnswer::Kind::Error; break;
        case kKeysPending: answer.kind = PageAnswer::Kind::KeysPending; break;
        default: return {};
    }
    answer.text = text.toStdString();
    return answer;
}

PageAnswer CallAfterForwardedKeys(KeyLedger& ledger,
                                  const std::function<PageAnswer(qint64 awaited)>& attempt,
                                  const std::function<void()>& pause,
                                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const bool late = std::chrono::steady_clock::now() >= deadline;
        const qint64 expected = ledger.Expected();
        PageAnswer answer = attempt(late ? 0 : expected);
        if (answer.kind == PageAnswer::Kind::KeysPending && !late) {
            pause();
            continue;
        }
        if (answer.keysReceived) ledger.Settle(expected, *answer.keysReceived);
        return answer;
    }
}

}  // namespace qorva
