#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace VIG_ALARM_MOUDLE {

enum AlarmHandleMode {
    AlarmNew = 1,
    AlarmDealt = 2,
    AlarmMistaken = 3,
    AlarmFinished = 4,
};

// One alarm as the operator sees it.
struct VIG_AlarmInfo
{
    QString alarmUid;
    QString storeUid;
    QString deviceId;
    QString deviceName;
    QString typeKey;
    QString typeDescription;
    QString subTypeKey;
    QString subTypeDescription;
    QString probeId;
    QString alarmTime;
    QString describe;
    QString lastHandleNote;
    qint32 state = 0; // AlarmHandleMode; 0 means "not set" and is ignored everywhere
    qint32 channelIndex = 0;
};

inline bool isHandledState(int state)
{
    return state == AlarmDealt || state == AlarmMistaken || state == AlarmFinished;
}

typedef QVector<VIG_AlarmInfo> AlarmInfoVector;

} // namespace VIG_ALARM_MOUDLE

Q_DECLARE_METATYPE(VIG_ALARM_MOUDLE::VIG_AlarmInfo)
Q_DECLARE_METATYPE(VIG_ALARM_MOUDLE::AlarmInfoVector)
