#include "service/AlarmCallBack.h"

#include "frame/AlarmEventQueue.h"
#include "frame/AlarmSignals.h"
#include "service/AlarmBusiness.h"
#include "service/AlarmHandledNotices.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataSignals.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "SystemBasicInfo.h"

#include <QMap>
#include <QUuid>

#include <atomic>

namespace VIG_ALARM_MOUDLE {

using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;
using VIG_CONTACT_MODULE::RequestType;

namespace {

std::atomic<quint64> newAlarmPushes{0};
std::atomic<quint64> handlingPushes{0};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), int(utf8.size()));
}

bool acceptsAlarms()
{
    return VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().getCurrentAppStatus() ==
           VIG_SYSTEM_MODULE::AppRunning;
}

// Announces a failed request once, before the answer is passed on.
void noticeError(int result, const char* errorMsg, int requestType, const QString& id = QString(),
                 const QStringList& uids = QStringList())
{
    if (result == 0)
        return;
    emit NoticeSignals::_instance().sendRequestErrorNoticeSignal(result, text(errorMsg),
                                                                 RequestType(requestType), id, uids);
}

// The hub's signals go to the main thread through its queue, in the order they are given here.
template <typename Emit> void toHub(Emit emitSignal)
{
    AlarmSignals& hub = AlarmSignals::_instance();
    hub.eventQueue().post([&hub, emitSignal = std::move(emitSignal)] { emitSignal(hub); });
}

template <typename Collection> void setCount(Collection& entry, const AlarmCountData& count)
{
    switch (count.kind) {
    case AlarmNew:
        entry.newAlarmCount = count.count;
        break;
    case AlarmDealt:
        entry.dealtAlarmCount = count.count;
        break;
    case AlarmFinished:
        entry.finishedAlarmCount = count.count;
        break;
    case AlarmMistaken:
        entry.mistakenAlarmCount = count.count;
        break;
    default:
        break;
    }
}

} // namespace

AlarmCallBack::AlarmCallBack(QObject* parent) : QObject(parent) {}

AlarmCallBack::~AlarmCallBack() = default;

VIG_AlarmInfo AlarmCallBack::toAlarmInfo(const AlarmData& alarm)
{
    VIG_AlarmInfo info;
    info.alarmUid = text(alarm.alarmUid);
    info.storeUid = text(alarm.storeUid);
    info.deviceId = text(alarm.deviceId);
    info.deviceName = text(alarm.deviceName);
    info.typeKey = text(alarm.typeKey);
    info.typeDescription = text(alarm.typeDescription);
    info.subTypeKey = text(alarm.subTypeKey);
    info.subTypeDescription = text(alarm.subTypeDescription);
    info.probeId = text(alarm.probeId);
    info.alarmTime = text(alarm.alarmTime);
    info.lastHandleNote = text(alarm.lastHandleNote);
    info.describe = text(alarm.describe);
    info.state = alarm.state;
    info.channelIndex = alarm.channelIndex;
    if (info.probeId.isEmpty())
        info.probeId = info.deviceId;
    return info;
}

VIG_AlarmProcess AlarmCallBack::toAlarmProcess(const AlarmProcessData& record)
{
    VIG_AlarmProcess process;
    process.alarmUid = text(record.alarmUid);
    process.storeUid = text(record.storeUid);
    process.deviceId = text(record.deviceId);
    process.typeKey = text(record.typeKey);
    process.typeDescription = text(record.typeDescription);
    process.subTypeKey = text(record.subTypeKey);
    process.subTypeDescription = text(record.subTypeDescription);
    process.probeId = text(record.probeId);
    process.alarmTime = text(record.alarmTime);
    process.describe = text(record.describe);
    process.channelIndex = record.channelIndex;
    if (!record.handlers.empty()) {
        const AlarmHandlerData& handler = record.handlers.front();
        process.principal = text(handler.principal);
        process.principalTel = text(handler.principalTel);
        process.handleTime = text(handler.handleTime);
        process.handleNote = text(handler.handleNote);
        process.state = handler.state;
    }
    return process;
}

