#include "ModuleTestSupport.h"

#include <QHeaderView>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;

namespace {

VIG_AlarmInfo alarm(const QString& uid, const QString& store, const QString& time, int state = AlarmNew)
{
    VIG_AlarmInfo info;
    info.alarmUid = uid;
    info.storeUid = store;
    info.deviceId = "D1";
    info.probeId = "P1";
    info.alarmTime = time;
    info.describe = "door opened";
    info.lastHandleNote = "earlier note";
    info.state = state;
    return info;
}

VIG_AlarmProcess handling(const VIG_AlarmInfo& info, int state)
{
    VIG_AlarmProcess process;
    static_cast<VIG_AlarmInfo&>(process) = info;
    process.state = state;
    process.principal = "Li Na";
    process.principalTel = "139-4444";
    process.handleTime = "2026-12-05 05:00:00";
    process.handleNote = "checked on camera";
    return process;
}

QColor rowColour(const QTableWidget& table, int row)
{
    return table.item(row, 12)->foreground().color();
}

QStringList keys(const AlarmTable& table)
{
    QStringList result;
    for (int row = 0; row < table.rowCount(); ++row)
        result.append(table.getRowKeyValue(row));
    return result;
}

class ProbeStoreTable : public StoreUnhadledAlarmsTable
{
public:
    using StoreUnhadledAlarmsTable::deleteAlarmAction;
    using StoreUnhadledAlarmsTable::StoreUnhadledAlarmsTable;
};

} // namespace

