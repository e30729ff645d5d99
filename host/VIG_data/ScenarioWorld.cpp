#include "ScenarioWorld.h"

namespace VIG_DATA_MODULE {

void ScenarioWorld::putStore(const VIG_StoreInfo& store)
{
    const auto it = storeIndex.constFind(store.storeUid);
    if (it != storeIndex.constEnd()) {
        stores[*it] = store;
        return;
    }
    storeIndex.insert(store.storeUid, stores.size());
    stores.append(store);
}

void ScenarioWorld::putDevice(const VIG_DeviceInfo& device, const QVector<VIG_ChannelInfo>& deviceChannelList)
{
    VIG_DeviceInfo record = device;
    record.channelCount = deviceChannelList.size();
    const auto it = deviceIndex.constFind(device.deviceId);
    if (it != deviceIndex.constEnd()) {
        devices[*it] = record;
    } else {
        deviceIndex.insert(device.deviceId, devices.size());
        devices.append(record);
    }

    for (const VIG_ChannelInfo& old : deviceChannels.value(device.deviceId))
        channels.remove(old.channelId);
    QVector<VIG_ChannelInfo> owned;
    owned.reserve(deviceChannelList.size());
    for (VIG_ChannelInfo channel : deviceChannelList) {
        // A channel belongs to its device and to the device's store whatever its record said.
        channel.deviceId = device.deviceId;
        channel.storeUid = device.storeUid;
        channels.insert(channel.channelId, channel);
        owned.append(channel);
    }
    deviceChannels.insert(device.deviceId, owned);
}

void ScenarioWorld::putProbe(const VIG_ProbeInfo& probe, const QStringList& relatedChannelIds)
{
    const auto it = probeIndex.constFind(probe.probeId);
    if (it != probeIndex.constEnd()) {
        probes[*it] = probe;
    } else {
        probeIndex.insert(probe.probeId, probes.size());
        probes.append(probe);
    }
    probeChannelIds.insert(probe.probeId, relatedChannelIds);
}

VIG_ChannelInfo ScenarioWorld::channelAt(const QString& deviceId, int channelIndex) const
{
    for (const VIG_ChannelInfo& channel : deviceChannels.value(deviceId)) {
        if (channel.channelIndex == channelIndex)
            return channel;
    }
    return VIG_ChannelInfo();
}

} // namespace VIG_DATA_MODULE
