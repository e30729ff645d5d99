#include "FakeAlarmService.h"

namespace {
QString text(const char* value)
{
    return QString::fromUtf8(value);
}
} // namespace

FakeAlarmService::FakeAlarmService() : thread([this] { run(); }) {}

FakeAlarmService::~FakeAlarmService()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    wake.notify_all();
    thread.join();
}

void FakeAlarmService::SetEventHandler(IAlarmEvent* handler)
{
    std::lock_guard<std::mutex> guard(lock);
    eventHandler = handler;
}

IAlarmEvent* FakeAlarmService::handler() const
{
    std::lock_guard<std::mutex> guard(lock);
    return eventHandler;
}

void FakeAlarmService::record(const Call& call)
{
    std::lock_guard<std::mutex> guard(lock);
    calls.append(call);
}

QList<FakeAlarmService::Call> FakeAlarmService::takeCalls()
{
    std::lock_guard<std::mutex> guard(lock);
    QList<Call> taken;
    taken.swap(calls);
    return taken;
}

void FakeAlarmService::RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode,
                                          bool informKeeper, const char* requester)
{
    Call call;
    call.operation = "RequestHandleAlarm";
    call.texts = QStringList{text(alarmUid), text(handleNote), text(requester)};
    call.number = handleMode;
    call.informKeeper = informKeeper;
    record(call);
}

void FakeAlarmService::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                           int handleMode, bool informKeeper, const char* requester)
{
    Call call;
    call.operation = "RequestHandleAlarms";
    for (const std::string& uid : alarmUids)
        call.uids.append(QString::fromStdString(uid));
    call.texts = QStringList{text(handleNote), text(requester)};
    call.number = handleMode;
    call.informKeeper = informKeeper;
    record(call);
}

void FakeAlarmService::RequestReplyA(const char* alarmUid)
{
    record(Call{"RequestReplyA", {text(alarmUid)}, {}, 0, 0, 0, false});
}

void FakeAlarmService::RequestReplyB(const char* alarmUid)
{
    record(Call{"RequestReplyB", {text(alarmUid)}, {}, 0, 0, 0, false});
}

void FakeAlarmService::RequestAlarmRecordsCount(const char* storeUid, const char* startTime,
                                                const char* endTime, const char* requester, int state)
{
    record(Call{"RequestAlarmRecordsCount",
                {text(storeUid), text(startTime), text(endTime), text(requester)},
                {},
                state,
                0,
                0,
                false});
}

void FakeAlarmService::RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime,
                                           int state, int first, int count, int reserved)
{
    record(Call{"RequestAlarmRecords",
                {text(storeUid), text(startTime), text(endTime)},
                {},
                state,
                first,
                count,
                reserved != 0});
}

void FakeAlarmService::RequestAlarmHandleNotes(const char* alarmUid, int reserved)
{
    record(Call{"RequestAlarmHandleNotes", {text(alarmUid)}, {}, reserved, 0, 0, false});
}

void FakeAlarmService::RequestStoreDevicesAlarmsCollection(const char* a, const char* b, const char* c,
                                                           const char* tag)
{
    record(Call{"RequestStoreDevicesAlarmsCollection",
                {QString::fromLocal8Bit(a), QString::fromLocal8Bit(b), QString::fromLocal8Bit(c),
                 QString::fromLocal8Bit(tag)},
                {},
                0,
                0,
                0,
                false});
}

void FakeAlarmService::RequestAllStoresAlarmsCollection(const char* a, const char* b, const char* tag)
{
    record(Call{"RequestAllStoresAlarmsCollection",
                {QString::fromLocal8Bit(a), QString::fromLocal8Bit(b), QString::fromLocal8Bit(tag)},
                {},
                0,
                0,
                0,
                false});
}

void FakeAlarmService::deliver(std::function<void(IAlarmEvent*)> event)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        events.push_back(std::move(event));
    }
    wake.notify_all();
}

void FakeAlarmService::waitForDelivery()
{
    std::unique_lock<std::mutex> guard(lock);
    idle.wait(guard, [this] { return events.empty() && !busy; });
}

bool FakeAlarmService::isServiceThread() const
{
    return std::this_thread::get_id() == thread.get_id();
}

void FakeAlarmService::run()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || (!events.empty() && eventHandler); });
        if (stopping)
            return;
        auto event = std::move(events.front());
        events.pop_front();
        IAlarmEvent* target = eventHandler;
        busy = true;
        guard.unlock();
        event(target);
        guard.lock();
        busy = false;
        if (events.empty())
            idle.notify_all();
    }
}
