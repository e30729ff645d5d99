#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_DATA_MODULE {

// A recorder or a camera of a store.
struct VIG_DeviceInfo
{
    QString deviceId;
    QString deviceName;
    QString storeUid;
    QString deviceType; // "nvr" for a recorder, "ipc" for a camera
    QString address;    // network address of the device
    int channelCount = 0;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_DeviceInfo)
