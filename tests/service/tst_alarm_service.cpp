// The business object and its event callback, the queue to the main thread, and the record search.
#include "ModuleTestSupport.h"
#include "TestMain.h"

#include "frame/AlarmModuleAccess.h"
#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordSearchWt.h"
#include "records/AlarmRecordTable.h"

#include "DataSignals.h"
#include "ModuleInitialization.h"
#include "NoticeSignals.h"
#include "PageTurningWidget.h"
#include "StoreData.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QThread>

#include <memory>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::PageTurningWidget;
using VIG_BASE_MODULE::WaitDialog;
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

// The last count request's requester, which its answer echoes.
QString countRequester;

QList<FakeAlarmService::Call> takeCalls(const QString& operation)
{
    QList<FakeAlarmService::Call> taken;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation == QLatin1String("RequestAlarmRecordsCount"))
            countRequester = call.texts.value(3);
        if (call.operation == operation)
            taken.append(call);
    }
    return taken;
}

// The page requests since the last look: how many, and the first one's first record and count.
QList<int> paging()
{
    const QList<FakeAlarmService::Call> requests = takeCalls("RequestAlarmRecords");
    return {requests.size(), requests.value(0).first, requests.value(0).count};
}

void answerCount(int count, int result = 0, QString requester = QString())
{
    takeCalls(QString());
    if (requester.isNull())
        requester = countRequester;
    service().deliver([count, result, requester](IAlarmEvent* handler) {
        handler->OnAlarmRecordsCount(count, requester.toUtf8().constData(), result,
                                     result == 0 ? "" : "server down");
    });
    flush();
}

AlarmData record(const QString& uid, int state)
{
    AlarmData alarm = recordOf(uid);
    alarm.describe = "door open";
    alarm.lastHandleNote = "checked";
    alarm.state = state;
    return alarm;
}

void answerRecords(const std::vector<AlarmData>& records, int result = 0)
{
    service().deliver([records, result](IAlarmEvent* handler) {
        handler->OnAlarmRecords(records, result, result == 0 ? "" : "server down");
    });
    flush();
}

// A page of count records in one state.
void answerPage(int count, int state = AlarmNew)
{
    std::vector<AlarmData> records;
    for (int i = 0; i < count; ++i)
        records.push_back(record(QStringLiteral("R%1").arg(i), state));
    answerRecords(records);
}

QString day(const QDate& date)
{
    return date.toString("yyyy-MM-dd");
}

// The widgets of a search form, by their object names.
struct Form
{
    AlarmRecordSearchWt* widget;
    QDateEdit* start = widget->findChild<QDateEdit*>("startTimeEdit");
    QDateEdit* end = widget->findChild<QDateEdit*>("endTimeEdit");
    QComboBox* stores = widget->findChild<QComboBox*>("storeComBx");
    QComboBox* states = widget->findChild<QComboBox*>("alarmStateComBx");
    AlarmRecordTable* table = widget->findChild<AlarmRecordTable*>("alarmRecordTab");
    PageTurningWidget* pages = widget->findChild<PageTurningWidget*>("pageTurningWt");

