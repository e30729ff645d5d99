#include "frame/AlarmLogging.h"

namespace VIG_ALARM_MOUDLE {

Q_LOGGING_CATEGORY(vigAlarmService, "vig.alarm.service")
Q_LOGGING_CATEGORY(vigAlarmRelations, "vig.alarm.relations")

} // namespace VIG_ALARM_MOUDLE
