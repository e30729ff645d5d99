#include "HttpDownload.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace ZCOMMON {

namespace {

const char* const TargetProperty = "ZCOMMON_downloadTarget";

QSaveFile* targetOf(QNetworkReply* reply)
{
    return reply->findChild<QSaveFile*>(QString(), Qt::FindDirectChildrenOnly);
}

// Set once by the host at start, before any download.
QList<QSslCertificate>& extraAuthorities()
{
    static QList<QSslCertificate> authorities;
    return authorities;
}

} // namespace

HttpDownload::HttpDownload(QObject* parent) : QObject(parent), manager(new QNetworkAccessManager(this)) {}

HttpDownload::~HttpDownload() = default;

int HttpDownload::pendingCount() const
{
    int running = 0;
    for (const QNetworkReply* reply : manager->findChildren<QNetworkReply*>())
        running += reply->isRunning() ? 1 : 0;
    return running;
}

void HttpDownload::failLater()
{
    // Callers connect after calling download(); a failure found at once is reported from the event loop.
    QTimer::singleShot(0, this, &HttpDownload::signalDownloadError);
}

bool HttpDownload::trustAuthority(const QString& pemFile)
{
    const QList<QSslCertificate> authorities = QSslCertificate::fromPath(pemFile);
    extraAuthorities().append(authorities);
    return !authorities.isEmpty();
}

void HttpDownload::download(const QString& url, const QString& folder)
{
    download(url, folder, QString());
}

void HttpDownload::download(const QString& url, const QString& folder, const QString& fileName)
{
    // The address comes from a server, which is not trusted with this computer's files: no file: URL, no
    // local path.
    const QUrl address(url.trimmed());
    const QString scheme = address.scheme().toLower();
    const QString name = fileName.isEmpty() ? address.path().section(QLatin1Char('/'), -1) : fileName;
    const bool known = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    if (!address.isValid() || !known || name.isEmpty() || name == QLatin1String(".") ||
        name == QLatin1String("..") || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        folder.isEmpty()) {
        failLater();
        return;
    }

    QDir dir(folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral("."))) {
        failLater();
        return;
    }

    QNetworkRequest request(address);
    if (!extraAuthorities().isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(tls.caCertificates() + extraAuthorities());
        request.setSslConfiguration(tls);
    }
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager->get(request);

    // The file is written as the data arrives, and only replaces an older file once it is complete.
    auto* target = new QSaveFile(dir.absoluteFilePath(name), reply);
    reply->setProperty(TargetProperty, target->fileName());
    if (!target->open(QIODevice::WriteOnly)) {
        reply->abort();
        reply->deleteLater();
        failLater();
        return;
    }
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onReadyRead(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void HttpDownload::onReadyRead(QNetworkReply* reply)
{
    QSaveFile* target = targetOf(reply);
    const QByteArray data = reply->readAll();
    if (target && target->isOpen() && target->write(data) != data.size())
        target->cancelWriting();
}

void HttpDownload::onFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    QSaveFile* target = targetOf(reply);
    bool ok = target && target->isOpen() && reply->error() == QNetworkReply::NoError;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() >= 300))
        ok = false;
    if (ok) {
        const QByteArray rest = reply->readAll();
        ok = target->write(rest) == rest.size() && target->commit();
    } else if (target && target->isOpen()) {
        target->cancelWriting();
        target->commit();
    }

    if (ok)
        emit signalDownloadFinished(reply->property(TargetProperty).toString());
    else
        emit signalDownloadError();
}

} // namespace ZCOMMON
