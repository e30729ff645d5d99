#pragma once

#include "IAlarm.h"
#include "IAlarmEvent.h"

#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// An alarm service for tests: it records every request and delivers the events a test gives it on a thread
// of its own, in order, as the real service does.
class FakeAlarmService : public IAlarm
{
public:
    struct Call
    {
        QString operation;
        QStringList texts; // the text arguments, in order
        QStringList uids;  // RequestHandleAlarms' list
        int number = 0;    // handle mode or state
        int first = 0;
        int count = 0;
        bool informKeeper = false;
    };

    FakeAlarmService() : thread([this] { run(); }) {}
    ~FakeAlarmService() override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            stopping = true;
        }
        wake.notify_all();
        thread.join();
    }

    void SetEventHandler(IAlarmEvent* handler) override
    {
        std::lock_guard<std::mutex> guard(lock);
        eventHandler = handler;
    }
    void RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode, bool informKeeper,
                            const char* requester) override
    {
        record("RequestHandleAlarm", {text(alarmUid), text(handleNote), text(requester)}, handleMode, 0, 0,
               informKeeper);
    }
    void RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                             int handleMode, bool informKeeper, const char* requester) override
    {
        QStringList uids;
        for (const std::string& uid : alarmUids)
            uids.append(QString::fromStdString(uid));
        record("RequestHandleAlarms", {text(handleNote), text(requester)}, handleMode, 0, 0, informKeeper,
               uids);
    }
    void RequestReplyA(const char* alarmUid) override { record("RequestReplyA", {text(alarmUid)}); }
    void RequestReplyB(const char* alarmUid) override { record("RequestReplyB", {text(alarmUid)}); }
    void RequestAlarmRecordsCount(const char* storeUid, const char* startTime, const char* endTime,
                                  const char* requester, int state) override
    {
        record("RequestAlarmRecordsCount", {text(storeUid), text(startTime), text(endTime), text(requester)},
               state);
    }
    void RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime, int state,
                             int first, int count, int reserved) override
    {
        record("RequestAlarmRecords", {text(storeUid), text(startTime), text(endTime)}, state, first, count,
               reserved != 0);
    }
    void RequestAlarmHandleNotes(const char* alarmUid, int reserved) override
    {
        record("RequestAlarmHandleNotes", {text(alarmUid)}, reserved);
    }
    void RequestStoreDevicesAlarmsCollection(const char* a, const char* b, const char* c,
                                             const char* tag) override
    {
        record("RequestStoreDevicesAlarmsCollection", {local(a), local(b), local(c), local(tag)});
    }
    void RequestAllStoresAlarmsCollection(const char* a, const char* b, const char* tag) override
    {
        record("RequestAllStoresAlarmsCollection", {local(a), local(b), local(tag)});
    }

    // Runs the event on the service thread, after every event given before it.
    void deliver(std::function<void(IAlarmEvent*)> event)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            events.push_back(std::move(event));
        }
        wake.notify_all();
    }
    // Blocks until every event given so far has been delivered.
    void waitForDelivery()
    {
        std::unique_lock<std::mutex> guard(lock);
        idle.wait(guard, [this] { return events.empty() && !busy; });
    }

    QList<Call> takeCalls()
    {
        std::lock_guard<std::mutex> guard(lock);
        QList<Call> taken;
        taken.swap(calls);
        return taken;
    }

private:
    static QString text(const char* value) { return QString::fromUtf8(value); }
    static QString local(const char* value) { return QString::fromLocal8Bit(value); }

    void record(const QString& operation, const QStringList& texts, int number = 0, int first = 0,
                int count = 0, bool informKeeper = false, const QStringList& uids = QStringList())
    {
        std::lock_guard<std::mutex> guard(lock);
        calls.append({operation, texts, uids, number, first, count, informKeeper});
    }
    void run()
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

    mutable std::mutex lock;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::function<void(IAlarmEvent*)>> events;
    bool busy = false;
    bool stopping = false;
    IAlarmEvent* eventHandler = nullptr;
    QList<Call> calls;
    std::thread thread;
};
