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

class ObjectHandler : public QObject, public RecordingHandler
{
};

} // namespace

class TestVantelEvents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eventsWaitForHandlerAndComeOnServerThread();
    void delayedAnswerKeepsEventOrder();
    void replacedHandlerIsNotCalledAfterwards();
    void destroyedHandlerIsUnregistered();
    void shutdownWithWorkInFlight();

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

QTEST_GUILESS_MAIN(TestVantelEvents)
#include "tst_vantel_events.moc"
