#pragma once

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

namespace ZCOMMON {

// Fetches a file (http or https URL) into a folder without blocking the caller. The file is named
// after the last segment of the URL's path; the query is ignored. An existing file of that name is replaced
// only once the new content is complete.
class HttpDownload : public QObject
{
    Q_OBJECT

public:
    explicit HttpDownload(QObject* parent = nullptr);
    ~HttpDownload() override;

    // Starts the download; exactly one of the two signals follows, later, for each call.
    void download(const QString& url, const QString& folder);
    // The same, into a file name the caller chose (a plain name, no folder part).
    void download(const QString& url, const QString& folder, const QString& fileName);

    // Downloads started and not yet finished.
    int pendingCount() const;

    // https downloads of every instance trust the certificates of this file (PEM) besides the system's
    // authorities: a private authority of the servers the host talks to. False when it holds none.
    static bool trustAuthority(const QString& pemFile);

signals:
    void signalDownloadFinished(const QString& filePath);
    void signalDownloadError();

private:
    void failLater();
    void onReadyRead(QNetworkReply* reply);
    void onFinished(QNetworkReply* reply);

    QNetworkAccessManager* manager = nullptr;
};

} // namespace ZCOMMON
