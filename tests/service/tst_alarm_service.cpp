#include "ModuleTestSupport.h"

#include "frame/AlarmModuleAccess.h"

#include "DataSignals.h"
#include "NoticeSignals.h"

#include <QThread>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;

namespace {

AlarmProcessData processData(const AlarmData& alarm, bool withHandler)
{
    AlarmProcessData record = SimAlarmEngine::processOf(alarm);
    if (withHandler) {
        AlarmHandlerData handler;
        handler.principal = "Wang Fang";
        handler.principalTel = "138-0000-0001";
        handler.handleTime = "2026-12-05 03:05:00";
        handler.handleNote = "guard on site";
        handler.state = 4;
        record.handlers.push_back(handler);
        handler.principal = "second handler is not read";
        record.handlers.push_back(handler);
    }
    return record;
}

} // namespace

class TestAlarmService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installFakeService(); }

    void init()
    {
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        businessConfig().setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        resetCase();
    }

    void newAlarmIsBookedBeforeItIsPushed()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        QSignalSpy storeCounts(&ModuleAccessSignals::_instance(),
                               &ModuleAccessSignals::signalStoreUnhandledAlarmsCount);
        QSignalSpy channelCounts(&ModuleAccessSignals::_instance(),
                                 &ModuleAccessSignals::signalChannelUnhandledAlarmsCount);
        QSignalSpy notices(&NoticeSignals::_instance(), &NoticeSignals::signalNewAlarmNotice);
        QSignalSpy storeStates(&NoticeSignals::_instance(), &NoticeSignals::signalStoreStateChangeNotice);

        QList<VIG_AlarmInfo> pushed;
        QList<int> bookedAtPush;
        QMetaObject::Connection connection =
            connect(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush, this,
                    [&](const VIG_AlarmInfo& info) {
                        QCOMPARE(QThread::currentThread(), qApp->thread());
                        pushed.append(info);
                        bookedAtPush.append(business.getStoreUnhandledAlarmsCount(info.storeUid));
                    });
        deliverNew(recordOf("N1", "S-new", "", "D-new", 2)); // no probe: the device stands in for it
        flush();
        disconnect(connection);
        QCOMPARE(QVariantList({pushed.size(), pushed.value(0).probeId, bookedAtPush.value(0)}),
                 QVariantList({1, "D-new", 1}));
        QCOMPARE(spied(storeCounts), QList<QVariantList>({{"S-new", 1}}));
        QCOMPARE(spied(channelCounts), QList<QVariantList>({{"D-new", 2, 1}}));
        QCOMPARE(QList<int>({notices.count(), storeStates.count()}), QList<int>({1, 1}));
        QCOMPARE(storeStates.at(0).at(1).value<VIG_CONTACT_MODULE::StoreStateNoticeType>(),
                 VIG_CONTACT_MODULE::StoreNewAlarmNotice);

        // Mode -1 silences the notice, nothing else; mode 1 also brings the form and the monitor tab forward.
        businessConfig().setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosWithoutNotice);
        deliverNew(recordOf("N2", "S-new", "P-new", "D-new", 2));
        flush();
        QCOMPARE(QList<int>({notices.count(), storeCounts.count()}), QList<int>({1, 2}));
        QSignalSpy formRequests(&ModuleAccessSignals::_instance(),
                                &ModuleAccessSignals::signalSetCurrentModuleForm);
        QSignalSpy monitorTab(&AlarmSignals::_instance(), &AlarmSignals::signalChangeToAlarmMonitorTab);
        businessConfig().setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInGrid);
        deliverNew(recordOf("N3", "S-new", "P-new", "D-new", 2));
        flush();
        QCOMPARE(QList<int>({formRequests.count(), monitorTab.count(),
                             business.getStoreUnhandledAlarmsCount("S-new")}),
                 QList<int>({1, 1, 3}));
    }

    void requestsPassTheirArguments()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        // Informing the keeper goes with the last alarm alone; the rest go as a batch without it.
        QStringList three{"U1", "U2", "U3"};
        business.handleAlarms("{req}", three, "门店已确认 'ok'", 4, true);
        QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 2);
        QCOMPARE(
            QVariantList({calls[0].operation, calls[0].texts, calls[0].number, calls[0].informKeeper}),
            QVariantList({"RequestHandleAlarm", QStringList({"U3", "门店已确认 'ok'", "{req}"}), 4, true}));
        QCOMPARE(QVariantList({calls[1].operation, calls[1].uids, calls[1].texts, calls[1].informKeeper}),
                 QVariantList({"RequestHandleAlarms", QStringList({"U1", "U2"}),
                               QStringList({"门店已确认 'ok'", "{req}"}), true}));
        QCOMPARE(three, QStringList({"U1", "U2"}));

        business.getAlarmRecordsCount("S1", "2026-12-01 00:00:00", "2026-12-05 23:59:59", 2);
        business.getAlarmRecords("", "2026-12-01 00:00:00", "2026-12-05 23:59:59", 0, 40, 20);
        AlarmModuleAccess::_instance().getAllStoresAlarmsCollection("a", "b", "c");
        AlarmModuleAccess::_instance().getStoreDevicesAlarmsCollection("a", "b", "c", "d");
        calls = service().takeCalls();
        QCOMPARE(calls.size(), 4);
        QCOMPARE(
            QVariantList({calls[0].texts, calls[0].number, calls[1].first, calls[1].count}),
            QVariantList({QStringList({"S1", "2026-12-01 00:00:00", "2026-12-05 23:59:59", ""}), 2, 40, 20}));
        QCOMPARE(calls.at(2).texts, QStringList({"b", "c", "a"}));
        QCOMPARE(calls.at(3).texts, QStringList({"b", "c", "d", "a"}));
    }

    void waitingAlarmsComeInProbeOrder()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        deliverNew(recordOf("W2a", "S-wait", "P2", "D-wait", 1));
        deliverNew(recordOf("W2b", "S-wait", "P2", "D-wait", 1));
        deliverNew(recordOf("W10", "S-wait", "P10", "D-wait", 2));
        flush();
        for (const char* uid : {"W2a", "W2b", "W10", "not-booked"})
            business.addWaitingAlarm(uid);

        QCOMPARE(uidsOf(business.takeWaitingAlarms()), QStringList({"W10"}));
        // W2a is handled while it waits: its probe still gets its turn, with what is left.
        service().deliver([](IAlarmEvent* handler) { handler->OnHandleAlarmResult("W2a", 0, "", "x"); });
        flush();
        QCOMPARE(uidsOf(business.takeWaitingAlarms()), QStringList({"W2b"}));
        QVERIFY(business.takeWaitingAlarms().isEmpty() && !business.hasWaitingAlarms());
    }

    void handledHint()
    {
        businessConfig().setStoreWord("Shop");
        const AlarmData alarm = recordOf("HINT1", "S002", "P0201", "D0201", 1);
        const QString store("Shop_Name:Hexiang Pharmacy Qingchun Road\r\nShop_Keeper Tel:15897953525\r\n"
                            "Shop_Address:No. 386 Qingchun Road, Shangcheng District\r\n");
        QSignalSpy pushes(&AlarmSignals::_instance(), &AlarmSignals::signalHandledAlarmPush);
        QSignalSpy hints(&NoticeSignals::_instance(), &NoticeSignals::signalNoticeHint);
        QSignalSpy notes(&AlarmSignals::_instance(),
                         &AlarmSignals::signalUpdateAlarmHandledNotesInDetailCheckWt);
        deliverPush(processData(alarm, false));
        // One handling of three alarms gives one notice with the count.
        for (const char* uid : {"HINT2", "HINT3", "HINT4"})
            deliverPush(processData(recordOf(uid, "S002", "", "D0201", 1), true));
        flush();
        QTRY_COMPARE(hints.count(), 2);
        const auto bare = pushes.at(0).at(0).value<VIG_AlarmProcess>();
        QVERIFY(bare.principal.isEmpty() && bare.handleNote.isEmpty() && bare.state == 0);
        QCOMPARE(hints.at(0).at(0).value<VIG_CONTACT_MODULE::NoticeHintType>(),
                 VIG_CONTACT_MODULE::AlarmHandledHint);
        QCOMPARE(QVariantList({hints.at(0).at(1), hints.at(1).at(1), notes.at(0).at(0)}),
                 QVariantList({store,
                               "Alarms handled: 3\r\n" + store +
                                   "Alarm Handler:Wang Fang\r\nAlarm Handler Tel:138-0000-0001",
                               "HINT1"}));
        const auto second = pushes.at(1).at(0).value<VIG_AlarmProcess>();
        // A handled push keeps the empty probe id; it takes the first handler only.
        QCOMPARE(QVariantList({second.probeId, second.principal, second.state}),
                 QVariantList({QString(), "Wang Fang", 4}));
        businessConfig().setStoreWord("Store");
    }

    void recordCountsAreRouted()
    {
        AlarmBusiness& business = AlarmBusiness::_instance();
        business.getLateMonthUnhandledAlarmsCount();
        const QList<FakeAlarmService::Call> calls = service().takeCalls();
        QCOMPARE(calls.size(), 1);
        const QString uuid = business.getRequesterUuid().toString();
        const QDate today = QDate::currentDate();
        QCOMPARE(QVariantList({calls.at(0).texts, calls.at(0).number}),
                 QVariantList({QStringList({"", today.addMonths(-1).toString("yyyy-MM-dd") + " 00:00:00",
                                            today.toString("yyyy-MM-dd") + " 23:59:59", uuid}),
                               1}));

        QSignalSpy host(&ModuleAccessSignals::_instance(),
                        &ModuleAccessSignals::signalLateMonthUnhandledAlarmsCount);
        QSignalSpy hub(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmRecordsCount);
        const std::string own = uuid.toStdString();
        service().deliver(
            [own](IAlarmEvent* handler) { handler->OnAlarmRecordsCount(7, own.c_str(), 0, ""); });
        for (const char* other : {"", "not a uuid", "{00000000-0000-0000-0000-000000000001}"}) {
            const std::string id = other;
            service().deliver(
                [id](IAlarmEvent* handler) { handler->OnAlarmRecordsCount(3, id.c_str(), 0, ""); });
        }
        flush();
        QCOMPARE(spied(host), QList<QVariantList>({{7, 0, QString()}}));
        QCOMPARE(hub.count(), 3);
    }

    void collectionsBecomeMaps()
    {
        using namespace VIG_DATA_MODULE;
        QSignalSpy devices(&DataSignals::_instance(), &DataSignals::signalStoreDevicesAlarmsCollection);
        QSignalSpy stores(&DataSignals::_instance(), &DataSignals::signalAllStoresAlarmsCollection);
        service().deliver([](IAlarmEvent* handler) {
            std::vector<AlarmCountData> counts = {{5, 1, "D2"}, {9, 5, "D2"}, {1, 1, "D1"}, {2, 2, "D1"},
                                                  {4, 4, "D1"}, {3, 3, "D1"}, {6, 1, "D1"}};
            std::vector<ItemAlarmCountData> items = {{2, "P1", "D1"}, {1, "P9", "D-only-items"}};
            handler->OnStoreDevicesAlarmsCollection(counts, items, "tag-d", 0, "");
            handler->OnAllStoresAlarmsCollection({{8, 3, "S2"}, {1, 4, "S1"}}, "tag-s", 5, "late");
        });
        flush();
        QCOMPARE(devices.count(), 1);
        QCOMPARE(devices.at(0).at(0).toString(), QString("tag-d"));
        const auto list = devices.at(0).at(1).value<QVector<VIG_DeviceAlarmsCollection>>();
        QCOMPARE(list.size(), 3); // "", "D1", "D2" in key order
        // Each device as its id, its items and its counts; a later count of a kind replaces the earlier one.
        QStringList shown;
        for (const VIG_DeviceAlarmsCollection& device : list)
            shown << QString::asprintf("%s %dx%s %d %d %d %d", qPrintable(device.deviceId),
                                       device.items.size(), qPrintable(device.items.value(0).itemId),
                                       device.newAlarmCount, device.dealtAlarmCount,
                                       device.finishedAlarmCount, device.mistakenAlarmCount);
        QCOMPARE(shown, QStringList({" 1xP9 0 0 0 0", "D1 1xP1 6 2 4 3", "D2 0x 5 0 0 0"}));

        const auto storeList = stores.at(0).at(1).value<QVector<VIG_StoreAlarmsCollection>>();
        QCOMPARE(QVariantList({storeList.size(), storeList.value(0).storeUid,
                               storeList.value(0).finishedAlarmCount, storeList.value(1).mistakenAlarmCount,
                               stores.at(0).at(2), stores.at(0).at(3)}),
                 QVariantList({2, "S1", 1, 8, 5, "late"}));
    }

    void errorsAreAnnouncedOncePerEvent()
    {
        QSignalSpy notices(&NoticeSignals::_instance(), &NoticeSignals::sendRequestErrorNoticeSignal);
        QSignalSpy results(&AlarmSignals::_instance(), &AlarmSignals::signalHandleAlarmResult);
        QSignalSpy handled(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmHandled);
        QSignalSpy records(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmRecordsInfo);
        QSignalSpy notes(&AlarmSignals::_instance(), &AlarmSignals::signalGetAlarmHandleNotes);
        service().deliver([](IAlarmEvent* handler) {
            handler->OnHandleAlarmResult("E1", 11, "gone", "req-1");
            handler->OnHandleAlarmsResult({"E2", "E3", "E4"}, 12, "batch failed", "req-2");
            handler->OnAlarmRecordsCount(0, "req-3", 13, "count failed");
            std::vector<AlarmData> partial(1);
            partial[0].alarmUid = "E5";
            handler->OnAlarmRecords(partial, 14, "records failed");
            AlarmProcessData record;
            record.handlers.resize(2);
            handler->OnAlarmHandleNotes("E6", record, 15, "notes failed");
            handler->OnReplyA(0, 16, "a");
            handler->OnReplyB(0, 17, "b");
            handler->OnReplyA(0, 0, "");
            handler->OnAllStoresAlarmsCollection({}, "t", 18, "no notice for collections");
        });
        flush();
        QCOMPARE(notices.count(), 7);
        const QList<int> types = {101000, 101001, 101002, 101003, 101004, 101005, 101006};
        for (int i = 0; i < notices.count(); ++i) {
            QCOMPARE(int(notices.at(i).at(2).value<VIG_CONTACT_MODULE::RequestType>()), types.at(i));
            QCOMPARE(notices.at(i).at(0).toInt(), 11 + i);
        }
        QCOMPARE(notices.at(0).mid(3), QVariantList({"req-1", QStringList({"E1"})}));
        QCOMPARE(notices.at(1).mid(3), QVariantList({"req-2", QStringList()}));
        QCOMPARE(notices.at(4).mid(3), QVariantList({"E6", QStringList({"E6"})}));

        QCOMPARE(results.count(), 4);
        QCOMPARE(results.at(2), QVariantList({"req-2", "E3", 12, "batch failed"}));
        QCOMPARE(handled.count(), 0);
        QCOMPARE(records.count(), 1);
        QCOMPARE(records.at(0).at(0).value<AlarmInfoVector>().size(), 1); // passed on with whatever came
        QCOMPARE(notes.count(), 1);
        // Valid values: the typedef names of the signatures are registered for copies between threads.
        QVERIFY(notes.at(0).at(0).isValid() && notes.at(0).at(0).value<AlarmProcessVector>().isEmpty());
    }

    void recordingNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("start");
        QTest::newRow("doubled dash, five pieces") << "C:\\rec\\20261205\\cam-1--031502-0.mp4"
                                                   << "";
        QTest::newRow("doubled dash, four pieces") << "C:\\rec\\20261205\\cam--031502-0.mp4"
                                                   << "2026-12-05 03:15:02";
    }

    void recordingNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, start);
        QCOMPARE(AlarmBusiness::recordingStartTime(path), start);
    }

    void alarmOutLinkedDevices()
    {
        // Mode 0 (S002): none; 1 (S001): the probe's channels, each once; 2 (S003): every device of the
        // store.
        VIG_DATA_MODULE::BasicData& data = VIG_DATA_MODULE::BasicData::_instance();
        data.setProbeInfo(data.getProbeInfo("P0102"), {"D0101-CH2", "D0102-CH1", "D0101-CH2"});
        AlarmBusiness& business = AlarmBusiness::_instance();
        QVERIFY(business.getAlarmOutLinkedDevices("D0201", "P0201").isEmpty());
        QCOMPARE(business.getAlarmOutLinkedDevices("D0101", "P0102"),
                 QStringList({"D0101-CH2", "D0102-CH1"}));
        QStringList all = business.getAlarmOutLinkedDevices("D0301", "P0301");
        all.sort();
        QCOMPARE(all, QStringList({"D0301", "D0302"}));
    }

    void booksStayExactUnderThreads()
    {
        // Nothing lost while the main thread reads; the host last heard the count in the books.
        AlarmBusiness& business = AlarmBusiness::_instance();
        QHash<QString, int> lastStoreCount;
        QMetaObject::Connection connection =
            connect(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalStoreUnhandledAlarmsCount,
                    this, [&](const QString& store, int count) { lastStoreCount[store] = count; });
        const int stores = 20;
        const int alarms = 4000;
        QHash<QString, int> expected;
        for (int i = 0; i < alarms; ++i) {
            const QString store = QString("S-stress%1").arg(i % stores);
            const AlarmData alarm =
                recordOf(QString("X%1").arg(i), store, QString("P-stress%1").arg(i % 97), "D-stress", i % 8);
            deliverNew(alarm);
            ++expected[store];
            if (i % 3 == 0) {
                deliverPush(processData(alarm, i % 2 == 0));
                --expected[store];
            }
            if (i % 200 == 0) {
                for (int s = 0; s < stores; ++s)
                    business.getStoreUnhandledAlarmsCount(QString("S-stress%1").arg(s));
                QCoreApplication::processEvents();
            }
        }
        flush();
        for (int s = 0; s < stores; ++s) {
            const QString store = QString("S-stress%1").arg(s);
            QCOMPARE(business.getStoreUnhandledAlarmsCount(store), expected.value(store));
            QCOMPARE(business.getStoreUnhandledAlarms(store).size(), expected.value(store));
            QCOMPARE(lastStoreCount.value(store), expected.value(store));
        }
        disconnect(connection);
    }
};

QTEST_MAIN(TestAlarmService)
#include "tst_alarm_service.moc"
