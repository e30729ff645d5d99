#include "VantelTestSupport.h"

#include <QDateTime>
#include <QTest>

#include <algorithm>
#include <chrono>

using namespace vanteltest;

namespace {

// What the test knows of an alarm it raised, to compute the answers the server should give.
struct Known
{
    std::string uid;
    std::string storeUid;
    std::string time;
    int state = 1;
    int arrival = 0;
};

// The server unregisters a handler that is a QObject when it is destroyed.
class ObjectHandler : public QObject, public RecordingHandler
{
};

} // namespace

class TestVantelServer : public QObject
{
    Q_OBJECT

    std::unique_ptr<Sim> shared;
    std::vector<Known> known;

    std::vector<std::string> expected(const std::string& store, const std::string& start,
                                      const std::string& end, int state) const
    {
        std::vector<Known> matching;
        for (const Known& alarm : known) {
            if ((store.empty() || alarm.storeUid == store) && alarm.time >= start && alarm.time <= end &&
                (state == 0 || alarm.state == state))
                matching.push_back(alarm);
        }
        std::sort(matching.begin(), matching.end(), [](const Known& a, const Known& b) {
            return a.time != b.time ? a.time > b.time : a.arrival > b.arrival;
        });
        std::vector<std::string> uids;
        for (const Known& alarm : matching)
            uids.push_back(alarm.uid);
        return uids;
    }

private slots:
    // Three days of alarms in every state, some in the same second, two on the edges of 2 March.
    void initTestCase()
    {
        shared = std::make_unique<Sim>();
        const QStringList probes{"P0101", "P0102", "P0103", "P0201", "P0202"};
        std::vector<QDateTime> times;
        for (int i = 0; i < 23; ++i)
            times.emplace_back(QDate(2026, 3, 1 + i % 3), QTime(8 + i % 4, (i * 7) % 60, 0));
        times.push_back(times.at(4)); // 2026-03-02 08:28:00 once more: the later arrival comes first
        times.emplace_back(QDate(2026, 3, 2), QTime(0, 0, 0));
        times.emplace_back(QDate(2026, 3, 2), QTime(23, 59, 59));
        for (int i = 0; i < int(times.size()); ++i) {
            const QDateTime& time = times[size_t(i)];
            QString error;
            const QString uid = shared->server->raiseAlarmAt(probes.at(i % 5), QString(), time, &error);
            QVERIFY2(!uid.isEmpty(), qPrintable(error));
            known.push_back({uid.toStdString(), i % 5 < 3 ? "S001" : "S002",
                             time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString(), 1, i});
        }
        QVERIFY(
            RecordingHandler::waitFor([&] { return shared->handler.newAlarms().size() == known.size(); }));
        for (int mode = 2; mode <= 4; ++mode) {
            std::vector<std::string> uids;
            for (Known& alarm : known) {
                if (alarm.arrival % 4 == mode - 1) {
                    uids.push_back(alarm.uid);
                    alarm.state = mode;
                }
            }
            QCOMPARE(shared->handleAll(uids, "sorted out", mode).result, 0);
        }
    }

    void cleanupTestCase() { shared.reset(); }

