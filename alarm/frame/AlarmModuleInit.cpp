#include "frame/AlarmModuleInit.h"

#include "frame/AlarmSignals.h"
#include "frame/VideoAlarmForm.h"
#include "relations/AlarmVideoRelation.h"
#include "service/AlarmBusiness.h"

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmModuleInit>;

namespace VIG_ALARM_MOUDLE {

AlarmModuleInit::AlarmModuleInit(QObject* parent) : VIG_BASE_MODULE::ModuleInitialization(parent) {}

// The main form is the host's: it is not deleted here.
AlarmModuleInit::~AlarmModuleInit() = default;

void AlarmModuleInit::moduleInit()
{
    AlarmBusiness::_instance();
    AlarmSignals::_instance();
    AlarmVideoRelation::_instance();
    // The source texts are terse keys; an operator reads them through a translation, English included.
    if (!loadTranslator(QStringLiteral(":/ts/VIG_alarm_%1.qm").arg(language())))
        loadTranslator(QStringLiteral(":/ts/VIG_alarm_en.qm"));
    loadStyleSheet(":/style/VIG_alarm_style.qss");
    if (!videoAlarmForm)
        videoAlarmForm = new VideoAlarmForm(nullptr); // the host's from now on
}

void AlarmModuleInit::init() {}

void AlarmModuleInit::recoveryToInitialState() {}

QWidget* AlarmModuleInit::getVideoAlarmForm()
{
    return videoAlarmForm;
}

} // namespace VIG_ALARM_MOUDLE
