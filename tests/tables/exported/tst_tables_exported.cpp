// Uses the alarm tables the way a host view does, through the module library's exported classes only.
#include "tables/AlarmMonitorTable.h"
#include "tables/AlarmTable.h"
#include "tables/StoreUnhadledAlarmsTable.h"

#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

namespace {

VIG_AlarmInfo alarm(const QString& uid, const QString& store)
{
    VIG_AlarmInfo info;
    info.alarmUid = uid;
    info.storeUid = store;
    info.deviceId = "D1";
    info.probeId = "P1";
    info.alarmTime = "2026-12-05 03:00:00";
    info.describe = "door opened";
    info.state = AlarmNew;
    return info;
}

// A host's own table built on the exported one.
class HostMonitorTable : public AlarmMonitorTable
{
public:
    using AlarmMonitorTable::AlarmMonitorTable;
    void addNewAlarm(const VIG_AlarmInfo& info) override
    {
        ++added;
        AlarmMonitorTable::addNewAlarm(info);
    }
    int added = 0;
};

} // namespace

class TstTablesExported : public QObject
{
    Q_OBJECT

private slots:
    void hostUsesTheExportedTables()
    {
        HostMonitorTable monitor(nullptr);
        QVERIFY(qobject_cast<AlarmTable*>(&monitor));
        QCOMPARE(monitor.metaObject(), &AlarmMonitorTable::staticMetaObject);
        QCOMPARE(monitor.metaObject()->superClass(), &AlarmTable::staticMetaObject);
        monitor.slotNewAlarmPush(alarm("A1", "S-host"));
        QCOMPARE(monitor.added, 1);
        QCOMPARE(monitor.getAlarmInfo(0).alarmUid, QString("A1"));
        QCOMPARE(monitor.getAlarmInfo(QString("A1")).storeUid, QString("S-host"));
        QVERIFY(monitor.getSelectedAlarms().isEmpty());
        QVERIFY(monitor.getSelectedAlarmsUid().isEmpty());
        QSignalSpy completed(&monitor, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        QVERIFY(completed.isValid());
        monitor.deleteAlarm("A1");
        QCOMPARE(monitor.rowCount(), 0);

        StoreUnhadledAlarmsTable store(nullptr);
        QSignalSpy counts(&store, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        QCOMPARE(store.updateData("S-host"), 0);
        store.slotNewAlarmPush(alarm("B1", "S-host"));
        store.slotNewAlarmPush(alarm("C1", "S-elsewhere"));
        QCOMPARE(store.rowCount(), 1);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(counts.at(0).at(0).toInt(), 1);
        AlarmMonitorTable& asMonitor = store;
        asMonitor.deleteAlarm("B1"); // through the base: the store table still reports its count
        QCOMPARE(counts.count(), 2);
        QCOMPARE(counts.at(1).at(0).toInt(), 0);
    }
};

QTEST_MAIN(TstTablesExported)
#include "tst_tables_exported.moc"