    void handlingIsAllOrNothing()
    {
        Sim sim;
        const std::vector<std::string> uids{sim.raise("P0101"), sim.raise("P0102"), sim.raise("P0201")};
        const std::vector<std::string> two(uids.begin(), uids.begin() + 2);
        const Event done = sim.handleAll(two, "Called the keeper", 2, "{table}");
        QCOMPARE(done.result, 0);
        QCOMPARE(done.alarmUids, two);
        QCOMPARE(done.requester, std::string("{table}"));
        QVERIFY(RecordingHandler::waitFor([&] { return sim.handler.events("OnAlarmHandled").size() == 2; }));
        // The answer comes before the pushes.
        const std::vector<std::string> log = sim.handler.log();
        QCOMPARE(log.at(log.size() - 3), std::string("OnHandleAlarmsResult"));
        const AlarmProcessData pushed = sim.handler.events("OnAlarmHandled").at(0).process;
        QCOMPARE(pushed.alarmUid + '|' + pushed.storeUid, uids.at(0) + "|S001");
        QCOMPARE(pushed.handlers.size(), size_t(1));
        const AlarmHandlerData& by = pushed.handlers.at(0);
        QCOMPARE(by.principal + '|' + by.principalTel + '|' + by.handleNote,
                 std::string("Chen Hao|13867120458|Called the keeper"));
        QCOMPARE(by.state, 2);
        QCOMPARE(sim.records("", farPast, farFuture, 2, 0, 10).records.at(0).lastHandleNote,
                 std::string("Called the keeper"));

        // A dealt alarm may be handled again, a finished one not; one finished alarm fails the whole batch.
        const Event closed = sim.handle(uids.at(1), "Police on site, closed", 4, "{view-1}");
        QCOMPARE(closed.result, 0);
        QCOMPARE(closed.alarmUid + closed.requester, uids.at(1) + "{view-1}");
        const Event refused = sim.handleAll(uids, "again", 3);
        QCOMPARE(refused.result, int(SimAlarmServer::AlarmClosed));
        QCOMPARE(refused.alarmUids, uids);
        QCOMPARE(sim.handle(uids.at(1), "once more", 2).result, int(SimAlarmServer::AlarmClosed));
        QCOMPARE(sim.count("", farPast, farFuture, 1).count, 1);
        QCOMPARE(sim.count("", farPast, farFuture, 2).count, 1);
        QCOMPARE(sim.count("", farPast, farFuture, 3).count, 0);
        QCOMPARE(sim.handleAll({}, "nothing", 2).result, int(SimAlarmServer::BadArgument));
        QCOMPARE(sim.handle(uids.at(2), "bad mode", 1).result, int(SimAlarmServer::BadArgument));
        const Event notes = sim.notes(uids.at(1));
        QCOMPARE(notes.process.handlers.size(), size_t(2));
        QCOMPARE(notes.process.handlers.at(1).handleNote, std::string("Police on site, closed"));
        QCOMPARE(notes.process.handlers.at(1).state, 4);
        QCOMPARE(sim.notes("no-such-alarm").result, int(SimAlarmServer::UnknownAlarm));
        // Three handlings succeeded, three pushes; the failed ones pushed nothing.
        QCOMPARE(sim.handler.events("OnAlarmHandled").size(), size_t(3));
    }

    void droppedAnswerNeverComes()
    {
        Sim sim;
        sim.server->dropNextAnswers(1);
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{dropped}", 0);
        QCOMPARE(sim.count("", farPast, farFuture, 0, "{answered}").requester, std::string("{answered}"));
        // Answers come in order, so the dropped one would have come first.
        QCOMPARE(sim.handler.events("OnAlarmRecordsCount").size(), size_t(1));
    }

    void restartKeepsRecords()
    {
        Sim sim;
        const std::vector<std::string> uids{sim.raise("P0101"), sim.raise("P0103"), sim.raise("P0202")};
        QCOMPARE(sim.handle(uids.at(1), "kept", 2).result, 0);
        const Event before = sim.records("", farPast, farFuture, 0, 0, 10);
        sim.restart();
        const Event after = sim.records("", farPast, farFuture, 0, 0, 10);
        QCOMPARE(uidsOf(after.records), uidsOf(before.records));
        QCOMPARE(after.records.at(1).state, 2);
        QCOMPARE(sim.notes(uids.at(1)).process.handlers.at(0).handleNote, std::string("kept"));
        QCOMPARE(sim.handle(uids.at(0), "after restart", 4).result, 0);
        QCOMPARE(sim.count("", farPast, farFuture, 4).count, 1);
    }

    void countsAndPagesAgree_data()
    {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("pageSize");
        const auto row = [](const QByteArray& name, const char* store, const char* start, const char* end,
                            int state, int pageSize) {
            QTest::newRow(name.constData())
                << QString(store) << QString(start) << QString(end) << state << pageSize;
        };
        row("everything", "", farPast, farFuture, 0, 4);
        row("one page holds all", "", farPast, farFuture, 0, 100);
        row("pages of one", "S002", farPast, farFuture, 0, 1);
        row("unknown store", "S999", farPast, farFuture, 0, 4);
        row("day, edges included", "", "2026-03-02 00:00:00", "2026-03-02 23:59:59", 0, 3);
        row("one second", "", "2026-03-02 08:28:00", "2026-03-02 08:28:00", 0, 1);
        row("reversed period", "", "2026-03-03 00:00:00", "2026-03-01 00:00:00", 0, 4);
        for (int state = 1; state <= 4; ++state) {
            row("state " + QByteArray::number(state), "", farPast, farFuture, state, 4);
            row("S001 on 1 March, state " + QByteArray::number(state), "S001", "2026-03-01 00:00:00",
                "2026-03-01 23:59:59", state, 2);
        }
    }

    void countsAndPagesAgree()
    {
        QFETCH(QString, store);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, state);
        QFETCH(int, pageSize);
        const std::string storeUid = store.toStdString(), from = start.toStdString(), to = end.toStdString();
        const Event count = shared->count(storeUid, from, to, state, "{search}");
        QCOMPARE(count.result, 0);
        QCOMPARE(count.requester, std::string("{search}"));
        const std::vector<std::string> wanted = expected(storeUid, from, to, state);
        QCOMPARE(count.count, int(wanted.size()));

