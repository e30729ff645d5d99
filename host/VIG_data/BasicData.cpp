#include "BasicData.h"

#include "DataSignals.h"
#include "MainThread.h"
#include "Scenario.h"

template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::BasicData>;

namespace VIG_DATA_MODULE {

BasicData::BasicData(QObject* parent) : QObject(parent)
{
    MainThread::adopt(this);
    qRegisterMetaType<AlarmDeployType>();
    qRegisterMetaType<AlarmDeployType>("AlarmDeployType");
    qRegisterMetaType<VIG_StoreInfo>();
    qRegisterMetaType<VIG_StoreInfo>("VIG_StoreInfo");
    qRegisterMetaType<VIG_ProbeInfo>();
    qRegisterMetaType<VIG_ProbeInfo>("VIG_ProbeInfo");
    qRegisterMetaType<VIG_DeviceInfo>();
    qRegisterMetaType<VIG_DeviceInfo>("VIG_DeviceInfo");
    qRegisterMetaType<VIG_ChannelInfo>();
    qRegisterMetaType<VIG_ChannelInfo>("VIG_ChannelInfo");
}

VIG_StoreInfo BasicData::getStoreInfo(const QString& storeUid) const
{
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        const auto it = world.storeIndex.constFind(storeUid);
        return it == world.storeIndex.constEnd() ? VIG_StoreInfo() : world.stores.at(*it);
    });
}

VIG_ProbeInfo BasicData::getProbeInfo(const QString& probeId) const
{
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        const auto it = world.probeIndex.constFind(probeId);
        return it == world.probeIndex.constEnd() ? VIG_ProbeInfo() : world.probes.at(*it);
    });
}

VIG_DeviceInfo BasicData::getDeviceInfo(const QString& deviceId) const
{
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        const auto it = world.deviceIndex.constFind(deviceId);
        return it == world.deviceIndex.constEnd() ? VIG_DeviceInfo() : world.devices.at(*it);
    });
}

QVector<VIG_ChannelInfo> BasicData::getProbeRelatedChannels(const QString& probeId) const
{
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        QVector<VIG_ChannelInfo> related;
        const auto probe = world.probeIndex.constFind(probeId);
        if (probe == world.probeIndex.constEnd())
            return related;
        const QStringList channelIds = world.probeChannelIds.value(probeId);
        if (channelIds.isEmpty()) {
            const VIG_ProbeInfo& info = world.probes.at(*probe);
            const VIG_ChannelInfo own = world.channelAt(info.deviceId, info.channelIndex);
            if (!own.channelId.isEmpty())
                related.append(own);
            return related;
        }
        for (const QString& channelId : channelIds) {
            const auto channel = world.channels.constFind(channelId);
            if (channel != world.channels.constEnd())
                related.append(*channel);
        }
        return related;
    });
}

QVector<VIG_ChannelInfo> BasicData::getDeviceChannels(const QString& deviceId) const
{
    return Scenario::_instance().read(
        [&](const ScenarioWorld& world) { return world.deviceChannels.value(deviceId); });
}

void BasicData::closeProtection(const QString& storeUid, const QString& requesterUuid,
                                AlarmDeployType deployType)
{
    Q_UNUSED(requesterUuid)
    Q_UNUSED(deployType)
    setArmingState(storeUid, 0);
}

void BasicData::getAlarmRemoteRecordingsInfo(const QString& requesterUuid, const QString& alarmUid)
{
    const VIG_IcloudAlarmRecordingInfoVec recordings = getAlarmRecordings(alarmUid);
    DataSignals* signalsHub = &DataSignals::_instance();
    // Posted, never direct: callers set up their state for the answer after asking.
    QMetaObject::invokeMethod(
        signalsHub,
        [signalsHub, requesterUuid, recordings]() {
            emit signalsHub->signalGetIcloudAlarmRecordingsInfo(requesterUuid, recordings);
        },
        Qt::QueuedConnection);
}

void BasicData::rememberAlarmChannel(const QString& alarmUid, const QString& deviceId, int channelIndex)
{
    std::lock_guard<std::mutex> guard(alarmChannelsLock);
    alarmChannels.insert(alarmUid, AlarmChannel{deviceId, channelIndex});
}

VIG_IcloudAlarmRecordingInfoVec BasicData::getAlarmRecordings(const QString& alarmUid) const
{
    AlarmChannel where;
    {
        std::lock_guard<std::mutex> guard(alarmChannelsLock);
        const auto it = alarmChannels.constFind(alarmUid);
        if (it == alarmChannels.constEnd())
            return VIG_IcloudAlarmRecordingInfoVec();
        where = *it;
    }
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        const VIG_ChannelInfo channel = world.channelAt(where.deviceId, where.channelIndex);
        return world.recordings.value(channel.channelId);
    });
}

bool BasicData::loadScenario(const QString& path, QString* errorText)
{
    return Scenario::_instance().load(path, errorText);
}

void BasicData::clearAll()
{
    Scenario::_instance().clear();
    std::lock_guard<std::mutex> guard(alarmChannelsLock);
    alarmChannels.clear();
}

void BasicData::setStoreInfo(const VIG_StoreInfo& store)
{
    if (store.storeUid.isEmpty())
        return;
    Scenario::_instance().write([&](ScenarioWorld& world) { world.putStore(store); });
    emit DataSignals::_instance().signalStoreInfoChanged(store.storeUid);
}

void BasicData::setArmingState(const QString& storeUid, int armingState)
{
    const bool known = Scenario::_instance().write([&](ScenarioWorld& world) {
        const auto it = world.storeIndex.constFind(storeUid);
        if (it == world.storeIndex.constEnd())
            return false;
        world.stores[*it].armingState = armingState;
        return true;
    });
    if (!known)
        return;
    emit DataSignals::_instance().signalStoreArmingStateChanged(storeUid, armingState);
    emit DataSignals::_instance().signalStoreInfoChanged(storeUid);
}

void BasicData::setAlarmOutLinkMode(const QString& storeUid, int alarmOutLinkMode)
{
    const bool known = Scenario::_instance().write([&](ScenarioWorld& world) {
        const auto it = world.storeIndex.constFind(storeUid);
        if (it == world.storeIndex.constEnd())
            return false;
        world.stores[*it].alarmOutLinkMode = alarmOutLinkMode;
        return true;
    });
    if (known)
        emit DataSignals::_instance().signalStoreInfoChanged(storeUid);
}

void BasicData::setDeviceInfo(const VIG_DeviceInfo& device, const QVector<VIG_ChannelInfo>& channels)
{
    if (device.deviceId.isEmpty())
        return;
    Scenario::_instance().write([&](ScenarioWorld& world) { world.putDevice(device, channels); });
}

void BasicData::setProbeInfo(const VIG_ProbeInfo& probe, const QStringList& relatedChannelIds)
{
    if (probe.probeId.isEmpty())
        return;
    Scenario::_instance().write([&](ScenarioWorld& world) { world.putProbe(probe, relatedChannelIds); });
}

void BasicData::setChannelRecordings(const QString& channelId,
                                     const VIG_IcloudAlarmRecordingInfoVec& recordings)
{
    Scenario::_instance().write([&](ScenarioWorld& world) {
        if (recordings.isEmpty())
            world.recordings.remove(channelId);
        else
            world.recordings.insert(channelId, recordings);
    });
}

} // namespace VIG_DATA_MODULE
