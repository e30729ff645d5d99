#include "RecordingHandler.h"
#include "SimAlarmServer.h"
#include "SyncAlarmClient.h"
#include "TestScenario.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

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

} // namespace

class TestVantelQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void countsAndPagesAgree_data();
    void countsAndPagesAgree();
    void badArgumentsGetErrors_data();
    void badArgumentsGetErrors();
    void oddRecordsSurvive();
    void unknownProbeOrKindIsRefused();

private:
    std::vector<std::string> expected(const std::string& store, const std::string& start,
                                      const std::string& end, int state) const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SimAlarmServer> server;
    std::unique_ptr<RecordingHandler> handler;
    std::unique_ptr<SyncAlarmClient> client;
    std::vector<Known> known;
};

void TestVantelQueries::initTestCase()
{
    dir = std::make_unique<QTemporaryDir>(QDir::current().filePath(QStringLiteral("queries-XXXXXX")));
    QVERIFY(dir->isValid());
    server = std::make_unique<SimAlarmServer>(TestScenario::write(dir->path()),
                                              dir->filePath(QStringLiteral("db")));
    handler = std::make_unique<RecordingHandler>();
    client = std::make_unique<SyncAlarmClient>(*server, *handler);
    server->SetEventHandler(handler.get());

    // Three days of alarms at various hours, some in the same second, and two on the edges of 2 March.
    const QStringList probes{"P001", "P002", "P003", "P004", "P005"};
    std::vector<QDateTime> times;
    for (int i = 0; i < 23; ++i)
        times.emplace_back(QDate(2026, 3, 1 + i % 3), QTime(8 + i % 4, (i * 7) % 60, 0));
    times.push_back(times.at(4)); // 2026-03-02 08:28:00 once more: the later arrival comes first
    times.emplace_back(QDate(2026, 3, 2), QTime(0, 0, 0));
    times.emplace_back(QDate(2026, 3, 2), QTime(23, 59, 59));
    for (int i = 0; i < int(times.size()); ++i) {
        Known alarm;
        alarm.storeUid = i % 5 < 3 ? "S001" : "S002";
        alarm.time = times[size_t(i)].toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
        alarm.arrival = i;
        QString error;
        alarm.uid = server->raiseAlarmAt(probes.at(i % 5), QString(), times[size_t(i)], &error).toStdString();
        QVERIFY2(!alarm.uid.empty(), qPrintable(error));
        known.push_back(alarm);
    }
    QVERIFY(SyncAlarmClient::waitFor([&] { return handler->newAlarms().size() == known.size(); }));

    // Every state: one in four stays new, the others are dealt, mistaken or finished.
    for (int mode = 2; mode <= 4; ++mode) {
        std::vector<std::string> uids;
        for (Known& alarm : known) {
            if (alarm.arrival % 4 == mode - 1) {
                uids.push_back(alarm.uid);
                alarm.state = mode;
            }
        }
        const auto result = client->handleAll(uids, "sorted out", mode);
        QCOMPARE(result.result, 0);
    }
}

void TestVantelQueries::cleanupTestCase()
{
    if (server)
        server->SetEventHandler(nullptr);
    client.reset();
    server.reset();
    handler.reset();
    dir.reset();
}

std::vector<std::string> TestVantelQueries::expected(const std::string& store, const std::string& start,
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

void TestVantelQueries::countsAndPagesAgree_data()
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
    row("store", "S001", farPast, farFuture, 0, 4);
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

void TestVantelQueries::countsAndPagesAgree()
{
    QFETCH(QString, store);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, state);
    QFETCH(int, pageSize);
    const std::string storeUid = store.toStdString(), startTime = start.toStdString(),
                      endTime = end.toStdString();
    const std::vector<std::string> wanted = expected(storeUid, startTime, endTime, state);

    const auto count = client->count(storeUid.c_str(), startTime.c_str(), endTime.c_str(), state, "{search}");
    QCOMPARE(count.result, 0);
    QCOMPARE(count.requester, std::string("{search}"));
    QCOMPARE(count.count, int(wanted.size()));

    // Page by page up to one page past the end, which must be empty.
    std::vector<std::string> paged;
    for (int first = 0; first <= count.count; first += pageSize) {
        const auto page =
            client->records(storeUid.c_str(), startTime.c_str(), endTime.c_str(), state, first, pageSize);
        QCOMPARE(page.result, 0);
        const size_t size = page.records.size();
        QCOMPARE(size, size_t(std::min(pageSize, std::max(0, count.count - first))));
        for (const AlarmData& alarm : page.records) {
            QVERIFY(storeUid.empty() || alarm.storeUid == storeUid);
            QVERIFY(state == 0 || alarm.state == state);
        }
        const std::vector<std::string> uids = uidsOf(page.records);
        paged.insert(paged.end(), uids.begin(), uids.end());
    }
    QCOMPARE(paged, wanted);
}

