// A centre on this machine: alarm-server in a process of its own, the module in this one and bare clients
// speaking the wire protocol. What one client does reaches the others; a client that misbehaves or lacks
// the token harms nobody else. The centre's link fails: alarm-server killed and started again on its
// database, the link cut under a client. Nothing stored is lost or shown twice, and no request waits for an
// answer that cannot come.
#include "AlarmServer.h"
#include "BareClient.h"
#include "LiveModule.h"
#include "RecordingHandler.h"

#include "frame/AlarmLinkBanner.h"

#include "NetAlarmClient.h"
#include "NetCodec.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSqlQuery>

using namespace VIG_ALARM_MOUDLE;
using livemodule::control;

class TstNetCentre : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;
    BareClient bare;
    VideoAlarmForm* form = nullptr;
    QHash<QString, int> storeReports;
    QHash<QString, QPair<int, QString>> results; // uid -> last handle result of this test's requester
    qint64 slowestReconnectMs = 0;

    NetAlarmClient* client() { return DataCache::Instance()->GetClient(); }

    void killAndRestartServer()
    {
        if (server.process.state() != QProcess::NotRunning) {
            server.process.kill();
            QVERIFY(server.process.waitForFinished(Patience));
        }
        QTRY_COMPARE_WITH_TIMEOUT(client()->state(), NetAlarmClient::Lost, Patience);
        QElapsedTimer restart;
        restart.start();
        QVERIFY(server.start(QStringLiteral("centre"), {}, server.port, Patience));
        QTRY_COMPARE_WITH_TIMEOUT(client()->state(), NetAlarmClient::Connected, Patience);
        slowestReconnectMs = qMax(slowestReconnectMs, restart.elapsed());
    }
    // The server's alarms in the order stored; only the unhandled ones when asked.
    static QStringList stored(bool unhandledOnly, QHash<QString, int>* perStore = nullptr)
    {
        QStringList uids;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "faults");
            db.setDatabaseName("centre/alarms.db");
            QSqlQuery query(db.open() ? db : QSqlDatabase());
            query.exec(QStringLiteral("SELECT alarmUid, storeUid FROM alarms a %1 ORDER BY seq")
                           .arg(unhandledOnly ? "WHERE NOT EXISTS (SELECT 1 FROM handlings h WHERE "
                                                "h.alarmUid = a.alarmUid)"
                                              : ""));
            for (; query.next(); uids.append(QString::fromUtf8(query.value(0).toByteArray()))) {
                if (perStore)
                    ++(*perStore)[QString::fromUtf8(query.value(1).toByteArray())];
            }
        }
        QSqlDatabase::removeDatabase("faults");
        return uids;
    }

    // The alarms on show in the pop-ups or the grid cells.
    QStringList shownAlarms() const
    {
        QStringList uids;
        for (AlarmVideoCellWt* cell : livemodule::shownCells(form)) {
            if (!cell->isWaiting())
                uids += cell->checkWidget()->alarmUids();
        }
        return uids;
    }
    int places() const { return VIG_GRID_MODE ? 4 : AlarmVideoCheckDlgManager::_instance().maxDialogCount(); }

