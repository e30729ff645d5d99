#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

class TestAlarmRecords : public QObject
{
    Q_OBJECT

private slots:
    void stringConnectionsCarryRecords()
    {
        AlarmSignals& hub = AlarmSignals::_instance();
        QSignalSpy records(&hub, SIGNAL(signalAlarmRecordsInfo(AlarmInfoVector, int, const QString&)));
        QSignalSpy notes(&hub,
                         SIGNAL(signalGetAlarmHandleNotes(const AlarmProcessVector&, int, const QString&)));
        QVERIFY(records.isValid() && notes.isValid());

        QThread* worker = QThread::create([&hub] {
            AlarmInfoVector list(2);
            list[0].deviceName = "前门 NVR";
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
    }
};

QTEST_MAIN(TestAlarmRecords)
#include "tst_alarm_records.moc"
