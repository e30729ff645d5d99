#include "AlarmUid.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cstdio>

std::string AlarmUid::make()
{
    // Time first, so that new alarms land at the end of the uid index; 64 random bits keep it unique.
    char uid[40];
    std::snprintf(uid, sizeof uid, "%012llx-%016llx",
                  static_cast<unsigned long long>(QDateTime::currentMSecsSinceEpoch()),
                  static_cast<unsigned long long>(QRandomGenerator::global()->generate64()));
    return uid;
}
