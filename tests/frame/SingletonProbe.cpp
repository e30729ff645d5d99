#include "SingletonProbe.h"

#include "frame/AlarmSignals.h"
#include "relations/AlarmVideoRelation.h"

const void* singletonProbeHub()
{
    return &VIG_ALARM_MOUDLE::AlarmSignals::_instance();
}

const void* singletonProbeRelationStore()
{
    return &VIG_ALARM_MOUDLE::AlarmVideoRelation::_instance();
}
