#include "FakeAlarmService.h"

namespace {
QString text(const char* value)
{
    return QString::fromUtf8(value);
}

QString local(const char* value)
{
    return QString::fromLocal8Bit(value);
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

void FakeAlarmService::record(const QString& operation, const QStringList& texts, int number, int first,
                              int count, bool informKeeper, const QStringList& uids)
{
    std::lock_guard<std::mutex> guard(lock);
    calls.append({operation, texts, uids, number, first, count, informKeeper});
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
    record("RequestHandleAlarm", {text(alarmUid), text(handleNote), text(requester)}, handleMode, 0, 0,
           informKeeper);
}

void FakeAlarmService::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                           int handleMode, bool informKeeper, const char* requester)
{
    QStringList uids;
    for (const std::string& uid : alarmUids)
        uids.append(QString::fromStdString(uid));
    record("RequestHandleAlarms", {text(handleNote), text(requester)}, handleMode, 0, 0, informKeeper, uids);
}

void FakeAlarmService::RequestReplyA(const char* alarmUid)
{
    record("RequestReplyA", {text(alarmUid)});
}

void FakeAlarmService::RequestReplyB(const char* alarmUid)
{
    record("RequestReplyB", {text(alarmUid)});
}

void FakeAlarmService::RequestAlarmRecordsCount(const char* storeUid, const char* startTime,
                                                const char* endTime, const char* requester, int state)
{
    record("RequestAlarmRecordsCount", {text(storeUid), text(startTime), text(endTime), text(requester)},
           state);
}

void FakeAlarmService::RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime,
                                           int state, int first, int count, int reserved)
{
    record("RequestAlarmRecords", {text(storeUid), text(startTime), text(endTime)}, state, first, count,
           reserved != 0);
}

void FakeAlarmService::RequestAlarmHandleNotes(const char* alarmUid, int reserved)
{
    record("RequestAlarmHandleNotes", {text(alarmUid)}, reserved);
}

void FakeAlarmService::RequestStoreDevicesAlarmsCollection(const char* a, const char* b, const char* c,
                                                           const char* tag)
{
    record("RequestStoreDevicesAlarmsCollection", {local(a), local(b), local(c), local(tag)});
}

void FakeAlarmService::RequestAllStoresAlarmsCollection(const char* a, const char* b, const char* tag)
{
    record("RequestAllStoresAlarmsCollection", {local(a), local(b), local(tag)});
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
