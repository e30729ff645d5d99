// The tables against the embedded simulated alarm server: raised alarms appear, are handled from the menu,
// and take their new colours from the server's handled pushes.
#include "ModuleTestSupport.h"

#include "tables/AlarmMonitorTable.h"
#include "tables/StoreUnhadledAlarmsTable.h"

#include "BasicData.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;

namespace {

class MenuMonitorTable : public AlarmMonitorTable
{
public:
    using AlarmMonitorTable::AlarmMonitorTable;
    using AlarmMonitorTable::mistakenAlarmAction;
};

QColor rowColour(const QTableWidget& table, const QString& alarmUid, const AlarmTable& keyed)
{
    const int row = keyed.getRowIndexByKeyValue(alarmUid);
    return row < 0 ? QColor() : table.item(row, 12)->foreground().color();
}

} // namespace

class TstTablesWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(moduletest::startSimulatedServer()); }

    void alarmsAppearAreHandledAndRecoloured()
    {
        SimAlarmServer* server = DataCache::Instance()->GetSimulator();
        MenuMonitorTable monitor(nullptr);
        StoreUnhadledAlarmsTable store(nullptr);
        QSignalSpy counts(&store, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        QCOMPARE(store.updateData("S001"), 0);

        QStringList uids;
        for (const char* probe : {"P0101", "P0102", "P0101"}) {
            QString error;
            uids.append(server->raiseAlarm(probe, QString(), &error));
            QVERIFY2(!uids.last().isEmpty(), qPrintable(error));
        }
        QTRY_COMPARE(monitor.rowCount(), 3);
        QCOMPARE(monitor.getRowKeyValue(0), uids.at(2));
        QCOMPARE(monitor.getRowKeyValue(2), uids.at(0));
        QCOMPARE(monitor.getAlarmInfo(0).probeId, QString("P0101"));
        QCOMPARE(monitor.getAlarmInfo(0).storeUid, QString("S001"));
        QCOMPARE(monitor.item(0, 13)->text(),
                 VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001").storeName);
        for (const QString& uid : uids)
            QCOMPARE(rowColour(monitor, uid, monitor), QColor("#ff6e89"));
        QTRY_COMPARE(store.rowCount(), 3);
        QCOMPARE(counts.last().at(0).toInt(), 3);

        // Somebody else handles the first: its row turns green where it is and leaves the store table.
        server->handleAsOtherOperator(uids.at(0), AlarmDealt, "seen by a colleague", "Zhao Gang", "555-0199");
        QTRY_COMPARE(rowColour(monitor, uids.at(0), monitor), QColor("#49cc90"));
        QCOMPARE(monitor.getRowIndexByKeyValue(uids.at(0)), 2);
        QCOMPARE(monitor.item(2, 17)->text(), QString("Zhao Gang"));
        QCOMPARE(monitor.item(2, 20)->text(), QString("seen by a colleague"));
        QTRY_COMPARE(store.rowCount(), 2);
        QCOMPARE(counts.last().at(0).toInt(), 2);

        // The other two as false alarms from the menu.
        monitor.clearSelection();
        for (int row : {0, 1})
            monitor.selectionModel()->select(monitor.model()->index(row, 12),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QSignalSpy completed(&monitor, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        MessageBoxW::clearCalls();
        MessageBoxW::queueAnswer(1);
        monitor.mistakenAlarmAction->trigger();
        QVERIFY(WaitDialog::_instance().isShown());
        QTRY_COMPARE(completed.count(), 1);
        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(MessageBoxW::calls().size(), 1); // the confirmation, no failure

        // The results take the rows out; the server's pushes bring them back at the bottom, grey.
        QTRY_COMPARE(rowColour(monitor, uids.at(1), monitor), QColor("#5d657e"));
        QTRY_COMPARE(rowColour(monitor, uids.at(2), monitor), QColor("#5d657e"));
        QCOMPARE(monitor.rowCount(), 3);
        QCOMPARE(monitor.getRowKeyValue(0), uids.at(0));
        QCOMPARE(monitor.getAlarmInfo(uids.at(1)).state, int(AlarmMistaken));
        QCOMPARE(monitor.item(monitor.getRowIndexByKeyValue(uids.at(1)), 20)->text(), QString("False alarm"));
        QTRY_COMPARE(store.rowCount(), 0);
        QCOMPARE(counts.last().at(0).toInt(), 0);
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
    }
};

QTEST_MAIN(TstTablesWholeRoad)
#include "tst_tables_whole_road.moc"
