#include "SimScenario.h"

#include "ScenarioReader.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

std::string utf8(const QJsonValue& value)
{
    return value.toString().toUtf8().toStdString();
}

} // namespace

SimScenario SimScenario::load(const QString& path, QString* error)
{
    SimScenario scenario;
    QJsonObject root;
    if (!ScenarioReader::readFile(path, &root, error))
        return scenario;

    const QJsonObject user = root.value(QStringLiteral("user")).toObject();
    scenario.user = utf8(user.value(QStringLiteral("name")));
    scenario.telephone = utf8(user.value(QStringLiteral("telephone")));

    for (const QJsonValue& value : root.value(QStringLiteral("stores")).toArray()) {
        const QJsonObject store = value.toObject();
        const QString storeUid = store.value(QStringLiteral("storeUid")).toString();
        if (storeUid.isEmpty())
            continue;
        scenario.stores.append(storeUid);
        scenario.storeNames.insert(storeUid, store.value(QStringLiteral("storeName")).toString());
    }

    struct Device
    {
        std::string name;
        std::string storeUid;
    };
    QHash<QString, Device> devices;
    for (const QJsonValue& value : root.value(QStringLiteral("devices")).toArray()) {
        const QJsonObject device = value.toObject();
        const QString deviceId = device.value(QStringLiteral("deviceId")).toString();
        if (!deviceId.isEmpty())
            devices.insert(deviceId, {utf8(device.value(QStringLiteral("deviceName"))),
                                      utf8(device.value(QStringLiteral("storeUid")))});
    }

    for (const QJsonValue& value : root.value(QStringLiteral("probes")).toArray()) {
        const QJsonObject object = value.toObject();
        Probe probe;
        probe.probeId = object.value(QStringLiteral("probeId")).toString();
        if (probe.probeId.isEmpty())
            continue;
        const QString deviceId = object.value(QStringLiteral("deviceId")).toString();
        const Device device = devices.value(deviceId);
        probe.probeName = utf8(object.value(QStringLiteral("probeName")));
        probe.storeUid = utf8(object.value(QStringLiteral("storeUid")));
        if (probe.storeUid.empty())
            probe.storeUid = device.storeUid;
        probe.deviceId = deviceId.toUtf8().toStdString();
        probe.deviceName = device.name;
        probe.channelIndex = object.value(QStringLiteral("channelIndex")).toInt();
        scenario.probeIndex.insert(probe.probeId, scenario.probeList.size());
        scenario.probeList.append(probe);
    }
    return scenario;
}

const SimScenario::Probe* SimScenario::probe(const QString& probeId) const
{
    const auto it = probeIndex.constFind(probeId);
    return it == probeIndex.constEnd() ? nullptr : &probeList.at(it.value());
}

QStringList SimScenario::probeIds() const
{
    QStringList ids;
    for (const Probe& probe : probeList)
        ids.append(probe.probeId);
    return ids;
}

std::string SimScenario::storeName(const std::string& storeUid) const
{
    return storeNames.value(QString::fromStdString(storeUid)).toUtf8().toStdString();
}
