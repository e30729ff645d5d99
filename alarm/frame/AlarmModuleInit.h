#pragma once

#include "ModuleInitialization.h"
#include "ZSingleton.h"

class QWidget;

namespace VIG_ALARM_MOUDLE {

class VideoAlarmForm;

// The module's entry object: the host calls moduleInit() once and places getVideoAlarmForm() in its window.
class Q_DECL_EXPORT AlarmModuleInit : public VIG_BASE_MODULE::ModuleInitialization,
                                      public ZCOMMON::ZSingleton<AlarmModuleInit>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmModuleInit>;

public:
    ~AlarmModuleInit() override;

    void recoveryToInitialState() override;
    void moduleInit() override;
    // Null before moduleInit(); the form belongs to the host afterwards.
    QWidget* getVideoAlarmForm();

protected:
    void init() override;

private:
    explicit AlarmModuleInit(QObject* parent);

    VideoAlarmForm* videoAlarmForm = nullptr;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmModuleInit>;
