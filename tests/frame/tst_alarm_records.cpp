#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"
#include "frame/VIG_AlarmRelation.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

namespace {

VIG_AlarmInfo sampleAlarm()
{
    VIG_AlarmInfo info;
    info.alarmUid = "A-1";
    info.deviceName = "前门 NVR";
    info.alarmTime = "2026-12-05 03:00:00";
    info.state = AlarmNew;
    return info;
}

} // namespace

class TestAlarmRecords : public QObject
{
    Q_OBJECT

private slots:
    void stringConnectionsCarryRecords();
};

void TestAlarmRecords::stringConnectionsCarryRecords()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    QSignalSpy records(&hub, SIGNAL(signalAlarmRecordsInfo(AlarmInfoVector, int, const QString&)));
    QSignalSpy notes(&hub, SIGNAL(signalGetAlarmHandleNotes(const AlarmProcessVector&, int, const QString&)));
    QSignalSpy opened(&hub,
                      SIGNAL(signalAlarmTableRecordDoubleClicked(const VIG_AlarmInfo&, AlarmRelationType)));
    QVERIFY(records.isValid() && notes.isValid() && opened.isValid());

    QThread* worker = QThread::create([&hub] {
        AlarmInfoVector list{sampleAlarm(), sampleAlarm()};
        list[1].alarmUid = "A-2";
        emit hub.signalAlarmRecordsInfo(list, 0, QString());
        VIG_AlarmProcess process;
        process.alarmUid = "A-1";
        process.handleNote = "checked, staff on site";
        emit hub.signalGetAlarmHandleNotes(AlarmProcessVector{process}, 7, "busy");
    });
    worker->start();
    QVERIFY(worker->wait(5000));
    delete worker;
    emit hub.signalAlarmTableRecordDoubleClicked(sampleAlarm(), IcloudRecordingRelation);

    QTRY_COMPARE(records.count(), 1);
    QTRY_COMPARE(notes.count(), 1);
    const auto list = records.at(0).at(0).value<AlarmInfoVector>();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(1).alarmUid, QString("A-2"));
    QCOMPARE(list.at(0).deviceName, QString("前门 NVR"));
    const auto history = notes.at(0).at(0).value<AlarmProcessVector>();
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.at(0).handleNote, QString("checked, staff on site"));
    QCOMPARE(notes.at(0).at(1).toInt(), 7);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(1).value<AlarmRelationType>(), IcloudRecordingRelation);
}

QTEST_MAIN(TestAlarmRecords)
#include "tst_alarm_records.moc"
