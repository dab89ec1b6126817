#include "src/win/platform/host_object.h"

#include "src/win/platform/browser.h"
#include "src/win/platform/page_call.h"

#include <QFile>

namespace qorva {

HostObject::HostObject(BrowserWindowClient* client, QObject* parent)
    : QObject(parent), client_(client) {}

void HostObject::callbackOpenUrl_(const QString& url) { client_->callbackOpenUrl_(url.toStdString()); }
void HostObject::callbackOpenFile_(const QString& path) {
    client_->callbackOpenFile_(path.toStdString());
}
void HostObject::callbackChangeDone() { client_->callbackChangeDone(); }
void HostObject::callbackChangeUndone() { client_->callbackChangeUndone(); }

QString HostObject::BootstrapScript() {
    QFile library(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    // The key counter first: its listeners must come before any of the page's.
    QString script = KeyCounterScript();
    if (library.open(QIODevice::ReadOnly)) script += QString::fromUtf8(library.readAll());
    script += QStringLiteral(R"JS(
;(function () {
  if (window.Host) return;
  var host = null, pending = [];
  function forward(name) {
    return function () {
      var args = Array.prototype.slice.call(arguments);
      if (host) host[name].apply(host, args); else pending.push([name, args]);
    };
  }
  window.Host = {
    callbackOpenUrl_: forward('callbackOpenUrl_'),
    callbackOpenFile_: forward('callbackOpenFile_'),
    callbackChangeDone: forward('callbackChangeDone'),
    callbackChangeUndone: forward('callbackChangeUndone')
  };
  function connect() {
    if (host || typeof QWebChannel === 'undefined' || !window.qt || !qt.webChannelTransport) return false;
    new QWebChannel(qt.webChannelTransport, function (channel) {
      host = channel.objects.Host;
      pending.forEach(function (call) { host[call[0]].apply(host, call[1]); });
      pending = [];
    });
    return true;
  }
  if (!connect()) document.addEventListener('DOMContentLoaded', connect);
})();
)JS");
    return script;
}

}  // namespace qorva
