// The alarm tables: rows and menus of one table, the monitor and store tables fed by the hub, and bursts of
// new alarms put in by blocks that must end as alarm-by-alarm insertion would.
#include "ModuleTestSupport.h"
#include "TestMain.h"

#include "tables/AlarmTable.h"

#include <QHeaderView>
#include <QTimer>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {

// An alarm of a demo probe with every field the table keeps filled.
VIG_AlarmInfo fullAlarm(const QString& uid, const QString& probe, int state = AlarmNew)
{
    VIG_AlarmInfo info = alarmOf(uid, probe, "2026-12-05 03:00:0" + uid.right(1), state);
    info.deviceName = "Recorder " + info.deviceId;
    info.typeKey = "intrusion";
    info.subTypeDescription = "PIR detector";
    info.lastHandleNote = "guard checked the door";
    return info;
}

// Opens the protected side of the table to the test; with a row for each alarm of a demo probe given.
class ProbeTable : public AlarmTable
{
public:
    explicit ProbeTable(const QStringList& uids = {}, const QString& probe = QString()) : AlarmTable(nullptr)
    {
        for (const QString& uid : uids)
            addAlarm(fullAlarm(uid, probe));
    }
    using AlarmTable::getAlarmInfoValues;

    int addAlarm(const VIG_AlarmInfo& info)
    {
        const int row = insertBack(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
        colourRowByState(row, info.state);
        return row;
    }
};

// An alarm of a store of the test's own, outside the demo.
VIG_AlarmInfo alarm(const QString& uid, const QString& store, const QString& time, int state = AlarmNew)
{
    VIG_AlarmInfo info = alarmOf(uid, QString(), time, state);
    info.storeUid = store;
    info.deviceId = "D1";
    info.probeId = "P1";
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

void selectRows(QTableWidget& table, const QList<int>& rows)
{
    table.clearSelection();
    for (int row : rows)
        table.selectionModel()->select(table.model()->index(row, 12),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Marks the selected rows false alarms and returns the request's requester.
QString markFalse(ProbeTable& table, const QList<int>& rows)
{
    selectRows(table, rows);
    MessageBoxW::queueAnswer(1);
    triggerAction(&table, "Mistaken Alarm");
    const QList<FakeAlarmService::Call> calls = service().takeCalls();
    return calls.size() == 1 ? calls.at(0).texts.at(1) : QString();
}

AlarmData burstAlarm(int n, const QString& store = "S1")
{
    AlarmData alarm =
        recordOf(QString("B%1").arg(n, 4, 10, QLatin1Char('0')), store, QString("P%1").arg(n % 7), "D1");
    alarm.alarmTime = QString("2026-12-05 01:%1:00").arg(n % 60, 2, 10, QLatin1Char('0')).toStdString();
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

class TstAlarmTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
    }

    void init()
    {
        resetCase();
        WaitDialog::_instance().hideWaitDialog();
    }

    void rowReadsBackFieldByField()
    {
        ProbeTable table;
        table.addAlarm(fullAlarm("A1", "P0101"));
        const VIG_AlarmInfo written = fullAlarm("A2", "P0102", AlarmFinished);
        const int row = table.addAlarm(written);

        const auto fields = [](const VIG_AlarmInfo& info) {
            return QStringList({info.alarmUid, info.storeUid, info.deviceId, info.deviceName, info.typeKey,
                                info.typeDescription, info.subTypeKey, info.subTypeDescription, info.probeId,
                                info.alarmTime, info.describe, info.lastHandleNote,
                                QString::number(info.state), QString::number(info.channelIndex)});
        };
        QCOMPARE(fields(table.getAlarmInfo(row)), fields(written));
        QCOMPARE(fields(table.getAlarmInfo(QString("A2"))), fields(written));
        // Rows that are not there read as empty records.
        for (const VIG_AlarmInfo& read : {table.getAlarmInfo(-1), table.getAlarmInfo(table.rowCount()),
                                          table.getAlarmInfo(QString("nope"))})
            QCOMPARE(fields(read), fields(VIG_AlarmInfo()));
        // The shown cells come from the host's store and probe.
        QCOMPARE(table.getAlarmInfoValues(written).mid(12, 4),
                 QStringList({written.alarmTime, "Jinyuan Jewellery Wulin Store", "HZ-001 Showroom PIR",
                              "13864740134"}));
    }

    void dealAlarmSendsTheDialogsAnswers()
    {
        ProbeTable table({"A1", "A2"}, "P0102");
        selectRows(table, {0, 1});
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        acceptHandleDialog(" police informed");
        triggerAction(&table, "Deal Alarm");
        QCOMPARE(sound.count(), 1);
        QVERIFY(WaitDialog::_instance().isShown() && WaitDialog::_instance().currentRequester().isNull());

        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        const FakeAlarmService::Call& call = calls.at(0);
        QStringList uids = call.uids;
        uids.sort();
        QCOMPARE(QVariantList({call.operation, uids, call.texts.at(0), call.number, call.informKeeper}),
                 QVariantList({"RequestHandleAlarms", QStringList({"A1", "A2"}), " police informed",
                               int(AlarmFinished), false}));
        QVERIFY(!QUuid(call.texts.at(1)).isNull());
        QCOMPARE(spied(alarmOut), QList<QVariantList>({{QStringList({"D0101-CH2"})}}));

        // Both results close the batch.
        answer({"A1", "A2"}, 0, call.texts.at(1));
        QVERIFY(!WaitDialog::_instance().isShown() && MessageBoxW::calls().isEmpty());
    }

    // What the operator selects or what leaves the table while the dialog is open is what goes out.
    void handlingSendsTheSelectionTheDialogLeft_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("unchanged") << 0 << QStringList({"A1", "A2"});
        QTest::newRow("deselected") << 1 << QStringList({"A1"});
        QTest::newRow("row removed") << 2 << QStringList({"A1"});
    }

    void handlingSendsTheSelectionTheDialogLeft()
    {
        QFETCH(int, change);
        QFETCH(QStringList, sent);
        ProbeTable table({"A1", "A2", "A3"}, "P0102");
        selectRows(table, {0, 1});
        QTimer::singleShot(0, &table, [&table, change] {
            if (change == 1)
                selectRows(table, {0});
            else if (change == 2)
                table.deleteAlarm("A2");
        });
        acceptHandleDialog("seen");
        triggerAction(&table, "Deal Alarm");
        const QList<FakeAlarmService::Call> calls = handleRequests();
        QCOMPARE(QVariantList({calls.size(), calls.value(0).uids}), QVariantList({1, sent}));
    }

    void batchWithOneFailure()
    {
        ProbeTable table({"A1", "A2", "A3"}, "P0101");
        selectRows(table, {0, 1, 2});
        MessageBoxW::queueAnswer(1); // "Are you sure false alarm?"
        MessageBoxW::queueAnswer(1); // the failure message
        triggerAction(&table, "Mistaken Alarm");

        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(QVariantList({calls.at(0).texts.at(0), calls.at(0).number, calls.at(0).informKeeper}),
                 QVariantList({"False alarm", int(AlarmMistaken), false}));
        QVERIFY(MessageBoxW::calls().size() == 1 && WaitDialog::_instance().isShown());

        AlarmSignals& hub = AlarmSignals::_instance();
        QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        QSignalSpy notInMonitor(&hub, &AlarmSignals::signalAlarmHandledNotInVideoMonitorWt);
        QSignalSpy deleted(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable);
        QSignalSpy notes(&hub, &AlarmSignals::signalUpdateAlarmHandledNotesInDetailCheckWt);

        const std::string requester = calls.at(0).texts.at(1).toStdString();
        const auto result = [requester](const char* uid, int code) {
            service().deliver([=](IAlarmEvent* handler) {
                handler->OnHandleAlarmResult(uid, code, "busy", requester.c_str());
            });
        };
        result("A1", 0);
        result("A2", 503);
        flush();
        QVERIFY(WaitDialog::_instance().isShown() && completed.count() == 0);
        result("A3", 0);
        flush();

        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(spied(deleted), QList<QVariantList>({{"A1"}, {"A3"}}));
        QCOMPARE(
            QVariantList({completed.count(), MessageBoxW::calls().size(), MessageBoxW::calls().at(1).text,
                          notes.count(), notes.at(1).at(0), notInMonitor.count(),
                          notInMonitor.at(0).at(0).value<VIG_AlarmInfo>().deviceId}),
            QVariantList({1, 2, "1 alarm(s) not handled: busy", 2, "A3", 2, "D0101"}));

        // The batch is closed: a stray result of it changes nothing.
        result("A2", 0);
        flush();
        QCOMPARE(QList<int>({completed.count(), deleted.count()}), QList<int>({1, 2}));
    }

    // Results of other requesters, and of this table's outside a batch, are not counted; only the uids sent
    // close the batch.
    void onlyTheBatchsOwnResultsCount_data()
    {
        QTest::addColumn<QString>("strayUid");
        QTest::newRow("repeated result") << "A1";
        QTest::newRow("alarm never sent") << "A9";
    }

    void onlyTheBatchsOwnResultsCount()
    {
        QFETCH(QString, strayUid);
        ProbeTable table({"A1", "A2"}, "P0101");
        const QString own = markFalse(table, {0, 1});
        QVERIFY(!own.isEmpty());
        AlarmSignals& hub = AlarmSignals::_instance();
        QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        QSignalSpy deleted(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable);

        emit hub.signalHandleAlarmResult(QUuid::createUuid().toString(), "A1", 0, QString());
        emit hub.signalHandleAlarmResult(AlarmBusiness::_instance().getRequesterUuid().toString(), "A1", 1,
                                         "x");
        QCOMPARE(deleted.count(), 0);
        emit hub.signalHandleAlarmResult(own, "A1", 0, QString());
        emit hub.signalHandleAlarmResult(own, strayUid, 0, QString());
        QVERIFY(completed.isEmpty() && WaitDialog::_instance().isShown());
        emit hub.signalHandleAlarmResult(own, "A2", 0, QString());
        QVERIFY(completed.count() == 1 && !WaitDialog::_instance().isShown());

        emit hub.signalHandleAlarmResult(own, "A1", 7, "late");
        QCOMPARE(QList<int>({completed.count(), MessageBoxW::calls().size()}), QList<int>({1, 1}));
    }

    void alarmOutDevicesOfNewAlarmsPerDeviceAndProbe()
    {
        ProbeTable table;
        table.addAlarm(fullAlarm("A1", "P0101"));
        table.addAlarm(fullAlarm("A2", "P0102"));             // same device, another probe: its channel too
        table.addAlarm(fullAlarm("A3", "P0103", AlarmDealt)); // handled: its outputs are off already
        table.addAlarm(fullAlarm("A4", "P0101"));
        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        markFalse(table, {0, 1, 2, 3});
        QCOMPARE(spied(alarmOut),
                 QList<QVariantList>({{QStringList({"D0101-CH1", "D0101-CH3", "D0102-CH1", "D0101-CH2"})}}));
    }

    void deleteFromTheMenuStaysLocal()
    {
        ProbeTable table({"A1", "A2", "A3"}, "P0101");
        selectRows(table, {0, 2});
        MessageBoxW::queueAnswer(0);
        triggerAction(&table, "Delete Alarm");
        QCOMPARE(table.rowCount(), 3);

        MessageBoxW::queueAnswer(1);
        triggerAction(&table, "Delete Alarm");
        flush();
        QCOMPARE(QVariantList({MessageBoxW::calls().size(), keys(table), table.getRowIndexByKeyValue("A3"),
                               service().takeCalls().size(), WaitDialog::_instance().isShown()}),
                 QVariantList({2, QStringList({"A2"}), -1, 0, false}));
    }
};

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

    void init() { resetCase(); }

    void handledPushesUpdateOrAppend()
    {
        AlarmMonitorTable table(nullptr);
        AlarmSignals& hub = AlarmSignals::_instance();
        const VIG_AlarmInfo a1 = alarm("A1", "S1", "2026-12-05 03:00:01");
        const VIG_AlarmInfo a2 = alarm("A2", "S1", "2026-12-05 03:00:02");
        for (const VIG_AlarmInfo& info : {a1, a2, alarm("A3", "S1", "2026-12-05 03:00:03")})
            emit hub.signalNewAlarmPush(info);
        // Rows looked up by uid must be found after the operator sorts the table, too.
        table.sortByColumn(12, Qt::AscendingOrder);
        QCOMPARE(keys(table), QStringList({"A1", "A2", "A3"}));

        emit hub.signalHandledAlarmPush(handling(a2, AlarmDealt));
        QCOMPARE(QVariantList({table.rowCount(), table.getRowIndexByKeyValue("A2"), table.item(1, 12)->text(),
                               table.item(1, 20)->text(), table.getAlarmInfo(1).state, rowColour(table, 1),
                               rowColour(table, 0)}),
                 QVariantList({3, 1, "2026-12-05 05:00:00", "checked on camera", int(AlarmDealt),
                               QColor("#49cc90"), QColor("#ff6e89")}));

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
        QCOMPARE(QList<int>({table.updateData("S-empty"), table.rowCount(), counts.count()}),
                 QList<int>({0, 4, 0}));
    }

    void storeTableFollowsItsStoreOnly()
    {
        AlarmSignals& hub = AlarmSignals::_instance();
        StoreUnhadledAlarmsTable table(nullptr);
        QSignalSpy counts(&table, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        const auto lastCount = [&counts] {
            return counts.last().at(0).toInt();
        };
        const VIG_AlarmInfo a1 = alarm("A1", "S-A", "2026-12-05 03:00:01");
        const VIG_AlarmInfo a2 = alarm("A2", "S-A", "2026-12-05 03:00:02");
        const VIG_AlarmInfo b1 = alarm("B1", "S-B", "2026-12-05 03:00:03");
        // Not bound yet: no store's alarm is taken.
        emit hub.signalNewAlarmPush(a1);
        QCOMPARE(QList<int>({table.rowCount(), table.updateData("S-A")}), QList<int>({0, 0}));

        emit hub.signalNewAlarmPush(b1);
        QCOMPARE(QList<int>({table.rowCount(), counts.count()}), QList<int>({0, 0}));

        emit hub.signalNewAlarmPush(a1);
        emit hub.signalNewAlarmPush(a2);
        QCOMPARE(keys(table), QStringList({"A2", "A1"}));
        QCOMPARE(spied(counts), QList<QVariantList>({{1}, {2}}));
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
        QCOMPARE(QVariantList({keys(table), lastCount()}), QVariantList({QStringList({"A2"}), 1}));
        // Removal through the monitor signal counts as well; the menu's local delete does not.
        emit hub.signalNewAlarmPush(alarm("A3", "S-A", "2026-12-05 03:00:04"));
        QCOMPARE(counts.count(), 4);
        emit hub.signalDeleteAlarmFromMonitorTable("A2");
        QCOMPARE(QVariantList({keys(table), counts.count(), lastCount()}),
                 QVariantList({QStringList({"A3"}), 5, 1}));
        // A row a handling burst has only marked to leave is not counted, and the count comes again when it
        // goes.
        table.removeRowLater("A3");
        emit hub.signalNewAlarmPush(alarm("A4", "S-A", "2026-12-05 03:00:05"));
        QCOMPARE(QList<int>({counts.count(), lastCount()}), QList<int>({6, 1}));
        QTRY_COMPARE(counts.count(), 7);
        QCOMPARE(QVariantList({lastCount(), keys(table)}), QVariantList({1, QStringList({"A4"})}));
        table.selectRow(0);
        MessageBoxW::queueAnswer(1);
        triggerAction(&table, "Delete Alarm");
        QCOMPARE(QList<int>({table.rowCount(), counts.count()}), QList<int>({0, 7}));
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
            QCOMPARE(QVariantList({header->isSortIndicatorShown(), header->sortIndicatorSection(),
                                   header->sortIndicatorOrder()}),
                     QVariantList({true, 12, order}));
        }
    }
};

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
            deliverNew(burstAlarm(n));
        settle(table);
        QCOMPARE(table.rowCount(), count);
        for (int row = 0; row < count; row += 97) {
            const int n = count - 1 - row;
            QCOMPARE(QVariantList({table.getRowKeyValue(row), table.getAlarmInfo(row).probeId,
                                   table.item(row, 20)->foreground().color()}),
                     QVariantList({QString::fromStdString(burstAlarm(n).alarmUid),
                                   QString::fromStdString(burstAlarm(n).probeId), QColor("#ff6e89")}));
        }
    }

    void handledPushAndRepeatsWithinABurst()
    {
        AlarmMonitorTable table(nullptr);
        for (int n = 2000; n < 2300; ++n)
            deliverNew(burstAlarm(n));
        deliverHandled(burstAlarm(2100)); // its row is still queued when the push comes
        deliverNew(burstAlarm(2200));     // the same alarm again: one row, now on top
        for (int n = 2300; n < 2400; ++n)
            deliverNew(burstAlarm(n));
        settle(table);

        QCOMPARE(table.rowCount(), 400);
        const int handledRow = table.getRowIndexByKeyValue("B2100");
        QCOMPARE(handledRow, 299); // updated in place, not appended: 100 + 1 + 99 rows above it
        QCOMPARE(QVariantList({table.item(handledRow, 20)->text(),
                               table.item(handledRow, 20)->foreground().color(),
                               table.getRowIndexByKeyValue("B2200"), table.getRowKeyValue(0)}),
                 QVariantList({"checked on camera", QColor("#49cc90"), 100, "B2399"}));
    }

    // Handled pushes in a burst take their rows out of a store's table together; the counts it reports are
    // those of one removal after the other.
    void handledBurstLeavesTheStoreTable()
    {
        // A store of its own: the alarms of the other cases stay booked as unhandled.
        StoreUnhadledAlarmsTable table(nullptr);
        table.updateData("S9");
        const int count = 600;
        for (int n = 3000; n < 3000 + count; ++n)
            deliverNew(burstAlarm(n, "S9"));
        settle(table);
        QCOMPARE(table.rowCount(), count);
        QSignalSpy counts(&table, &StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount);
        for (int n = 3000; n < 3000 + count; n += 2)
            deliverHandled(burstAlarm(n, "S9"));
        flush();
        QTRY_COMPARE(table.pendingRemovalCount(), 0);
        QCOMPARE(table.rowCount(), count / 2);
        // One count per removal, as the operator will see it, and again when a pass takes marked rows out.
        QTRY_VERIFY(counts.count() > count / 2);
        QList<int> reported;
        for (const QList<QVariant>& report : qAsConst(counts))
            reported.append(report.at(0).toInt());
        reported.erase(std::unique(reported.begin(), reported.end()), reported.end());
        QList<int> expected;
        for (int n = 0; n < count / 2; ++n)
            expected.append(count - 1 - n);
        QCOMPARE(reported, expected);
        QCOMPARE(QVariantList({table.getRowIndexByKeyValue("B3000"), table.getRowKeyValue(0),
                               table.getRowKeyValue(count / 2 - 1)}),
                 QVariantList({-1, "B3599", "B3001"}));
    }
};

VIG_TEST(tst_alarm_table, TstAlarmTable)
VIG_TEST(tst_monitor_tables, TstMonitorTables)
VIG_TEST(tst_monitor_burst, TstMonitorBurst)
#include "tst_tables.moc"
