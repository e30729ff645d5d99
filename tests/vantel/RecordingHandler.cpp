#include "RecordingHandler.h"

namespace {

std::string text(const char* value)
{
    return value ? std::string(value) : std::string("<null>");
}

} // namespace

void RecordingHandler::setHook(std::function<void()> newHook)
{
    std::lock_guard<std::mutex> lock(mutex);
    hook = std::move(newHook);
}

void RecordingHandler::record(const char* name)
{
    std::function<void()> run;
    {
        std::lock_guard<std::mutex> lock(mutex);
        run = hook;
    }
    if (run)
        run();
    std::lock_guard<std::mutex> lock(mutex);
    events.emplace_back(name);
    threadIds.insert(std::this_thread::get_id());
}

#define GETTER(type, name, member)                                                                           \
    type RecordingHandler::name() const                                                                      \
    {                                                                                                        \
        std::lock_guard<std::mutex> lock(mutex);                                                             \
        return member;                                                                                       \
    }

GETTER(int, total, int(events.size()))
GETTER(std::vector<std::string>, log, events)
GETTER(std::set<std::thread::id>, threads, threadIds)
GETTER(std::vector<AlarmData>, newAlarms, alarms)
GETTER(std::vector<AlarmProcessData>, handled, handledRecords)
GETTER(std::vector<RecordingHandler::HandleResult>, handleResults, singleResults)
GETTER(std::vector<RecordingHandler::BatchResult>, batchResults, batches)
GETTER(std::vector<RecordingHandler::Count>, counts, countAnswers)
GETTER(std::vector<RecordingHandler::Page>, pages, pageAnswers)
GETTER(std::vector<RecordingHandler::Notes>, notes, notesAnswers)
GETTER(std::vector<RecordingHandler::DevicesCollection>, deviceCollections, devices)
GETTER(std::vector<RecordingHandler::StoresCollection>, storeCollections, stores)

#undef GETTER

void RecordingHandler::OnNewAlarm(const AlarmData& alarm)
{
    record("OnNewAlarm");
    std::lock_guard<std::mutex> lock(mutex);
    alarms.push_back(alarm);
}

void RecordingHandler::OnAlarmHandled(const AlarmProcessData& processData)
{
    record("OnAlarmHandled");
    std::lock_guard<std::mutex> lock(mutex);
    handledRecords.push_back(processData);
}

void RecordingHandler::OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                                           const char* requester)
{
    record("OnHandleAlarmResult");
    std::lock_guard<std::mutex> lock(mutex);
    singleResults.push_back({text(alarmUid), result, text(errorMsg), text(requester)});
}

void RecordingHandler::OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result,
                                            const char* errorMsg, const char* requester)
{
    record("OnHandleAlarmsResult");
    std::lock_guard<std::mutex> lock(mutex);
    batches.push_back({alarmUids, result, text(errorMsg), text(requester)});
}

void RecordingHandler::OnReplyA(intptr_t, int, const char*)
{
    record("OnReplyA");
}

void RecordingHandler::OnReplyB(intptr_t, int, const char*)
{
    record("OnReplyB");
}

void RecordingHandler::OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg)
{
    record("OnAlarmRecordsCount");
    std::lock_guard<std::mutex> lock(mutex);
    countAnswers.push_back({count, text(requester), result, text(errorMsg)});
}

void RecordingHandler::OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg)
{
    record("OnAlarmRecords");
    std::lock_guard<std::mutex> lock(mutex);
    pageAnswers.push_back({records, result, text(errorMsg)});
}

void RecordingHandler::OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& processData,
                                          int result, const char* errorMsg)
{
    record("OnAlarmHandleNotes");
    std::lock_guard<std::mutex> lock(mutex);
    notesAnswers.push_back({text(alarmUid), processData, result, text(errorMsg)});
}

void RecordingHandler::OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData> deviceCounts,
                                                      std::vector<ItemAlarmCountData> itemCounts,
                                                      const char* tag, int result, const char* errorMsg)
{
    record("OnStoreDevicesAlarmsCollection");
    std::lock_guard<std::mutex> lock(mutex);
    devices.push_back({std::move(deviceCounts), std::move(itemCounts), text(tag), result, text(errorMsg)});
}

void RecordingHandler::OnAllStoresAlarmsCollection(std::vector<AlarmCountData> storeCounts, const char* tag,
                                                   int result, const char* errorMsg)
{
    record("OnAllStoresAlarmsCollection");
    std::lock_guard<std::mutex> lock(mutex);
    stores.push_back({std::move(storeCounts), text(tag), result, text(errorMsg)});
}
