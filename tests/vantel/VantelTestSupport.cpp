#include "VantelTestSupport.h"

#include <QDir>
#include <QTest>

namespace vanteltest {

namespace {

std::string text(const char* value)
{
    return value ? std::string(value) : std::string("<null>");
}

} // namespace

Event::Event(const char* kind, int code, const char* error, const char* uid, const char* by)
    : name(kind), alarmUid(text(uid)), result(code), errorMsg(text(error)), requester(text(by))
{
}

std::vector<std::string> uidsOf(const std::vector<AlarmData>& alarms)
{
    std::vector<std::string> uids;
    for (const AlarmData& alarm : alarms)
        uids.push_back(alarm.alarmUid);
    return uids;
}

void RecordingHandler::setHook(std::function<void()> newHook)
{
    std::lock_guard<std::mutex> lock(mutex);
    hook = std::move(newHook);
}

int RecordingHandler::total() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(all.size());
}

std::vector<Event> RecordingHandler::events(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Event> named;
    for (const Event& each : all) {
        if (name.empty() || each.name == name)
            named.push_back(each);
    }
    return named;
}

std::vector<std::string> RecordingHandler::log() const
{
    std::vector<std::string> names;
    for (const Event& each : events())
        names.push_back(each.name);
    return names;
}

std::vector<AlarmData> RecordingHandler::newAlarms() const
{
    std::vector<AlarmData> alarms;
    for (const Event& each : events("OnNewAlarm"))
        alarms.push_back(each.records.at(0));
    return alarms;
}

std::set<std::thread::id> RecordingHandler::threads() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return threadIds;
}

bool RecordingHandler::waitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, 30000);
}

bool RecordingHandler::waitForTotal(int count) const
{
    return waitFor([&] { return total() >= count; });
}

Event RecordingHandler::request(const std::string& name, const std::function<void()>& send)
{
    const size_t before = events(name).size();
    send();
    std::vector<Event> got;
    if (waitFor([&] { return (got = events(name)).size() > before; }))
        return got.at(before);
    return Event(name.c_str(), NoAnswer, "no answer");
}

void RecordingHandler::record(const Event& made)
{
    std::function<void()> run;
    {
        std::lock_guard<std::mutex> lock(mutex);
        run = hook;
    }
    if (run)
        run();
    std::lock_guard<std::mutex> lock(mutex);
    all.push_back(made);
    threadIds.insert(std::this_thread::get_id());
}

void RecordingHandler::OnNewAlarm(const AlarmData& alarm)
{
    Event made("OnNewAlarm");
    made.records.push_back(alarm);
    record(made);
}

void RecordingHandler::OnAlarmHandled(const AlarmProcessData& processData)
{
    Event made("OnAlarmHandled");
    made.process = processData;
    record(made);
}

void RecordingHandler::OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                                           const char* requester)
{
    record(Event("OnHandleAlarmResult", result, errorMsg, alarmUid, requester));
}

void RecordingHandler::OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result,
                                            const char* errorMsg, const char* requester)
{
    Event made("OnHandleAlarmsResult", result, errorMsg, "", requester);
    made.alarmUids = alarmUids;
    record(made);
}

void RecordingHandler::OnReplyA(intptr_t, int result, const char* errorMsg)
{
    record(Event("OnReplyA", result, errorMsg));
}

void RecordingHandler::OnReplyB(intptr_t, int result, const char* errorMsg)
{
    record(Event("OnReplyB", result, errorMsg));
}

void RecordingHandler::OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg)
{
    Event made("OnAlarmRecordsCount", result, errorMsg, "", requester);
    made.count = count;
    record(made);
}

void RecordingHandler::OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg)
{
    Event made("OnAlarmRecords", result, errorMsg);
    made.records = records;
    record(made);
}

void RecordingHandler::OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& processData,
                                          int result, const char* errorMsg)
{
    Event made("OnAlarmHandleNotes", result, errorMsg, alarmUid);
    made.process = processData;
    record(made);
}

void RecordingHandler::OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData>,
                                                      std::vector<ItemAlarmCountData>, const char*,
                                                      int result, const char* errorMsg)
{
    record(Event("OnStoreDevicesAlarmsCollection", result, errorMsg));
}

void RecordingHandler::OnAllStoresAlarmsCollection(std::vector<AlarmCountData>, const char*, int result,
                                                   const char* errorMsg)
{
    record(Event("OnAllStoresAlarmsCollection", result, errorMsg));
}

Sim::Sim(bool listen) : dir(QDir::current().filePath(QStringLiteral("sim-XXXXXX")))
{
    restart();
    if (!listen)
        server->SetEventHandler(nullptr);
}

void Sim::restart()
{
    server.reset();
    server = std::make_unique<SimAlarmServer>(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"),
                                              dir.filePath(QStringLiteral("db")));
    server->SetEventHandler(&handler);
}

std::string Sim::raise(const char* probeId, const char* kind)
{
    const size_t before = handler.newAlarms().size();
    const std::string uid = server->raiseAlarm(QLatin1String(probeId), QLatin1String(kind)).toStdString();
    const bool pushed = RecordingHandler::waitFor([&] { return handler.newAlarms().size() > before; });
    return pushed ? uid : std::string();
}

Event Sim::count(const std::string& store, const std::string& start, const std::string& end, int state,
                 const char* requester)
{
    return handler.request("OnAlarmRecordsCount", [&] {
        server->RequestAlarmRecordsCount(store.c_str(), start.c_str(), end.c_str(), requester, state);
    });
}

Event Sim::records(const std::string& store, const std::string& start, const std::string& end, int state,
                   int first, int count)
{
    return handler.request("OnAlarmRecords", [&] {
        server->RequestAlarmRecords(store.c_str(), start.c_str(), end.c_str(), state, first, count, 0);
    });
}

Event Sim::notes(const std::string& alarmUid)
{
    return handler.request("OnAlarmHandleNotes",
                           [&] { server->RequestAlarmHandleNotes(alarmUid.c_str(), 0); });
}

Event Sim::handle(const std::string& alarmUid, const std::string& note, int mode, const char* requester)
{
    return handler.request("OnHandleAlarmResult", [&] {
        server->RequestHandleAlarm(alarmUid.c_str(), note.c_str(), mode, false, requester);
    });
}

Event Sim::handleAll(const std::vector<std::string>& alarmUids, const std::string& note, int mode,
                     const char* requester)
{
    return handler.request("OnHandleAlarmsResult", [&] {
        server->RequestHandleAlarms(alarmUids, note.c_str(), mode, false, requester);
    });
}

} // namespace vanteltest
