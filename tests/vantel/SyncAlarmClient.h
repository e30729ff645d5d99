#pragma once

#include "RecordingHandler.h"

#include <functional>
#include <string>
#include <vector>

class IAlarm;

// Sends one request through IAlarm and waits for its answer at the recording handler. An answer that does
// not come in time is given as the result NoAnswer.
class SyncAlarmClient
{
public:
    enum { NoAnswer = -1 };

    SyncAlarmClient(IAlarm& alarm, RecordingHandler& handler);

    RecordingHandler::Count count(const char* storeUid, const char* startTime, const char* endTime, int state,
                                  const char* requester = "{count}");
    RecordingHandler::Page records(const char* storeUid, const char* startTime, const char* endTime,
                                   int state, int first, int count);
    RecordingHandler::Notes notes(const std::string& alarmUid);
    RecordingHandler::HandleResult handle(const std::string& alarmUid, const std::string& note, int mode,
                                          const char* requester = "{handle}");
    RecordingHandler::BatchResult handleAll(const std::vector<std::string>& alarmUids,
                                            const std::string& note, int mode,
                                            const char* requester = "{batch}");

    // Waits until the handler has had total events in all.
    static bool waitForTotal(const RecordingHandler& handler, int total);
    static bool waitFor(const std::function<bool()>& done);

private:
    IAlarm& alarm;
    RecordingHandler& handler;
};
