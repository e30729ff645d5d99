#include "frame/AlarmModuleAccess.h"
#include "frame/AlarmSignals.h"
#include "service/AlarmBusiness.h"

#include "DataCache.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "SimAlarmServer.h"
#include "SystemBasicInfo.h"

#include <QDate>
#include <QDir>
#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;

// The roads of a new alarm and of a handling, end to end against the embedded simulated alarm server.
class TestAlarmRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newAlarmAndHandling();
    void handledByAnotherOperator();
    void refusedHandling();
    void searchesAndCounts();

private:
    SimAlarmServer* server = nullptr;
    QString raisedUid;
    QString storeUid;
    const QString requester = QUuid::createUuid().toString();
};

void TestAlarmRoad::initTestCase()
{
    QDir("AlarmServerDB").removeRecursively();
    QDir("AlarmLocalDB").removeRecursively();
    server = DataCache::Instance()->GetSimulator();
    QVERIFY(server);
    QVERIFY2(server->scenarioError().isEmpty(), qPrintable(server->scenarioError()));
    QVERIFY(server->probeIds().size() >= 2);
    VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(5);
    AlarmBusiness::_instance();
    QCOMPARE(DataCache::Instance()->GetAlarmPtr(), static_cast<IAlarm*>(server));
}

void TestAlarmRoad::newAlarmAndHandling()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    AlarmBusiness& business = AlarmBusiness::_instance();
    QSignalSpy pushes(&hub, &AlarmSignals::signalNewAlarmPush);
    QSignalSpy storeCounts(&ModuleAccessSignals::_instance(),
                           &ModuleAccessSignals::signalStoreUnhandledAlarmsCount);

    QString error;
    raisedUid = server->raiseAlarm(server->probeIds().at(0), "intrusion", &error);
    QVERIFY2(!raisedUid.isEmpty(), qPrintable(error));
    QTRY_COMPARE(pushes.count(), 1);
    const VIG_AlarmInfo info = pushes.at(0).at(0).value<VIG_AlarmInfo>();
    QCOMPARE(info.alarmUid, raisedUid);
    QCOMPARE(info.probeId, server->probeIds().at(0));
    QCOMPARE(info.state, int(AlarmNew));
    QVERIFY(!info.storeUid.isEmpty() && !info.alarmTime.isEmpty() && !info.typeDescription.isEmpty());
    storeUid = info.storeUid;
    QCOMPARE(AlarmModuleAccess::_instance().getStoreUnhandledAlarmsCount(storeUid), 1);
    QTRY_VERIFY(!storeCounts.isEmpty());
    QCOMPARE(storeCounts.last(), QVariantList({storeUid, 1}));

    QSignalSpy results(&hub, &AlarmSignals::signalHandleAlarmResult);
    QSignalSpy handled(&hub, &AlarmSignals::signalHandledAlarmPush);
    QStringList uids{raisedUid};
    business.handleAlarms(requester, uids, "Guard checked the back door", AlarmDealt, false);
    QTRY_COMPARE(results.count(), 1);
    QCOMPARE(results.at(0), QVariantList({requester, raisedUid, 0, QString()}));
    QTRY_COMPARE(handled.count(), 1);
    const VIG_AlarmProcess process = handled.at(0).at(0).value<VIG_AlarmProcess>();
    QCOMPARE(process.alarmUid, raisedUid);
    QCOMPARE(process.state, int(AlarmDealt));
    QCOMPARE(process.handleNote, QString("Guard checked the back door"));
    QVERIFY(!process.principal.isEmpty());
    QTRY_COMPARE(storeCounts.last(), QVariantList({storeUid, 0}));
    QVERIFY(!AlarmModuleAccess::_instance().isStoreHasUnhandledAlarms(storeUid));

    QSignalSpy notes(&hub, &AlarmSignals::signalGetAlarmHandleNotes);
    business.getAlarmHandleNotes(raisedUid);
    QTRY_COMPARE(notes.count(), 1);
    const AlarmProcessVector history = notes.at(0).at(0).value<AlarmProcessVector>();
    QCOMPARE(notes.at(0).at(1).toInt(), 0);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.at(0).handleNote, QString("Guard checked the back door"));
    QCOMPARE(history.at(0).alarmUid, raisedUid);
}

