#include "frame/AlarmModuleAccess.h"

#include "service/AlarmBusiness.h"

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmModuleAccess>;

namespace VIG_ALARM_MOUDLE {

AlarmModuleAccess::AlarmModuleAccess(QObject* parent) : QObject(parent) {}

AlarmModuleAccess::~AlarmModuleAccess() = default;

int AlarmModuleAccess::getStoreUnhandledAlarmsCount(const QString& storeUid)
{
    return AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(storeUid);
}

bool AlarmModuleAccess::isStoreHasUnhandledAlarms(const QString& storeUid)
{
    return AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(storeUid) != 0;
}

void AlarmModuleAccess::getLateMonthUnhandledAlarmsCount()
{
    AlarmBusiness::_instance().getLateMonthUnhandledAlarmsCount();
}

void AlarmModuleAccess::getAllStoresAlarmsCollection(const QString& tag, const QString& startTime,
                                                     const QString& endTime)
{
    AlarmBusiness::_instance().getAllStoresAlarmsCollection(tag, startTime, endTime);
}

void AlarmModuleAccess::getStoreDevicesAlarmsCollection(const QString& tag, const QString& storeUid,
                                                        const QString& startTime, const QString& endTime)
{
    AlarmBusiness::_instance().getStoreDevicesAlarmsCollection(tag, storeUid, startTime, endTime);
}

} // namespace VIG_ALARM_MOUDLE
