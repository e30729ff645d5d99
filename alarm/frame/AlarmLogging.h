#pragma once

#include <QLoggingCategory>

// The module's log categories: a host routes or silences them with Qt's logging rules, for example
// QT_LOGGING_RULES="vig.alarm.*=false".
namespace VIG_ALARM_MOUDLE {

Q_DECLARE_LOGGING_CATEGORY(vigAlarmService)   // "vig.alarm.service"
Q_DECLARE_LOGGING_CATEGORY(vigAlarmRelations) // "vig.alarm.relations"

} // namespace VIG_ALARM_MOUDLE
