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
    info.storeUid = "S001";
    info.deviceId = "D001";
    info.deviceName = "前门 NVR";
    info.typeKey = "intrusion";
    info.typeDescription = "Intrusion";
    info.subTypeKey = "pir";
    info.subTypeDescription = "PIR";
    info.probeId = "P001";
    info.alarmTime = "2026-12-05 03:00:00";
    info.describe = "Motion in the back office";
    info.lastHandleNote = "";
    info.state = AlarmNew;
    info.channelIndex = 3;
    return info;
}

// Receives hub signals on the main thread and keeps the address of every record it was given, so that a
// test can tell whether two receivers shared one copy.
class Receiver : public QObject
{
    Q_OBJECT
public:
    explicit Receiver(QList<QString>* order, const QString& name) : order(order), name(name) {}

    QList<VIG_AlarmInfo> alarms;
    QList<const void*> addresses;
    QList<Qt::HANDLE> threads;

public slots:
    void slotNewAlarmPush(const VIG_AlarmInfo& info)
    {
        order->append(name);
        alarms.append(info);
        addresses.append(&info);
        threads.append(QThread::currentThreadId());
    }

private:
    QList<QString>* order;
    QString name;
};

} // namespace

class TestAlarmRecords : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAndCopies();
    void registeredNames();
    void receiversInConnectionOrderOnMainThread();
    void stringConnectionsCarryRecords();
};

void TestAlarmRecords::defaultsAndCopies()
{
    const VIG_AlarmInfo info;
    QVERIFY(info.alarmUid.isEmpty() && info.storeUid.isEmpty() && info.deviceId.isEmpty());
    QVERIFY(info.describe.isEmpty() && info.lastHandleNote.isEmpty() && info.probeId.isEmpty());
    QCOMPARE(info.state, 0);
    QCOMPARE(info.channelIndex, 0);
    QVERIFY(!isHandledState(info.state));

    const VIG_AlarmProcess process;
    QVERIFY(process.principal.isEmpty() && process.principalTel.isEmpty() && process.handleTime.isEmpty());
    QVERIFY(process.handleNote.isEmpty() && process.liveImageUrls.isEmpty());
    QCOMPARE(process.state, 0);

    VIG_AlarmProcess copy;
    static_cast<VIG_AlarmInfo&>(copy) = sampleAlarm();
    copy.principal = "Li Wei";
    copy.liveImageUrls = "http://127.0.0.1/a.jpg,http://127.0.0.1/b.jpg?x=1";
    const VIG_AlarmProcess second = copy;
    QCOMPARE(second.deviceName, QString("前门 NVR"));
    QCOMPARE(second.channelIndex, 3);
    QCOMPARE(second.principal, QString("Li Wei"));
    QCOMPARE(second.liveImageUrls, copy.liveImageUrls);

    QVERIFY(isHandledState(AlarmDealt) && isHandledState(AlarmMistaken) && isHandledState(AlarmFinished));
    QVERIFY(!isHandledState(AlarmNew) && !isHandledState(5));

    const VIG_AlarmRelation relation;
    QCOMPARE(relation.type, 0);
}

void TestAlarmRecords::registeredNames()
{
    AlarmSignals::_instance();
    for (const char* name :
         {"AlarmInfoVector", "VIG_AlarmInfo", "VIG_AlarmProcess", "AlarmProcessVector", "AlarmRelationType"})
        QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
    QCOMPARE(QMetaType::type("VIG_AlarmInfo"), qMetaTypeId<VIG_AlarmInfo>());
    QCOMPARE(QMetaType::type("AlarmRelationType"), qMetaTypeId<AlarmRelationType>());

    // The hub declares its fourteen signals in a fixed order; receivers connect by signature.
    const QMetaObject& meta = AlarmSignals::staticMetaObject;
    const QStringList expected = {
        "signalAlarmRecordsCount(int,int,QString)",
        "signalAlarmRecordsInfo(AlarmInfoVector,int,QString)",
        "signalNewAlarmPush(VIG_AlarmInfo)",
        "signalCloseAlarmSound()",
        "signalHandleAlarmResult(QString,QString,int,QString)",
        "signalDeleteAlarmFromMonitorTable(QString)",
        "signalHandledAlarmPush(VIG_AlarmProcess)",
        "signalGetAlarmHandleNotes(AlarmProcessVector,int,QString)",
        "signalAlarmHandled(QString)",
        "signalAlarmTableRecordDoubleClicked(VIG_AlarmInfo,AlarmRelationType)",
        "signalSetAlarmDetailCheckWtVisible(bool)",
        "signalAlarmHandledNotInVideoMonitorWt(VIG_AlarmInfo)",
        "signalUpdateAlarmHandledNotesInDetailCheckWt(QString)",
        "signalChangeToAlarmMonitorTab()",
    };
    QCOMPARE(meta.methodCount() - meta.methodOffset(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(QString(meta.method(meta.methodOffset() + i).methodSignature()), expected.at(i));
}

void TestAlarmRecords::receiversInConnectionOrderOnMainThread()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    QList<QString> order;
    Receiver first(&order, "first");
    Receiver second(&order, "second");
    connect(&hub, &AlarmSignals::signalNewAlarmPush, &first, &Receiver::slotNewAlarmPush);
    connect(&hub, &AlarmSignals::signalNewAlarmPush, &second, &Receiver::slotNewAlarmPush);

    // Direct delivery on the main thread: in connection order.
    emit hub.signalNewAlarmPush(sampleAlarm());
    QCOMPARE(order, QList<QString>({"first", "second"}));

    // From a worker thread: queued to the main thread, still in order, each receiver with its own copy.
    order.clear();
    QThread* worker = QThread::create([&hub] {
        VIG_AlarmInfo info = sampleAlarm();
        info.alarmUid = "A-from-worker";
        emit hub.signalNewAlarmPush(info);
        info.alarmUid = "changed after emit";
    });
    worker->start();
    QVERIFY(worker->wait(5000));
    delete worker;
    QTRY_COMPARE(order.size(), 2);
    QCOMPARE(order, QList<QString>({"first", "second"}));
    QCOMPARE(first.alarms.last().alarmUid, QString("A-from-worker"));
    QCOMPARE(second.alarms.last().alarmUid, QString("A-from-worker"));
    QCOMPARE(second.alarms.last().deviceName, QString("前门 NVR"));
    QVERIFY(first.addresses.last() != second.addresses.last());
    QCOMPARE(first.threads.last(), QThread::currentThreadId());
}

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
    const auto history = notes.at(0).at(0).value<AlarmProcessVector>();
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.at(0).handleNote, QString("checked, staff on site"));
    QCOMPARE(notes.at(0).at(1).toInt(), 7);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(1).value<AlarmRelationType>(), IcloudRecordingRelation);
}

QTEST_MAIN(TestAlarmRecords)
#include "tst_alarm_records.moc"
