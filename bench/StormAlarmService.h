#pragma once

#include "IAlarm.h"
#include "IAlarmEvent.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// An alarm service that delivers events on a thread of its own as fast as the module takes them: a storm
// handed over at once is delivered back to back, with no pause between events. Handle requests are answered
// at once with success, a count request with the configured count and a page request with as many records
// as it asks for.
class StormAlarmService : public IAlarm
{
public:
    using Event = std::function<void(IAlarmEvent*)>;

    StormAlarmService();
    ~StormAlarmService() override;

    void setRecordsCount(int count);
    // Above 0, a handle request is answered, before its results, with the handled push of every alarm (as a
    // server broadcasts a handling to every client), the alarms made as makeAlarm(n, probes) makes them.
    void setPushHandled(int probes);
    // Runs the events on the service thread, in order, after every event given before them.
    void deliver(std::vector<Event> events);
    void waitForDelivery();

    void SetEventHandler(IAlarmEvent* handler) override;
    void RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode, bool informKeeper,
                            const char* requester) override;
    void RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                             int handleMode, bool informKeeper, const char* requester) override;
    void RequestReplyA(const char* alarmUid) override;
    void RequestReplyB(const char* alarmUid) override;
    void RequestAlarmRecordsCount(const char* storeUid, const char* startTime, const char* endTime,
                                  const char* requester, int state) override;
    void RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime, int state,
                             int first, int count, int reserved) override;
    void RequestAlarmHandleNotes(const char* alarmUid, int reserved) override;
    void RequestStoreDevicesAlarmsCollection(const char* a, const char* b, const char* c,
                                             const char* tag) override;
    void RequestAllStoresAlarmsCollection(const char* a, const char* b, const char* tag) override;

    // The record the service gives for alarm number n (probe n % probes, ten probes per store).
    static AlarmData makeAlarm(int n, int probes);

private:
    void deliverOne(Event event);
    void run();

    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Event> events;
    IAlarmEvent* eventHandler = nullptr;
    int recordsCount = 0;
    int pushHandledProbes = 0;
    bool busy = false;
    bool stopping = false;
    std::thread thread;
};
