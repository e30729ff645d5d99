#pragma once

#include "frame/VIG_AlarmInfo.h"

namespace VIG_ALARM_MOUDLE {

// One handling of an alarm: the alarm's fields, then who handled it, when and how.
struct VIG_AlarmProcess : public VIG_AlarmInfo
{
    QString principal;
    QString principalTel;
    QString handleTime;
    QString handleNote;
    QString liveImageUrls; // joined by ","
};

typedef QVector<VIG_AlarmProcess> AlarmProcessVector;

} // namespace VIG_ALARM_MOUDLE

Q_DECLARE_METATYPE(VIG_ALARM_MOUDLE::VIG_AlarmProcess)
Q_DECLARE_METATYPE(VIG_ALARM_MOUDLE::AlarmProcessVector)
