#include "NetRequestEncoder.h"

#include "NetCodec.h"

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
                                                    {"batch", false}}));
}

void NetRequestEncoder::RequestHandleAlarms(const std::vector<std::string>& alarmUids, const char* handleNote,
                                            int handleMode, bool informKeeper, const char* requester)
{
    send(NetCodec::frame(QStringLiteral("handle"), {{"uids", NetCodec::textsJson(alarmUids)},
                                                    {"note", text(handleNote)},
                                                    {"mode", handleMode},
                                                    {"inform", informKeeper},
                                                    {"requester", text(requester)},
                                                    {"batch", true}}));
}

void NetRequestEncoder::RequestReplyA(const char* alarmUid)
{
    send(NetCodec::frame(QStringLiteral("replyA"), {{"uid", text(alarmUid)}}));
}

void NetRequestEncoder::RequestReplyB(const char* alarmUid)
{
    send(NetCodec::frame(QStringLiteral("replyB"), {{"uid", text(alarmUid)}}));
}

void NetRequestEncoder::RequestAlarmRecordsCount(const char* storeUid, const char* startTime,
                                                 const char* endTime, const char* requester, int state)
{
    send(NetCodec::frame(QStringLiteral("recordsCount"), {{"store", text(storeUid)},
                                                          {"start", text(startTime)},
                                                          {"end", text(endTime)},
                                                          {"requester", text(requester)},
                                                          {"state", state}}));
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
                                                     {"reserved", reserved}}));
}

void NetRequestEncoder::RequestAlarmHandleNotes(const char* alarmUid, int reserved)
{
    send(NetCodec::frame(QStringLiteral("handleNotes"), {{"uid", text(alarmUid)}, {"reserved", reserved}}));
}

void NetRequestEncoder::RequestStoreDevicesAlarmsCollection(const char* storeUid, const char* startTime,
                                                            const char* endTime, const char* tag)
{
    send(NetCodec::frame(QStringLiteral("storeDevices"), {{"store", local(storeUid)},
                                                          {"start", local(startTime)},
                                                          {"end", local(endTime)},
                                                          {"tag", local(tag)}}));
}

void NetRequestEncoder::RequestAllStoresAlarmsCollection(const char* startTime, const char* endTime,
                                                         const char* tag)
{
    send(NetCodec::frame(QStringLiteral("allStores"),
                         {{"start", local(startTime)}, {"end", local(endTime)}, {"tag", local(tag)}}));
}
