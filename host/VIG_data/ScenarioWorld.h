#pragma once

#include "ScenarioSettings.h"
#include "VIG_ChannelInfo.h"
#include "VIG_DeviceInfo.h"
#include "VIG_IcloudAlarmRecordingInfo.h"
#include "VIG_ProbeInfo.h"
#include "VIG_StoreInfo.h"

#include <QHash>
#include <QStringList>
#include <QVector>

namespace VIG_DATA_MODULE {

// Everything a scenario describes. Lists keep the order of the file; the hashes index them by id.
struct ScenarioWorld
{
    ScenarioSettings settings;

    QVector<VIG_StoreInfo> stores;
    QHash<QString, int> storeIndex;

    QVector<VIG_DeviceInfo> devices;
    QHash<QString, int> deviceIndex;
    QHash<QString, QVector<VIG_ChannelInfo>> deviceChannels; // by deviceId, in channel order
    QHash<QString, VIG_ChannelInfo> channels;                // by channelId

    QVector<VIG_ProbeInfo> probes;
    QHash<QString, int> probeIndex;
    QHash<QString, QStringList> probeChannelIds; // related channels of a probe, by probeId

    QHash<QString, VIG_IcloudAlarmRecordingInfoVec> recordings; // by channelId

    // Adders keep the indexes right; a record with an id already present replaces the old one in place.
    void putStore(const VIG_StoreInfo& store);
    void putDevice(const VIG_DeviceInfo& device, const QVector<VIG_ChannelInfo>& deviceChannelList);
    void putProbe(const VIG_ProbeInfo& probe, const QStringList& relatedChannelIds);

    VIG_ChannelInfo channelAt(const QString& deviceId, int channelIndex) const;
};

} // namespace VIG_DATA_MODULE
