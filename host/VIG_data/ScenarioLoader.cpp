#include "ScenarioLoader.h"

#include "ScenarioReader.h"
#include "ScenarioWorld.h"

#include <QJsonArray>
#include <QJsonObject>

namespace VIG_DATA_MODULE {

namespace {

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

int integer(const QJsonObject& object, const char* key, int fallback)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isDouble() ? value.toInt(fallback) : fallback;
}

double number(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toDouble(0.0);
}

QJsonArray array(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toArray();
}

} // namespace

bool ScenarioLoader::loadFile(const QString& path, ScenarioWorld* world, QString* errorText)
{
    *world = ScenarioWorld();
    QJsonObject root;
    if (!ScenarioReader::readFile(path, &root, errorText))
        return false;
    fill(root, world);
    return true;
}

bool ScenarioLoader::parse(const QByteArray& json, ScenarioWorld* world, QString* problem)
{
    QJsonObject root;
    if (!ScenarioReader::read(json, &root, problem))
        return false;
    fill(root, world);
    return true;
}

void ScenarioLoader::fill(const QJsonObject& root, ScenarioWorld* world)
{
    readSettings(root, world);
    readStores(root, world);
    readDevices(root, world);
    readProbes(root, world);
    readRecordings(root, world);
}

void ScenarioLoader::readSettings(const QJsonObject& root, ScenarioWorld* world)
{
    ScenarioSettings& settings = world->settings;
    if (root.value(QLatin1String("storeWord")).isString())
        settings.storeWord = text(root, "storeWord");
    settings.applicationStatus = integer(root, "applicationStatus", settings.applicationStatus);

    const QJsonObject user = root.value(QLatin1String("user")).toObject();
    settings.userName = text(user, "name");
    settings.userTelephone = text(user, "telephone");
    for (const QJsonValue& permission : array(user, "permissions")) {
        if (permission.isString() && !settings.permissions.contains(permission.toString()))
            settings.permissions.append(permission.toString());
    }

    const QJsonObject alarm = root.value(QLatin1String("alarmConfig")).toObject();
    settings.alarmVideoShowMode = integer(alarm, "alarmVideoShowMode", settings.alarmVideoShowMode);
    settings.maxVideoCheckDlgCount = integer(alarm, "maxVideoCheckDlgCount", settings.maxVideoCheckDlgCount);
    settings.alarmSoundMode = integer(alarm, "alarmSoundMode", settings.alarmSoundMode);
    settings.alarmSoundSeconds = integer(alarm, "alarmSoundSeconds", settings.alarmSoundSeconds);
    settings.nvrPlaybackSecondsBefore =
        integer(alarm, "nvrPlaybackSecondsBefore", settings.nvrPlaybackSecondsBefore);
    settings.nvrPlaybackDuration = integer(alarm, "nvrPlaybackDuration", settings.nvrPlaybackDuration);
    settings.showAlarmMap = alarm.value(QLatin1String("showAlarmMap")).toBool(settings.showAlarmMap);
    settings.monitorTabHoldSeconds = integer(alarm, "monitorTabHoldSeconds", settings.monitorTabHoldSeconds);

    const QJsonObject stream = root.value(QLatin1String("videoStream")).toObject();
    settings.defaultStreamKind = integer(stream, "defaultStreamKind", settings.defaultStreamKind);
}

void ScenarioLoader::readStores(const QJsonObject& root, ScenarioWorld* world)
{
    for (const QJsonValue& value : array(root, "stores")) {
        const QJsonObject object = value.toObject();
        VIG_StoreInfo store;
        store.storeUid = text(object, "storeUid");
        if (store.storeUid.isEmpty())
            continue;
        store.storeName = text(object, "storeName");
        store.storeNo = text(object, "storeNo");
        store.city = text(object, "city");
        store.address = text(object, "address");
        store.keeper = text(object, "keeper");
        store.keeperTel = text(object, "keeperTel");
        store.owner = text(object, "owner");
        store.ownerTel = text(object, "ownerTel");
        store.responsible = text(object, "responsible");
        store.responsibleTel = text(object, "responsibleTel");
        store.payState = text(object, "payState");
        store.principal = text(object, "principal");
        store.principalTel = text(object, "principalTel");
        store.alarmOutLinkMode = integer(object, "alarmOutLinkMode", 0);
        store.armingState = integer(object, "armingState", 0);
        store.longitude = number(object, "longitude");
        store.latitude = number(object, "latitude");
        world->putStore(store);
    }
}

