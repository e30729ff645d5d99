#pragma once

#include "IAlarmEvent.h"

#include <QtGlobal>

// Implemented besides IAlarmEvent by a handler that passes pushes on and wants their numbers: the server
// numbers every push in the order it stored it, and tells the number just before the push.
class AlarmEventNumbers
{
public:
    virtual ~AlarmEventNumbers() = default;
    virtual void nextPushNumber(qint64 seq) = 0;

    // Tells the handler the number if it wants it.
    static void tell(IAlarmEvent* handler, qint64 seq)
    {
        if (auto* numbers = dynamic_cast<AlarmEventNumbers*>(handler))
            numbers->nextPushNumber(seq);
    }
};