        // Page by page up to one page past the end, which must be empty.
        std::vector<std::string> paged;
        for (int first = 0; first <= count.count; first += pageSize) {
            const Event page = shared->records(storeUid, from, to, state, first, pageSize);
            QCOMPARE(page.result, 0);
            QCOMPARE(page.records.size(), size_t(std::min(pageSize, std::max(0, count.count - first))));
            for (const AlarmData& alarm : page.records)
                QVERIFY((storeUid.empty() || alarm.storeUid == storeUid) && (!state || alarm.state == state));
            const std::vector<std::string> uids = uidsOf(page.records);
            paged.insert(paged.end(), uids.begin(), uids.end());
        }
        QCOMPARE(paged, wanted);
    }

    void badArgumentsGetErrors_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        const auto row = [](const char* name, const char* start, const char* end, int state, int first,
                            int count) {
            QTest::newRow(name) << QString(start) << QString(end) << state << first << count;
        };
        row("empty start", "", farFuture, 0, 0, 10);
        row("date only", "2026-03-01", farFuture, 0, 0, 10);
        row("no such month", "2026-13-01 00:00:00", farFuture, 0, 0, 10);
        row("no such hour", farPast, "2026-03-01 24:00:00", 0, 0, 10);
        row("words", "yesterday", "today", 0, 0, 10);
        row("state 5", farPast, farFuture, 5, 0, 10);
        row("state -1", farPast, farFuture, -1, 0, 10);
        row("negative first", farPast, farFuture, 0, -1, 10);
        row("count 0", farPast, farFuture, 0, 0, 0);
        row("negative count", farPast, farFuture, 0, 0, -5);
    }

    void badArgumentsGetErrors()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(int, state);
        QFETCH(int, first);
        QFETCH(int, count);
        const Event page = shared->records("", start.toStdString(), end.toStdString(), state, first, count);
        QCOMPARE(page.result, int(SimAlarmServer::BadArgument));
        QVERIFY(page.records.empty() && !page.errorMsg.empty());
        // The count takes the same period and state, and has no paging.
        const Event total = shared->count("", start.toStdString(), end.toStdString(), state, "{bad}");
        QCOMPARE(total.requester, std::string("{bad}"));
        const bool pagingIsFine = first >= 0 && count > 0;
        QCOMPARE(total.result, pagingIsFine ? int(SimAlarmServer::BadArgument) : 0);
        if (pagingIsFine)
            QCOMPARE(total.count, 0);
    }

    void oddRecordsSurvive()
    {
        Sim odd;
        const std::string badUtf8("\xff\xfe\xc3(\x80", 5);
        AlarmData strange;
        strange.alarmUid = "odd-" + badUtf8;
        strange.storeUid = badUtf8;
        strange.probeId = badUtf8 + "'; DROP TABLE alarms; --";
        strange.describe = std::string(1 << 20, 'x') + std::string("before\0after", 12);
        strange.alarmTime = "2026-03-05 10:00:00";
        strange.state = 1;
        const std::string emptyUid = odd.server->injectAlarm(AlarmData()).toStdString(); // given one
        QVERIFY(!emptyUid.empty());
        QVERIFY(!odd.server->injectAlarm(strange).isEmpty());
        odd.server->injectAlarm(strange); // the same uid again is refused
        QVERIFY(RecordingHandler::waitFor([&] { return odd.server->lastError().contains("odd-"); }));
        QVERIFY(RecordingHandler::waitFor([&] { return odd.handler.newAlarms().size() == 2; }));
        QCOMPARE(odd.handler.newAlarms().at(0).alarmUid, emptyUid);
        const AlarmData pushed = odd.handler.newAlarms().at(1);
        QCOMPARE(pushed.storeUid, badUtf8);
        QCOMPARE(pushed.describe, strange.describe);

        // Stored byte for byte: a search by the odd store finds it again.
        const Event page = odd.records(badUtf8, farPast, farFuture, 0, 0, 10);
        QCOMPARE(page.records.size(), size_t(1));
        QCOMPARE(page.records.at(0).describe, strange.describe);
        QCOMPARE(page.records.at(0).probeId, strange.probeId);

        // An alarm with no time is in no period, but is there to be handled.
        const std::string longNote = std::string(100000, 'n') + badUtf8;
        QCOMPARE(odd.handle(emptyUid, longNote, 2).result, 0);
        QCOMPARE(odd.notes(emptyUid).process.handlers.at(0).handleNote, longNote);
        QCOMPARE(odd.count("", farPast, farFuture, 0).count, 1);
        QCOMPARE(odd.notes(badUtf8).result, int(SimAlarmServer::UnknownAlarm));

        QString error;
        QVERIFY(odd.server->raiseAlarm("P999", QString(), &error).isEmpty() && error.contains("P999"));
        QVERIFY(odd.server->raiseAlarm("P0101", "earthquake", &error).isEmpty() &&
                error.contains("earthquake"));
        QVERIFY(!odd.server->storm(0, 3, &error) && !error.isEmpty());
    }

    void eventsWaitForHandlerAndComeOnServerThread()
    {
        Sim sim(false);
        std::vector<std::string> raised;
        for (const char* probe : {"P0101", "P0201", "P0202"})
            raised.push_back(sim.server->raiseAlarm(probe).toStdString());
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{before-handler}", 0);
        // Nothing is lost while nobody listens; it all comes, in order, once somebody does.
        QVERIFY(RecordingHandler::waitFor([&] { return sim.server->pendingEvents() == 4; }));
        sim.server->SetEventHandler(&sim.handler);
        QVERIFY(sim.handler.waitForTotal(4));
        QCOMPARE(sim.handler.log(),
                 std::vector<std::string>({"OnNewAlarm", "OnNewAlarm", "OnNewAlarm", "OnAlarmRecordsCount"}));
        QCOMPARE(uidsOf(sim.handler.newAlarms()), raised);
        QCOMPARE(sim.handler.events("OnAlarmRecordsCount").at(0).count, 3);
        const auto threads = sim.handler.threads();
        QCOMPARE(threads.size(), size_t(1));
        QVERIFY(*threads.begin() != std::this_thread::get_id());

        // A delayed answer: the push produced after it must not overtake it.
        sim.server->setAnswerDelay(300);
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{late}", 0);
        sim.server->raiseAlarm(QStringLiteral("P0101"));
        QVERIFY(sim.handler.waitForTotal(6));
        const std::vector<std::string> log = sim.handler.log();
        QCOMPARE(std::vector<std::string>(log.begin() + 4, log.end()),
                 std::vector<std::string>({"OnAlarmRecordsCount", "OnNewAlarm"}));
        QCOMPARE(sim.handler.events("OnAlarmRecordsCount").at(1).count, 3); // as it was when asked
    }

    void replacedHandlerIsNotCalledAfterwards()
    {
        RecordingHandler fast;
        Sim sim;
        RecordingHandler& slow = sim.handler;
        slow.setHook([] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
        QVERIFY(sim.server->storm(300, 5));
        QVERIFY(slow.waitForTotal(20));
        sim.server->SetEventHandler(&fast);
        const int heardBySlow = slow.total();
        QVERIFY(fast.waitForTotal(300 - heardBySlow));
        QCOMPARE(slow.total(), heardBySlow);
        QCOMPARE(fast.total(), 300 - heardBySlow);
        // Together they heard every alarm once.
        std::vector<std::string> all = uidsOf(slow.newAlarms());
        const std::vector<std::string> rest = uidsOf(fast.newAlarms());
        all.insert(all.end(), rest.begin(), rest.end());
        QCOMPARE(std::set<std::string>(all.begin(), all.end()).size(), size_t(300));
    }

    void destroyedHandlerIsUnregistered()
    {
        Sim sim(false);
        auto handler = std::make_unique<ObjectHandler>();
        sim.server->SetEventHandler(handler.get());
        sim.server->raiseAlarm(QStringLiteral("P0101"));
        QVERIFY(handler->waitForTotal(1));
        handler.reset();
        sim.server->raiseAlarm(QStringLiteral("P0102"));
        sim.server->raiseAlarm(QStringLiteral("P0103"));
        QVERIFY(RecordingHandler::waitFor([&] { return sim.server->pendingEvents() == 2; }));
        sim.server->SetEventHandler(&sim.handler);
        QVERIFY(sim.handler.waitForTotal(2));
        QCOMPARE(sim.handler.newAlarms().at(0).probeId, std::string("P0102"));
    }

    void shutdownWithWorkInFlight()
    {
        Sim sim;
        sim.handler.setHook([] { std::this_thread::sleep_for(std::chrono::microseconds(200)); });
        sim.server->setGeneratorRate(500);
        sim.server->setAnswerDelay(10000);
        QVERIFY(sim.server->storm(100000, 5));
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{never}", 0);
        QVERIFY(sim.handler.waitForTotal(10));
        sim.server->shutdown();
        const int heard = sim.handler.total();
        QVERIFY(heard < 100000 && sim.handler.events("OnAlarmRecordsCount").empty());
        // A server that was shut down takes requests without doing anything.
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{after-shutdown}", 0);
        QString error;
        QVERIFY(sim.server->raiseAlarm(QStringLiteral("P0101"), QString(), &error).isEmpty());
        QVERIFY(!error.isEmpty());
        sim.server.reset();
        QCOMPARE(sim.handler.total(), heard);
    }
};

QTEST_GUILESS_MAIN(TestVantelServer)
#include "tst_vantel_server.moc"
