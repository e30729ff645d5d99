#include "frame/AlarmSignals.h"

#include "frame/AlarmEventQueue.h"

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmSignals>;

namespace VIG_ALARM_MOUDLE {

AlarmSignals::AlarmSignals(QObject* parent) : QObject(parent), queue(new AlarmEventQueue(this))
{
    // Registered under the names the signatures use, so that queued deliveries can copy them.
    qRegisterMetaType<AlarmInfoVector>("AlarmInfoVector");
    qRegisterMetaType<VIG_AlarmInfo>("VIG_AlarmInfo");
    qRegisterMetaType<VIG_AlarmProcess>("VIG_AlarmProcess");
    qRegisterMetaType<AlarmProcessVector>("AlarmProcessVector");
    qRegisterMetaType<AlarmRelationType>("AlarmRelationType");
}

} // namespace VIG_ALARM_MOUDLE
