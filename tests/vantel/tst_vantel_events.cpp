#include "DataCache.h"
#include "RecordingHandler.h"
#include "SimAlarmServer.h"
#include "SyncAlarmClient.h"
#include "TestScenario.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <thread>

namespace {

const char farPast[] = "2000-01-01 00:00:00";
const char farFuture[] = "2100-01-01 00:00:00";

class ObjectHandler : public QObject, public RecordingHandler
{
};

std::vector<std::string> uidsOf(const std::vector<AlarmData>& alarms)
{
    std::vector<std::string> uids;
    for (const AlarmData& alarm : alarms)
        uids.push_back(alarm.alarmUid);
    return uids;
}

} // namespace

class TestVantelEvents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eventsWaitForHandlerAndComeOnServerThread();
    void raisedAlarmsCarryProbeData();
    void delayedAnswerKeepsEventOrder();
    void clearedHandlerGetsNothingMore();
    void replacedHandlerIsNotCalledAfterwards();
    void destroyedHandlerIsUnregistered();
    void shutdownWithWorkInFlight();
    void dataCacheServesEmbeddedServer();

private:
    std::unique_ptr<SimAlarmServer> makeServer();

    std::unique_ptr<QTemporaryDir> dir;
};

void TestVantelEvents::init()
{
    dir = std::make_unique<QTemporaryDir>(QDir::current().filePath(QStringLiteral("events-XXXXXX")));
    QVERIFY(dir->isValid());
}

void TestVantelEvents::cleanup()
{
    dir.reset();
}

std::unique_ptr<SimAlarmServer> TestVantelEvents::makeServer()
{
    return std::make_unique<SimAlarmServer>(TestScenario::write(dir->path()),
                                            dir->filePath(QStringLiteral("db")));
}

void TestVantelEvents::eventsWaitForHandlerAndComeOnServerThread()
{
    RecordingHandler handler;
    auto server = makeServer();
    QStringList raised;
    for (const char* probe : {"P001", "P004", "P005"}) {
        QString error;
        raised << server->raiseAlarm(QLatin1String(probe), QStringLiteral("intrusion"), &error);
        QVERIFY2(!raised.last().isEmpty(), qPrintable(error));
    }
    server->RequestAlarmRecordsCount("", farPast, farFuture, "{before-handler}", 0);

    // Nothing is lost while nobody listens; it all comes, in order, once somebody does.
    QVERIFY(SyncAlarmClient::waitFor([&] { return server->pendingEvents() == 4; }));
    server->SetEventHandler(&handler);
    QVERIFY(SyncAlarmClient::waitForTotal(handler, 4));
    const std::vector<std::string> expectedLog{"OnNewAlarm", "OnNewAlarm", "OnNewAlarm",
                                               "OnAlarmRecordsCount"};
    QCOMPARE(handler.log(), expectedLog);
    std::vector<std::string> expectedUids;
    for (const QString& uid : raised)
        expectedUids.push_back(uid.toStdString());
    QCOMPARE(uidsOf(handler.newAlarms()), expectedUids);
    QCOMPARE(handler.counts().at(0).count, 3);
    QCOMPARE(handler.counts().at(0).requester, std::string("{before-handler}"));

    const auto threads = handler.threads();
    QCOMPARE(threads.size(), size_t(1));
    QVERIFY(*threads.begin() != std::this_thread::get_id());

    server->SetEventHandler(nullptr);
}

