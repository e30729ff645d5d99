#include "StormAlarmService.h"

#include "SimAlarmEngine.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string numbered(const char* prefix, int n, int width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, width, n);
    return text;
}

} // namespace

StormAlarmService::StormAlarmService() : thread([this] { run(); }) {}

StormAlarmService::~StormAlarmService()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
}

void StormAlarmService::setRecordsCount(int count)
{
    std::lock_guard<std::mutex> guard(lock);
    recordsCount = count;
}

void StormAlarmService::setPushHandled(int probes)
{
    std::lock_guard<std::mutex> guard(lock);
    pushHandledProbes = probes;
}

void StormAlarmService::deliver(std::vector<Event> batch)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        for (Event& event : batch)
            events.push_back(std::move(event));
    }
    wake.notify_all();
}

void StormAlarmService::deliverOne(Event event)
{
    std::vector<Event> batch;
    batch.push_back(std::move(event));
    deliver(std::move(batch));
}

void StormAlarmService::waitForDelivery()
{
    std::unique_lock<std::mutex> guard(lock);
    idle.wait(guard, [this] { return events.empty() && !busy; });
}

void StormAlarmService::run()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || !events.empty(); });
        if (stopping)
            return;
        // The whole queue is taken at once so that a storm runs without touching the lock between events.
        std::deque<Event> batch;
        batch.swap(events);
        IAlarmEvent* handler = eventHandler;
        busy = true;
        guard.unlock();
        for (Event& event : batch) {
            if (handler)
                event(handler);
        }
        guard.lock();
        busy = false;
        if (events.empty())
            idle.notify_all();
    }
}

void StormAlarmService::SetEventHandler(IAlarmEvent* handler)
{
    std::lock_guard<std::mutex> guard(lock);
    eventHandler = handler;
}

void StormAlarmService::RequestHandleAlarm(const char* alarmUid, const char*, int, bool,
                                           const char* requester)
{
    deliverOne([uid = std::string(alarmUid), who = std::string(requester)](IAlarmEvent* handler) {
        handler->OnHandleAlarmResult(uid.c_str(), 0, "", who.c_str());
    });
}

void StormAlarmService::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                            int handleMode, bool, const char* requester)
{
    int probes;
    {
        std::lock_guard<std::mutex> guard(lock);
        probes = pushHandledProbes;
    }
    if (probes > 0) {
        // Made on the service's thread, as a server makes them: the requester's thread only asks.
        deliverOne(
            [uids = alarmUids, note = std::string(handleNote), handleMode, probes](IAlarmEvent* handler) {
                for (const std::string& uid : uids) {
                    AlarmProcessData record =
                        SimAlarmEngine::processOf(makeAlarm(std::atoi(uid.c_str() + 1), probes));
                    record.handlers.push_back(
                        {"Operator 7", "2026-12-05 23:10:00", note, "555-0700", handleMode, ""});
                    handler->OnAlarmHandled(record);
                }
            });
    }
    deliverOne([uids = alarmUids, who = std::string(requester)](IAlarmEvent* handler) {
        handler->OnHandleAlarmsResult(uids, 0, "", who.c_str());
    });
}

void StormAlarmService::RequestReplyA(const char*) {}

void StormAlarmService::RequestReplyB(const char*) {}

void StormAlarmService::RequestAlarmRecordsCount(const char*, const char*, const char*, const char* requester,
                                                 int)
{
    int count;
    {
        std::lock_guard<std::mutex> guard(lock);
        count = recordsCount;
    }
    deliverOne([count, who = std::string(requester)](IAlarmEvent* handler) {
        handler->OnAlarmRecordsCount(count, who.c_str(), 0, "");
    });
}

void StormAlarmService::RequestAlarmRecords(const char*, const char*, const char*, int, int first, int count,
                                            int)
{
    std::vector<AlarmData> page;
    page.reserve(count > 0 ? count : 0);
    for (int n = first; n < first + count; ++n) {
        AlarmData record = makeAlarm(n, 1000);
        record.state = 1 + n % 4;
        page.push_back(record);
    }
    deliverOne([page = std::move(page)](IAlarmEvent* handler) { handler->OnAlarmRecords(page, 0, ""); });
}

void StormAlarmService::RequestAlarmHandleNotes(const char*, int) {}

void StormAlarmService::RequestStoreDevicesAlarmsCollection(const char*, const char*, const char*,
                                                            const char*)
{
}

void StormAlarmService::RequestAllStoresAlarmsCollection(const char*, const char*, const char*) {}

AlarmData StormAlarmService::makeAlarm(int n, int probes)
{
    const int probe = n % probes;
    AlarmData alarm;
    alarm.alarmUid = numbered("A", n, 6);
    alarm.storeUid = numbered("S", probe / 10, 3);
    alarm.deviceId = numbered("D", probe / 5, 3);
    alarm.deviceName = numbered("Recorder ", probe / 5, 3);
    alarm.typeKey = "intrusion";
    alarm.typeDescription = "Intrusion";
    alarm.subTypeKey = "pir";
    alarm.subTypeDescription = "Infrared";
    alarm.probeId = numbered("P", probe, 4);
    char time[32];
    std::snprintf(time, sizeof time, "2026-12-05 %02d:%02d:%02d", (n / 3600) % 24, (n / 60) % 60, n % 60);
    alarm.alarmTime = time;
    alarm.describe = "Movement in the sales room";
    alarm.state = 1;
    alarm.channelIndex = probe % 5 + 1;
    return alarm;
}
