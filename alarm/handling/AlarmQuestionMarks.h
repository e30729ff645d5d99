#pragma once

#include <QStringList>

namespace VIG_ALARM_MOUDLE {

// The marks of one handle or false-alarm question: while it is open the other operators see that this
// operator has its alarms. Released when the question ends without a handling (and when the object goes);
// a handling sent ends them on the server by itself.
class AlarmQuestionMarks
{
public:
    AlarmQuestionMarks() = default;
    AlarmQuestionMarks(const AlarmQuestionMarks&) = delete;
    AlarmQuestionMarks& operator=(const AlarmQuestionMarks&) = delete;
    ~AlarmQuestionMarks();

    // Asks first when another operator has one of the alarms; false when the operator declines, and then
    // nothing is taken.
    bool take(const QStringList& alarmUids);
    // A handling of these went out; the other alarms taken are released.
    void sent(const QStringList& alarmUids);
    void release();

private:
    QStringList taken;
};

} // namespace VIG_ALARM_MOUDLE
