#pragma once

#include "IAlarm.h"

#include <QByteArray>

#include <functional>

// Turns the requests of IAlarm into wire messages for the alarm server, each with the way to answer it
// when the server cannot. Registering an event handler is left to the class that receives the answers.
class NetRequestEncoder : public IAlarm
{
public:
    // Gives the request the answer it normally gets, with this error.
    using Failure = std::function<void(IAlarmEvent* handler, int code, const char* message)>;
    using Sink = std::function<void(const QByteArray& frame, const Failure& failure)>;

    explicit NetRequestEncoder(Sink sink);

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
    void RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime, const char* endTime,
                                             const char* tag) override;
    void RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                          const char* tag) override;

protected:
    void send(const QByteArray& frame, const Failure& failure) { sink(frame, failure); }

private:
    Sink sink;
};
