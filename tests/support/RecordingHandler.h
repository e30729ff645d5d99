#pragma once

#include "IAlarmEvent.h"

#include <QStringList>

#include <algorithm>
#include <mutex>
#include <thread>

// One event as a RecordingHandler got it; fields its kind does not carry stay empty.
struct RecordedEvent
{
    std::string name{};
    int result = 0;
    std::string errorMsg{}, alarmUid{}, requester{};
    int count = 0;
    std::vector<AlarmData> records{}; // the new alarm, or the page
    AlarmProcessData process{};       // the handled push, or the notes
    std::vector<std::string> alarmUids{};
    std::thread::id thread = std::this_thread::get_id();
};

// Keeps every event an alarm service delivers, with the thread it came on, byte for byte.
class RecordingHandler : public IAlarmEvent
{
public:
    std::vector<RecordedEvent> events(const std::string& name = std::string()) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<RecordedEvent> named;
        std::copy_if(all.begin(), all.end(), std::back_inserter(named),
                     [&](const RecordedEvent& each) { return name.empty() || each.name == name; });
        return named;
    }
    std::vector<std::string> log() const
    {
        std::vector<std::string> names;
        for (const RecordedEvent& each : events())
            names.push_back(each.name);
        return names;
    }
    std::vector<AlarmData> newAlarms() const
    {
        std::vector<AlarmData> alarms;
        for (const RecordedEvent& each : events("OnNewAlarm"))
            alarms.push_back(each.records.at(0));
        return alarms;
    }
    QStringList newAlarmUids() const
    {
        QStringList uids;
        for (const AlarmData& alarm : newAlarms())
            uids.append(QString::fromStdString(alarm.alarmUid));
        return uids;
    }

    void OnNewAlarm(const AlarmData& alarm) override { add({"OnNewAlarm", 0, "", "", "", 0, {alarm}}); }
    void OnAlarmHandled(const AlarmProcessData& pushed) override
    {
        add({"OnAlarmHandled", 0, "", "", "", 0, {}, pushed});
    }
    void OnHandleAlarmResult(const char* uid, int result, const char* error, const char* by) override
    {
        add({"OnHandleAlarmResult", result, text(error), text(uid), text(by)});
    }
    void OnHandleAlarmsResult(const std::vector<std::string>& uids, int result, const char* error,
                              const char* by) override
    {
        add({"OnHandleAlarmsResult", result, text(error), "", text(by), 0, {}, {}, uids});
    }
    void OnAlarmRecordsCount(int count, const char* by, int result, const char* error) override
    {
        add({"OnAlarmRecordsCount", result, text(error), "", text(by), count});
    }
    void OnAlarmRecords(const std::vector<AlarmData>& page, int result, const char* error) override
    {
        add({"OnAlarmRecords", result, text(error), "", "", 0, page});
    }
    void OnAlarmHandleNotes(const char* uid, const AlarmProcessData& notes, int result,
                            const char* error) override
    {
        add({"OnAlarmHandleNotes", result, text(error), text(uid), "", 0, {}, notes});
    }
    // No test asks for these.
    void OnReplyA(intptr_t, int, const char*) override {}
    void OnReplyB(intptr_t, int, const char*) override {}
    void OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData>, std::vector<ItemAlarmCountData>,
                                        const char*, int, const char*) override
    {
    }
    void OnAllStoresAlarmsCollection(std::vector<AlarmCountData>, const char*, int, const char*) override {}

private:
    static std::string text(const char* value) { return value ? std::string(value) : std::string("<null>"); }
    void add(const RecordedEvent& made)
    {
        std::lock_guard<std::mutex> lock(mutex);
        all.push_back(made);
    }

    mutable std::mutex mutex;
    std::vector<RecordedEvent> all;
};