QString AlarmCallBack::handledAlarmHint(const AlarmProcessData& record)
{
    const VIG_DATA_MODULE::VIG_StoreInfo store =
        VIG_DATA_MODULE::BasicData::_instance().getStoreInfo(text(record.storeUid));
    // Read once: a handling burst makes one hint per alarm on the service's thread.
    const QString word =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
    const QString colon = QObject::tr(":");
    QString hint = word + QObject::tr("_Name") + colon + store.storeName + "\r\n";
    hint += word + QObject::tr("_Keeper Tel") + colon + store.keeperTel + "\r\n";
    hint += word + QObject::tr("_Address") + colon + store.address + "\r\n";
    if (!record.handlers.empty()) {
        const AlarmHandlerData& handler = record.handlers.front();
        hint += QObject::tr("Alarm Handler:") + text(handler.principal) + "\r\n" +
                QObject::tr("Alarm Handler Tel:") + text(handler.principalTel);
    }
    return hint;
}

quint64 AlarmCallBack::newAlarmPushCount()
{
    return newAlarmPushes.load();
}

quint64 AlarmCallBack::handlingPushCount()
{
    return handlingPushes.load();
}

void AlarmCallBack::OnNewAlarm(const AlarmData& alarm)
{
    // Without a uid an alarm can be neither kept apart from others nor handled: it would stay red for ever.
    if (!acceptsAlarms() || alarm.alarmUid.empty())
        return;
    const VIG_AlarmInfo info = toAlarmInfo(alarm);
    // Booked before it is pushed: receivers may park it as waiting, which needs it booked.
    AlarmBusiness::_instance().addUnhandledAlarm(info);
    // Counted before the push, so that no receiver can take it before it is counted.
    ++newAlarmPushes;
    toHub([info](AlarmSignals& hub) { emit hub.signalNewAlarmPush(info); });
    if (VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
        VIG_SYSTEM_MODULE::AlarmVideosInGrid) {
        emit ModuleAccessSignals::_instance().signalSetCurrentModuleForm(VIG_CONTACT_MODULE::AlarmModuleForm);
        toHub([](AlarmSignals& hub) { emit hub.signalChangeToAlarmMonitorTab(); });
    }
}

void AlarmCallBack::OnAlarmHandled(const AlarmProcessData& record)
{
    if (!acceptsAlarms())
        return;
    const QString alarmUid = text(record.alarmUid);
    // Before the push: a form built from now on gets the push, not the alarm as new.
    AlarmBusiness::_instance().noteAlarmHandled(alarmUid);
    ++handlingPushes;
    toHub(
        [process = toAlarmProcess(record)](AlarmSignals& hub) { emit hub.signalHandledAlarmPush(process); });
    // Gathered on the main thread: the alarms of one handling give one notice.
    toHub([hint = handledAlarmHint(record)](AlarmSignals&) { AlarmHandledNotices::_instance().add(hint); });
    toHub([alarmUid](AlarmSignals& hub) {
        emit hub.signalUpdateAlarmHandledNotesInDetailCheckWt(alarmUid);
        emit hub.signalAlarmHandled(alarmUid);
    });
}

void AlarmCallBack::OnHandleAlarmResult(const char* alarmUid, int result, const char* errorMsg,
                                        const char* requester)
{
    const QString uid = text(alarmUid);
    const QString requesterId = text(requester);
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::HandleAlarmRequest, requesterId, QStringList{uid});
    ++handlingPushes;
    if (result == 0)
        AlarmBusiness::_instance().noteAlarmHandled(uid);
    toHub([requesterId, uid, result, message = text(errorMsg)](AlarmSignals& hub) {
        emit hub.signalHandleAlarmResult(requesterId, uid, result, message);
        if (result == 0)
            emit hub.signalAlarmHandled(uid);
    });
}

void AlarmCallBack::OnHandleAlarmsResult(const std::vector<std::string>& alarmUids, int result,
                                         const char* errorMsg, const char* requester)
{
    const QString requesterId = text(requester);
    const QString message = text(errorMsg);
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::HandleAlarmsRequest, requesterId);
    for (const std::string& alarmUid : alarmUids) {
        ++handlingPushes;
        const QString uid = text(alarmUid);
        if (result == 0)
            AlarmBusiness::_instance().noteAlarmHandled(uid);
        toHub([requesterId, uid, result, message](AlarmSignals& hub) {
            emit hub.signalHandleAlarmResult(requesterId, uid, result, message);
            if (result == 0)
                emit hub.signalAlarmHandled(uid);
        });
    }
}

void AlarmCallBack::OnReplyA(intptr_t, int result, const char* errorMsg)
{
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::AlarmReplyARequest);
}

