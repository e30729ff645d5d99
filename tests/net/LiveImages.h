#pragma once

#include "HttpDownload.h"
#include "NetClientLink.h"
#include "NetCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// A connection to alarm-server that handles one alarm of a kind whose camera takes images, and the URLs of
// those images as this connection's client fetches them, with its key.
class LiveImages
{
public:
    LiveImages(const QUrl& server, const QByteArray& token, const QString& authority)
        : server(server)
        , link(std::make_unique<NetClientLink>(
              server, token, authority,
              NetClientLink::Callbacks{[this](const QByteArray& frame) { received(frame); },
                                       [](const QString&, int) {},
                                       [] {
                                           return qint64(-1);
                                       }}))
    {
        link->open();
    }
    bool welcomed(int patience)
    {
        return QTest::qWaitFor([this] { return !probe.isEmpty(); }, patience);
    }
    // False unless welcomed and the handled push came within patience.
    bool handleOne(int patience)
    {
        if (!welcomed(patience))
            return false;
        link->setWelcomed();
        link->send(NetCodec::raise(probe, QStringLiteral("intrusion"),
                                   QStringLiteral("img-%1").arg(quintptr(this))));
        link->send(QStringLiteral(R"({"op":"handle","uids":["img-%1"],"note":"n","mode":2,"inform":false,)"
                                  R"("requester":"r","batch":false})")
                       .arg(quintptr(this))
                       .toUtf8());
        return QTest::qWaitFor([this] { return !urls.isEmpty(); }, patience);
    }
    void close() { link.reset(); }
    // Through the host's downloader: true when the file came.
    static bool fetch(const QString& url, int patience)
    {
        ZCOMMON::HttpDownload download;
        QSignalSpy finished(&download, &ZCOMMON::HttpDownload::signalDownloadFinished);
        QSignalSpy failed(&download, &ZCOMMON::HttpDownload::signalDownloadError);
        download.download(url, QStringLiteral("fetched"));
        return QTest::qWaitFor([&] { return finished.size() + failed.size() > 0; }, patience) &&
               finished.size() == 1;
    }

    // Rows: whose key a request for an image carries, and whether it is served.
    static void addRows()
    {
        QTest::addColumn<QString>("whose");
        QTest::addColumn<bool>("served");
        QTest::newRow("this connection's") << "live" << true;
        QTest::newRow("none") << "none" << false;
        QTest::newRow("a closed connection's") << "stale" << false;
    }
    // The image of a handling made here, fetched on the address the link took, with the key of the row.
    static void check(const QUrl& server, const QByteArray& token, const QString& authority, int patience)
    {
        QFETCH(QString, whose);
        QFETCH(bool, served);
        LiveImages live(server, token, authority);
        QVERIFY(live.handleOne(patience));
        QString url = live.urls.first();
        QCOMPARE(QUrl(url).scheme(), server.scheme() == "wss" ? QString("https") : QString("http"));
        QCOMPARE(QUrl(url).authority(), server.authority());
        if (whose != "live") {
            LiveImages gone(server, token, authority);
            QVERIFY(gone.welcomed(patience));
            gone.close();
            url.replace(live.key, whose == "stale" ? gone.key : QString());
        }
        if (served)
            QVERIFY(fetch(url, patience));
        else
            QTRY_VERIFY_WITH_TIMEOUT(!fetch(url, patience), patience);
    }

    QString key;
    QStringList urls;

private:
    void received(const QByteArray& frame)
    {
        const QJsonObject message = QJsonDocument::fromJson(frame).object();
        if (message.value("op") == "welcome") {
            key = message.value("imageKey").toString();
            probe = message.value("probes").toArray().first().toString();
        } else if (message.value("op") == "handled") {
            const QJsonArray handling = message.value("p").toArray().at(10).toArray().last().toArray();
            for (const QString& url :
                 QString::fromStdString(
                     NetCodec::imageUrls(handling.at(5).toString().toStdString(), server, key))
                     .split(','))
                urls.append(url);
        }
    }

    const QUrl server;
    std::unique_ptr<NetClientLink> link;
    QString probe;
};
