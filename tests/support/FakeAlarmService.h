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

    FakeAlarmService();
    ~FakeAlarmService() override;

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

    // Runs the event on the service thread, after every event given before it.
    void deliver(std::function<void(IAlarmEvent*)> event);
    // Blocks until every event given so far has been delivered.
    void waitForDelivery();

    QList<Call> takeCalls();

private:
    void record(const QString& operation, const QStringList& texts, int number = 0, int first = 0,
                int count = 0, bool informKeeper = false, const QStringList& uids = QStringList());
    void run();

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
