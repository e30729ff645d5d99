// A burst of new alarms from the service reaches the monitor table as blocks of rows; what the table shows
// and returns must be what alarm-by-alarm insertion gives.
#include "ModuleTestSupport.h"

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;

namespace {

AlarmData alarmData(int n)
{
    AlarmData alarm;
    alarm.alarmUid = QString("B%1").arg(n, 4, 10, QLatin1Char('0')).toStdString();
    alarm.storeUid = "S1";
    alarm.deviceId = "D1";
    alarm.probeId = QString("P%1").arg(n % 7).toStdString();
    alarm.alarmTime = QString("2026-12-05 01:%1:00").arg(n % 60, 2, 10, QLatin1Char('0')).toStdString();
    alarm.describe = "door opened";
    alarm.state = 1;
    return alarm;
}

void deliverHandled(const AlarmData& alarm)
{
    AlarmHandlerData handler;
    handler.handleNote = "checked on camera";
    handler.state = 2;
    deliverPush(handledRecord(alarm, handler));
}

// Waits until the service has delivered and the table has put every queued row in.
void settle(const AlarmMonitorTable& table)
{
    flush();
    QTRY_COMPARE(table.pendingRowCount(), 0);
}

} // namespace

class TstMonitorBurst : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
    }

    void burstEndsNewestOnTopInRed()
    {
        AlarmMonitorTable table(nullptr);
        const int count = 700; // more than one block
        for (int n = 0; n < count; ++n)
            deliverNew(alarmData(n));
        settle(table);
        QCOMPARE(table.rowCount(), count);
        for (int row = 0; row < count; row += 97) {
            const int n = count - 1 - row;
            QCOMPARE(table.getRowKeyValue(row), QString::fromStdString(alarmData(n).alarmUid));
            QCOMPARE(table.getAlarmInfo(row).probeId, QString::fromStdString(alarmData(n).probeId));
            QCOMPARE(table.item(row, 20)->foreground().color(), QColor("#ff6e89"));
        }
    }

    void handledPushAndRepeatsWithinABurst()
    {
        AlarmMonitorTable table(nullptr);
        for (int n = 2000; n < 2300; ++n)
            deliverNew(alarmData(n));
        deliverHandled(alarmData(2100)); // its row is still queued when the push comes
        deliverNew(alarmData(2200));     // the same alarm again: one row, now on top
        for (int n = 2300; n < 2400; ++n)
            deliverNew(alarmData(n));
        settle(table);

        QCOMPARE(table.rowCount(), 400);
        const int handledRow = table.getRowIndexByKeyValue("B2100");
        QCOMPARE(handledRow, 299); // updated in place, not appended: 100 + 1 + 99 rows above it
        QCOMPARE(table.item(handledRow, 20)->text(), QString("checked on camera"));
        QCOMPARE(table.item(handledRow, 20)->foreground().color(), QColor("#49cc90"));
        QCOMPARE(table.getRowIndexByKeyValue("B2200"), 100);
        QCOMPARE(table.getRowKeyValue(0), QString("B2399"));
    }

    // Handled pushes in a burst take their rows out of a store's table together; the counts it reports are
    // those of one removal after the other.
    void handledBurstLeavesTheStoreTable()
    {
        // A store of its own: the alarms of the other cases stay booked as unhandled.
        const auto storeAlarm = [](int n) {
            AlarmData alarm = alarmData(n);
            alarm.storeUid = "S9";
            return alarm;
        };
        StoreUnhadledAlarmsTable table(nullptr);
        table.updateData("S9");
        const int count = 600;
        for (int n = 3000; n < 3000 + count; ++n)
            deliverNew(storeAlarm(n));
        settle(table);
        QCOMPARE(table.rowCount(), count);
        QSignalSpy counts(&table, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        for (int n = 3000; n < 3000 + count; n += 2)
            deliverHandled(storeAlarm(n));
        flush();
        QTRY_COMPARE(table.pendingRemovalCount(), 0);
        QCOMPARE(table.rowCount(), count / 2);
        // One count per removal, as the operator will see it, and again when a pass takes marked rows out.
        QTRY_VERIFY(counts.count() > count / 2);
        QList<int> reported;
        for (const QList<QVariant>& report : qAsConst(counts))
            reported.append(report.at(0).toInt());
        reported.erase(std::unique(reported.begin(), reported.end()), reported.end());
        QCOMPARE(reported.size(), count / 2);
        for (int n = 0; n < count / 2; ++n)
            QCOMPARE(reported.at(n), count - 1 - n);
        QCOMPARE(table.getRowIndexByKeyValue("B3000"), -1);
        QCOMPARE(table.getRowKeyValue(0), QString("B3599"));
        QCOMPARE(table.getRowKeyValue(count / 2 - 1), QString("B3001"));
    }
};

QTEST_MAIN(TstMonitorBurst)
#include "tst_monitor_burst.moc"
