#pragma once

#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"

#include "IAlarmEvent.h"

#include <QObject>

namespace VIG_ALARM_MOUDLE {

// The module's handler of the alarm service's events. It runs on the service's thread, keeps no state, and
// hands every event on as records on the signal hub, host notices and, for a new alarm, the books.
class AlarmCallBack : public QObject, public IAlarmEvent
{
    Q_OBJECT

public:
    explicit AlarmCallBack(QObject* parent = nullptr);
    ~AlarmCallBack() override;

    static VIG_AlarmInfo toAlarmInfo(const AlarmData& alarm);
    static VIG_AlarmProcess toAlarmProcess(const AlarmProcessData& record);

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

    // The handled-alarm hint shown to the operator.
    static QString handledAlarmHint(const AlarmProcessData& record);

    // How many new alarms have been pushed on the hub so far. A receiver that has taken fewer knows that
    // more of a burst is queued for it.
    static quint64 newAlarmPushCount();
    // The same for handle results and handled pushes, the events that make rows leave the tables.
    static quint64 handlingPushCount();
};

} // namespace VIG_ALARM_MOUDLE
