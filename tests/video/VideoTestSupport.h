#pragma once

// Shared by the video tests: alarms booked as the event callback books them, on the scenario's probes.

#include "ModuleTestSupport.h"

namespace videotest {

using namespace moduletest;
using VIG_ALARM_MOUDLE::VIG_AlarmInfo;

inline VIG_AlarmInfo bookedAlarm(const QString& uid, const QString& probeId, const QString& time)
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
    VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = probeId;
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = time;
    alarm.typeDescription = QStringLiteral("Intrusion");
    alarm.describe = QStringLiteral("alarm ") + uid;
    alarm.state = VIG_ALARM_MOUDLE::AlarmNew;
    VIG_ALARM_MOUDLE::AlarmBusiness::_instance().addUnhandledAlarm(alarm);
    return alarm;
}

} // namespace videotest
