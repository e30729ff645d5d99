#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_ALARM_MOUDLE {

enum AlarmRelationType {
    LiveVideoRelation = 1,
    StorageRecordingRelation = 2,
    IcloudRecordingRelation = 3,
    LocalRecordingRelation = 4,
    CaptureRelation = 5,
    LiveImageRelation = 6,
    NvrRecordingRelation = 7,
};

// One file or stream related to an alarm.
struct VIG_AlarmRelation
{
    QString alarmUid;
    QString filePath;
    QString fileName;
    qint32 type = 0; // AlarmRelationType
};

} // namespace VIG_ALARM_MOUDLE

Q_DECLARE_METATYPE(VIG_ALARM_MOUDLE::AlarmRelationType)
