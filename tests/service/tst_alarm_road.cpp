#include "ModuleTestSupport.h"

#include "frame/AlarmModuleAccess.h"
#include "frame/AlarmSignals.h"

#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"

#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;

// The roads of a new alarm, a handling and a refused handling, end to end against the embedded simulated
// alarm server.
class TestAlarmRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newAlarmAndHandling();
    void refusedHandling();

private:
    SimAlarmServer* server = nullptr;
    QString raisedUid;
    const QString requester = QUuid::createUuid().toString();
};

void TestAlarmRoad::initTestCase()
{
    server = moduletest::startSimulatedServer();
    QVERIFY(server);
    QVERIFY(server->probeIds().size() >= 2);
    QCOMPARE(DataCache::Instance()->GetAlarmPtr(), static_cast<IAlarm*>(server));
}

void TestAlarmRoad::newAlarmAndHandling()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    AlarmBusiness& business = AlarmBusiness::_instance();
    moduletest::MainThreadSpy pushes(&hub, &AlarmSignals::signalNewAlarmPush);
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
    const QString storeUid = info.storeUid;
    QCOMPARE(AlarmModuleAccess::_instance().getStoreUnhandledAlarmsCount(storeUid), 1);
    QTRY_VERIFY(!storeCounts.isEmpty());
    QCOMPARE(storeCounts.last(), QVariantList({storeUid, 1}));

    moduletest::MainThreadSpy results(&hub, &AlarmSignals::signalHandleAlarmResult);
    moduletest::MainThreadSpy handled(&hub, &AlarmSignals::signalHandledAlarmPush);
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

    moduletest::MainThreadSpy notes(&hub, &AlarmSignals::signalGetAlarmHandleNotes);
    business.getAlarmHandleNotes(raisedUid);
    QTRY_COMPARE(notes.count(), 1);
    const AlarmProcessVector history = notes.at(0).at(0).value<AlarmProcessVector>();
    QCOMPARE(notes.at(0).at(1).toInt(), 0);
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.at(0).handleNote, QString("Guard checked the back door"));
    QCOMPARE(history.at(0).alarmUid, raisedUid);
}

void TestAlarmRoad::refusedHandling()
{
    // The first alarm is dealt (state 2), so it may be handled again; closing it then refuses a third time.
    AlarmSignals& hub = AlarmSignals::_instance();
    moduletest::MainThreadSpy results(&hub, &AlarmSignals::signalHandleAlarmResult);
    moduletest::MainThreadSpy notices(&NoticeSignals::_instance(),
                                      &NoticeSignals::sendRequestErrorNoticeSignal);
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

QTEST_MAIN(TestAlarmRoad)
#include "tst_alarm_road.moc"
