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

// Rows and check of a live image fetched with a key: the image of a handling made through a link of this
// connection, on the address the link took, with the key of a row: this connection's, none, or that of a
// connection closed meanwhile. Only the first is served.
class LiveImages
{
public:
    static void addRows()
    {
        QTest::addColumn<QString>("whose");
        QTest::newRow("this connection's") << "live";
        QTest::newRow("none") << "none";
        QTest::newRow("a closed connection's") << "stale";
    }
    static void check(const QUrl& server, const QByteArray& token, const QString& authority, int patience)
    {
        QFETCH(QString, whose);
        LiveImages live(server, token, authority);
        QVERIFY(QTest::qWaitFor([&] { return !live.probe.isEmpty(); }, patience));
        live.link->setWelcomed();
        live.link->send(NetCodec::raise(live.probe, QStringLiteral("intrusion"), 1));
        QVERIFY(QTest::qWaitFor([&] { return !live.raised.isEmpty(); }, patience));
        live.link->send(QStringLiteral(R"({"op":"handle","uids":["%1"],"note":"n","mode":2,"inform":false,)"
                                       R"("requester":"r","batch":false})")
                            .arg(live.raised)
                            .toUtf8());
        QVERIFY(QTest::qWaitFor([&] { return !live.url.isEmpty(); }, patience));
        QCOMPARE(QUrl(live.url).scheme(), server.scheme() == "wss" ? QString("https") : QString("http"));
        QCOMPARE(QUrl(live.url).authority(), server.authority());
        if (whose == "live")
            QVERIFY(fetch(live.url, patience));
        LiveImages gone(server, token, authority);
        QVERIFY(QTest::qWaitFor([&] { return !gone.key.isEmpty(); }, patience));
        gone.link.reset();
        const QString url = QString(live.url).replace(live.key, whose == "stale" ? gone.key : QString());
        if (whose != "live")
            QTRY_VERIFY_WITH_TIMEOUT(!fetch(url, patience), patience);
    }

private:
    LiveImages(const QUrl& server, const QByteArray& token, const QString& authority)
        : link(std::make_unique<NetClientLink>(
              server, token, authority,
              NetClientLink::Callbacks{[this, server](const QByteArray& frame) { received(frame, server); },
                                       [](const QString&, int) {},
                                       [] {
                                           return qint64(-1);
                                       }}))
    {
        link->open();
    }
    void received(const QByteArray& frame, const QUrl& server)
    {
        const QJsonObject message = QJsonDocument::fromJson(frame).object();
        if (message.value("op") == "welcome") {
            key = message.value("imageKey").toString();
            probe = message.value("probes").toArray().first().toString();
        } else if (message.value("op") == "raised") {
            raised = message.value("uid").toString();
        } else if (message.value("op") == "handled") {
            const QJsonArray handling = message.value("p").toArray().at(10).toArray().last().toArray();
            url = QString::fromStdString(
                      NetCodec::imageUrls(handling.at(5).toString().toStdString(), server, key))
                      .section(',', 0, 0);
        }
    }
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

    std::unique_ptr<NetClientLink> link;
    QString key, probe, url, raised;
};
