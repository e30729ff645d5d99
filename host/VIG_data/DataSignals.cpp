#include "DataSignals.h"

#include "MainThread.h"

template class ZCOMMON::ZSingleton<VIG_DATA_MODULE::DataSignals>;

namespace VIG_DATA_MODULE {

DataSignals::DataSignals(QObject* parent) : QObject(parent)
{
    MainThread::adopt(this);
    // Registered under the names the signatures use too, so that queued deliveries can copy them.
    qRegisterMetaType<VIG_IcloudAlarmRecordingInfo>();
    qRegisterMetaType<VIG_IcloudAlarmRecordingInfo>("VIG_IcloudAlarmRecordingInfo");
    qRegisterMetaType<VIG_IcloudAlarmRecordingInfoVec>();
    qRegisterMetaType<VIG_IcloudAlarmRecordingInfoVec>("VIG_IcloudAlarmRecordingInfoVec");
    qRegisterMetaType<VIG_StoreAlarmsCollection>();
    qRegisterMetaType<VIG_StoreAlarmsCollection>("VIG_StoreAlarmsCollection");
    qRegisterMetaType<QVector<VIG_StoreAlarmsCollection>>();
    qRegisterMetaType<QVector<VIG_StoreAlarmsCollection>>("QVector<VIG_StoreAlarmsCollection>");
    qRegisterMetaType<VIG_DeviceAlarmsCollection>();
    qRegisterMetaType<VIG_DeviceAlarmsCollection>("VIG_DeviceAlarmsCollection");
    qRegisterMetaType<QVector<VIG_DeviceAlarmsCollection>>();
    qRegisterMetaType<QVector<VIG_DeviceAlarmsCollection>>("QVector<VIG_DeviceAlarmsCollection>");
}

} // namespace VIG_DATA_MODULE