void ScenarioLoader::readDevices(const QJsonObject& root, ScenarioWorld* world)
{
    for (const QJsonValue& value : array(root, "devices")) {
        const QJsonObject object = value.toObject();
        VIG_DeviceInfo device;
        device.deviceId = text(object, "deviceId");
        if (device.deviceId.isEmpty())
            continue;
        device.deviceName = text(object, "deviceName");
        device.storeUid = text(object, "storeUid");
        device.deviceType = text(object, "deviceType");
        device.address = text(object, "address");

        QVector<VIG_ChannelInfo> channels;
        for (const QJsonValue& channelValue : array(object, "channels")) {
            const QJsonObject channelObject = channelValue.toObject();
            VIG_ChannelInfo channel;
            channel.channelIndex = integer(channelObject, "channelIndex", channels.size() + 1);
            channel.channelId = text(channelObject, "channelId");
            if (channel.channelId.isEmpty())
                channel.channelId =
                    device.deviceId + QLatin1String("-CH") + QString::number(channel.channelIndex);
            channel.channelName = text(channelObject, "channelName");
            channels.append(channel);
        }
        world->putDevice(device, channels);
    }
}

void ScenarioLoader::readProbes(const QJsonObject& root, ScenarioWorld* world)
{
    for (const QJsonValue& value : array(root, "probes")) {
        const QJsonObject object = value.toObject();
        VIG_ProbeInfo probe;
        probe.probeId = text(object, "probeId");
        if (probe.probeId.isEmpty())
            continue;
        probe.probeName = text(object, "probeName");
        probe.probeDescription = text(object, "probeDescription");
        probe.storeUid = text(object, "storeUid");
        probe.deviceId = text(object, "deviceId");
        probe.channelIndex = integer(object, "channelIndex", 0);
        if (probe.storeUid.isEmpty() && world->deviceIndex.contains(probe.deviceId))
            probe.storeUid = world->devices.at(world->deviceIndex.value(probe.deviceId)).storeUid;

        QStringList channelIds;
        for (const QJsonValue& channelId : array(object, "channels")) {
            if (channelId.isString() && !channelId.toString().isEmpty())
                channelIds.append(channelId.toString());
        }
        world->putProbe(probe, channelIds);
    }
}

void ScenarioLoader::readRecordings(const QJsonObject& root, ScenarioWorld* world)
{
    for (const QJsonValue& value : array(root, "recordings")) {
        const QJsonObject object = value.toObject();
        VIG_IcloudAlarmRecordingInfo recording;
        recording.channelId = text(object, "channelId");
        if (recording.channelId.isEmpty())
            continue;
        recording.recordingName = text(object, "recordingName");
        recording.locator = text(object, "locator");
        recording.startTime = text(object, "startTime");
        recording.endTime = text(object, "endTime");
        recording.deviceAddr = text(object, "deviceAddr");
        if (recording.deviceAddr.isEmpty()) {
            const QString deviceId = world->channels.value(recording.channelId).deviceId;
            if (world->deviceIndex.contains(deviceId))
                recording.deviceAddr = world->devices.at(world->deviceIndex.value(deviceId)).address;
        }
        recording.storageRecording = integer(object, "storageRecording", 0);
        recording.durationSeconds = integer(object, "durationSeconds", 0);
        world->recordings[recording.channelId].append(recording);
    }
}

} // namespace VIG_DATA_MODULE
