#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_DATA_MODULE {

// A monitored store. The twelve texts come first, in this order; modules read some of them by position.
struct VIG_StoreInfo
{
    QString storeUid;       // 1
    QString storeName;      // 2
    QString storeNo;        // 3: the centre's own short number of the store
    QString city;           // 4
    QString address;        // 5
    QString keeper;         // 6
    QString keeperTel;      // 7
    QString owner;          // 8
    QString ownerTel;       // 9
    QString responsible;    // 10
    QString responsibleTel; // 11
    QString payState;       // 12
    QString principal;
    QString principalTel;
    int alarmOutLinkMode = 0; // 0 none, 1 the probe's related channels, 2 all devices of the store
    int armingState = 0;      // 1 armed
    double longitude = 0.0;
    double latitude = 0.0;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_StoreInfo)
