#include "RecordingHandler.h"
#include "SimAlarmServer.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

constexpr char farPast[] = "2000-01-01 00:00:00";
constexpr char farFuture[] = "2100-01-01 00:00:00";

// Generous: sanitizer builds on a shared machine are slow. Nothing is measured.
bool waitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, 30000);
}

// A server on the demo sites with a database of its own.
struct Sim
{
    explicit Sim(bool listen = true)
        : dir(QDir::current().filePath(QStringLiteral("sim-XXXXXX")))
        , server(std::make_unique<SimAlarmServer>(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"),
                                                  dir.filePath(QStringLiteral("db"))))
    {
        if (listen)
            server->SetEventHandler(&handler);
    }

    // Sends a request and waits for the next event of that name; result -1 if none comes.
    RecordedEvent request(const char* name, const std::function<void()>& send)
    {
        const size_t before = handler.events(name).size();
        send();
        std::vector<RecordedEvent> got;
        if (waitFor([&] { return (got = handler.events(name)).size() > before; }))
            return got.at(before);
        return {name, -1, "no answer"};
    }
    RecordedEvent count(const std::string& store, const std::string& start, const std::string& end, int state,
                        const char* by = "{count}")
    {
        return request("OnAlarmRecordsCount", [&] {
            server->RequestAlarmRecordsCount(store.c_str(), start.c_str(), end.c_str(), by, state);
        });
    }
    RecordedEvent records(const std::string& store, const std::string& start, const std::string& end,
                          int state, int first, int count)
    {
        return request("OnAlarmRecords", [&] {
            server->RequestAlarmRecords(store.c_str(), start.c_str(), end.c_str(), state, first, count, 0);
        });
    }
    RecordedEvent notes(const std::string& uid)
    {
        return request("OnAlarmHandleNotes", [&] { server->RequestAlarmHandleNotes(uid.c_str(), 0); });
    }
    RecordedEvent handle(const std::string& uid, const char* note, int mode, const char* by = "{handle}")
    {
        return request("OnHandleAlarmResult",
                       [&] { server->RequestHandleAlarm(uid.c_str(), note, mode, false, by); });
    }
    RecordedEvent handleAll(const std::vector<std::string>& uids, const char* note, int mode,
                            const char* by = "{batch}")
    {
        return request("OnHandleAlarmsResult",
                       [&] { server->RequestHandleAlarms(uids, note, mode, false, by); });
    }

    QTemporaryDir dir;
    RecordingHandler handler;
    std::unique_ptr<SimAlarmServer> server;
};

struct Known
{
    std::string uid, storeUid, time;
    int state; // the state it is handled to after raising
};

} // namespace

class TestVantelServer : public QObject
{
    Q_OBJECT

    std::unique_ptr<Sim> shared;
    std::vector<Known> known;

