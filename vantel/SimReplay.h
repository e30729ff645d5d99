#pragma once

#include "AlarmData.h"
#include "AlarmProcessData.h"

#include <QtGlobal>

#include <vector>

// The pushes a client missed, read from the server's database in the order they were stored.
struct SimReplay
{
    struct Push
    {
        qint64 seq = 0;
        bool handled = false;
        AlarmData alarm;         // the new alarm, or the alarm handled
        AlarmProcessData record; // a handling: the alarm's record with this handling alone
    };

    std::vector<Push> pushes;
    // The number of the last push stored when the replay was read; later ones go out live.
    qint64 upTo = 0;
    // The client's number is not one of this database's: it starts afresh from the unhandled alarms.
    bool reset = false;
};