void AlarmCallBack::OnReplyB(intptr_t, int result, const char* errorMsg)
{
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::AlarmReplyBRequest);
}

void AlarmCallBack::OnAlarmRecordsCount(int count, const char* requester, int result, const char* errorMsg)
{
    const QString requesterId = text(requester);
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::AlarmRecordsCountRequest, requesterId);
    // The business object's own request is the late-month check; every other answer is the record search's.
    if (QUuid(requesterId) == AlarmBusiness::_instance().getRequesterUuid())
        emit ModuleAccessSignals::_instance().signalLateMonthUnhandledAlarmsCount(count, result,
                                                                                  text(errorMsg));
    else
        toHub([count, result, message = text(errorMsg), requesterId](AlarmSignals& hub) {
            emit hub.signalAlarmRecordsCount(count, result, message, requesterId);
        });
}

void AlarmCallBack::OnAlarmRecords(const std::vector<AlarmData>& records, int result, const char* errorMsg)
{
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::AlarmRecordsRequest);
    AlarmInfoVector alarms;
    alarms.reserve(int(records.size()));
    for (const AlarmData& record : records)
        alarms.append(toAlarmInfo(record));
    toHub([alarms, result, message = text(errorMsg)](AlarmSignals& hub) {
        emit hub.signalAlarmRecordsInfo(alarms, result, message);
    });
}

void AlarmCallBack::OnAlarmHandleNotes(const char* alarmUid, const AlarmProcessData& record, int result,
                                       const char* errorMsg)
{
    const QString uid = text(alarmUid);
    noticeError(result, errorMsg, VIG_CONTACT_MODULE::AlarmHandleNotesRequest, uid, QStringList{uid});
    AlarmProcessVector history;
    if (result == 0) {
        VIG_AlarmProcess process;
        process.alarmUid = text(record.alarmUid);
        process.storeUid = text(record.storeUid);
        history.reserve(int(record.handlers.size()));
        for (const AlarmHandlerData& handler : record.handlers) {
            process.principal = text(handler.principal);
            process.principalTel = text(handler.principalTel);
            process.handleTime = text(handler.handleTime);
            process.handleNote = text(handler.handleNote);
            process.liveImageUrls = text(handler.liveImageUrls);
            process.state = handler.state;
            history.append(process);
        }
    }
    toHub([history, result, message = text(errorMsg)](AlarmSignals& hub) {
        emit hub.signalGetAlarmHandleNotes(history, result, message);
    });
}

void AlarmCallBack::OnStoreDevicesAlarmsCollection(std::vector<AlarmCountData> deviceCounts,
                                                   std::vector<ItemAlarmCountData> itemCounts,
                                                   const char* tag, int result, const char* errorMsg)
{
    QMap<QString, VIG_DATA_MODULE::VIG_DeviceAlarmsCollection> devices;
    for (const AlarmCountData& count : deviceCounts) {
        const QString id = text(count.id);
        VIG_DATA_MODULE::VIG_DeviceAlarmsCollection& entry = devices[id];
        setCount(entry, count);
        entry.deviceId = id;
    }
    for (const ItemAlarmCountData& count : itemCounts) {
        VIG_DATA_MODULE::VIG_ItemAlarmsCount item;
        item.itemId = text(count.itemId);
        item.count = count.count;
        devices[text(count.deviceId)].items.append(item);
    }
    emit VIG_DATA_MODULE::DataSignals::_instance().signalStoreDevicesAlarmsCollection(
        text(tag), devices.values().toVector(), result, text(errorMsg));
}

void AlarmCallBack::OnAllStoresAlarmsCollection(std::vector<AlarmCountData> storeCounts, const char* tag,
                                                int result, const char* errorMsg)
{
    QMap<QString, VIG_DATA_MODULE::VIG_StoreAlarmsCollection> stores;
    for (const AlarmCountData& count : storeCounts) {
        const QString id = text(count.id);
        VIG_DATA_MODULE::VIG_StoreAlarmsCollection& entry = stores[id];
        setCount(entry, count);
        entry.storeUid = id;
    }
    emit VIG_DATA_MODULE::DataSignals::_instance().signalAllStoresAlarmsCollection(
        text(tag), stores.values().toVector(), result, text(errorMsg));
}

} // namespace VIG_ALARM_MOUDLE
