// A centre on this machine: alarm-server in a process of its own, the module in this one and bare clients
// speaking the wire protocol. What one client does reaches the others; a client that misbehaves or lacks
// the token harms nobody else.
#include "AlarmServer.h"
#include "BareClient.h"
#include "LiveModule.h"

#include "NetAlarmClient.h"

using namespace VIG_ALARM_MOUDLE;
using livemodule::control;

class TstNetCentre : public QObject
{
    Q_OBJECT

private:
    AlarmServer server;
    BareClient bare;
    VideoAlarmForm* form = nullptr;

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
    void initTestCase()
    {
        QVERIFY(server.startForModule(QStringLiteral("centre"), Patience));
        QVERIFY(form = livemodule::start(VIG_GRID_MODE));
        form->show();
        QTRY_COMPARE_WITH_TIMEOUT(DataCache::Instance()->GetClient()->state(), NetAlarmClient::Connected,
                                  Patience);
        QVERIFY(control()->probeIds().size() > places());

        bare.open(server.port, server.token);
        QTRY_VERIFY_WITH_TIMEOUT(!bare.find("welcome").isEmpty(), Patience);
    }

    void cleanupTestCase()
    {
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
};

QTEST_MAIN(TstNetCentre)
#include "tst_net_centre.moc"
