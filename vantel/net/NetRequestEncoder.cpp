#include "NetRequestEncoder.h"

#include "NetCodec.h"

#include "IAlarmEvent.h"

namespace {

QString text(const char* value)
{
    return value ? QString::fromUtf8(value) : QString();
}

// The collection requests take texts in the local encoding.
QString local(const char* value)
{
    return value ? QString::fromLocal8Bit(value) : QString();
}

} // namespace

NetRequestEncoder::NetRequestEncoder(Sink sink) : sink(std::move(sink)) {}

void NetRequestEncoder::SetEventHandler(IAlarmEvent*) {}

void NetRequestEncoder::RequestHandleAlarm(const char* alarmUid, const char* handleNote, int handleMode,
                                           bool informKeeper, const char* requester)
{
    send(NetCodec::frame(QStringLiteral("handle"), {{"uids", QJsonArray{text(alarmUid)}},
                                                    {"note", text(handleNote)},
                                                    {"mode", handleMode},
                                                    {"inform", informKeeper},
                                                    {"requester", text(requester)},
                                                    {"batch", false}}),
         [uid = std::string(alarmUid ? alarmUid : ""),
          id = std::string(requester ? requester : "")](IAlarmEvent* handler, int code, const char* message) {
             handler->OnHandleAlarmResult(uid.c_str(), code, message, id.c_str());
         });
}

void NetRequestEncoder::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                            int handleMode, bool informKeeper, const char* requester)
{
    send(NetCodec::frame(QStringLiteral("handle"), {{"uids", NetCodec::textsJson(alarmUids)},
                                                    {"note", text(handleNote)},
                                                    {"mode", handleMode},
                                                    {"inform", informKeeper},
                                                    {"requester", text(requester)},
                                                    {"batch", true}}),
         [alarmUids, id = std::string(requester ? requester : "")](IAlarmEvent* handler, int code,
                                                                   const char* message) {
             handler->OnHandleAlarmsResult(alarmUids, code, message, id.c_str());
         });
}

void NetRequestEncoder::RequestReplyA(const char* alarmUid)
{
    send(NetCodec::frame(QStringLiteral("replyA"), {{"uid", text(alarmUid)}}),
         [](IAlarmEvent* handler, int code, const char* message) { handler->OnReplyA(0, code, message); });
}

void NetRequestEncoder::RequestReplyB(const char* alarmUid)
{
    send(NetCodec::frame(QStringLiteral("replyB"), {{"uid", text(alarmUid)}}),
         [](IAlarmEvent* handler, int code, const char* message) { handler->OnReplyB(0, code, message); });
}

void NetRequestEncoder::RequestAlarmRecordsCount(const char* storeUid, const char* startTime,
                                                 const char* endTime, const char* requester, int state)
{
    send(NetCodec::frame(QStringLiteral("recordsCount"), {{"store", text(storeUid)},
                                                          {"start", text(startTime)},
                                                          {"end", text(endTime)},
                                                          {"requester", text(requester)},
                                                          {"state", state}}),
         [id = std::string(requester ? requester : "")](IAlarmEvent* handler, int code, const char* message) {
             handler->OnAlarmRecordsCount(0, id.c_str(), code, message);
         });
}

void NetRequestEncoder::RequestAlarmRecords(const char* storeUid, const char* startTime, const char* endTime,
                                            int state, int first, int count, int reserved)
{
    send(NetCodec::frame(QStringLiteral("records"), {{"store", text(storeUid)},
                                                     {"start", text(startTime)},
                                                     {"end", text(endTime)},
                                                     {"state", state},
                                                     {"first", first},
                                                     {"count", count},
                                                     {"reserved", reserved}}),
         [](IAlarmEvent* handler, int code, const char* message) {
             handler->OnAlarmRecords({}, code, message);
         });
}

void NetRequestEncoder::RequestAlarmHandleNotes(const char* alarmUid, int reserved)
{
    send(NetCodec::frame(QStringLiteral("handleNotes"), {{"uid", text(alarmUid)}, {"reserved", reserved}}),
         [uid = std::string(alarmUid ? alarmUid : "")](IAlarmEvent* handler, int code, const char* message) {
             AlarmProcessData record;
             record.alarmUid = uid;
             handler->OnAlarmHandleNotes(uid.c_str(), record, code, message);
         });
}

void NetRequestEncoder::RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime,
                                                            const char* endTime, const char* tag)
{
    send(NetCodec::frame(QStringLiteral("storeDevices"), {{"store", local(storeUid)},
                                                          {"start", local(startTime)},
                                                          {"end", local(endTime)},
                                                          {"tag", local(tag)}}),
         [label = std::string(tag ? tag : "")](IAlarmEvent* handler, int code, const char* message) {
             handler->OnStoreDevicesAlarmsCollection({}, {}, label.c_str(), code, message);
         });
}

void NetRequestEncoder::RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                                         const char* tag)
{
    send(NetCodec::frame(QStringLiteral("allStores"),
                         {{"start", local(startTime)}, {"end", local(endTime)}, {"tag", local(tag)}}),
         [label = std::string(tag ? tag : "")](IAlarmEvent* handler, int code, const char* message) {
             handler->OnAllStoresAlarmsCollection({}, label.c_str(), code, message);
         });
}
