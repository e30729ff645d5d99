#pragma once

#include <atomic>

class IAlarm;

// Entry point of the alarm service library. A program may install its own IAlarm before first use.
class DataCache
{
public:
    static DataCache* Instance();

    IAlarm* GetAlarmPtr();
    void SetAlarmPtr(IAlarm* alarm);

private:
    DataCache() = default;
    ~DataCache() = default;
    DataCache(const DataCache&) = delete;
    DataCache& operator=(const DataCache&) = delete;

    std::atomic<IAlarm*> alarm{nullptr};
};
