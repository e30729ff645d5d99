#include "DataCache.h"

DataCache* DataCache::Instance()
{
    static DataCache cache;
    return &cache;
}

IAlarm* DataCache::GetAlarmPtr()
{
    return alarm.load();
}

void DataCache::SetAlarmPtr(IAlarm* alarm)
{
    this->alarm.store(alarm);
}
