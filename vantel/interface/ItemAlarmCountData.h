#pragma once

#include <cstdint>
#include <string>

// Alarms counted for one item (a probe or a channel) of a device.
struct ItemAlarmCountData
{
    int32_t count = 0;
    std::string itemId;
    std::string deviceId;
};
