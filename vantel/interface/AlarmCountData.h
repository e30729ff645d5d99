#pragma once

#include <cstdint>
#include <string>

// Alarms of one kind counted for a store or a device.
struct AlarmCountData
{
    int32_t count = 0;
    int32_t kind = 0;
    std::string id;
};
