#include "SyncAlarmClient.h"

#include "IAlarm.h"

#include <QTest>

namespace {
// Generous: sanitizer builds on a shared machine are slow. Nothing is measured.
constexpr int answerTimeoutMs = 30000;

template <typename T, typename Getter> T waitForNext(size_t before, Getter get)
{
    if (QTest::qWaitFor([&] { return get().size() > before; }, answerTimeoutMs))
        return get().at(before);
    T missing;
    missing.result = SyncAlarmClient::NoAnswer;
    missing.errorMsg = "no answer";
    return missing;
}
} // namespace

SyncAlarmClient::SyncAlarmClient(IAlarm& service, RecordingHandler& events) : alarm(service), handler(events)
{
}

bool SyncAlarmClient::waitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, answerTimeoutMs);
}

bool SyncAlarmClient::waitForTotal(const RecordingHandler& handler, int total)
{
    return waitFor([&] { return handler.total() >= total; });
}

RecordingHandler::Count SyncAlarmClient::count(const char* storeUid, const char* startTime,
                                               const char* endTime, int state, const char* requester)
{
    const size_t before = handler.counts().size();
    alarm.RequestAlarmRecordsCount(storeUid, startTime, endTime, requester, state);
    return waitForNext<RecordingHandler::Count>(before, [this] { return handler.counts(); });
}

RecordingHandler::Page SyncAlarmClient::records(const char* storeUid, const char* startTime,
                                                const char* endTime, int state, int first, int count)
{
    const size_t before = handler.pages().size();
    alarm.RequestAlarmRecords(storeUid, startTime, endTime, state, first, count, 0);
    return waitForNext<RecordingHandler::Page>(before, [this] { return handler.pages(); });
}

RecordingHandler::Notes SyncAlarmClient::notes(const std::string& alarmUid)
{
    const size_t before = handler.notes().size();
    alarm.RequestAlarmHandleNotes(alarmUid.c_str(), 0);
    return waitForNext<RecordingHandler::Notes>(before, [this] { return handler.notes(); });
}

RecordingHandler::HandleResult SyncAlarmClient::handle(const std::string& alarmUid, const std::string& note,
                                                       int mode, const char* requester)
{
    const size_t before = handler.handleResults().size();
    alarm.RequestHandleAlarm(alarmUid.c_str(), note.c_str(), mode, false, requester);
    return waitForNext<RecordingHandler::HandleResult>(before, [this] { return handler.handleResults(); });
}

RecordingHandler::BatchResult SyncAlarmClient::handleAll(const std::vector<std::string>& alarmUids,
                                                         const std::string& note, int mode,
                                                         const char* requester)
{
    const size_t before = handler.batchResults().size();
    alarm.RequestHandleAlarms(alarmUids, note.c_str(), mode, false, requester);
    return waitForNext<RecordingHandler::BatchResult>(before, [this] { return handler.batchResults(); });
}
