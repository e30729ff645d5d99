#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace VIG_DATA_MODULE {

struct VIG_ItemAlarmsCount
{
    QString itemId;
    int count = 0;
};

// Alarm counts of one device by kind (kind 1, 2, 4, 3 in this order), and per item of the device.
struct VIG_DeviceAlarmsCollection
{
    QString deviceId;
    int newAlarmCount = 0;      // kind 1
    int dealtAlarmCount = 0;    // kind 2
    int finishedAlarmCount = 0; // kind 4
    int mistakenAlarmCount = 0; // kind 3
    QVector<VIG_ItemAlarmsCount> items;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_DeviceAlarmsCollection)
Q_DECLARE_METATYPE(QVector<VIG_DATA_MODULE::VIG_DeviceAlarmsCollection>)
