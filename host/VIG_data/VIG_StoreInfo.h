#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_DATA_MODULE {

// Which alarm outputs are switched off when an alarm of the store is handled.
enum AlarmOutLinkMode : int {
    AlarmOutLinkNone = 0,
    AlarmOutLinkProbeChannels = 1, // the probe's related channels
    AlarmOutLinkStoreDevices = 2,  // every device of the store
};

enum StoreArmingState : int {
    StoreDisarmed = 0,
    StoreArmed = 1,
};

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
    int alarmOutLinkMode = 0; // AlarmOutLinkMode
    int armingState = 0;      // StoreArmed when armed
    double longitude = 0.0;
    double latitude = 0.0;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_StoreInfo)
