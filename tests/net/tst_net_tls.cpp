// alarm-server off plain ws://: with a certificate it serves wss://, and the client trusts it only through
// the authority it was given, for its live images too. All on loopback, with a certificate made for
// 127.0.0.1 on the spot.
#include "AlarmServer.h"
#include "LiveImages.h"

class TstNetTls : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;

private slots:
    void initTestCase()
    {
        QDir(QStringLiteral("tls")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral("tls")));
        const int made = QProcess::execute(
            QStringLiteral("openssl"),
            {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
             "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", "tls/key.pem", "-out", "tls/cert.pem"});
        QCOMPARE(made, 0);
        QVERIFY(server.start(QStringLiteral("tls"), {"--cert", "tls/cert.pem", "--key", "tls/key.pem"}, 0,
                             Patience));
        QCOMPARE(server.url.scheme(), QStringLiteral("wss"));
        QVERIFY(ZCOMMON::HttpDownload::trustAuthority(QStringLiteral("tls/cert.pem")));
    }

    void cleanupTestCase()
    {
        QVERIFY(server.stop(Patience));
        QCOMPARE(server.process.exitCode(), 0);
    }

    // Without the authority nothing is trusted; with it, the live images below are welcomed.
    void noAuthorityNoWelcome()
    {
        QStringList ops;
        QString lost;
        NetClientLink link(server.url, server.token, QString(),
                           {[&](const QByteArray& frame) {
                                ops.append(QJsonDocument::fromJson(frame).object().value("op").toString());
                            },
                            [&](const QString& reason, int) { lost = reason; },
                            [] {
                                return qint64(-1);
                            }});
        link.open();
        QTRY_VERIFY_WITH_TIMEOUT(!lost.isEmpty(), Patience);
        link.stopReconnecting();
        QVERIFY2(ops.isEmpty(), qPrintable(ops.join(',')));
    }

    // Over https, on the server's own port, trusted through the same authority.
    void liveImagesNeedALiveConnectionsKey_data() { LiveImages::addRows(); }
    void liveImagesNeedALiveConnectionsKey()
    {
        LiveImages::check(server.url, server.token, QStringLiteral("tls/cert.pem"), Patience);
    }
};

QTEST_MAIN(TstNetTls)
#include "tst_net_tls.moc"
