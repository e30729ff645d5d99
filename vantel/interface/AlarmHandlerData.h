#pragma once

#include <cstdint>
#include <string>

// One handling of an alarm.
struct AlarmHandlerData
{
    std::string principal;
    std::string handleTime;
    std::string handleNote;
    std::string principalTel;
    int32_t state = 0;
    std::string liveImageUrls;
};
