#include "DeviceData.h"

#include "MainThread.h"
#include "Scenario.h"

template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::DeviceData>;

namespace VIG_DATA_MODULE {

DeviceData::DeviceData(QObject* parent) : QObject(parent)
{
    MainThread::adopt(this);
}

QVector<VIG_DeviceInfo> DeviceData::getStoreDevicesInfo(const QString& storeUid) const
{
    return Scenario::_instance().read([&](const ScenarioWorld& world) {
        QVector<VIG_DeviceInfo> devices;
        for (const VIG_DeviceInfo& device : world.devices) {
            if (device.storeUid == storeUid)
                devices.append(device);
        }
        return devices;
    });
}

} // namespace VIG_DATA_MODULE
