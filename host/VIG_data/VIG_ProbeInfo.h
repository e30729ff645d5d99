#pragma once

#include <QMetaType>
#include <QString>

namespace VIG_DATA_MODULE {

// A detector that raises alarms.
struct VIG_ProbeInfo
{
    QString probeId;
    QString probeName;
    QString probeDescription;
    QString storeUid;
    QString deviceId;
    int channelIndex = 0;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::VIG_ProbeInfo)
