#pragma once

#include "VIG_DeviceInfo.h"

#include "ZSingleton.h"

#include <QObject>
#include <QVector>

namespace VIG_DATA_MODULE {

class DeviceData : public QObject, public ZCOMMON::ZSingleton<DeviceData>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<DeviceData>;

public:
    // The store's recorders and cameras, in the scenario's order.
    QVector<VIG_DeviceInfo> getStoreDevicesInfo(const QString& storeUid) const;

private:
    explicit DeviceData(QObject* parent);
};

} // namespace VIG_DATA_MODULE

extern template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::DeviceData>;
