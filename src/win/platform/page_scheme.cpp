#include "src/win/platform/page_scheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace qorva {

void PageSchemeHandler::RegisterScheme() {
    QWebEngineUrlScheme scheme(kPageScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Local access lets the page show pictures that sit next to the document.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                    QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PageSchemeHandler::AddPage(const QByteArray& html) {
    const QString host = QStringLiteral("page%1").arg(nextPage_++);
    pages_.insert(host, html);
    return QUrl(QStringLiteral("%1://%2/editor.html").arg(QLatin1String(kPageScheme), host));
}

void PageSchemeHandler::RemovePage(const QUrl& url) { pages_.remove(url.host()); }

void PageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    auto found = pages_.constFind(job->requestUrl().host());
    if (found == pages_.constEnd() || job->requestUrl().path() != QLatin1String("/editor.html")) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(found.value());
    buffer->open(QIODevice::ReadOnly);
    job->reply("text/html;charset=utf-8", buffer);
}

}  // namespace qorva