void TestVantelEvents::raisedAlarmsCarryProbeData()
{
    RecordingHandler handler;
    auto server = makeServer();
    QVERIFY(server->scenarioError().isEmpty());
    QCOMPARE(server->probeIds(), QStringList({"P001", "P002", "P003", "P004", "P005"}));
    server->SetEventHandler(&handler);
    const QDateTime when(QDate(2026, 2, 28), QTime(23, 59, 58));
    QVERIFY(!server->raiseAlarmAt(QStringLiteral("P003"), QStringLiteral("door-forced"), when).isEmpty());
    QVERIFY(!server->raiseAlarmAt(QStringLiteral("P005"), QStringLiteral("smoke"), when).isEmpty());
    QVERIFY(SyncAlarmClient::waitForTotal(handler, 2));

    const AlarmData cashDesk = handler.newAlarms().at(0);
    QCOMPARE(cashDesk.storeUid, std::string("S001")); // the probe names none; its device's store counts
    QCOMPARE(cashDesk.deviceId, std::string("D002"));
    QCOMPARE(cashDesk.deviceName, std::string("North Door Cam"));
    QCOMPARE(cashDesk.probeId, std::string("P003"));
    QCOMPARE(cashDesk.channelIndex, 1);
    QCOMPARE(cashDesk.state, 1);
    QCOMPARE(cashDesk.alarmTime, std::string("2026-02-28 23:59:58"));
    QCOMPARE(cashDesk.typeKey, std::string("burglary"));
    QCOMPARE(cashDesk.subTypeKey, std::string("door-forced"));
    QVERIFY(!cashDesk.typeDescription.empty() && !cashDesk.subTypeDescription.empty());
    QVERIFY(QString::fromStdString(cashDesk.describe).contains(QStringLiteral("Cash desk")));

    const AlarmData unnamed = handler.newAlarms().at(1);
    QCOMPARE(unnamed.storeUid, std::string("S002"));
    QCOMPARE(unnamed.channelIndex, 2);
    QVERIFY(QString::fromStdString(unnamed.describe).contains(QStringLiteral("P005")));

    server->SetEventHandler(nullptr);
}

void TestVantelEvents::delayedAnswerKeepsEventOrder()
{
    RecordingHandler handler;
    auto server = makeServer();
    server->SetEventHandler(&handler);
    server->setAnswerDelay(300);
    server->RequestAlarmRecordsCount("", farPast, farFuture, "{late}", 0);
    server->raiseAlarm(QStringLiteral("P001"));
    // The push is produced after the answer and must not overtake it.
    QVERIFY(SyncAlarmClient::waitForTotal(handler, 2));
    QCOMPARE(handler.log(), std::vector<std::string>({"OnAlarmRecordsCount", "OnNewAlarm"}));
    QCOMPARE(handler.counts().at(0).count, 0);
    server->SetEventHandler(nullptr);
}

void TestVantelEvents::clearedHandlerGetsNothingMore()
{
    RecordingHandler first;
    RecordingHandler second;
    auto server = makeServer();
    server->SetEventHandler(&first);
    server->raiseAlarm(QStringLiteral("P001"));
    QVERIFY(SyncAlarmClient::waitForTotal(first, 1));

    server->SetEventHandler(nullptr);
    for (int i = 0; i < 5; ++i)
        server->raiseAlarm(QStringLiteral("P002"));
    server->RequestAlarmRecordsCount("", farPast, farFuture, "{unheard}", 0);
    QVERIFY(SyncAlarmClient::waitFor([&] { return server->pendingEvents() == 6; }));

    server->SetEventHandler(&second);
    QVERIFY(SyncAlarmClient::waitForTotal(second, 6));
    QCOMPARE(first.total(), 1);
    QCOMPARE(second.counts().at(0).count, 6);
    server->SetEventHandler(nullptr);
}

void TestVantelEvents::replacedHandlerIsNotCalledAfterwards()
{
    RecordingHandler slow;
    RecordingHandler fast;
    slow.setHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    auto server = makeServer();
    server->SetEventHandler(&slow);
    QVERIFY(server->storm(300, 5));
    QVERIFY(SyncAlarmClient::waitForTotal(slow, 20));

    server->SetEventHandler(&fast);
    const int heardBySlow = slow.total();
    QVERIFY(SyncAlarmClient::waitForTotal(fast, 300 - heardBySlow));
    QCOMPARE(slow.total(), heardBySlow);
    QCOMPARE(fast.total(), 300 - heardBySlow);

    // Together they heard every alarm once.
    std::vector<std::string> all = uidsOf(slow.newAlarms());
    const std::vector<std::string> rest = uidsOf(fast.newAlarms());
    all.insert(all.end(), rest.begin(), rest.end());
    QCOMPARE(std::set<std::string>(all.begin(), all.end()).size(), size_t(300));
    server->SetEventHandler(nullptr);
}

