#pragma once

#include "IAlarmEvent.h"

#include <QString>

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// An event handler that keeps everything it is given, for tests to look at from their own thread.
class RecordingHandler : public IAlarmEvent
{
public:
    struct HandleResult
    {
        std::string alarmUid;
        int result = 0;
        std::string errorMsg;
        std::string requester;
    };
    struct BatchResult
    {
        std::vector<std::string> alarmUids;
        int result = 0;
        std::string errorMsg;
        std::string requester;
    };
    struct Count
    {
        int count = 0;
        std::string requester;
        int result = 0;
        std::string errorMsg;
    };
    struct Page
    {
        std::vector<AlarmData> records;
        int result = 0;
        std::string errorMsg;
    };
    struct Notes
    {
        std::string alarmUid;
        AlarmProcessData record;
        int result = 0;
        std::string errorMsg;
    };
    struct DevicesCollection
    {
        std::vector<AlarmCountData> deviceCounts;
        std::vector<ItemAlarmCountData> itemCounts;
        std::string tag;
        int result = 0;
        std::string errorMsg;
    };
    struct StoresCollection
    {
        std::vector<AlarmCountData> storeCounts;
        std::string tag;
        int result = 0;
        std::string errorMsg;
    };

    // Runs at the start of every event, on the delivering thread.
    void setHook(std::function<void()> hook);

    int total() const;
    std::vector<std::string> log() const;
    std::set<std::thread::id> threads() const;
    std::vector<AlarmData> newAlarms() const;
    std::vector<AlarmProcessData> handled() const;
    std::vector<HandleResult> handleResults() const;
    std::vector<BatchResult> batchResults() const;
    std::vector<Count> counts() const;
    std::vector<Page> pages() const;
    std::vector<Notes> notes() const;
    std::vector<DevicesCollection> deviceCollections() const;
    std::vector<StoresCollection> storeCollections() const;

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
    void record(const char* name);

    mutable std::mutex mutex;
    std::function<void()> hook;
    std::vector<std::string> events;
    std::set<std::thread::id> threadIds;
    std::vector<AlarmData> alarms;
    std::vector<AlarmProcessData> handledRecords;
    std::vector<HandleResult> singleResults;
    std::vector<BatchResult> batches;
    std::vector<Count> countAnswers;
    std::vector<Page> pageAnswers;
    std::vector<Notes> notesAnswers;
    std::vector<DevicesCollection> devices;
    std::vector<StoresCollection> stores;
};
