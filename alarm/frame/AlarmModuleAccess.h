#pragma once

#include "ZSingleton.h"

#include <QObject>

namespace VIG_ALARM_MOUDLE {

// What the host's other modules may ask the alarm module. Holds nothing; the business object answers.
class Q_DECL_EXPORT AlarmModuleAccess : public QObject, public ZCOMMON::ZSingleton<AlarmModuleAccess>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmModuleAccess>;

public:
    ~AlarmModuleAccess() override;

    int getStoreUnhandledAlarmsCount(const QString& storeUid);
    bool isStoreHasUnhandledAlarms(const QString& storeUid);
    // Answered later through the host's ModuleAccessSignals::signalLateMonthUnhandledAlarmsCount.
    void getLateMonthUnhandledAlarmsCount();
    // Answered later through the host's DataSignals collection signals.
    // The tag comes first and is handed back with the answer.
    void getAllStoresAlarmsCollection(const QString& tag, const QString& startTime, const QString& endTime);
    void getStoreDevicesAlarmsCollection(const QString& tag, const QString& storeUid,
                                         const QString& startTime, const QString& endTime);

private:
    explicit AlarmModuleAccess(QObject* parent);
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmModuleAccess>;
