#pragma once

#include <cstdint>
#include <string>

// One alarm as the server sends it. The field order is part of the wire contract.
struct AlarmData
{
    std::string alarmUid;
    std::string storeUid;
    std::string deviceId;
    std::string deviceName;
    std::string typeKey;
    std::string typeDescription;
    std::string subTypeKey;
    std::string subTypeDescription;
    std::string probeId;
    std::string probeName; // not read by clients
    std::string alarmTime;
    std::string lastHandleNote;
    std::string describe;
    std::string createTime; // not read by clients
    std::string extendInfo; // not read by clients
    int32_t state = 0;
    int32_t channelIndex = 0;
};
