#pragma once

#include "frame/VIG_AlarmInfo.h"

#include <QObject>
#include <QString>

namespace VIG_ALARM_MOUDLE {

// What the operator chose for a handling: the note, the state it sets and whether the keeper is told.
struct HandlingAnswers
{
    QString note;
    int mode = 0;
    bool informKeeper = false;

    // A false alarm: the note the system writes for it.
    static HandlingAnswers falseAlarm()
    {
        HandlingAnswers answers;
        answers.note = QObject::tr("False alarm");
        answers.mode = AlarmMistaken;
        return answers;
    }
};

} // namespace VIG_ALARM_MOUDLE
