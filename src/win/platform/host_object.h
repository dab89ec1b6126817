// window.Host: the object the page calls through the web channel. Each callback is
// handed to the browser window's client.
#pragma once

#include <QObject>
#include <QString>

namespace qorva {

class BrowserWindowClient;

class HostObject : public QObject {
    Q_OBJECT
public:
    HostObject(BrowserWindowClient* client, QObject* parent);

    Q_INVOKABLE void callbackOpenUrl_(const QString& url);
    Q_INVOKABLE void callbackOpenFile_(const QString& path);
    Q_INVOKABLE void callbackChangeDone();
    Q_INVOKABLE void callbackChangeUndone();

    // Script run at document creation: the page's key counter, the web
    // channel's client library and a window.Host that exists from the first line
    // of the page on and forwards its calls once the channel is connected.
    static QString BootstrapScript();

private:
    BrowserWindowClient* client_;
};

}  // namespace qorva
