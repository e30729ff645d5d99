// Named operators against one alarm-server with a send budget of 1 MiB: who handled and who has an alarm open
// reach everybody, rights are the server's to enforce, a removed operator is cut off, and the audit keeps it
// all. What one client asks, fails to read or leaves unfinished is refused or cut, and the others are served
// meanwhile. Off plain ws:// with a certificate made for 127.0.0.1 on the spot, it serves wss://, which the
// client trusts only through the authority it was given, for its live images too.
#include "AlarmServer.h"
#include "BareClient.h"

#include "HttpDownload.h"
#include "NetAlarmClient.h"
#include "NetClientLink.h"
#include "NetCodec.h"

#include <QSignalSpy>
#include <QTcpSocket>

#include <netinet/in.h>
#include <sys/socket.h>

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

class TstNetServer : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;
    AlarmServer secure;
    QMap<QString, QByteArray> tokens;
    BareClient listener; // the first operator's
    QString probe;

    // The server program on this test's data folder; its exit code, its output in out.
    static int run(const QStringList& arguments, QByteArray* out = nullptr)
    {
        QProcess program;
        program.start(QStringLiteral(VIG_ALARM_SERVER),
                      QStringList{"--data", "operators", "--listen", "127.0.0.1:0"} + arguments);
        if (!program.waitForFinished(Patience)) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        if (out)
            *out = program.readAllStandardOutput();
        return program.exitCode();
    }
    void addOperator(const QString& name, const QString& rights)
    {
        QCOMPARE(run({"--add-operator", name, "--tel", name + "-tel", "--rights", rights}), 0);
        QFile file("operators/operators/" + name + ".token");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        tokens[name] = file.readAll().trimmed();
    }

