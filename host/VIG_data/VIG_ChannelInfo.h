#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

namespace VIG_DATA_MODULE {

// One video channel of a device.
struct VIG_ChannelInfo
{
    QString channelId; // first field: also the id used to switch the channel's alarm output
    QString channelName;
    QString deviceId;
    QString storeUid;
    int channelIndex = 0;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_ChannelInfo)