    void search() const { QTest::mouseClick(widget->findChild<QPushButton*>("searchBt"), Qt::LeftButton); }
    // Whether the previous and the next page can be asked for.
    QList<bool> turns() const
    {
        return {pages->previousButton()->isEnabled(), pages->nextButton()->isEnabled()};
    }
};

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
                 QVariantList({QStringList({"", day(today.addMonths(-1)) + " 00:00:00",
                                            day(today) + " 23:59:59", uuid}),
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

    // The events of the service's thread reach the main thread through the hub's queue.
    void runsInOrderOnItsThread_data()
    {
        QTest::addColumn<int>("fromWorker"); // posted first, on another thread
        QTest::addColumn<bool>("ranAtOnce"); // the main thread's own event, posted after them
        QTest::newRow("nothing waits: at once") << 0 << true;
        QTest::newRow("behind a burst: after it") << 3000 << false;
    }

    void runsInOrderOnItsThread()
    {
        QFETCH(int, fromWorker);
        QFETCH(bool, ranAtOnce);
        AlarmEventQueue queue;
        QList<int> ran;
        bool allOnMainThread = true;
        const auto event = [&](int n) {
            return [&, n] {
                allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
                ran.append(n);
            };
        };
        std::unique_ptr<QThread> worker(QThread::create([&] {
            for (int n = 0; n < fromWorker; ++n)
                queue.post(event(n));
        }));
        worker->start();
        QVERIFY(worker->wait(10000));
        QCOMPARE(queue.queuedCount(), fromWorker);

        queue.post(event(fromWorker));
        QCOMPARE(ran.size() == 1, ranAtOnce);
        QTRY_COMPARE(ran.size(), fromWorker + 1);
        QCOMPARE(queue.queuedCount(), 0);
        for (int n = 0; n <= fromWorker; ++n)
            QCOMPARE(ran.at(n), n);
        QVERIFY(allOnMainThread);
    }
};

class TestRecordSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        QVERIFY(VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo().size() >= 3);
    }

    void init()
    {
        resetCase();
        WaitDialog::_instance().hideWaitDialog();
        for (int i = 0; i < 4; ++i)
            MessageBoxW::queueAnswer(1);
    }

    void cleanup() { MessageBoxW::clearQueuedAnswers(); }

    void defaultSearchIsSilent()
    {
        const int shows = WaitDialog::_instance().showCount();
        AlarmRecordSearchWt search(nullptr);

        const QDate today = QDate::currentDate();
        const QDate monthAgo = today.addMonths(-1);
        QList<FakeAlarmService::Call> counts = takeCalls("RequestAlarmRecordsCount");
        QCOMPARE(counts.size(), 1);
        QCOMPARE(QVariantList({QStringList(counts.at(0).texts.mid(0, 3)), counts.at(0).number}),
                 QVariantList({QStringList({"", day(monthAgo) + " 00:00:00", day(today) + " 23:59:59"}),
                               int(AlarmNew)}));

        // A failure says nothing and asks for nothing more.
        answerCount(0, 503);
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty());

        search.searchDefaultUnhandled();
        answerCount(7);
        const QList<FakeAlarmService::Call> pages = takeCalls("RequestAlarmRecords");
        QCOMPARE(QVariantList({pages.size(), pages.value(0).texts, pages.value(0).number}),
                 QVariantList({1, QStringList(counts.at(0).texts.mid(0, 3)), int(AlarmNew)}));
        answerRecords({}, 503);

        QCOMPARE(WaitDialog::_instance().showCount(), shows);
        QVERIFY(!WaitDialog::_instance().isShown() && MessageBoxW::calls().isEmpty());
    }

    void pageCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("label");
        QTest::newRow("45 records") << 45 << 3 << "Page 1 of 3";
        QTest::newRow("40 records") << 40 << 2 << "Page 1 of 2";
        QTest::newRow("no record") << 0 << 0 << "No alarm matches the search.";
    }

    void pageCounts()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        QFETCH(QString, label);
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        service().takeCalls();
        WaitDialog& wait = WaitDialog::_instance();

        form.search();
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").size(), 1);
        QVERIFY(wait.isShown());
        answerCount(count);
        QCOMPARE(form.pages->recordsCount(), count);
        QVERIFY(wait.isShown());
        QCOMPARE(paging(), QList<int>({1, 0, 20}));

        answerPage(qMin(count, 20));
        QVERIFY(!wait.isShown());
        QCOMPARE(form.table->rowCount(), qMin(count, 20));
        QCOMPARE(form.turns(), QList<bool>({false, pages > 1}));
        QCOMPARE(search.findChild<QLabel*>("pageLabel")->text(), label);
        if (pages < 2)
            return;

        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, (pages - 1) * 20, 20}));
        QVERIFY(wait.isShown());
        QCOMPARE(form.table->rowCount(), 0);
        answerPage(count - (pages - 1) * 20);
        QCOMPARE(form.turns(), QList<bool>({true, false}));

        QTest::mouseClick(form.pages->previousButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, (pages - 2) * 20, 20}));
        answerPage(20);
        QCOMPARE(form.turns(), QList<bool>({pages > 2, true}));
    }

    void countPerPageKeepsTheLastCriteria()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        const QDate day1(2025, 11, 3);
        form.end->setDate(day1.addDays(9));
        form.start->setDate(day1);
        form.stores->setCurrentIndex(2);
        const QString storeUid = form.stores->currentData().toString();
        form.states->setCurrentIndex(AlarmDealt);
        service().takeCalls();

        form.search();
        const QStringList criteria{storeUid, day(day1) + " 00:00:00", day(day1.addDays(9)) + " 23:59:59"};
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3), criteria);
        answerCount(130);
        takeCalls("RequestAlarmRecords");
        answerPage(20, AlarmDealt);

        // What the widgets show now is not searched until the operator asks for it.
        form.stores->setCurrentIndex(0);
        form.states->setCurrentIndex(0);
        form.start->setDate(day1.addDays(-30));

        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        FakeAlarmService::Call last = takeCalls("RequestAlarmRecords").value(0);
        QCOMPARE(QVariantList({last.first, last.texts, last.number}),
                 QVariantList({120, criteria, int(AlarmDealt)}));
        answerPage(10, AlarmDealt);

        // 50 a page: back to page 1, and the 130 records of the last count make 3 pages.
        QComboBox* perPage = form.pages->numPerPageBox();
        perPage->setCurrentIndex(perPage->findData(50));
        last = takeCalls("RequestAlarmRecords").value(0);
        QCOMPARE(QVariantList({last.first, last.count, last.texts}), QVariantList({0, 50, criteria}));
        QVERIFY(takeCalls("RequestAlarmRecordsCount").isEmpty());
        answerPage(50, AlarmDealt);
        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, 100, 50}));

        // A stray count per page of 0 is ignored: nothing is divided by it.
        search.slotCountPerPageChanged(0);
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty());
    }

    void failuresAreShownToTheOperatorOnly()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        answerCount(3);
        answerPage(3);
        QCOMPARE(form.table->rowCount(), 3);
        service().takeCalls();

        form.search();
        answerCount(0, 503);
        QVERIFY(!WaitDialog::_instance().isShown() && takeCalls("RequestAlarmRecords").isEmpty());
        // The rows and pages of the last good search are not this search's.
        QCOMPARE(QVariantList({form.table->rowCount(), form.pages->recordsCount(),
                               form.pages->nextButton()->isEnabled(),
                               search.findChild<QLabel*>("pageLabel")->text()}),
                 QVariantList({0, 0, false, QObject::tr("Get records count failed.")}));
        QCOMPARE(messages(), QStringList({QObject::tr("Get records count failed.")}));

        form.search();
        answerCount(45);
        answerPage(20);
        QVERIFY(form.pages->nextButton()->isEnabled());
        QTest::mouseClick(form.pages->nextButton(), Qt::LeftButton);
        answerRecords({}, 503);
        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(form.table->rowCount(), 0);
        QCOMPARE(messages(), QStringList({QObject::tr("Get records infomation failed.")}));
        // The buttons stay as they were for page 1.
        QCOMPARE(form.turns(), QList<bool>({false, true}));
    }

    void recordsInOrderAndUntouchedByPushes()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        const QStringList criteria = takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3);
        answerCount(3);
        answerRecords({record("A", AlarmNew), record("B", AlarmDealt), record("C", AlarmFinished)});
        QCOMPARE(keys(*form.table), QStringList({"A", "B", "C"}));
        QCOMPARE(form.table->item(0, 12)->foreground().color(), QColor("#ff6e89"));
        // A handled alarm shows its last note, not its description.
        QCOMPARE(form.table->item(1, 20)->text(), QString("checked"));

        // The service's handled push of a shown alarm changes nothing.
        AlarmHandlerData finished;
        finished.state = AlarmFinished;
        deliverPush(handledRecord(record("A", AlarmNew), finished));
        flush();
        QCOMPARE(form.table->getAlarmInfo("A").state, int(AlarmNew));
        QCOMPARE(form.table->item(0, 20)->text(), QString("door open"));

        // Handled from the table's menu: once the batch ends, the last search runs again from page 1.
        form.table->selectRow(0);
        triggerAction(form.table, QObject::tr("Mistaken Alarm"));
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        answer({"A"}, 0, requests.at(0).texts.value(1));
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3), criteria);
    }

    // The host's late-month check replaces the operator's search, on criteria of its own and without a wait;
    // answers of the searches it replaced are dropped.
    void lateMonthCheckReplacesTheSearch()
    {
        AlarmRecordPage page(nullptr);
        Form form{page.findChild<AlarmRecordSearchWt*>()};
        const QString silent = (takeCalls(QString()), countRequester);
        form.stores->setCurrentIndex(2);
        form.states->setCurrentIndex(AlarmDealt);
        form.start->setDate(QDate(2024, 1, 1));
        form.search();
        const QString operatorSearch = (takeCalls(QString()), countRequester);
        answerCount(5, 0, silent); // the silent search's late count is not the operator's
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty() && WaitDialog::_instance().isShown());
        const int searchShows = WaitDialog::_instance().showCount();

        emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
        QVERIFY(!WaitDialog::_instance().isShown());
        const QDate today = QDate::currentDate();
        const FakeAlarmService::Call count = takeCalls("RequestAlarmRecordsCount").value(0);
        QCOMPARE(count.texts.mid(0, 3),
                 QStringList({"", day(today.addMonths(-1)) + " 00:00:00", day(today) + " 23:59:59"}));
        QCOMPARE(QList<int>({count.number, form.stores->currentIndex(), form.states->currentIndex()}),
                 QList<int>({AlarmNew, 0, 1}));
        QCOMPARE(form.start->date(), today.addMonths(-1));
        QCOMPARE(form.table->horizontalHeaderItem(20)->text(),
                 QObject::tr("New Alarm Description")); // the column follows the state
        answerCount(9, 0, operatorSearch);
        answerPage(9); // not asked for
        QCOMPARE(form.table->rowCount(), 0);

        answerCount(45);
        QCOMPARE(takeCalls("RequestAlarmRecords").value(0).first, 0);
        answerPage(20);
        QCOMPARE(form.table->rowCount(), 20);
        QCOMPARE(form.widget->findChild<QLabel*>("pageLabel")->text(), QString("Page 1 of 3"));
        QCOMPARE(WaitDialog::_instance().showCount(), searchShows);
    }

    void controlsAnswerTheOperator()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        search.show();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        form.search();
        answerCount(45);
        answerPage(20);
        // The arrow of a sort does not stay over another page's rows, which are not sorted.
        QHeaderView* header = form.table->horizontalHeader();
        emit header->sectionClicked(12);
        QTest::mouseClick(form.pages->nextButton(), Qt::LeftButton);
        answerPage(20);
        QVERIFY(!header->isSortIndicatorShown());
        // The state box opens on a press on its frame too; the store list shows whole names.
        QTest::mouseClick(form.states, Qt::LeftButton, {}, QPoint(1, 1));
        QTRY_VERIFY(form.states->view()->isVisible());
        form.states->hidePopup();
        QVERIFY(form.stores->view()->minimumWidth() > form.stores->view()->sizeHintForColumn(0));
        // The calendars speak the host's language.
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
            VIG_BASE_MODULE::ModuleInitialization::setLanguage(language);
            AlarmRecordSearchWt other(nullptr);
            QCOMPARE(Form{&other}.end->calendarWidget()->locale().language(),
                     language == "en" ? QLocale::English : QLocale::Chinese);
        }
    }
};

VIG_TEST(tst_alarm_service, TestAlarmService)
VIG_TEST(tst_record_search, TestRecordSearch)
#include "tst_alarm_service.moc"