    // Newest first; of the same second, the later arrival first.
    std::vector<std::string> expected(const std::string& store, const std::string& start,
                                      const std::string& end, int state) const
    {
        std::vector<Known> matching;
        std::copy_if(known.rbegin(), known.rend(), std::back_inserter(matching), [&](const Known& alarm) {
            return (store.empty() || alarm.storeUid == store) && alarm.time >= start && alarm.time <= end &&
                   (state == 0 || alarm.state == state);
        });
        std::stable_sort(matching.begin(), matching.end(),
                         [](const Known& a, const Known& b) { return a.time > b.time; });
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
                             time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString(), i % 4 + 1});
        }
        QVERIFY(waitFor([&] { return shared->handler.newAlarms().size() == known.size(); }));
        for (int mode = 2; mode <= 4; ++mode) {
            std::vector<std::string> uids;
            for (const Known& alarm : known) {
                if (alarm.state == mode)
                    uids.push_back(alarm.uid);
            }
            QCOMPARE(shared->handleAll(uids, "sorted out", mode).result, 0);
        }
    }

    // Started again on this database, the server first tells the alarms left unhandled, oldest first.
    void announcesWhatAnEarlierRunLeftUnhandled()
    {
        RecordingHandler handler;
        SimAlarmServer again(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"),
                             shared->dir.filePath(QStringLiteral("db")));
        again.announceUnhandled();
        again.SetEventHandler(&handler);
        QStringList waiting;
        for (const Known& alarm : known) {
            if (alarm.state == 1)
                waiting.append(QString::fromStdString(alarm.uid));
        }
        QVERIFY(waitFor([&] { return handler.newAlarms().size() >= size_t(waiting.size()); }));
        QCOMPARE(handler.newAlarmUids(), waiting);
    }

    // The answer comes before the pushes; one finished alarm fails the whole batch.
    void handlingIsAllOrNothing()
    {
        Sim sim;
        std::vector<std::string> uids;
        for (const char* probe : {"P0101", "P0102", "P0201"})
            uids.push_back(sim.server->raiseAlarm(QLatin1String(probe)).toStdString());
        QVERIFY(waitFor([&] { return sim.handler.newAlarms().size() == 3; }));
        const std::vector<std::string> two(uids.begin(), uids.begin() + 2);
        const RecordedEvent done = sim.handleAll(two, "Called the keeper", 2, "{table}");
        QCOMPARE(done.result, 0);
        QCOMPARE(done.alarmUids, two);
        QCOMPARE(done.requester, std::string("{table}"));
        QVERIFY(waitFor([&] { return sim.handler.events("OnAlarmHandled").size() == 2; }));
        const std::vector<std::string> log = sim.handler.log();
        QCOMPARE(log.at(log.size() - 3), std::string("OnHandleAlarmsResult"));
        const AlarmProcessData pushed = sim.handler.events("OnAlarmHandled").at(0).process;
        QCOMPARE(pushed.alarmUid + '|' + pushed.storeUid + '|' + pushed.handlers.at(0).handleNote,
                 uids.at(0) + "|S001|Called the keeper");

        const RecordedEvent closed = sim.handle(uids.at(1), "Police on site, closed", 4, "{view-1}");
        QCOMPARE(closed.result, 0);
        QCOMPARE(closed.alarmUid + closed.requester, uids.at(1) + "{view-1}");
        const RecordedEvent refused = sim.handleAll(uids, "again", 3);
        QCOMPARE(refused.result, int(SimAlarmServer::AlarmClosed));
        QCOMPARE(refused.alarmUids, uids);
        QCOMPARE(sim.count("", farPast, farFuture, 2).count, 1);
        QCOMPARE(sim.count("", farPast, farFuture, 3).count, 0);
        QCOMPARE(sim.handleAll({}, "nothing", 2).result, int(SimAlarmServer::BadArgument));
        QCOMPARE(sim.handle(uids.at(2), "bad mode", 1).result, int(SimAlarmServer::BadArgument));
        // Three handlings succeeded, three pushes; the failed ones pushed nothing.
        QCOMPARE(sim.handler.events("OnAlarmHandled").size(), size_t(3));
    }

    // Each row: store, start, end, state, page size.
    void countsAndPagesAgree_data()
    {
        QTest::addColumn<QStringList>("query");
        QTest::newRow("everything") << QStringList{"", farPast, farFuture, "0", "4"};
        QTest::newRow("pages of one") << QStringList{"S002", farPast, farFuture, "0", "1"};
        QTest::newRow("day, edges included")
            << QStringList{"", "2026-03-02 00:00:00", "2026-03-02 23:59:59", "0", "3"};
        QTest::newRow("reversed period")
            << QStringList{"", "2026-03-03 00:00:00", "2026-03-01 00:00:00", "0", "4"};
        QTest::newRow("S001 on 1 March, state 1")
            << QStringList{"S001", "2026-03-01 00:00:00", "2026-03-01 23:59:59", "1", "2"};
    }

    void countsAndPagesAgree()
    {
        QFETCH(QStringList, query);
        const std::string storeUid = query.at(0).toStdString(), from = query.at(1).toStdString(),
                          to = query.at(2).toStdString();
        const int state = query.at(3).toInt(), pageSize = query.at(4).toInt();
        const RecordedEvent count = shared->count(storeUid, from, to, state, "{search}");
        QCOMPARE(count.result, 0);
        QCOMPARE(count.requester, std::string("{search}"));
        const std::vector<std::string> wanted = expected(storeUid, from, to, state);
        QCOMPARE(count.count, int(wanted.size()));

        // Page by page up to one page past the end, which must be empty.
        std::vector<std::string> paged;
        for (int first = 0; first <= count.count; first += pageSize) {
            const RecordedEvent page = shared->records(storeUid, from, to, state, first, pageSize);
            QCOMPARE(page.result, 0);
            QCOMPARE(page.records.size(), size_t(std::min(pageSize, std::max(0, count.count - first))));
            for (const AlarmData& alarm : page.records) {
                QVERIFY((storeUid.empty() || alarm.storeUid == storeUid) && (!state || alarm.state == state));
                paged.push_back(alarm.alarmUid);
            }
        }
        QCOMPARE(paged, wanted);
    }

    // Each row: start, end, state, first, count.
    void badArgumentsGetErrors_data()
    {
        QTest::addColumn<QStringList>("query");
        QTest::newRow("date only") << QStringList{"2026-03-01", farFuture, "0", "0", "10"};
        QTest::newRow("no such hour") << QStringList{farPast, "2026-03-01 24:00:00", "0", "0", "10"};
        QTest::newRow("state 5") << QStringList{farPast, farFuture, "5", "0", "10"};
        QTest::newRow("negative first") << QStringList{farPast, farFuture, "0", "-1", "10"};
        QTest::newRow("count 0") << QStringList{farPast, farFuture, "0", "0", "0"};
    }

    void badArgumentsGetErrors()
    {
        QFETCH(QStringList, query);
        const std::string start = query.at(0).toStdString(), end = query.at(1).toStdString();
        const int state = query.at(2).toInt(), first = query.at(3).toInt(), count = query.at(4).toInt();
        const RecordedEvent page = shared->records("", start, end, state, first, count);
        QCOMPARE(page.result, int(SimAlarmServer::BadArgument));
        QVERIFY(page.records.empty() && !page.errorMsg.empty());
        // The count takes the same period and state, and has no paging.
        const RecordedEvent total = shared->count("", start, end, state, "{bad}");
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
        QVERIFY(waitFor([&] { return odd.handler.newAlarms().size() == 2; }));
        QCOMPARE(odd.handler.newAlarms().at(0).alarmUid, emptyUid);
        const AlarmData pushed = odd.handler.newAlarms().at(1);
        QCOMPARE(pushed.storeUid, badUtf8);
        QCOMPARE(pushed.describe, strange.describe);

        // Stored byte for byte: a search by the odd store finds it again.
        const RecordedEvent page = odd.records(badUtf8, farPast, farFuture, 0, 0, 10);
        QCOMPARE(page.records.size(), size_t(1));
        QCOMPARE(page.records.at(0).describe, strange.describe);
        QCOMPARE(page.records.at(0).probeId, strange.probeId);

        // An alarm with no time is in no period, but is there to be handled.
        const std::string longNote = std::string(100000, 'n') + badUtf8;
        QCOMPARE(odd.handle(emptyUid, longNote.c_str(), 2).result, 0);
        QCOMPARE(odd.notes(emptyUid).process.handlers.at(0).handleNote, longNote);
        QCOMPARE(odd.count("", farPast, farFuture, 0).count, 1);
        QCOMPARE(odd.notes(badUtf8).result, int(SimAlarmServer::UnknownAlarm));
    }

    void eventsWaitForHandlerAndComeOnServerThread()
    {
        Sim sim(false);
        QStringList raised;
        for (const char* probe : {"P0101", "P0201", "P0202"})
            raised.append(sim.server->raiseAlarm(probe));
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{before-handler}", 0);
        // Nothing is lost while nobody listens; it all comes, in order, once somebody does.
        QVERIFY(waitFor([&] { return sim.server->pendingEvents() == 4; }));
        sim.server->SetEventHandler(&sim.handler);
        QVERIFY(waitFor([&] { return sim.handler.events().size() == 4; }));
        QCOMPARE(sim.handler.log(),
                 std::vector<std::string>({"OnNewAlarm", "OnNewAlarm", "OnNewAlarm", "OnAlarmRecordsCount"}));
        QCOMPARE(sim.handler.newAlarmUids(), raised);
        QCOMPARE(sim.handler.events("OnAlarmRecordsCount").at(0).count, 3);
        const std::thread::id thread = sim.handler.events().at(0).thread;
        QVERIFY(thread != std::this_thread::get_id());
        for (const RecordedEvent& each : sim.handler.events())
            QVERIFY(each.thread == thread);

        // A delayed answer: the push produced after it must not overtake it.
        sim.server->setAnswerDelay(300);
        sim.server->RequestAlarmRecordsCount("", farPast, farFuture, "{late}", 0);
        sim.server->raiseAlarm(QStringLiteral("P0101"));
        QVERIFY(waitFor([&] { return sim.handler.events().size() == 6; }));
        const std::vector<std::string> log = sim.handler.log();
        QCOMPARE(std::vector<std::string>(log.begin() + 4, log.end()),
                 std::vector<std::string>({"OnAlarmRecordsCount", "OnNewAlarm"}));
        QCOMPARE(sim.handler.events("OnAlarmRecordsCount").at(1).count, 3); // as it was when asked
    }
};

QTEST_GUILESS_MAIN(TestVantelServer)
#include "tst_vantel_server.moc"
