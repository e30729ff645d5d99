#pragma once

#include "VIG_ChannelInfo.h"
#include "VIG_DeviceInfo.h"
#include "VIG_IcloudAlarmRecordingInfo.h"
#include "VIG_ProbeInfo.h"
#include "VIG_StoreInfo.h"

#include "ZSingleton.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <mutex>

namespace VIG_DATA_MODULE {

enum AlarmDeployType : int {
    AlarmDeployWholeStore = 0,
    AlarmDeployPartial = 1,
};

// The host's cache of stores, devices, probes and channels. Getters are safe from any thread and answer a
// default record for an unknown id.
class BasicData : public QObject, public ZCOMMON::ZSingleton<BasicData>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<BasicData>;

public:
    VIG_StoreInfo getStoreInfo(const QString& storeUid) const;
    VIG_ProbeInfo getProbeInfo(const QString& probeId) const;
    VIG_DeviceInfo getDeviceInfo(const QString& deviceId) const;
    // In the order the probe lists them; a probe that lists none relates to its own channel.
    QVector<VIG_ChannelInfo> getProbeRelatedChannels(const QString& probeId) const;
    QVector<VIG_ChannelInfo> getDeviceChannels(const QString& deviceId) const;

    // Disarms the store (arming state 0) and reports it through DataSignals::signalStoreArmingStateChanged.
    // An unknown store changes nothing.
    void closeProtection(const QString& storeUid, const QString& requesterUuid, AlarmDeployType deployType);

    // Answers later, on the main thread, through DataSignals::signalGetIcloudAlarmRecordingsInfo with the
    // recordings of the alarm's channel. The channel is known only for alarms announced through
    // rememberAlarmChannel(); any other alarm gets an empty answer.
    void getAlarmRemoteRecordingsInfo(const QString& requesterUuid, const QString& alarmUid);
    // Whoever delivers alarms (the alarm server, a test) tells the cache where each alarm was raised.
    void rememberAlarmChannel(const QString& alarmUid, const QString& deviceId, int channelIndex);
    VIG_IcloudAlarmRecordingInfoVec getAlarmRecordings(const QString& alarmUid) const;

    // Seams for tests and the console.
    bool loadScenario(const QString& path, QString* errorText = nullptr);
    void clearAll();
    void setStoreInfo(const VIG_StoreInfo& store); // adds, or replaces the store of the same id
    void setArmingState(const QString& storeUid, int armingState);
    void setAlarmOutLinkMode(const QString& storeUid, int alarmOutLinkMode);
    void setDeviceInfo(const VIG_DeviceInfo& device, const QVector<VIG_ChannelInfo>& channels);
    void setProbeInfo(const VIG_ProbeInfo& probe, const QStringList& relatedChannelIds);
    void setChannelRecordings(const QString& channelId, const VIG_IcloudAlarmRecordingInfoVec& recordings);

private:
    explicit BasicData(QObject* parent);

    struct AlarmChannel
    {
        QString deviceId;
        int channelIndex = 0;
    };

    mutable std::mutex alarmChannelsLock;
    QHash<QString, AlarmChannel> alarmChannels;
};

} // namespace VIG_DATA_MODULE

Q_DECLARE_METATYPE(VIG_DATA_MODULE::AlarmDeployType)

extern template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::BasicData>;
