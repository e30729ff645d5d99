#pragma once

#include "AlarmCountData.h"
#include "AlarmData.h"
#include "AlarmProcessData.h"
#include "IEvent.h"
#include "ItemAlarmCountData.h"

#include <cstdint>
#include <vector>

// Events of the alarm service, delivered on the service's own thread. Strings are UTF-8 and live only
// for the call.
class IAlarmEvent : public IEvent
{
public:
    virtual void OnNewAlarm(const AlarmData& alarm) = 0;
    virtual void OnAlarmHandled(const AlarmProcessData& record) = 0;
    virtual void OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                                     const char* requester) = 0;
    virtual void OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result,
                                      const char* errorMsg, const char* requester) = 0;
    virtual void OnReplyA(intptr_t context, int result, const char* errorMsg) = 0;
    virtual void OnReplyB(intptr_t context, int result, const char* errorMsg) = 0;
    virtual void OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg) = 0;
    virtual void OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg) = 0;
    virtual void OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& record, int result,
                                    const char* errorMsg) = 0;
    virtual void OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData> deviceCounts,
                                                std::vector<ItemAlarmCountData> itemCounts, const char* tag,
                                                int result, const char* errorMsg) = 0;
    virtual void OnAllStoresAlarmsCollection(std::vector<AlarmCountData> storeCounts, const char* tag,
                                             int result, const char* errorMsg) = 0;
};
