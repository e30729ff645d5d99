#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class AlarmPresence;
class QAction;
class QWidget;

namespace VIG_ALARM_MOUDLE {

// This program's operator as the alarm server sees them: whether they may handle alarms, and which alarms
// other operators have open in a handle or false-alarm question. The presence's signals come from the
// service's threads: connect them with a receiver that lives on the main thread.
class AlarmOperator
{
public:
    // DataCache's, unless another was set.
    static AlarmPresence* presence();
    // For a program (or a test) that keeps its own; before the module's views are built, which follow it.
    static void setPresence(AlarmPresence* presence);

    static bool mayHandle();
    static QString watchOnlyText();
    // Enabled when the rights allow and enabled says so; a control the rights hold back tells why.
    static void enableHandling(QWidget* control, bool enabled = true);
    static void enableHandling(QAction* action, bool enabled = true);

    // The other operators who have one of the alarms open (isMine picks them among the marks), by name.
    static QStringList takers(const std::function<bool(const QString& alarmUid)>& isMine);
    // "Chen Hao is handling"; empty without takers.
    static QString handlingText(const QStringList& takers);
};

} // namespace VIG_ALARM_MOUDLE
