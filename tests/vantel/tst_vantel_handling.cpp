#include "RecordingHandler.h"
#include "SimAlarmServer.h"
#include "SyncAlarmClient.h"
#include "TestScenario.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestVantelHandling : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void handlingChangesSearchAndHistory();
    void batchIsAllOrNothing();
    void droppedAnswerNeverComes();
    void restartKeepsRecords();

private:
    std::unique_ptr<SimAlarmServer> makeServer();
    std::string raise(const char* probeId, const char* kind = "tamper");

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<RecordingHandler> handler;
    std::unique_ptr<SimAlarmServer> server;
    std::unique_ptr<SyncAlarmClient> client;
};

void TestVantelHandling::init()
{
    dir = std::make_unique<QTemporaryDir>(QDir::current().filePath(QStringLiteral("handling-XXXXXX")));
    QVERIFY(dir->isValid());
    handler = std::make_unique<RecordingHandler>();
    server = makeServer();
    server->SetEventHandler(handler.get());
    client = std::make_unique<SyncAlarmClient>(*server, *handler);
}

void TestVantelHandling::cleanup()
{
    client.reset();
    server.reset();
    handler.reset();
    dir.reset();
}

std::unique_ptr<SimAlarmServer> TestVantelHandling::makeServer()
{
    return std::make_unique<SimAlarmServer>(TestScenario::write(dir->path()),
                                            dir->filePath(QStringLiteral("db")));
}

std::string TestVantelHandling::raise(const char* probeId, const char* kind)
{
    const size_t before = handler->newAlarms().size();
    const std::string uid = server->raiseAlarm(QLatin1String(probeId), QLatin1String(kind)).toStdString();
    if (!SyncAlarmClient::waitFor([&] { return handler->newAlarms().size() > before; }))
        return std::string();
    return uid;
}

void TestVantelHandling::handlingChangesSearchAndHistory()
{
    const std::string first = raise("P001");
    const std::string second = raise("P004");
    QVERIFY(!first.empty() && !second.empty());
    QCOMPARE(client->count("", farPast, farFuture, 1).count, 2);

    const auto dealt = client->handle(first, "Called the keeper", 2, "{view-1}");
    QCOMPARE(dealt.result, 0);
    QCOMPARE(dealt.alarmUid, first);
    QCOMPARE(dealt.requester, std::string("{view-1}"));
    QVERIFY(SyncAlarmClient::waitFor([&] { return handler->handled().size() == 1; }));
    const AlarmProcessData pushed = handler->handled().at(0);
    QCOMPARE(pushed.alarmUid, first);
    QCOMPARE(pushed.storeUid, std::string("S001"));
    QCOMPARE(pushed.handlers.size(), size_t(1));
    QCOMPARE(pushed.handlers.at(0).principal, std::string(TestScenario::userName()));
    QCOMPARE(pushed.handlers.at(0).principalTel, std::string(TestScenario::userTelephone()));
    QCOMPARE(pushed.handlers.at(0).handleNote, std::string("Called the keeper"));
    QCOMPARE(pushed.handlers.at(0).state, 2);
    // The answer comes before the push.
    const auto log = handler->log();
    QCOMPARE(log.at(log.size() - 2), std::string("OnHandleAlarmResult"));

    QCOMPARE(client->count("", farPast, farFuture, 1).count, 1);
    const auto dealtPage = client->records("", farPast, farFuture, 2, 0, 10);
    QCOMPARE(uidsOf(dealtPage.records), std::vector<std::string>{first});
    QCOMPARE(dealtPage.records.at(0).lastHandleNote, std::string("Called the keeper"));

    // A dealt alarm may be handled again; a finished one not.
    QCOMPARE(client->handle(first, "Police on site, closed", 4).result, 0);
    const auto closedAgain = client->handle(first, "once more", 2);
    QCOMPARE(closedAgain.result, int(SimAlarmServer::AlarmClosed));
    QVERIFY(!closedAgain.errorMsg.empty());
    QCOMPARE(client->handle(second, "cat on the sensor", 3).result, 0);
    QCOMPARE(client->handle(second, "no, a burglar", 4).result, int(SimAlarmServer::AlarmClosed));
    const auto unknown = client->handle("no-such-alarm", "?", 2);
    QCOMPARE(unknown.result, int(SimAlarmServer::UnknownAlarm));
    QVERIFY(QString::fromStdString(unknown.errorMsg).contains(QStringLiteral("no-such-alarm")));
    QCOMPARE(client->handle(second, "bad mode", 1).result, int(SimAlarmServer::BadArgument));

    const auto notes = client->notes(first);
    QCOMPARE(notes.result, 0);
    QCOMPARE(notes.alarmUid, first);
    QCOMPARE(notes.record.alarmUid, first);
    QCOMPARE(notes.record.storeUid, std::string("S001"));
    QCOMPARE(notes.record.handlers.size(), size_t(2));
    QCOMPARE(notes.record.handlers.at(0).handleNote, std::string("Called the keeper"));
    QCOMPARE(notes.record.handlers.at(1).handleNote, std::string("Police on site, closed"));
    QCOMPARE(notes.record.handlers.at(1).state, 4);
    QCOMPARE(client->records("", farPast, farFuture, 4, 0, 10).records.at(0).alarmUid, first);
    QCOMPARE(client->records("", farPast, farFuture, 3, 0, 10).records.at(0).alarmUid, second);
    QCOMPARE(client->notes("no-such-alarm").result, int(SimAlarmServer::UnknownAlarm));
    // Three handlings succeeded, three pushes; the failed ones pushed nothing.
    QCOMPARE(handler->handled().size(), size_t(3));
}

