// What a broken or hostile alarm service may hand the module. Nothing may crash, and the books, the tables
// and the counts told to the host must keep agreeing.

#include "ModuleTestSupport.h"

#include <memory>

Q_DECLARE_METATYPE(AlarmData)

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;

namespace {

const std::string Megabyte(1024 * 1024, 'M');
const std::string BadUtf8("\xff\xfe\xc0\xaf\xed\xa0\x80 broken \x80", 16);

AlarmData record(const std::string& uid, const std::string& store = "S001",
                 const std::string& probe = "P0101", const std::string& device = "D0101")
{
    AlarmData alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = store;
    alarm.probeId = probe;
    alarm.deviceId = device;
    alarm.typeKey = "intrusion";
    alarm.typeDescription = "Intrusion";
    alarm.alarmTime = "2026-12-05 03:00:00";
    alarm.state = AlarmNew;
    alarm.channelIndex = 1;
    return alarm;
}

AlarmData everyText(const std::string& value)
{
    AlarmData alarm;
    for (std::string* field : {&alarm.alarmUid, &alarm.storeUid, &alarm.deviceId, &alarm.deviceName,
                               &alarm.typeKey, &alarm.typeDescription, &alarm.subTypeKey,
                               &alarm.subTypeDescription, &alarm.probeId, &alarm.probeName, &alarm.alarmTime,
                               &alarm.lastHandleNote, &alarm.describe, &alarm.createTime, &alarm.extendInfo})
        *field = value;
    alarm.state = AlarmNew;
    alarm.channelIndex = -7;
    return alarm;
}

AlarmProcessData pushOf(const AlarmData& alarm, int state, const std::string& text = "done")
{
    AlarmHandlerData handler;
    handler.principal = handler.principalTel = handler.handleNote = handler.handleTime = text;
    handler.liveImageUrls = text;
    handler.state = state;
    return handledRecord(alarm, handler);
}

QString qtext(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), int(utf8.size()));
}

} // namespace

class TestHostileService : public QObject
{
    Q_OBJECT

    std::unique_ptr<AlarmMonitorPage> page;
    std::unique_ptr<StoreUnhadledAlarmsTable> storeTable;
    QSet<QString> movedAway;
    QHash<QString, int> storeReports;
    QSet<QString> storesSeen;