void TestVantelQueries::badArgumentsGetErrors_data()
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

void TestVantelQueries::badArgumentsGetErrors()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, state);
    QFETCH(int, first);
    QFETCH(int, count);
    const std::string startTime = start.toStdString(), endTime = end.toStdString();

    const auto page = client->records("", startTime.c_str(), endTime.c_str(), state, first, count);
    QCOMPARE(page.result, int(SimAlarmServer::BadArgument));
    QVERIFY(page.records.empty());
    QVERIFY(!page.errorMsg.empty());

    // The count takes the same period and state, and has no paging.
    const bool countIsBad = first >= 0 && count > 0;
    const auto total = client->count("", startTime.c_str(), endTime.c_str(), state, "{bad}");
    QCOMPARE(total.requester, std::string("{bad}"));
    if (countIsBad) {
        QCOMPARE(total.result, int(SimAlarmServer::BadArgument));
        QCOMPARE(total.count, 0);
    } else {
        QCOMPARE(total.result, 0);
    }
}

void TestVantelQueries::oddRecordsSurvive()
{
    QTemporaryDir own(QDir::current().filePath(QStringLiteral("odd-XXXXXX")));
    SimAlarmServer odd(TestScenario::write(own.path()), own.filePath(QStringLiteral("db")));
    RecordingHandler events;
    SyncAlarmClient oddClient(odd, events);
    odd.SetEventHandler(&events);

    const std::string badUtf8("\xff\xfe\xc3(\x80", 5);
    const std::string withNul("before\0after", 12);
    AlarmData empty; // no uid: the server gives one
    AlarmData strange;
    strange.alarmUid = "odd-" + badUtf8;
    strange.storeUid = badUtf8;
    strange.probeId = badUtf8 + "'; DROP TABLE alarms; --";
    strange.describe = std::string(1 << 20, 'x') + withNul;
    strange.alarmTime = "2026-03-05 10:00:00";
    strange.state = 1;
    const std::string emptyUid = odd.injectAlarm(empty).toStdString();
    QVERIFY(!emptyUid.empty());
    QVERIFY(!odd.injectAlarm(strange).isEmpty());
    odd.injectAlarm(strange); // the same uid again is refused
    QVERIFY(SyncAlarmClient::waitFor([&] { return odd.lastError().contains(QStringLiteral("odd-")); }));

    QVERIFY(SyncAlarmClient::waitFor([&] { return events.newAlarms().size() == 2; }));
    QCOMPARE(events.newAlarms().at(0).alarmUid, emptyUid);
    QCOMPARE(events.newAlarms().at(0).describe, std::string());
    const AlarmData pushed = events.newAlarms().at(1);
    QCOMPARE(pushed.storeUid, badUtf8);
    QCOMPARE(pushed.probeId, strange.probeId);
    QCOMPARE(pushed.describe, strange.describe);

    // Stored byte for byte: a search by the odd store finds it again.
    const auto page = oddClient.records(badUtf8.c_str(), farPast, farFuture, 0, 0, 10);
    QCOMPARE(page.result, 0);
    QCOMPARE(page.records.size(), size_t(1));
    QCOMPARE(page.records.at(0).describe, strange.describe);
    QCOMPARE(page.records.at(0).probeId, strange.probeId);

    // An alarm with no time is in no period, but is there to be handled.
    const std::string longNote = std::string(100000, 'n') + badUtf8;
    const auto handled = oddClient.handle(emptyUid, longNote, 2);
    QCOMPARE(handled.result, 0);
    const auto notes = oddClient.notes(emptyUid);
    QCOMPARE(notes.result, 0);
    QCOMPARE(notes.record.handlers.size(), size_t(1));
    QCOMPARE(notes.record.handlers.at(0).handleNote, longNote);
    const auto total = oddClient.count("", farPast, farFuture, 0);
    QCOMPARE(total.count, 1);

    const auto unknown = oddClient.notes(badUtf8);
    QCOMPARE(unknown.result, int(SimAlarmServer::UnknownAlarm));
    QVERIFY(!unknown.errorMsg.empty());
    odd.SetEventHandler(nullptr);
}

void TestVantelQueries::unknownProbeOrKindIsRefused()
{
    QString error;
    QVERIFY(server->raiseAlarm(QStringLiteral("P999"), QString(), &error).isEmpty());
    QVERIFY(error.contains(QStringLiteral("P999")));
    QVERIFY(server->raiseAlarm(QStringLiteral("P001"), QStringLiteral("earthquake"), &error).isEmpty());
    QVERIFY(error.contains(QStringLiteral("earthquake")));
    QVERIFY(!server->storm(0, 3, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(SimAlarmServer::alarmKinds().contains(QStringLiteral("glass-break")));
}

QTEST_GUILESS_MAIN(TestVantelQueries)
#include "tst_vantel_queries.moc"
