#include "src/win/platform/page_scheme.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
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
    if (found == pages_.constEnd()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    if (job->requestUrl().path() != QLatin1String("/editor.html")) {
        ServeLocalFile(job);
        return;
    }
    auto* buffer = new QBuffer(job);
    buffer->setData(found.value());
    buffer->open(QIODevice::ReadOnly);
    job->reply("text/html;charset=utf-8", buffer);
}

void PageSchemeHandler::ServeLocalFile(QWebEngineUrlRequestJob* job) {
    // An absolute picture path in a document without a folder resolves against
    // the page's own address; it names a file on this machine.
    const QString path = job->requestUrl().path(QUrl::FullyDecoded);
    const QFileInfo info(path);
    if (!info.isFile()) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    job->reply(QMimeDatabase().mimeTypeForFile(info).name().toUtf8(), file);
}

}  // namespace qorva
