#pragma once

#include "IAlarmEvent.h"

#include <QString>

#include <string>
#include <vector>

// The sites the server tests run on: stores S001 (probes P001 to P003 on devices D001 and D002), S002
// (probes P004 and P005 on device D003) and S003 (no probe); the handling user "Alice Operator".
class TestScenario
{
public:
    static const char* userName() { return "Alice Operator"; }
    static const char* userTelephone() { return "555-0100"; }

    // Writes the scenario into folder and returns its path.
    static QString write(const QString& folder);
};

// A period that holds every alarm the tests raise.
constexpr char farPast[] = "2000-01-01 00:00:00";
constexpr char farFuture[] = "2100-01-01 00:00:00";

inline std::vector<std::string> uidsOf(const std::vector<AlarmData>& alarms)
{
    std::vector<std::string> uids;
    for (const AlarmData& alarm : alarms)
        uids.push_back(alarm.alarmUid);
    return uids;
}
