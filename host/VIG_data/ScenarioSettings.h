#pragma once

#include <QString>
#include <QStringList>

namespace VIG_DATA_MODULE {

// The configuration part of a scenario. It lives here, beside the stores, so that one file and one lock
// describe the whole world; the system library turns it into its own records.
struct ScenarioSettings
{
    QString storeWord = QStringLiteral("Store");
    int applicationStatus = 5;
    QString userName;
    QString userTelephone;
    QStringList permissions;

    int alarmVideoShowMode = 0;
    int maxVideoCheckDlgCount = 4;
    int alarmSoundMode = 1; // 0 silent
    int alarmSoundSeconds = 30;
    int nvrPlaybackSecondsBefore = 30;
    int nvrPlaybackDuration = 60;
    bool showAlarmMap = true;
    int monitorTabHoldSeconds = 30;

    int defaultStreamKind = 1;
};

} // namespace VIG_DATA_MODULE
