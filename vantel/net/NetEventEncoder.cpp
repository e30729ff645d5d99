#include "NetEventEncoder.h"

#include "NetCodec.h"

#include <utility>

namespace {

QString text(const char* value)
{
    return value ? QString::fromUtf8(value) : QString();
}

QJsonArray countsJson(const std::vector<AlarmCountData>& counts)
{
    QJsonArray array;
    for (const AlarmCountData& count : counts)
        array.append(QJsonArray{count.count, count.kind, QString::fromStdString(count.id)});
    return array;
}

} // namespace

NetEventEncoder::NetEventEncoder(Sink sink) : sink(std::move(sink)) {}

void NetEventEncoder::answer(const char* op, const char* errorMsg, int result, QJsonObject body)
{
    body.insert(QLatin1String("result"), result);
    body.insert(QLatin1String("error"), text(errorMsg));
    sink(NetCodec::frame(QLatin1String(op), body), true);
}

void NetEventEncoder::push(const char* op, QJsonObject body)
{
    if (pushNumber > 0)
        body.insert(QLatin1String("seq"), double(std::exchange(pushNumber, 0)));
    sink(NetCodec::frame(QLatin1String(op), body), false);
}

void NetEventEncoder::OnNewAlarm(const AlarmData& alarm)
{
    push("alarm", {{"a", NetCodec::alarmJson(alarm)}});
}

void NetEventEncoder::OnAlarmHandled(const AlarmProcessData& record)
{
    if (handledObserver)
        handledObserver(record.alarmUid);
    push("handled", {{"p", NetCodec::processJson(record)}});
}

void NetEventEncoder::OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                                          const char* requester)
{
    answer("handleResult", errorMsg, result, {{"uid", text(alarmUid)}, {"requester", text(requester)}});
}

void NetEventEncoder::OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result,
                                           const char* errorMsg, const char* requester)
{
    answer("handleResults", errorMsg, result,
           {{"uids", NetCodec::textsJson(alarmUids)}, {"requester", text(requester)}});
}

void NetEventEncoder::OnReplyA(intptr_t context, int result, const char* errorMsg)
{
    answer("replyA", errorMsg, result, {{"context", int(context)}});
}

void NetEventEncoder::OnReplyB(intptr_t context, int result, const char* errorMsg)
{
    answer("replyB", errorMsg, result, {{"context", int(context)}});
}

void NetEventEncoder::OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg)
{
    answer("recordsCount", errorMsg, result, {{"count", count}, {"requester", text(requester)}});
}

void NetEventEncoder::OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg)
{
    QJsonArray list;
    for (const AlarmData& alarm : records)
        list.append(NetCodec::alarmJson(alarm));
    answer("records", errorMsg, result, {{"records", list}});
}

void NetEventEncoder::OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& record, int result,
                                         const char* errorMsg)
{
    answer("handleNotes", errorMsg, result, {{"uid", text(alarmUid)}, {"p", NetCodec::processJson(record)}});
}

void NetEventEncoder::OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData> deviceCounts,
                                                     std::vector<ItemAlarmCountData> itemCounts,
                                                     const char* tag, int result, const char* errorMsg)
{
    QJsonArray items;
    for (const ItemAlarmCountData& item : itemCounts) {
        items.append(QJsonArray{item.count, QString::fromStdString(item.itemId),
                                QString::fromStdString(item.deviceId)});
    }
    answer("storeDevices", errorMsg, result,
           {{"devices", countsJson(deviceCounts)}, {"items", items}, {"tag", text(tag)}});
}

void NetEventEncoder::OnAllStoresAlarmsCollection(std::vector<AlarmCountData> storeCounts, const char* tag,
                                                  int result, const char* errorMsg)
{
    answer("allStores", errorMsg, result, {{"stores", countsJson(storeCounts)}, {"tag", text(tag)}});
}
