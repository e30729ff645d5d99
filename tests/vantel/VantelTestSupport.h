#pragma once

#include "IAlarmEvent.h"
#include "SimAlarmServer.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vanteltest {

// A period that holds every alarm the tests raise.
constexpr char farPast[] = "2000-01-01 00:00:00";
constexpr char farFuture[] = "2100-01-01 00:00:00";

// One event as a handler got it; fields its kind does not carry stay empty.
struct Event
{
    explicit Event(const char* kind = "", int code = 0, const char* error = "", const char* uid = "",
                   const char* by = "");

    std::string name;
    std::string alarmUid;
    std::vector<std::string> alarmUids;
    int result = 0;
    std::string errorMsg;
    std::string requester;
    int count = 0;
    std::vector<AlarmData> records; // the new alarm, or the page
    AlarmProcessData process;       // the handled push, or the notes
};

std::vector<std::string> uidsOf(const std::vector<AlarmData>& alarms);

// Keeps every event it is given, for the test's thread to look at.
class RecordingHandler : public IAlarmEvent
{
public:
    enum { NoAnswer = -1 };

    // Runs at the start of every event, on the delivering thread.
    void setHook(std::function<void()> hook);
    int total() const;
    std::vector<Event> events(const std::string& name = std::string()) const;
    std::vector<std::string> log() const;
    std::vector<AlarmData> newAlarms() const;
    std::set<std::thread::id> threads() const;
    bool waitForTotal(int count) const;
    // Sends a request and waits for the next event of that name; result NoAnswer if none comes.
    Event request(const std::string& name, const std::function<void()>& send);

    // Generous: sanitizer builds on a shared machine are slow. Nothing is measured.
    static bool waitFor(const std::function<bool()>& done);

    void OnNewAlarm(const AlarmData& alarm) override;
    void OnAlarmHandled(const AlarmProcessData& record) override;
    void OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                             const char* requester) override;
    void OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result, const char* errorMsg,
                              const char* requester) override;
    void OnReplyA(intptr_t context, int result, const char* errorMsg) override;
    void OnReplyB(intptr_t context, int result, const char* errorMsg) override;
    void OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg) override;
    void OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg) override;
    void OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& record, int result,
                            const char* errorMsg) override;
    void OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData> deviceCounts,
                                        std::vector<ItemAlarmCountData> itemCounts, const char* tag,
                                        int result, const char* errorMsg) override;
    void OnAllStoresAlarmsCollection(std::vector<AlarmCountData> storeCounts, const char* tag, int result,
                                     const char* errorMsg) override;

private:
    void record(const Event& event);

    mutable std::mutex mutex;
    std::function<void()> hook;
    std::vector<Event> all;
    std::set<std::thread::id> threadIds;
};

// A server on the demo sites with a database of its own; the handler is registered unless told otherwise.
struct Sim
{
    explicit Sim(bool listen = true);
    // A new server on the same folder.
    void restart();
    // Raises an alarm and waits for its push; empty if none came.
    std::string raise(const char* probeId, const char* kind = "tamper");

    Event count(const std::string& store, const std::string& start, const std::string& end, int state,
                const char* requester = "{count}");
    Event records(const std::string& store, const std::string& start, const std::string& end, int state,
                  int first, int count);
    Event notes(const std::string& alarmUid);
    Event handle(const std::string& alarmUid, const std::string& note, int mode,
                 const char* requester = "{handle}");
    Event handleAll(const std::vector<std::string>& alarmUids, const std::string& note, int mode,
                    const char* requester = "{batch}");

    QTemporaryDir dir;
    RecordingHandler handler;
    std::unique_ptr<SimAlarmServer> server;
};

} // namespace vanteltest
