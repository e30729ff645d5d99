#pragma once

#include "AlarmEventNumbers.h"
#include "IAlarmEvent.h"

#include <QByteArray>
#include <QJsonObject>

#include <functional>
#include <string>
#include <utility>

// Turns the events of an alarm service into wire messages. A push (a new alarm, a handled alarm) is for
// every client, with the number it was told; any other event answers one request.
class NetEventEncoder : public IAlarmEvent, public AlarmEventNumbers
{
public:
    using Sink = std::function<void(const QByteArray& frame, bool answer)>;

    explicit NetEventEncoder(Sink sink);

    void nextPushNumber(qint64 seq) override { pushNumber = seq; }
    // Told the uid of every handled push, before the push goes to the sink.
    void setHandledObserver(std::function<void(const std::string& alarmUid)> observer)
    {
        handledObserver = std::move(observer);
    }

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

private:
    void answer(const char* op, const char* errorMsg, int result, QJsonObject body);
    void push(const char* op, QJsonObject body);

    Sink sink;
    std::function<void(const std::string& alarmUid)> handledObserver;
    qint64 pushNumber = 0;
};
