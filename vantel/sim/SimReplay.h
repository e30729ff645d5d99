#pragma once

#include "AlarmData.h"
#include "AlarmProcessData.h"

#include <QtGlobal>

#include <vector>

// One page of the pushes a client missed, read from the server's database in the order they were stored.
// A client catches up page by page, so that a long history never sits whole in memory.
struct SimReplay
{
    struct Push
    {
        qint64 seq = 0;
        bool handled = false;
        AlarmData alarm;         // the new alarm, or the alarm handled
        AlarmProcessData record; // a handling: the alarm's record with this handling alone
    };

    // Where the next page starts. A client without a number of this database first gets the alarms
    // unhandled at the snapshot, then every push after it.
    struct Position
    {
        qint64 since = -1; // the client's number; -1 for none
        bool started = false;
        bool unhandled = false; // still listing the unhandled alarms
        qint64 snapshot = 0;    // the last push stored when the listing began
        qint64 afterAlarm = 0;  // unhandled: the alarms' own order, after this one
        qint64 afterPush = 0;   // then: the pushes after this number
    };

    std::vector<Push> pushes;
    Position next;
    // No page follows: what the database held when this one was read is all here; later pushes go live.
    bool complete = false;
    // Complete: the number of the last push stored when the page was read.
    qint64 upTo = 0;
    // The first page: the client's number is not one of this database's, it starts afresh.
    bool reset = false;
};
