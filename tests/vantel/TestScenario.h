#pragma once

#include <QString>

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
