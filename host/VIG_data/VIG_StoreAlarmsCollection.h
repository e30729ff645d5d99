#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace VIG_DATA_MODULE {

// Alarm counts of one store by kind (kind 1, 2, 4, 3 in this order).
struct VIG_StoreAlarmsCollection
{
    QString storeUid;
    int newAlarmCount = 0;      // kind 1
    int dealtAlarmCount = 0;    // kind 2
    int finishedAlarmCount = 0; // kind 4
    int mistakenAlarmCount = 0; // kind 3
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_StoreAlarmsCollection)
Q_DECLARE_METATYPE(QVector<VIG_DATA_MODULE::VIG_StoreAlarmsCollection>)
