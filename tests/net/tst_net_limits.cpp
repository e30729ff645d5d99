// alarm-server with a send budget of 1 MiB and bare clients: what one client asks, fails to read or leaves
// unfinished is refused or cut, and the others are served meanwhile.
#include "AlarmServer.h"
#include "BareClient.h"

#include <QTcpSocket>

#include <netinet/in.h>
#include <sys/socket.h>

class TstNetLimits : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;
    BareClient watcher;
    QString probe;

    void storm(int count)
    {
        watcher.send(QStringLiteral(R"({"op":"storm","count":%1,"probes":8})").arg(count));
    }

private slots:
    void initTestCase()
    {
        QDir(QStringLiteral("limits")).removeRecursively();
        QVERIFY(server.start(QStringLiteral("limits"), {"--send-budget", "1"}, 0, Patience));
        watcher.open(server.port, server.token);
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.find("caughtUp").isEmpty(), Patience);
        probe = watcher.find("welcome").value("probes").toArray().first().toString();
    }

    void cleanupTestCase() { QVERIFY(server.stop(Patience)); }

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
        watcher.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":""})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.find("raised").isEmpty(), Patience);
        const QString uid = watcher.find("raised").value("uid").toString();
        QTRY_VERIFY_WITH_TIMEOUT(watcher.hasAlarm(uid), Patience);
        const QString uids = QStringLiteral(R"("%1",)").arg(uid).repeated(copies).chopped(1);
        watcher.send(
            QStringLiteral(R"({"op":"handle","id":7,"uids":[%1],"note":"%2","mode":2,"inform":false,)"
                           R"("requester":"limits","batch":true})")
                .arg(uids, note));
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.find("handleResults", "id", 7).isEmpty(), Patience);
        const QJsonObject answer = watcher.find("handleResults", "id", 7);
        watcher.received.clear();
        QCOMPARE(answer.value("result").toInt(), code);
        QVERIFY(!answer.value("error").toString().isEmpty());
        watcher.send(QStringLiteral(R"({"op":"handleNotes","id":8,"uid":"%1","reserved":0})").arg(uid));
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.find("handleNotes", "id", 8).isEmpty(), Patience);
        QCOMPARE(watcher.find("handleNotes", "id", 8).value("p").toArray().at(10).toArray().size(), 0);
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
        watcher.received.clear();
        storm(3000);
        QTRY_COMPARE_WITH_TIMEOUT(watcher.alarms().size(), 3000, Patience);
        BareClient late(server.port, server.token, since);
        for (int live = 0; late.find("caughtUp").isEmpty() && live < 100; ++live) {
            watcher.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":""})").arg(probe));
            QTest::qWait(5);
        }
        watcher.send(QStringLiteral(R"({"op":"raise","probe":"%1","kind":"","ref":1})").arg(probe));
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.find("raised", "ref", 1).isEmpty(), Patience);
        const QString last = watcher.find("raised", "ref", 1).value("uid").toString();
        QTRY_VERIFY_WITH_TIMEOUT(late.hasAlarm(last) && watcher.hasAlarm(last), Patience);
        const QStringList seen = late.alarms();
        QCOMPARE(seen.mid(seen.size() - watcher.alarms().size()), watcher.alarms());
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
                                     .arg(qint64(watcher.received.last().value("seq").toDouble()))
                                     .toUtf8();
        // A binary frame masked with zeros, so that the payload goes as it is.
        stuck.write(QByteArray("\x82") + char(0x80 | hello.size()) + QByteArray(4, '\0') + hello);
        QTRY_VERIFY_WITH_TIMEOUT((answer += stuck.readAll()).contains("caughtUp"), Patience);
        watcher.received.clear();
        for (int burst = 1; burst <= 16; ++burst) {
            storm(600);
            QTRY_COMPARE_WITH_TIMEOUT(watcher.alarms().size(), burst * 600, Patience);
        }
        // Had it been kept, it would now read everything and stay.
        stuck.setReadBufferSize(0);
        QTRY_VERIFY_WITH_TIMEOUT(
            stuck.readAll().size() >= 0 && stuck.state() == QAbstractSocket::UnconnectedState, Patience);
        watcher.received.clear();
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
        QVERIFY(!watcher.closed);
    }
};

QTEST_GUILESS_MAIN(TstNetLimits)
#include "tst_net_limits.moc"
