#pragma once

#include "AlarmHandlerData.h"

#include <cstdint>
#include <string>
#include <vector>

// A handled alarm with its handlings. Note that storeUid comes before alarmUid here.
struct AlarmProcessData
{
    std::string storeUid;
    std::string alarmUid;
    std::string deviceId;
    std::string typeKey;
    std::string typeDescription;
    std::string subTypeKey;
    std::string subTypeDescription;
    std::string probeId;
    std::string alarmTime;
    std::string describe;
    std::vector<AlarmHandlerData> handlers;
    int32_t channelIndex = 0;
};
