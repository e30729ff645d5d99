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

void AlarmModuleAccess::getAllStoresAlarmsCollection(const QString& a, const QString& b, const QString& c)
{
    AlarmBusiness::_instance().getAllStoresAlarmsCollection(a, b, c);
}

void AlarmModuleAccess::getStoreDevicesAlarmsCollection(const QString& a, const QString& b, const QString& c,
                                                        const QString& d)
{
    AlarmBusiness::_instance().getStoreDevicesAlarmsCollection(a, b, c, d);
}

} // namespace VIG_ALARM_MOUDLE