void TestVantelEvents::destroyedHandlerIsUnregistered()
{
    auto server = makeServer();
    auto handler = std::make_unique<ObjectHandler>();
    server->SetEventHandler(handler.get());
    server->raiseAlarm(QStringLiteral("P001"));
    QVERIFY(SyncAlarmClient::waitForTotal(*handler, 1));
    handler.reset();

    server->raiseAlarm(QStringLiteral("P002"));
    server->raiseAlarm(QStringLiteral("P003"));
    QVERIFY(SyncAlarmClient::waitFor([&] { return server->pendingEvents() == 2; }));
    RecordingHandler next;
    server->SetEventHandler(&next);
    QVERIFY(SyncAlarmClient::waitForTotal(next, 2));
    QCOMPARE(next.newAlarms().at(0).probeId, std::string("P002"));
    server->SetEventHandler(nullptr);
}

void TestVantelEvents::shutdownWithWorkInFlight()
{
    RecordingHandler handler;
    handler.setHook([] { std::this_thread::sleep_for(std::chrono::microseconds(200)); });
    auto server = makeServer();
    server->SetEventHandler(&handler);
    server->setGeneratorRate(500);
    server->setAnswerDelay(10000);
    QVERIFY(server->storm(100000, 5));
    server->RequestAlarmRecordsCount("", farPast, farFuture, "{never}", 0);
    QVERIFY(SyncAlarmClient::waitForTotal(handler, 10));
    server.reset();
    const int heard = handler.total();
    QVERIFY(heard < 100000);
    QVERIFY(handler.counts().empty());

    // A server that was shut down takes requests without doing anything.
    auto stopped = makeServer();
    stopped->SetEventHandler(&handler);
    stopped->shutdown();
    QVERIFY(stopped->isShutDown());
    stopped->RequestAlarmRecordsCount("", farPast, farFuture, "{after-shutdown}", 0);
    QString error;
    QVERIFY(stopped->raiseAlarm(QStringLiteral("P001"), QString(), &error).isEmpty());
    QVERIFY(!error.isEmpty());
    stopped.reset();
    QCOMPARE(handler.total(), heard);
}

void TestVantelEvents::dataCacheServesEmbeddedServer()
{
    QDir(QStringLiteral("cache-db")).removeRecursively();
    DataCache* cache = DataCache::Instance();
    QVERIFY(cache->SetScenarioPath(TestScenario::write(dir->path())));
    QVERIFY(cache->SetDataFolder(QStringLiteral("cache-db")));

    IAlarm* alarm = cache->GetAlarmPtr();
    QVERIFY(alarm);
    QCOMPARE(alarm, static_cast<IAlarm*>(cache->GetSimulator()));
    QVERIFY(!cache->SetScenarioPath(QStringLiteral("elsewhere.json")));
    QVERIFY(!cache->SetDataFolder(QStringLiteral("elsewhere")));

    RecordingHandler handler;
    alarm->SetEventHandler(&handler);
    SyncAlarmClient client(*alarm, handler);
    QVERIFY(!cache->GetSimulator()->raiseAlarm(QStringLiteral("P002")).isEmpty());
    const auto count = client.count("S001", farPast, farFuture, 0);
    QCOMPARE(count.result, 0);
    QCOMPARE(count.count, 1);
    QVERIFY(QFile::exists(QStringLiteral("cache-db/alarms.db")));

    // An installed service takes precedence; removing it brings the simulator back.
    auto other = makeServer();
    cache->SetAlarmPtr(other.get());
    QCOMPARE(cache->GetAlarmPtr(), static_cast<IAlarm*>(other.get()));
    cache->SetAlarmPtr(nullptr);
    QCOMPARE(cache->GetAlarmPtr(), alarm);

    alarm->SetEventHandler(nullptr);
}

QTEST_GUILESS_MAIN(TestVantelEvents)
#include "tst_vantel_events.moc"
