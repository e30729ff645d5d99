#pragma once

#include <string>

// New alarm uids, made where an alarm is raised: in the simulated server, or by a client asking a remote
// one to raise it, so that the client knows the uid before the server answers.
class AlarmUid
{
public:
    static std::string make();
};