void TestAlarmRoad::handledByAnotherOperator()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    QSignalSpy pushes(&hub, &AlarmSignals::signalNewAlarmPush);
    QSignalSpy handled(&hub, &AlarmSignals::signalHandledAlarmPush);
    QSignalSpy hints(&NoticeSignals::_instance(), &NoticeSignals::signalNoticeHint);
    const QString uid = server->raiseAlarm(server->probeIds().at(1), "panic");
    QVERIFY(!uid.isEmpty());
    QTRY_COMPARE(pushes.count(), 1);
    const QString store = pushes.at(0).at(0).value<VIG_AlarmInfo>().storeUid;
    QTRY_COMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(store), 1);

    server->handleAsOtherOperator(uid, AlarmFinished, "Closed by the night shift", "Zhao Lei",
                                  "139-0000-0000");
    QTRY_COMPARE(handled.count(), 1);
    const VIG_AlarmProcess process = handled.at(0).at(0).value<VIG_AlarmProcess>();
    QCOMPARE(process.principal, QString("Zhao Lei"));
    QCOMPARE(process.state, int(AlarmFinished));
    QTRY_COMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(store), 0);
    QTRY_COMPARE(hints.count(), 1);
    QVERIFY(
        hints.at(0).at(1).toString().contains("Alarm Handler:Zhao Lei\r\nAlarm Handler Tel:139-0000-0000"));
}

void TestAlarmRoad::refusedHandling()
{
    // The first alarm is dealt (state 2), so it may be handled again; closing it then refuses a third time.
    AlarmSignals& hub = AlarmSignals::_instance();
    QSignalSpy results(&hub, &AlarmSignals::signalHandleAlarmResult);
    QSignalSpy notices(&NoticeSignals::_instance(), &NoticeSignals::sendRequestErrorNoticeSignal);
    AlarmBusiness::_instance().handleAlarm(requester, raisedUid, "closing", AlarmFinished, true);
    QTRY_COMPARE(results.count(), 1);
    QCOMPARE(results.at(0).at(2).toInt(), 0);
    AlarmBusiness::_instance().handleAlarm(requester, raisedUid, "once more", AlarmDealt, false);
    AlarmBusiness::_instance().handleAlarm(requester, "no-such-alarm", "x", AlarmDealt, false);
    QTRY_COMPARE(results.count(), 3);
    QVERIFY(results.at(1).at(2).toInt() != 0);
    QVERIFY(!results.at(1).at(3).toString().isEmpty());
    QVERIFY(results.at(2).at(2).toInt() != 0);
    QTRY_COMPARE(notices.count(), 2);
    QCOMPARE(int(notices.at(0).at(2).value<VIG_CONTACT_MODULE::RequestType>()), 101000);
    QCOMPARE(notices.at(0).at(4).toStringList(), QStringList({raisedUid}));
}

void TestAlarmRoad::searchesAndCounts()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    AlarmBusiness& business = AlarmBusiness::_instance();
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    QSignalSpy counts(&hub, &AlarmSignals::signalAlarmRecordsCount);
    QSignalSpy records(&hub, &AlarmSignals::signalAlarmRecordsInfo);
    business.getAlarmRecordsCount(storeUid, today + " 00:00:00", today + " 23:59:59", 0);
    business.getAlarmRecords(storeUid, today + " 00:00:00", today + " 23:59:59", 0, 0, 20);
    QTRY_COMPARE(counts.count(), 1);
    QTRY_COMPARE(records.count(), 1);
    QVERIFY(counts.at(0).at(0).toInt() >= 1);
    const AlarmInfoVector found = records.at(0).at(0).value<AlarmInfoVector>();
    bool seen = false;
    for (const VIG_AlarmInfo& info : found) {
        if (info.alarmUid == raisedUid) {
            seen = true;
            QCOMPARE(info.state, int(AlarmFinished));
            QCOMPARE(info.lastHandleNote, QString("closing"));
        }
    }
    QVERIFY(seen);

    QSignalSpy lateMonth(&ModuleAccessSignals::_instance(),
                         &ModuleAccessSignals::signalLateMonthUnhandledAlarmsCount);
    AlarmModuleAccess::_instance().getLateMonthUnhandledAlarmsCount();
    QTRY_COMPARE(lateMonth.count(), 1);
    QCOMPARE(lateMonth.at(0).at(1).toInt(), 0);
    QCOMPARE(counts.count(), 1); // the late-month answer does not reach the record search
}

QTEST_MAIN(TestAlarmRoad)
#include "tst_alarm_road.moc"
