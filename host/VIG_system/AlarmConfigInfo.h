#pragma once

#include <QMetaType>

namespace VIG_SYSTEM_MODULE {

// Where new alarms' videos are shown; the number is the host's setting as stored.
enum AlarmVideoShowMode : int {
    AlarmVideosWithoutNotice = -1, // no new-alarm notice; alarms show in the tables only
    AlarmVideosInPopUps = 0,
    AlarmVideosInGrid = 1,
};

// The host's alarm display settings. Modules read the integers by position: keep their order.
struct AlarmConfigInfo
{
    int alarmVideoShowMode = 0;        // 1: 0 video pop-ups, 1 the grid of the monitor page, -1 no notice
    int maxVideoCheckDlgCount = 4;     // 2
    int alarmSoundMode = 1;            // 3: 0 silent
    int alarmSoundSeconds = 30;        // 4
    int nvrPlaybackSecondsBefore = 30; // 5
    int nvrPlaybackDuration = 60;      // 6
    bool showAlarmMap = true;
    // In the grid, a new alarm leaves the detail or record tab alone while the operator has worked there
    // within this many seconds; 0 always switches to the monitor tab.
    int monitorTabHoldSeconds = 30;
};

} // namespace VIG_SYSTEM_MODULE

Q_DECLARE_METATYPE(VIG_SYSTEM_MODULE::AlarmConfigInfo)
