#pragma once

#include "VIG_DeviceAlarmsCollection.h"
#include "VIG_IcloudAlarmRecordingInfo.h"
#include "VIG_StoreAlarmsCollection.h"

#include "ZSingleton.h"

#include <QObject>

namespace VIG_DATA_MODULE {

// Signals of the data library. It lives on the main thread whoever touches it first, so answers posted to
// it arrive there.
class DataSignals : public QObject, public ZCOMMON::ZSingleton<DataSignals>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<DataSignals>;

signals:
    void signalGetIcloudAlarmRecordingsInfo(const QString& requesterUuid,
                                            const VIG_IcloudAlarmRecordingInfoVec& recordingsInfo);
    void signalAllStoresAlarmsCollection(const QString& tag,
                                         const QVector<VIG_StoreAlarmsCollection>& storesAlarms, int result,
                                         const QString& errorMsg);
    void signalStoreDevicesAlarmsCollection(const QString& tag,
                                            const QVector<VIG_DeviceAlarmsCollection>& devicesAlarms,
                                            int result, const QString& errorMsg);
    // Changes made through BasicData's setters and closeProtection.
    void signalStoreArmingStateChanged(const QString& storeUid, int armingState);
    void signalStoreInfoChanged(const QString& storeUid);

private:
    explicit DataSignals(QObject* parent);
};

} // namespace VIG_DATA_MODULE

extern template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::DataSignals>;