private slots:
    void initTestCase()
    {
        QDir("operators").removeRecursively();
        QVERIFY(server.start("operators", {"--send-budget", "1"}, 0, Patience));
        tokens["first"] = server.token;
        addOperator("watcher", "watch");
        addOperator("handler", "handle");
        addOperator("leaver", "handle");
        listener.open(server.port, server.token);
        QTRY_VERIFY_WITH_TIMEOUT(!listener.find("caughtUp").isEmpty(), Patience);
        probe = listener.find("welcome").value("probes").toArray().first().toString();
        QDir(QStringLiteral("tls")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral("tls")));
        const int made = QProcess::execute(
            QStringLiteral("openssl"),
            {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
             "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", "tls/key.pem", "-out", "tls/cert.pem"});
        QCOMPARE(made, 0);
        QVERIFY(secure.start(QStringLiteral("tls"), {"--cert", "tls/cert.pem", "--key", "tls/key.pem"}, 0,
                             Patience));
        QCOMPARE(secure.url.scheme(), QStringLiteral("wss"));
        QVERIFY(ZCOMMON::HttpDownload::trustAuthority(QStringLiteral("tls/cert.pem")));
    }
    void cleanupTestCase()
    {
        QVERIFY(server.stop(Patience));
        QVERIFY(secure.stop(Patience));
        QCOMPARE(secure.process.exitCode(), 0);
    }

    // Without the authority nothing is trusted; with it, the live images below are welcomed.
    void noAuthorityNoWelcome()
    {
        QStringList ops;
        QString lost;
        NetClientLink link(secure.url, secure.token, QString(),
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

    // Over http and https, on the server's own port; the latter trusted through the same authority.
    void liveImagesNeedALiveConnectionsKey_data() { LiveImages::addRows(); }
    void liveImagesNeedALiveConnectionsKey()
    {
        LiveImages::check(server.url, server.token, QString(), Patience);
        LiveImages::check(secure.url, secure.token, QStringLiteral("tls/cert.pem"), Patience);
    }

    void twoOperatorsSeeEachOther_data()
    {
        QTest::addColumn<QString>("doer");
        QTest::addColumn<QString>("seer");
        QTest::newRow("handler seen by the first") << QString("handler") << QString("first");
        QTest::newRow("first seen by the handler") << QString("first") << QString("handler");
    }
    void twoOperatorsSeeEachOther()
    {
        QFETCH(QString, doer);
        QFETCH(QString, seer);
        NetAlarmClient doing(server.url, tokens[doer]);
        NetAlarmClient seeing(server.url, tokens[seer]);
        QTRY_COMPARE_WITH_TIMEOUT(doing.state(), NetAlarmClient::Connected, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(seeing.state(), NetAlarmClient::Connected, Patience);
        QCOMPARE(doing.presence()->self().rights,
                 doer == "first" ? AlarmPresence::Control : AlarmPresence::Handle);
        const AlarmPresence::Operator who = doing.presence()->self();
        BareClient* observer = new BareClient(server.port, tokens.value(seer), -1, this);
        QTRY_VERIFY_WITH_TIMEOUT(!observer->find("welcome").isEmpty(), Patience);

        const QString uid = (doer == "first" ? doing : seeing).raiseAlarm(doing.probeIds().first());
        QVERIFY(!uid.isEmpty());
        doing.presence()->take({uid});
        QTRY_COMPARE_WITH_TIMEOUT(seeing.presence()->takenBy(uid), who.name, Patience);
        QVERIFY(doing.presence()->takenBy(uid).isEmpty());
        doing.RequestHandleAlarm(uid.toUtf8(), "mine", 2, false, "req");
        QTRY_VERIFY_WITH_TIMEOUT(!observer->find("handled").isEmpty(), Patience);
        const QJsonArray handling =
            observer->find("handled").value("p").toArray().at(10).toArray().at(0).toArray();
        QCOMPARE(handling.at(0).toString(), who.name);
        QCOMPARE(handling.at(3).toString(), who.telephone);
        QTRY_VERIFY_WITH_TIMEOUT(seeing.presence()->takenBy(uid).isEmpty(), Patience);
    }

    void serverNamesRaisedAlarms()
    {
        BareClient* first = new BareClient(server.port, tokens.value("first"), -1, this);
        QTRY_VERIFY_WITH_TIMEOUT(!first->find("welcome").isEmpty(), Patience);
        first->send(QString(R"({"op":"raise","probe":"%1","kind":"","uid":"chosen","ref":7})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(first->hasAlarm(first->find("raised", "ref", 7).value("uid").toString()),
                                 Patience);
        QVERIFY(!first->hasAlarm("chosen"));
    }

    void refusedToTheSenderOnly_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code");
        QTest::newRow("watch handles") << "watcher"
                                       << R"({"op":"handle","uids":["x"],"note":"","mode":2,)"
                                          R"("inform":false,"requester":"w","batch":false})"
                                       << "handleResult" << 403;
        QTest::newRow("watch takes") << "watcher"
                                     << R"({"op":"take","uids":["x"]})"
                                     << "error" << 403;
        QTest::newRow("handle controls") << "handler"
                                         << R"({"op":"answerDelay","ms":60000})"
                                         << "error" << 403;
        QTest::newRow("handle raises") << "handler"
                                       << R"({"op":"raise","probe":"P0101","kind":""})"
                                       << "error" << 403;
        QTest::newRow("control fails") << "first"
                                       << R"({"op":"handleOther","uid":"none","mode":2,"note":"",)"
                                          R"("principal":"","tel":""})"
                                       << "controlFailed" << 0;
    }
    void refusedToTheSenderOnly()
    {
        QFETCH(QString, who);
        QFETCH(QString, frame);
        QFETCH(QString, answer);
        QFETCH(int, code);
        BareClient* sender = new BareClient(server.port, tokens.value(who), -1, this);
        BareClient* other = new BareClient(server.port, tokens.value("first"), -1, this);
        QTRY_VERIFY_WITH_TIMEOUT(!sender->find("welcome").isEmpty() && !other->find("welcome").isEmpty(),
                                 Patience);
        sender->send(frame);
        QTRY_VERIFY_WITH_TIMEOUT(!sender->find(answer).isEmpty(), Patience);
        const QJsonObject reply = sender->find(answer);
        QCOMPARE(reply.value(answer == "error" ? "code" : "result").toInt(), code);
        QVERIFY(!reply.value(answer == "handleResult" ? "error" : "message").toString().contains("SQL"));
        // Anything after the refusal reaches both; the refusal only the sender.
        other->send(R"({"op":"replyA","uid":"x"})");
        QTRY_VERIFY_WITH_TIMEOUT(!other->find("replyA").isEmpty(), Patience);
        QVERIFY(other->find(answer).isEmpty());
    }

    void removedOperatorIsCutOff()
    {
        NetAlarmClient leaver(server.url, tokens["leaver"]);
        QTRY_COMPARE_WITH_TIMEOUT(leaver.state(), NetAlarmClient::Connected, Patience);
        QCOMPARE(run({"--remove-operator", "leaver"}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(leaver.state(), NetAlarmClient::Revoked, Patience);
        NetAlarmClient again(server.url, tokens["leaver"]);
        QTRY_COMPARE_WITH_TIMEOUT(again.state(), NetAlarmClient::Revoked, Patience);
    }

    void auditKeepsEveryEvent()
    {
        QByteArray csv;
        QCOMPARE(run({"--audit"}, &csv), 0);
        QVERIFY(csv.startsWith("time,event,operator,peer,detail\n"));
        for (const char* line :
             {",operator added,watcher,", ",connect,handler,127.0.0.1:", ",taken,handler,",
              ",handle,handler,", ",refused,watcher,", ",control,", ",operator removed,leaver,",
              ",revoked,leaver,", ",refused hello,leaver,", ",disconnect,handler,127.0.0.1:"})
            QVERIFY2(csv.contains(line), line);
        QCOMPARE(run({"--audit", "--since", "2999-01-01T00:00:00Z"}, &csv), 0);
        QCOMPARE(csv.count('\n'), 1);
    }

    // An operator added to a new data folder must not leave the demo's consoles without their token.
    void operatorAddedFirstKeepsTheScenarioOperator()
    {
        QDir("fresh").removeRecursively();
        QCOMPARE(run({"--data", "fresh", "--add-operator", "x", "--tel", "1", "--rights", "watch"}), 0);
        QVERIFY(QFile::exists("fresh/token"));
        QByteArray csv;
        QCOMPARE(run({"--data", "fresh", "--audit"}, &csv), 0);
        QCOMPARE(csv.count(",operator added,"), 2);
    }

    void refusesUnsafeTokenFiles_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<int>("permissions");
        const int owner = QFile::ReadOwner | QFile::WriteOwner;
        QTest::newRow("world-readable")
            << QByteArray(64, 'a') << (owner | QFile::ReadGroup | QFile::ReadOther);
        QTest::newRow("short") << QByteArray(31, 'a') << owner;
    }
    void refusesUnsafeTokenFiles()
    {
        QFETCH(QByteArray, token);
        QFETCH(int, permissions);
        QDir("unsafe").removeRecursively();
        QDir().mkpath("unsafe");
        QFile file("unsafe/token");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(token);
        file.close();
        QVERIFY(file.setPermissions(QFile::Permissions(permissions)));
        QCOMPARE(run({"--data", "unsafe"}), 2);
    }

    // Nothing is stored changed or partly: the alarm keeps no handling.
    void refusesWhatItWouldNotKeep_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("code");
        QTest::newRow("NUL in the note") << R"(before\u0000after)" << 1 << 400;
        QTest::newRow("lone surrogate") << R"(\ud800)" << 1 << 400;
        QTest::newRow("10 001 ids") << "fine" << 10001 << 413;
    }
    void refusesWhatItWouldNotKeep()
    {
        QFETCH(QString, note);
        QFETCH(int, copies);
        QFETCH(int, code);
        listener.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":""})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(!listener.find("raised").isEmpty(), Patience);
        const QString uid = listener.find("raised").value("uid").toString();
        QTRY_VERIFY_WITH_TIMEOUT(listener.hasAlarm(uid), Patience);
        const QString uids = QStringLiteral(R"("%1",)").arg(uid).repeated(copies).chopped(1);
        listener.send(
            QStringLiteral(R"({"op":"handle","id":7,"uids":[%1],"note":"%2","mode":2,"inform":false,)"
                           R"("requester":"limits","batch":true})")
                .arg(uids, note));
        QTRY_VERIFY_WITH_TIMEOUT(!listener.find("handleResults", "id", 7).isEmpty(), Patience);
        const QJsonObject answer = listener.find("handleResults", "id", 7);
        listener.received.clear();
        QCOMPARE(answer.value("result").toInt(), code);
        QVERIFY(!answer.value("error").toString().isEmpty());
        listener.send(QStringLiteral(R"({"op":"handleNotes","id":8,"uid":"%1","reserved":0})").arg(uid));
        QTRY_VERIFY_WITH_TIMEOUT(!listener.find("handleNotes", "id", 8).isEmpty(), Patience);
        QCOMPARE(listener.find("handleNotes", "id", 8).value("p").toArray().at(10).toArray().size(), 0);
    }

    // Page by page from the database, with live pushes between pages: every push once, in order.
    void catchUpStreamsBesideLivePushes_data()
    {
        QTest::addColumn<qint64>("since");
        QTest::newRow("by number") << qint64(0);
        QTest::newRow("new client") << qint64(-1);
    }
    void catchUpStreamsBesideLivePushes()
    {
        QFETCH(qint64, since);
        listener.received.clear();
        listener.send(R"({"op":"storm","count":3000,"probes":8})");
        QTRY_COMPARE_WITH_TIMEOUT(listener.alarms().size(), 3000, Patience);
        BareClient late(server.port, server.token, since);
        for (int live = 0; late.find("caughtUp").isEmpty() && live < 100; ++live) {
            listener.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":""})").arg(probe));
            QTest::qWait(5);
        }
        listener.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":"","ref":1})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(!listener.find("raised", "ref", 1).isEmpty(), Patience);
        const QString last = listener.find("raised", "ref", 1).value("uid").toString();
        QTRY_VERIFY_WITH_TIMEOUT(late.hasAlarm(last) && listener.hasAlarm(last), Patience);
        const QStringList seen = late.alarms();
        QCOMPARE(seen.mid(seen.size() - listener.alarms().size()), listener.alarms());
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), seen.size());
    }

    // Cut at its budget, while the others get every push: bursts within a reader's budget, more in all than
    // the budget and the kernel's buffers hold.
    void nonReadingClientIsClosedAtItsBudget()
    {
        // A small receive buffer set before connecting, so that the kernel holds little of what is sent.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const int size = 4096;
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server.port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QTcpSocket stuck;
        stuck.setReadBufferSize(4096);
        QVERIFY(stuck.setSocketDescriptor(fd));
        stuck.write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n");
        QByteArray answer;
        QTRY_VERIFY2_WITH_TIMEOUT((answer += stuck.readAll()).contains("101"), answer.constData(), Patience);
        const QByteArray hello = QStringLiteral(R"({"op":"hello","version":1,"token":"%1","since":%2})")
                                     .arg(QString::fromLatin1(server.token))
                                     .arg(qint64(listener.received.last().value("seq").toDouble()))
                                     .toUtf8();
        // A binary frame masked with zeros, so that the payload goes as it is.
        stuck.write(QByteArray("\x82") + char(0x80 | hello.size()) + QByteArray(4, '\0') + hello);
        QTRY_VERIFY_WITH_TIMEOUT((answer += stuck.readAll()).contains("caughtUp"), Patience);
        listener.received.clear();
        for (int burst = 1; burst <= 16; ++burst) {
            listener.send(R"({"op":"storm","count":600,"probes":8})");
            QTRY_COMPARE_WITH_TIMEOUT(listener.alarms().size(), burst * 600, Patience);
        }
        // Had it been kept, it would now read everything and stay.
        stuck.setReadBufferSize(0);
        QTRY_VERIFY_WITH_TIMEOUT(
            stuck.readAll().size() >= 0 && stuck.state() == QAbstractSocket::UnconnectedState, Patience);
        listener.received.clear();
    }

    // Before the hello: a few connections per address, a small frame, a short wait.
    void unwelcomedConnectionsAreCapped()
    {
        std::vector<std::unique_ptr<BareClient>> silent;
        for (int i = 0; i <= 64; ++i)
            silent.push_back(std::make_unique<BareClient>(server.port, QByteArray()));
        const auto closed = [&silent] {
            return std::count_if(silent.begin(), silent.end(), [](const auto& each) { return each->closed; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(closed() == 1 && silent.front()->isOpen(), Patience);
        silent.front()->socket.sendBinaryMessage(QByteArray(8192, ' '));
        QTRY_COMPARE_WITH_TIMEOUT(closed(), 2, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(closed(), 65, Patience);
        QVERIFY(!listener.closed);
    }
};

QTEST_MAIN(TstNetServer)
#include "tst_net_server.moc"
