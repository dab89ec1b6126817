// Serves the editor page's HTML text to the browser under the qorva: scheme, so a
// page of any size loads from memory (setHtml is limited to 2 MB) and may still
// show pictures from file: URLs. Other paths under a page's address are files of
// this machine, so absolute picture paths work in an untitled document too.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace qorva {

inline constexpr char kPageScheme[] = "qorva";

class PageSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    // Registers the scheme; must run before the application object exists.
    static void RegisterScheme();

    // Keeps the page text and returns the address it is served under.
    QUrl AddPage(const QByteArray& html);
    void RemovePage(const QUrl& url);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    static void ServeLocalFile(QWebEngineUrlRequestJob* job);

    QHash<QString, QByteArray> pages_;
    int nextPage_ = 1;
};

}  // namespace qorva
