#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QStringList>

namespace VIG_CONTACT_MODULE {

enum ModuleFormType : int {
    AlarmModuleForm = 0, // the alarm module's own form
    VideoViewForm = 1,   // the host's video view
};

// Requests and reports between host modules. Emitted from any thread; it lives on the main thread.
class ModuleAccessSignals : public QObject, public ZCOMMON::ZSingleton<ModuleAccessSignals>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<ModuleAccessSignals>;

signals:
    // Reports of the alarm module.
    void signalStoreUnhandledAlarmsCount(const QString& storeUid, int count);
    void signalChannelUnhandledAlarmsCount(const QString& deviceId, int channelIndex, int count);
    void signalLateMonthUnhandledAlarmsCount(int count, int result, const QString& errorMsg);
    void signalCloseAlarmOut(const QStringList& deviceIds);
    void signalConnectStoreVideosInVideoView(const QString& storeUid);
    void signalSetCurrentModuleForm(ModuleFormType formType);

    // Requests of the host to the alarm module.
    void signalCheckLateMonthUnhandledAlarms();
    void signalGetAllStoresUnhandledAlarmsCount();
    void signalGetChannelUnhandledAlarmsCount(const QString& deviceId, int channelIndex);

private:
    explicit ModuleAccessSignals(QObject* parent);
};

} // namespace VIG_CONTACT_MODULE

Q_DECLARE_METATYPE(VIG_CONTACT_MODULE::ModuleFormType)

extern template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::ModuleAccessSignals>;