class TstMonitorTables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        VIG_DATA_MODULE::BasicData::_instance().clearAll();
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord("Shop");
    }

    void init()
    {
        MessageBoxW::clearCalls();
        MessageBoxW::clearQueuedAnswers();
    }

    void handledPushesUpdateOrAppend()
    {
        AlarmMonitorTable table(nullptr);
        AlarmSignals& hub = AlarmSignals::_instance();
        const VIG_AlarmInfo a1 = alarm("A1", "S1", "2026-12-05 03:00:01");
        const VIG_AlarmInfo a2 = alarm("A2", "S1", "2026-12-05 03:00:02");
        const VIG_AlarmInfo a3 = alarm("A3", "S1", "2026-12-05 03:00:03");
        for (const VIG_AlarmInfo& info : {a1, a2, a3})
            emit hub.signalNewAlarmPush(info);
        // Rows looked up by uid must be found after the operator sorts the table, too.
        table.sortByColumn(12, Qt::AscendingOrder);
        QCOMPARE(keys(table), QStringList({"A1", "A2", "A3"}));

        emit hub.signalHandledAlarmPush(handling(a2, AlarmDealt));
        QCOMPARE(table.rowCount(), 3);
        QCOMPARE(table.getRowIndexByKeyValue("A2"), 1);
        QCOMPARE(table.item(1, 12)->text(), QString("2026-12-05 05:00:00"));
        QCOMPARE(table.item(1, 20)->text(), QString("checked on camera"));
        QCOMPARE(table.getAlarmInfo(1).state, int(AlarmDealt));
        QCOMPARE(rowColour(table, 1), QColor("#49cc90"));
        QCOMPARE(rowColour(table, 0), QColor("#ff6e89"));

        emit hub.signalHandledAlarmPush(handling(a1, AlarmMistaken));
        QCOMPARE(rowColour(table, 0), QColor("#5d657e"));

        // An alarm the table never showed comes in at the bottom.
        emit hub.signalHandledAlarmPush(handling(alarm("X9", "S7", "2026-12-01 00:00:00"), AlarmDealt));
        QCOMPARE(keys(table), QStringList({"A1", "A2", "A3", "X9"}));
        QCOMPARE(rowColour(table, 3), QColor("#49cc90"));
    }

    void storeTableLoadsSortedAndKeepsRows()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        business.addUnhandledAlarm(alarm("L2", "S-load", "2026-12-05 02:00:00"));
        business.addUnhandledAlarm(alarm("L1", "S-load", "2026-12-05 01:00:00"));
        business.addUnhandledAlarm(alarm("L3", "S-load", "2026-12-05 03:00:00"));
        business.addUnhandledAlarm(alarm("M1", "S-other", "2026-12-05 04:00:00"));

        StoreUnhadledAlarmsTable table(nullptr);
        QSignalSpy counts(&table, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        QCOMPARE(table.updateData("S-load"), 3);
        QCOMPARE(keys(table), QStringList({"L3", "L2", "L1"}));

        // A later load of another store keeps what is shown; loading again does not double rows.
        QCOMPARE(table.updateData("S-other"), 1);
        QCOMPARE(keys(table), QStringList({"M1", "L3", "L2", "L1"}));
        QCOMPARE(table.updateData("S-empty"), 0);
        QCOMPARE(table.rowCount(), 4);
        QCOMPARE(counts.count(), 0);
    }

    void storeTableFollowsItsStoreOnly()
    {
        AlarmSignals& hub = AlarmSignals::_instance();
        ProbeStoreTable table(nullptr);
        QSignalSpy counts(&table, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        const VIG_AlarmInfo a1 = alarm("A1", "S-A", "2026-12-05 03:00:01");
        const VIG_AlarmInfo a2 = alarm("A2", "S-A", "2026-12-05 03:00:02");
        const VIG_AlarmInfo b1 = alarm("B1", "S-B", "2026-12-05 03:00:03");
        // Not bound yet: no store's alarm is taken.
        emit hub.signalNewAlarmPush(a1);
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.updateData("S-A"), 0);

        emit hub.signalNewAlarmPush(b1);
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(counts.count(), 0);

        emit hub.signalNewAlarmPush(a1);
        emit hub.signalNewAlarmPush(a2);
        QCOMPARE(keys(table), QStringList({"A2", "A1"}));
        QCOMPARE(counts.count(), 2);
        QCOMPARE(counts.at(0).at(0).toInt(), 1);
        QCOMPARE(counts.at(1).at(0).toInt(), 2);
        QCOMPARE(rowColour(table, 0), QTableWidgetItem().foreground().color());

        emit hub.signalHandledAlarmPush(handling(b1, AlarmDealt));
        QCOMPARE(counts.count(), 2);
        // Another store's pushes leave this store's rows alone, even under a uid listed here.
        VIG_AlarmInfo moved = a2;
        moved.storeUid = "S-B";
        emit hub.signalNewAlarmPush(moved);
        emit hub.signalHandledAlarmPush(handling(moved, AlarmDealt));
        QCOMPARE(keys(table), QStringList({"A2", "A1"}));
        QCOMPARE(counts.count(), 2);
        emit hub.signalHandledAlarmPush(handling(a1, AlarmDealt));
        QCOMPARE(keys(table), QStringList({"A2"}));
        QCOMPARE(counts.last().at(0).toInt(), 1);
        // Removal through the monitor signal counts as well; the menu's local delete does not.
        emit hub.signalNewAlarmPush(alarm("A3", "S-A", "2026-12-05 03:00:04"));
        QCOMPARE(counts.count(), 4);
        emit hub.signalDeleteAlarmFromMonitorTable("A2");
        QCOMPARE(keys(table), QStringList({"A3"}));
        QCOMPARE(counts.count(), 5);
        QCOMPARE(counts.last().at(0).toInt(), 1);
        // A row a handling burst has only marked to leave is not counted, and the count comes again when it
        // goes.
        table.removeRowLater("A3");
        emit hub.signalNewAlarmPush(alarm("A4", "S-A", "2026-12-05 03:00:05"));
        QCOMPARE(counts.count(), 6);
        QCOMPARE(counts.last().at(0).toInt(), 1);
        QTRY_COMPARE(counts.count(), 7);
        QCOMPARE(counts.last().at(0).toInt(), 1);
        QCOMPARE(keys(table), QStringList({"A4"}));
        table.selectRow(0);
        MessageBoxW::queueAnswer(1);
        table.deleteAlarmAction->trigger();
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(counts.count(), 7);
    }

    void sortIndicatorOutlivesNewRows()
    {
        AlarmMonitorTable table(nullptr);
        QHeaderView* header = table.horizontalHeader();
        QVERIFY(!header->isSortIndicatorShown()); // nothing sorted yet
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            emit header->sectionClicked(12);
            emit AlarmSignals::_instance().signalNewAlarmPush(
                alarm(QString("T%1").arg(order), "S", "2026-12-05"));
            table.flushPendingRows();
            QVERIFY(header->isSortIndicatorShown());
            QCOMPARE(header->sortIndicatorSection(), 12);
            QCOMPARE(header->sortIndicatorOrder(), order);
        }
    }
};

QTEST_MAIN(TstMonitorTables)
#include "tst_monitor_tables.moc"
