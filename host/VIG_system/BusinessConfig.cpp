#include "BusinessConfig.h"

#include "MainThread.h"
#include "Scenario.h"
#include "SystemSignals.h"

template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::BusinessConfig>;

using VIG_DATA_MODULE::Scenario;
using VIG_DATA_MODULE::ScenarioSettings;
using VIG_DATA_MODULE::ScenarioWorld;

namespace VIG_SYSTEM_MODULE {

namespace {

template <typename F> void changeSettings(F&& change)
{
    Scenario::_instance().write([&](ScenarioWorld& world) { change(world.settings); });
    emit SystemSignals::_instance().signalAlarmConfigChanged();
}

} // namespace

BusinessConfig::BusinessConfig(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
    qRegisterMetaType<AlarmConfigInfo>();
    qRegisterMetaType<AlarmConfigInfo>("AlarmConfigInfo");
    qRegisterMetaType<SystemCustomizeInfo>();
    qRegisterMetaType<SystemCustomizeInfo>("SystemCustomizeInfo");
    qRegisterMetaType<VideoSteamConfigInfo>();
    qRegisterMetaType<VideoSteamConfigInfo>("VideoSteamConfigInfo");
}

AlarmConfigInfo BusinessConfig::getAlarmConfigInfoFromCache() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) {
        const ScenarioSettings& settings = world.settings;
        AlarmConfigInfo config;
        config.alarmVideoShowMode = settings.alarmVideoShowMode;
        config.maxVideoCheckDlgCount = settings.maxVideoCheckDlgCount;
        config.alarmSoundMode = settings.alarmSoundMode;
        config.alarmSoundSeconds = settings.alarmSoundSeconds;
        config.nvrPlaybackSecondsBefore = settings.nvrPlaybackSecondsBefore;
        config.nvrPlaybackDuration = settings.nvrPlaybackDuration;
        config.showAlarmMap = settings.showAlarmMap;
        config.monitorTabHoldSeconds = settings.monitorTabHoldSeconds;
        return config;
    });
}

SystemCustomizeInfo BusinessConfig::getSystemCustomizeInfoFromCache() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) {
        SystemCustomizeInfo info;
        info.storeWord = world.settings.storeWord;
        info.applicationTitle = QObject::tr("Alarm Monitoring Centre");
        return info;
    });
}

VideoSteamConfigInfo BusinessConfig::getVideoStreamConfigInfoFromCache() const
{
    return Scenario::_instance().read([](const ScenarioWorld& world) {
        VideoSteamConfigInfo info;
        info.defaultStreamingMediaFlag = world.settings.defaultStreamKind;
        return info;
    });
}

void BusinessConfig::setAlarmConfigInfo(const AlarmConfigInfo& config)
{
    changeSettings([&](ScenarioSettings& settings) {
        settings.alarmVideoShowMode = config.alarmVideoShowMode;
        settings.maxVideoCheckDlgCount = config.maxVideoCheckDlgCount;
        settings.alarmSoundMode = config.alarmSoundMode;
        settings.alarmSoundSeconds = config.alarmSoundSeconds;
        settings.nvrPlaybackSecondsBefore = config.nvrPlaybackSecondsBefore;
        settings.nvrPlaybackDuration = config.nvrPlaybackDuration;
        settings.showAlarmMap = config.showAlarmMap;
        settings.monitorTabHoldSeconds = config.monitorTabHoldSeconds;
    });
}

void BusinessConfig::setAlarmVideoShowMode(int mode)
{
    changeSettings([&](ScenarioSettings& settings) { settings.alarmVideoShowMode = mode; });
}

void BusinessConfig::setMaxVideoCheckDlgCount(int count)
{
    changeSettings([&](ScenarioSettings& settings) { settings.maxVideoCheckDlgCount = count; });
}

void BusinessConfig::setShowAlarmMap(bool show)
{
    changeSettings([&](ScenarioSettings& settings) { settings.showAlarmMap = show; });
}

void BusinessConfig::setNvrPlaybackPeriod(int secondsBefore, int durationSeconds)
{
    changeSettings([&](ScenarioSettings& settings) {
        settings.nvrPlaybackSecondsBefore = secondsBefore;
        settings.nvrPlaybackDuration = durationSeconds;
    });
}

void BusinessConfig::setStoreWord(const QString& word)
{
    changeSettings([&](ScenarioSettings& settings) { settings.storeWord = word; });
}

void BusinessConfig::setDefaultStreamKind(int streamKind)
{
    const bool changed = Scenario::_instance().write([&](ScenarioWorld& world) {
        if (world.settings.defaultStreamKind == streamKind)
            return false;
        world.settings.defaultStreamKind = streamKind;
        return true;
    });
    if (changed)
        emit SystemSignals::_instance().signalVideoViewStreamingMediaFlagChanged(streamKind);
}

} // namespace VIG_SYSTEM_MODULE