    // Unhandled rows of the monitor table per store, each uid counted once, against the books, the host's
    // counts and the store's table.
    void verifyBooks()
    {
        flush();
        QHash<QString, int> rows;
        QSet<QString> seen;
        AlarmMonitorTable* table = page->monitorTable();
        for (int row = 0; row < table->rowCount(); ++row) {
            const VIG_AlarmInfo info = table->getAlarmInfo(row);
            if (info.state == AlarmNew && !seen.contains(table->getRowKeyValue(row))) {
                seen.insert(table->getRowKeyValue(row));
                ++rows[info.storeUid];
                storesSeen.insert(info.storeUid);
            }
        }
        AlarmBusiness& business = AlarmBusiness::_instance();
        for (const QString& store : qAsConst(storesSeen)) {
            const int booked = business.getStoreUnhandledAlarmsCount(store);
            QCOMPARE(booked, rows.value(store));
            QCOMPARE(storeReports.value(store), booked);
            QCOMPARE(business.getStoreUnhandledAlarms(store).size(), booked);
        }
        // A store table follows only pushes of its own store: an alarm that moved away keeps its row.
        int strays = 0;
        for (const QString& key : qAsConst(movedAway))
            strays += storeTable->getRowIndexByKeyValue(key) >= 0 ? 1 : 0;
        QCOMPARE(storeTable->rowCount() - strays, business.getStoreUnhandledAlarmsCount("S001"));
    }

private slots:
    void initTestCase()
    {
        installFakeService();
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json"));
        VIG_SYSTEM_MODULE::BusinessConfig& config = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
        config.setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        config.setShowAlarmMap(false);
        config.setMaxVideoCheckDlgCount(8);
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
                &VIG_CONTACT_MODULE::ModuleAccessSignals::signalStoreUnhandledAlarmsCount, this,
                [this](const QString& storeUid, int count) { storeReports[storeUid] = count; });
        page = std::make_unique<AlarmMonitorPage>();
        storeTable = std::make_unique<StoreUnhadledAlarmsTable>();
        QCOMPARE(storeTable->updateData("S001"), 0);
    }

    void cleanupTestCase()
    {
        storeTable.reset();
        page.reset();
    }

    void init()
    {
        flush();
        service().takeCalls();
        VIG_BASE_MODULE::MessageBoxW::clearCalls();
    }

    void oddRecordsTakeTheWholeRoad_data()
    {
        QTest::addColumn<AlarmData>("alarm");
        QTest::newRow("every text empty") << everyText(std::string());
        QTest::newRow("every text broken UTF-8") << everyText(BadUtf8);
        QTest::newRow("every text with NUL") << everyText(std::string("a\0b", 3));
        AlarmData longTexts = record("LONG-1");
        longTexts.describe = longTexts.lastHandleNote = longTexts.typeDescription = longTexts.deviceName =
            Megabyte;
        QTest::newRow("megabyte texts on a real probe") << longTexts;
        QTest::newRow("no probe, no device") << record("NOPROBE-1", "S001", "", "");
    }

    // Each record is booked, listed, shown in a pop-up and handled from it like any other.
    void oddRecordsTakeTheWholeRoad()
    {
        QFETCH(AlarmData, alarm);
        const QString uid = qtext(alarm.alarmUid);
        AlarmMonitorTable* table = page->monitorTable();
        const int rowsBefore = table->rowCount();
        deliverNew(alarm);
        flush();
        if (uid.isEmpty()) {
            // Nothing could ever find, handle or drop it again: it is not taken at all.
            QCOMPARE(table->rowCount(), rowsBefore);
            verifyBooks();
            QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(QString()), 0);
            return;
        }
        QCOMPARE(table->rowCount(), rowsBefore + 1);
        QCOMPARE(table->getRowKeyValue(0), uid);
        QCOMPARE(table->getAlarmInfo(0).describe, qtext(alarm.describe));
        verifyBooks();

        AlarmVideoCheckDlg* dlg =
            AlarmVideoCheckDlgManager::_instance().probeDialog(table->getAlarmInfo(0).probeId);
        QVERIFY(dlg);
        QVERIFY(dlg->cell()->checkWidget()->alarmUids().contains(uid));
        acceptHandleDialog(QStringLiteral("checked"));
        dlg->cell()->checkWidget()->findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().uids, QStringList{uid});
        // The answer names the alarm as the service saw it; the requester comes back unchanged.
        const std::vector<std::string> uids{alarm.alarmUid};
        const std::string requester = requests.first().texts.last().toStdString();
        service().deliver([uids, requester](IAlarmEvent* handler) {
            handler->OnHandleAlarmsResult(uids, 0, "", requester.c_str());
        });
        deliverPush(pushOf(alarm, AlarmDealt, alarm.describe));
        flush();
        QVERIFY(dlg->isHidden());
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(qtext(alarm.storeUid)), 0);
        QCOMPARE(table->getAlarmInfo(uid).state, int(AlarmDealt));
        verifyBooks();
    }

    // An alarm sent again (after a reconnect, say) must not leave a second, never-handled one behind.
    void sameUidTwice()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        AlarmMonitorTable* table = page->monitorTable();
        deliverNew(record("TWICE-1", "S001", "P0103"));
        deliverNew(record("TWICE-1", "S001", "P0103"));
        verifyBooks();
        QCOMPARE(business.getStoreUnhandledAlarmsCount("S001"), 1);
        // Now claiming another store and probe: the alarm moves, it is not doubled.
        const AlarmData moved = record("TWICE-1", "S002", "P0201", "D0201");
        movedAway.insert("TWICE-1");
        deliverNew(moved);
        verifyBooks();
        QCOMPARE(
            business.getStoreUnhandledAlarmsCount("S001") + business.getStoreUnhandledAlarmsCount("S002"), 1);

        deliverPush(pushOf(moved, AlarmMistaken));
        verifyBooks();
        QCOMPARE(
            business.getStoreUnhandledAlarmsCount("S001") + business.getStoreUnhandledAlarmsCount("S002"), 0);
        QCOMPARE(storeReports.value("S001") + storeReports.value("S002"), 0);
        QCOMPARE(table->getAlarmInfo("TWICE-1").state, int(AlarmMistaken));
        QCOMPARE(storeTable->getRowIndexByKeyValue("TWICE-1"), 0); // another store's pushes pass it by
        storeTable->deleteAlarm("TWICE-1");
        int rows = 0;
        for (int row = 0; row < table->rowCount(); ++row)
            rows += table->getRowKeyValue(row) == QLatin1String("TWICE-1") ? 1 : 0;
        QCOMPARE(rows, 1);
    }

    // Results for alarms nobody handles, from requesters nobody is, with null texts: ignored by every view;
    // the only effect allowed is a success's unbooking, and an unknown uid has none.
    void answersNobodyAskedFor()
    {
        const AlarmData alarm = record("ASKED-NOT-1", "S001", "P0104");
        deliverNew(alarm);
        verifyBooks();
        AlarmVideoCheckDlg* dlg = AlarmVideoCheckDlgManager::_instance().probeDialog("P0104");
        QVERIFY(dlg);
        const int rows = page->monitorTable()->rowCount();
        service().deliver([](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult(nullptr, 0, nullptr, nullptr);
            handler->OnHandleAlarmResult("NO-SUCH", 0, "", "{00000000-0000-0000-0000-000000000000}");
            handler->OnHandleAlarmResult("NO-SUCH", 9, BadUtf8.c_str(), BadUtf8.c_str());
            handler->OnHandleAlarmsResult({"NO-SUCH", "", BadUtf8, Megabyte}, 0, nullptr, "stranger");
            handler->OnHandleAlarmsResult({}, 0, "", "stranger");
            handler->OnHandleAlarmsResult({"ASKED-NOT-1"}, 5, "refused", "stranger");
            handler->OnAlarmRecordsCount(-3, nullptr, 0, nullptr);
            handler->OnAlarmRecords({everyText(BadUtf8), everyText(std::string())}, 0, nullptr);
            handler->OnAlarmHandleNotes(nullptr, AlarmProcessData(), 0, nullptr);
            handler->OnAlarmHandleNotes("NO-SUCH", pushOf(everyText(Megabyte), 77, Megabyte), 0, "");
            handler->OnReplyB(-1, 0, BadUtf8.c_str());
            handler->OnAllStoresAlarmsCollection({}, nullptr, 0, nullptr);
            handler->OnStoreDevicesAlarmsCollection({}, {}, BadUtf8.c_str(), 3, Megabyte.c_str());
        });
        verifyBooks();
        QCOMPARE(page->monitorTable()->rowCount(), rows);
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->cell()->checkWidget()->alarmUids(), QStringList{"ASKED-NOT-1"});
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 1);
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        QVERIFY(VIG_BASE_MODULE::MessageBoxW::calls().isEmpty());

        // A success for a real alarm from a stranger unbooks it; the server's push follows.
        service().deliver(
            [](IAlarmEvent* handler) { handler->OnHandleAlarmResult("ASKED-NOT-1", 0, "", "stranger"); });
        deliverPush(pushOf(alarm, AlarmFinished));
        verifyBooks();
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
    }

    // Pushes for alarms never seen, odd ones included, book nothing; a second push only changes the row.
    void pushesForUnknownAlarms()
    {
        AlarmProcessData bare;
        bare.alarmUid = "GHOST-2";
        deliverPush(bare); // no handler at all
        deliverPush(pushOf(everyText(BadUtf8), 99, BadUtf8));
        deliverPush(pushOf(everyText(Megabyte), -1, Megabyte));
        deliverPush(pushOf(record("GHOST-1"), AlarmDealt));
        deliverPush(pushOf(record("GHOST-1"), AlarmFinished));
        verifyBooks();
        QCOMPARE(page->monitorTable()->getAlarmInfo("GHOST-1").state, int(AlarmFinished));
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
    }
};

QTEST_MAIN(TestHostileService)
#include "tst_hostile_service.moc"
