#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace VIG_DATA_MODULE {

// A recording of an alarm kept in the cloud or on the storage of a device: six texts, then two integers.
struct VIG_IcloudAlarmRecordingInfo
{
    QString recordingName; // 1
    QString locator;       // 2: path of the recording at the cloud or device, "/"-separated
    QString startTime;     // 3: "yyyy-MM-dd hh:mm:ss"
    QString endTime;       // 4
    QString channelId;     // 5
    QString deviceAddr;    // 6: address of the device that stores it
    int storageRecording = 0; // non-zero: on the device's storage; zero: in the cloud
    int durationSeconds = 0;
};

typedef QVector<VIG_IcloudAlarmRecordingInfo> VIG_IcloudAlarmRecordingInfoVec;

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfo)
Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfoVec)
