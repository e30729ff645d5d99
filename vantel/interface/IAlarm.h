#pragma once

#include <string>
#include <vector>

class IAlarmEvent;

// Requests to the alarm service. Every request returns at once; its answer comes later as an event on the
// service's thread. String arguments need to live only for the call.
class IAlarm
{
public:
    virtual ~IAlarm() = default;

    virtual void SetEventHandler(IAlarmEvent* handler) = 0;
    virtual void RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode,
                                    bool informKeeper, const char* requester) = 0;
    virtual void RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                     int handleMode, bool informKeeper, const char* requester) = 0;
    // Answered by OnReplyA and OnReplyB; the alarm module does not use them.
    virtual void RequestReplyA(const char* alarmUid) = 0;
    virtual void RequestReplyB(const char* alarmUid) = 0;
    virtual void RequestAlarmRecordsCount(const char* storeUid, const char* startTime, const char* endTime,
                                          const char* requester, int state) = 0;
    virtual void RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime,
                                     int state, int first, int count, int reserved) = 0;
    virtual void RequestAlarmHandleNotes(const char* alarmUid, int reserved) = 0;
    virtual void RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime,
                                                     const char* endTime, const char* tag) = 0;
    virtual void RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                                  const char* tag) = 0;
};
