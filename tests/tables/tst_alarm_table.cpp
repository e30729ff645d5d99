#include "ModuleTestSupport.h"

#include "tables/AlarmTable.h"

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {

// Opens the protected side of the table to the test.
class ProbeTable : public AlarmTable
{
public:
    using AlarmTable::AlarmTable;
    using AlarmTable::dealAlarmAction;
    using AlarmTable::deleteAlarmAction;
    using AlarmTable::getAlarmInfoValues;
    using AlarmTable::mistakenAlarmAction;

    int addAlarm(const VIG_AlarmInfo& info)
    {
        const int row = insertBack(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
        colourRowByState(row, info.state);
        return row;
    }
};

VIG_AlarmInfo alarm(const QString& uid, const QString& device, const QString& probe, int state = AlarmNew)
{
    VIG_AlarmInfo info;
    info.alarmUid = uid;
    info.storeUid = "S1";
    info.deviceId = device;
    info.deviceName = "Recorder " + device;
    info.typeKey = "intrusion";
    info.subTypeDescription = "PIR detector";
    info.probeId = probe;
    info.alarmTime = "2026-12-05 03:00:0" + uid.right(1);
    info.describe = "movement in the stock room";
    info.lastHandleNote = "guard checked the door";
    info.state = state;
    info.channelIndex = 7;
    return info;
}

void selectRows(QTableWidget& table, const QList<int>& rows)
{
    table.clearSelection();
    for (int row : rows)
        table.selectionModel()->select(table.model()->index(row, 12),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

class TstAlarmTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();

        using namespace VIG_DATA_MODULE;
        BasicData& data = BasicData::_instance();
        data.clearAll();
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setStoreWord("Shop");
        VIG_StoreInfo store;
        store.storeUid = "S1";
        store.storeName = "Wulin Jewellery";
        store.keeperTel = "0571-1111";
        store.alarmOutLinkMode = 1; // the probe's related channels
        data.setStoreInfo(store);
        for (const char* device : {"D1", "D2"}) {
            VIG_DeviceInfo info;
            info.deviceId = device;
            info.storeUid = "S1";
            info.deviceType = "nvr";
            QVector<VIG_ChannelInfo> channels;
            for (int index = 1; index <= 3; ++index) {
                VIG_ChannelInfo channel;
                channel.channelId = QString("%1-C%2").arg(device).arg(index);
                channel.deviceId = device;
                channel.storeUid = "S1";
                channel.channelIndex = index;
                channels.append(channel);
            }
            data.setDeviceInfo(info, channels);
        }
        const QList<QPair<QString, QString>> probes = {{"P1", "D1-C1"}, {"P2", "D1-C2"}, {"P3", "D2-C3"}};
        for (const auto& probe : probes) {
            VIG_ProbeInfo info;
            info.probeId = probe.first;
            info.probeName = "Probe " + probe.first;
            info.storeUid = "S1";
            data.setProbeInfo(info, {probe.second});
        }
    }

    void init()
    {
        flush();
        service().takeCalls();
        MessageBoxW::clearCalls();
        MessageBoxW::clearQueuedAnswers();
        WaitDialog::_instance().hideWaitDialog();
    }

    void rowReadsBackFieldByField()
    {
        ProbeTable table(nullptr);
        table.addAlarm(alarm("A1", "D1", "P1"));
        const VIG_AlarmInfo written = alarm("A2", "D2", "P3", AlarmFinished);
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
        const QStringList shown = table.getAlarmInfoValues(written).mid(12, 4);
        QCOMPARE(shown, QStringList({written.alarmTime, "Wulin Jewellery", "Probe P3", "0571-1111"}));
    }

    void dealAlarmSendsTheDialogsAnswers()
    {
        ProbeTable table(nullptr);
        for (const char* uid : {"A1", "A2"})
            table.addAlarm(alarm(uid, "D2", "P3"));
        selectRows(table, {0, 1});
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);

        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        acceptHandleDialog(" police informed");
        table.dealAlarmAction->trigger();
        QCOMPARE(sound.count(), 1);
        QVERIFY(WaitDialog::_instance().isShown());
        QVERIFY(WaitDialog::_instance().currentRequester().isNull());

        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).operation, QString("RequestHandleAlarms"));
        QStringList uids = calls.at(0).uids;
        uids.sort();
        QCOMPARE(uids, QStringList({"A1", "A2"}));
        QCOMPARE(calls.at(0).texts.at(0), QString(" police informed"));
        QCOMPARE(calls.at(0).number, int(AlarmFinished));
        QVERIFY(!calls.at(0).informKeeper);
        QVERIFY(!QUuid(calls.at(0).texts.at(1)).isNull());
        QCOMPARE(alarmOut.count(), 1);
        QCOMPARE(alarmOut.at(0).at(0).toStringList(), QStringList({"D2-C3"}));

        // Both results close the batch.
        const std::string requester = calls.at(0).texts.at(1).toStdString();
        service().deliver([requester](IAlarmEvent* handler) {
            handler->OnHandleAlarmsResult({"A1", "A2"}, 0, "", requester.c_str());
        });
        flush();
        QVERIFY(!WaitDialog::_instance().isShown());
        QVERIFY(MessageBoxW::calls().isEmpty());
    }

    void batchWithOneFailure()
    {
        ProbeTable table(nullptr);
        for (const char* uid : {"A1", "A2", "A3"})
            table.addAlarm(alarm(uid, "D1", "P1"));
        selectRows(table, {0, 1, 2});
        MessageBoxW::queueAnswer(1); // "Are you sure false alarm?"
        MessageBoxW::queueAnswer(1); // the failure message
        table.mistakenAlarmAction->trigger();

        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).texts.at(0), QString("False alarm"));
        QCOMPARE(calls.at(0).number, int(AlarmMistaken));
        QVERIFY(!calls.at(0).informKeeper);
        QCOMPARE(MessageBoxW::calls().size(), 1);
        QVERIFY(WaitDialog::_instance().isShown());

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
        QVERIFY(WaitDialog::_instance().isShown());
        QCOMPARE(completed.count(), 0);
        result("A3", 0);
        flush();

        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(completed.count(), 1);
        QCOMPARE(MessageBoxW::calls().size(), 2);
        QCOMPARE(MessageBoxW::calls().at(1).text, QString("1 alarm(s) not handled: busy"));
        QCOMPARE(deleted.count(), 2);
        QCOMPARE(deleted.at(0).at(0).toString(), QString("A1"));
        QCOMPARE(deleted.at(1).at(0).toString(), QString("A3"));
        QCOMPARE(notes.count(), 2);
        QCOMPARE(notes.at(1).at(0).toString(), QString("A3"));
        QCOMPARE(notInMonitor.count(), 2);
        QCOMPARE(notInMonitor.at(0).at(0).value<VIG_AlarmInfo>().deviceId, QString("D1"));

        // The batch is closed: a stray result of it changes nothing.
        result("A2", 0);
        flush();
        QCOMPARE(completed.count(), 1);
        QCOMPARE(deleted.count(), 2);
    }

    void foreignAndLateResultsAreIgnored()
    {
        ProbeTable table(nullptr);
        table.addAlarm(alarm("A1", "D1", "P1"));
        AlarmSignals& hub = AlarmSignals::_instance();
        QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        QSignalSpy deleted(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable);

        // Open a batch to learn the table's requester.
        selectRows(table, {0});
        MessageBoxW::queueAnswer(1);
        table.mistakenAlarmAction->trigger();
        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        const QString own = calls.at(0).texts.at(1);

        emit hub.signalHandleAlarmResult(QUuid::createUuid().toString(), "A1", 0, QString());
        emit hub.signalHandleAlarmResult(AlarmBusiness::_instance().getRequesterUuid().toString(), "A1", 1,
                                         "x");
        QCOMPARE(completed.count(), 0);
        QCOMPARE(deleted.count(), 0);
        QVERIFY(WaitDialog::_instance().isShown());

        emit hub.signalHandleAlarmResult(own, "A1", 0, QString());
        QCOMPARE(completed.count(), 1);
        QCOMPARE(deleted.count(), 1);
        QVERIFY(!WaitDialog::_instance().isShown());

        // Outside a batch even the table's own results are not counted.
        emit hub.signalHandleAlarmResult(own, "A1", 7, "late");
        QCOMPARE(completed.count(), 1);
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(MessageBoxW::calls().size(), 1);
    }

    void onlyTheUidsSentCloseTheBatch_data()
    {
        QTest::addColumn<QString>("strayUid");
        QTest::newRow("repeated result") << "A1";
        QTest::newRow("alarm never sent") << "A9";
    }

    void onlyTheUidsSentCloseTheBatch()
    {
        QFETCH(QString, strayUid);
        ProbeTable table(nullptr);
        table.addAlarm(alarm("A1", "D1", "P1"));
        table.addAlarm(alarm("A2", "D1", "P1"));
        selectRows(table, {0, 1});
        MessageBoxW::queueAnswer(1);
        table.mistakenAlarmAction->trigger();
        const QString own = service().takeCalls().at(0).texts.at(1);
        QSignalSpy completed(&table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);

        AlarmSignals& hub = AlarmSignals::_instance();
        emit hub.signalHandleAlarmResult(own, "A1", 0, QString());
        emit hub.signalHandleAlarmResult(own, strayUid, 0, QString());
        QCOMPARE(completed.count(), 0);
        QVERIFY(WaitDialog::_instance().isShown());
        emit hub.signalHandleAlarmResult(own, "A2", 0, QString());
        QCOMPARE(completed.count(), 1);
        QVERIFY(!WaitDialog::_instance().isShown());
    }

    void alarmOutDevicesOfNewAlarmsPerDeviceAndProbe()
    {
        ProbeTable table(nullptr);
        table.addAlarm(alarm("A1", "D1", "P1"));
        table.addAlarm(alarm("A2", "D1", "P2"));             // same device, another probe: its channel too
        table.addAlarm(alarm("A3", "D2", "P3", AlarmDealt)); // handled: its outputs are off already
        table.addAlarm(alarm("A4", "D1", "P1"));
        selectRows(table, {0, 1, 2, 3});
        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        MessageBoxW::queueAnswer(1);
        table.mistakenAlarmAction->trigger();
        QCOMPARE(alarmOut.count(), 1);
        QCOMPARE(alarmOut.at(0).at(0).toStringList(), QStringList({"D1-C1", "D1-C2"}));
    }

    void deleteFromTheMenuStaysLocal()
    {
        ProbeTable table(nullptr);
        for (const char* uid : {"A1", "A2", "A3"})
            table.addAlarm(alarm(uid, "D1", "P1"));
        selectRows(table, {0, 2});
        MessageBoxW::queueAnswer(0);
        table.deleteAlarmAction->trigger();
        QCOMPARE(table.rowCount(), 3);

        MessageBoxW::queueAnswer(1);
        table.deleteAlarmAction->trigger();
        QCOMPARE(MessageBoxW::calls().size(), 2);
        QCOMPARE(table.rowCount(), 1);
        QCOMPARE(table.getRowKeyValue(0), QString("A2"));
        QCOMPARE(table.getRowIndexByKeyValue("A3"), -1);
        flush();
        QVERIFY(service().takeCalls().isEmpty());
        QVERIFY(!WaitDialog::_instance().isShown());
    }
};

QTEST_MAIN(TstAlarmTable)
#include "tst_alarm_table.moc"