private slots:
    // The push of a new alarm is written by hand: it reads back as the same document as the generic form.
    void aNewAlarmsPushReadsAsItsDocument_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("plain") << QByteArray("Intrusion at P1");
        QTest::newRow("escapes") << QByteArray("a\"b\\c/\n\r\t\x01\x1f");
        QTest::newRow("NUL") << QByteArray("a\0b", 3);
        QTest::newRow("Chinese") << QByteArray("入侵报警");
        QTest::newRow("broken UTF-8") << QByteArray("a\xff\xc3");
    }
    void aNewAlarmsPushReadsAsItsDocument()
    {
        QFETCH(QByteArray, text);
        AlarmData alarm;
        alarm.alarmUid = alarm.describe = alarm.extendInfo = text.toStdString();
        alarm.channelIndex = -3;
        const QByteArray document =
            NetCodec::frame("alarm", {{"a", NetCodec::alarmJson(alarm)}, {"seq", 7.0}});
        QCOMPARE(QJsonDocument::fromJson(NetCodec::alarmFrame(alarm, 7)), QJsonDocument::fromJson(document));
    }

    void initTestCase()
    {
        QVERIFY(server.startForModule(QStringLiteral("centre"), Patience));
        connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
                &VIG_CONTACT_MODULE::ModuleAccessSignals::signalStoreUnhandledAlarmsCount, this,
                [this](const QString& store, int count) { storeReports[store] = count; });
        connect(&AlarmSignals::_instance(), &AlarmSignals::signalHandleAlarmResult, this,
                [this](const QString& requester, const QString& uid, int result, const QString& message) {
                    if (requester == QLatin1String("faults"))
                        results[uid] = {result, message};
                });
        QVERIFY(form = livemodule::start(VIG_GRID_MODE));
        form->show();
        QTRY_COMPARE_WITH_TIMEOUT(client()->state(), NetAlarmClient::Connected, Patience);
        QVERIFY(control()->probeIds().size() > places());

        bare.open(server.port, server.token);
        QTRY_VERIFY_WITH_TIMEOUT(!bare.find("welcome").isEmpty(), Patience);
    }

    void cleanupTestCase()
    {
        qInfo("longest time from a server restart to Connected: %lld ms", slowestReconnectMs);
        delete form;
        DataCache::Instance()->ShutdownSimulator();
        QVERIFY(server.stop(Patience));
        QCOMPARE(server.process.exitCode(), 0);
    }

    // Handled by the bare client, alarms leave this operator's pop-ups or cells, and the waiting alarm
    // takes the freed place.
    void everyClientSeesEveryAlarmAndHandling()
    {
        const QStringList probes = control()->probeIds();
        QStringList uids;
        for (int i = 0; i <= places(); ++i)
            uids.append(control()->raiseAlarm(probes.at(i)));
        AlarmMonitorTable* monitor = form->monitorPage()->monitorTable();
        for (const QString& uid : uids) {
            QTRY_VERIFY_WITH_TIMEOUT(bare.hasAlarm(uid), Patience);
            QTRY_VERIFY_WITH_TIMEOUT(monitor->getRowIndexByKeyValue(uid) >= 0, Patience);
        }
        const QString waiting = uids.takeLast();
        QTRY_COMPARE_WITH_TIMEOUT(shownAlarms().size(), places(), Patience);
        QVERIFY(!shownAlarms().contains(waiting));

        bare.send(QStringLiteral(R"({"op":"handle","uids":["%1"],"note":"seen","mode":2,"inform":false,)"
                                 R"("requester":"bare","batch":false})")
                      .arg(uids.first()));
        QTRY_VERIFY_WITH_TIMEOUT(!bare.find("handleResult", "requester", "bare").isEmpty(), Patience);
        QCOMPARE(bare.find("handleResult", "requester", "bare").value("result").toInt(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!shownAlarms().contains(uids.first()), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(shownAlarms().contains(waiting), Patience);
    }

    void refusesAStranger_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("code");
        QTest::newRow("wrong token") << R"({"op":"hello","version":1,"token":"guess"})" << 401;
        QTest::newRow("no hello") << R"({"op":"replyA","uid":"x"})" << 401;
        QTest::newRow("other version") << R"({"op":"hello","version":99,"token":"%1"})" << 426;
    }
    void refusesAStranger()
    {
        QFETCH(QString, first);
        QFETCH(int, code);
        BareClient stranger(server.port, QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(stranger.isOpen(), Patience);
        stranger.send(first.contains("%1") ? first.arg(QString::fromLatin1(server.token)) : first);
        QTRY_VERIFY_WITH_TIMEOUT(stranger.closed, Patience);
        QCOMPARE(stranger.find("error").value("code").toInt(), code);
        QCOMPARE(stranger.received.size(), 1);
    }

    void badMessagesHarmNobodyElse_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("keepsConnection");
        QTest::newRow("malformed") << QByteArray("{\"op\":\"handle\",") << true;
        QTest::newRow("unknown operation") << QByteArray(R"({"op":"explode"})") << true;
        QTest::newRow("wrong field type") << QByteArray(R"({"op":"replyA","uid":7})") << true;
        QTest::newRow("2 MiB") << QByteArray(2 << 20, ' ') << false;
    }
    void badMessagesHarmNobodyElse()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, keepsConnection);
        BareClient rogue(server.port, server.token);
        QTRY_VERIFY_WITH_TIMEOUT(!rogue.find("welcome").isEmpty(), Patience);
        rogue.socket.sendBinaryMessage(frame);
        if (keepsConnection)
            QTRY_COMPARE_WITH_TIMEOUT(rogue.find("error").value("code").toInt(), 400, Patience);
        else
            QTRY_VERIFY_WITH_TIMEOUT(rogue.closed, Patience);
        const QString uid = control()->raiseAlarm(control()->probeIds().last());
        QTRY_VERIFY_WITH_TIMEOUT(bare.hasAlarm(uid), Patience);
        if (keepsConnection)
            QTRY_VERIFY_WITH_TIMEOUT(rogue.hasAlarm(uid), Patience);
        QVERIFY(!bare.closed);
    }

    // A fresh client gets the unhandled alarms, oldest first; its link cut for 10 s, it gets all that came
    // meanwhile after it reconnects, in order, none twice.
    void clientsCatchUp()
    {
        const int before = stored(false).size();
        const int unhandled = stored(true).size();
        QVERIFY(control()->storm(200, 8));
        QTRY_COMPARE_WITH_TIMEOUT(stored(false).size(), before + 200, Patience);
        for (const QString& uid : stored(false).mid(before, 50))
            control()->handleAsOtherOperator(uid, 3, QStringLiteral("false"));
        QTRY_COMPARE_WITH_TIMEOUT(stored(true).size(), unhandled + 150, Patience);
        RecordingHandler recorder;
        NetAlarmClient second(server.url, server.token);
        second.SetEventHandler(&recorder);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), NetAlarmClient::Connected, Patience);
        const QStringList waiting = stored(true);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.newAlarmUids(), waiting, Patience);
        const int last = stored(false).size();
        second.cutLink(10000);
        control()->setGeneratorRate(20);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), NetAlarmClient::Lost, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), NetAlarmClient::Connected, 10000 + Patience);
        control()->setGeneratorRate(0);
        // The order reaches the server after a while: an alarm made meanwhile could be stored after the two
        // lists matched and before its push reached the client. A raise is stored after the order took effect.
        const QString lastAlarm = control()->raiseAlarm(control()->probeIds().first());
        QTRY_VERIFY_WITH_TIMEOUT(stored(false).contains(lastAlarm), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.newAlarmUids(), waiting + stored(false).mid(last), Patience);
        QVERIFY(stored(false).size() > last + 100);
        second.shutdown();
    }

    void killedInAStormAndRestarted()
    {
        AlarmMonitorTable* monitor = form->monitorPage()->monitorTable();
        const int rows = monitor->rowCount();
        QVERIFY(control()->storm(5000, 8));
        QTRY_VERIFY_WITH_TIMEOUT(monitor->rowCount() > rows + 500, Patience);
        const int shownAtKill = monitor->rowCount() - rows;
        killAndRestartServer();
        QHash<QString, int> perStore, everyStore;
        stored(true, &perStore);
        const QStringList all = stored(false, &everyStore);
        qInfo("killed with %d of %d stored storm alarms shown", shownAtKill, all.size() - rows);
        QTRY_COMPARE_WITH_TIMEOUT(monitor->rowCount(), all.size(), Patience);
        for (const QString& uid : all)
            QVERIFY(monitor->getRowIndexByKeyValue(uid) >= 0);
        AlarmBusiness& books = AlarmBusiness::_instance();
        for (const QString& store : everyStore.keys()) {
            QTRY_COMPARE_WITH_TIMEOUT(books.getStoreUnhandledAlarmsCount(store), perStore.value(store),
                                      Patience);
            QTRY_COMPARE_WITH_TIMEOUT(storeReports.value(store), perStore.value(store), Patience);
        }
    }

    // Killed while a batch of 100 handlings waits for its answer: the batch fails at once with the reason,
    // as does a request while the server is away; after the restart the same batch goes through.
    void handlingsOutWhenTheServerDies()
    {
        QStringList uids = stored(true).mid(0, 100);
        QCOMPARE(uids.size(), 100);
        control()->setAnswerDelay(60000);
        results.clear();
        AlarmBusiness::_instance().handleAlarms("faults", uids, "held", 2, false);
        QTest::qWait(500);
        server.process.kill();
        QVERIFY(server.process.waitForFinished(Patience));
        QString late = stored(true).value(100);
        AlarmBusiness::_instance().handleAlarm("faults", late, "late", 2, false);
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 101, 5000);
        for (const auto& result : qAsConst(results)) {
            QVERIFY(result.first != 0);
            // In the operator's language: the console's translation names it too.
            QCOMPARE(result.second, QObject::tr("Alarm server unreachable"));
        }
        results.clear();
        // The monitor page says so plainly, since when, and keeps that time through the attempts.
        const AlarmLinkBanner* banner = form->monitorPage()->findChild<AlarmLinkBanner*>();
        QTRY_VERIFY(!banner->isHidden());
        const QString since = QRegularExpression("\\d\\d:\\d\\d:\\d\\d").match(banner->text()).captured();
        QVERIFY2(!since.isEmpty(), qPrintable(banner->text()));
        // Long enough away for the pauses between attempts to reach their longest.
        QTRY_VERIFY_WITH_TIMEOUT(client()->attempt() >= 6, Patience);
        QTRY_COMPARE(banner->text(),
                     QObject::tr("Alarm server unreachable since %1. Reconnecting (attempt %2)...")
                         .arg(since)
                         .arg(client()->attempt()));
        killAndRestartServer();
        QTRY_VERIFY(banner->isHidden());
        uids.append(late);
        AlarmBusiness::_instance().handleAlarms("faults", uids, "again", 2, false);
        QTRY_COMPARE_WITH_TIMEOUT(results.size(), 101, Patience);
        for (const auto& result : qAsConst(results))
            QCOMPARE(result.first, 0);
    }
};

QTEST_MAIN(TstNetCentre)
#include "tst_net_centre.moc"