void TestVantelHandling::batchIsAllOrNothing()
{
    std::vector<std::string> uids;
    for (const char* probe : {"P001", "P002", "P003"})
        uids.push_back(raise(probe));
    const auto done = client->handleAll(uids, "three at once", 2, "{table}");
    QCOMPARE(done.result, 0);
    QCOMPARE(done.alarmUids, uids);
    QCOMPARE(done.requester, std::string("{table}"));
    QVERIFY(SyncAlarmClient::waitFor([&] { return handler->handled().size() == 3; }));

    // One finished alarm in the batch: an error, and the others stay as they were.
    QCOMPARE(client->handle(uids.at(1), "closed", 4).result, 0);
    const auto refused = client->handleAll(uids, "again", 3, "{table}");
    QCOMPARE(refused.result, int(SimAlarmServer::AlarmClosed));
    QCOMPARE(refused.alarmUids, uids);
    QCOMPARE(client->count("", farPast, farFuture, 2).count, 2);
    QCOMPARE(client->count("", farPast, farFuture, 3).count, 0);

    const auto empty = client->handleAll({}, "nothing", 2);
    QCOMPARE(empty.result, int(SimAlarmServer::BadArgument));
    QVERIFY(empty.alarmUids.empty());
}

void TestVantelHandling::droppedAnswerNeverComes()
{
    server->dropNextAnswers(1);
    server->RequestAlarmRecordsCount("", farPast, farFuture, "{dropped}", 0);
    const auto answered = client->count("", farPast, farFuture, 0, "{answered}");
    QCOMPARE(answered.requester, std::string("{answered}"));
    // Answers come in order, so the dropped one would have come first.
    QCOMPARE(handler->counts().size(), size_t(1));
}

void TestVantelHandling::restartKeepsRecords()
{
    std::vector<std::string> uids;
    for (const char* probe : {"P001", "P003", "P005"})
        uids.push_back(raise(probe));
    QCOMPARE(client->handle(uids.at(1), "kept", 2).result, 0);
    const auto pageBefore = client->records("", farPast, farFuture, 0, 0, 10);
    server->SetEventHandler(nullptr);
    client.reset();
    server.reset();

    server = makeServer();
    RecordingHandler again;
    server->SetEventHandler(&again);
    SyncAlarmClient restarted(*server, again);
    const auto pageAfter = restarted.records("", farPast, farFuture, 0, 0, 10);
    QCOMPARE(uidsOf(pageAfter.records), uidsOf(pageBefore.records));
    QCOMPARE(pageAfter.records.at(1).state, 2);
    QCOMPARE(restarted.notes(uids.at(1)).record.handlers.at(0).handleNote, std::string("kept"));
    QCOMPARE(restarted.handle(uids.at(0), "after restart", 4).result, 0);
    QCOMPARE(restarted.count("", farPast, farFuture, 4).count, 1);
    server->SetEventHandler(nullptr);
}

QTEST_GUILESS_MAIN(TestVantelHandling)
#include "tst_vantel_handling.moc"
