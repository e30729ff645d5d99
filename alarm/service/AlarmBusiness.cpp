#include "service/AlarmBusiness.h"

#include "frame/AlarmLogging.h"
#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmRelation.h"
#include "relations/AlarmVideoRelation.h"
#include "service/AlarmCallBack.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "DeviceData.h"
#include "IAlarm.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "NoticeSound.h"

#include "frame/AlarmMutexLocker.h"
#include <QDate>
#include <QDateTime>
#include <QMetaObject>
#include <QRegularExpression>

#include <algorithm>
#include <string>
#include <vector>

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmBusiness>;

namespace VIG_ALARM_MOUDLE {

using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;

namespace {
const char* const timeFormat = "yyyy-MM-dd hh:mm:ss";
} // namespace

AlarmBusiness::AlarmBusiness(QObject* parent)
    : QObject(parent), callBack(new AlarmCallBack(this)), requesterUuid(QUuid::createUuid())
{
    alarmPtr = DataCache::Instance()->GetAlarmPtr();
    connectSignalsWithSlots();
    // Last, so that no event meets a half-built object or a hub that does not exist yet.
    if (alarmPtr)
        alarmPtr->SetEventHandler(callBack);
    else
        qCWarning(vigAlarmService, "AlarmBusiness: no alarm service; requests go nowhere");
}

AlarmBusiness::~AlarmBusiness()
{
    // The service may outlive us; it must not call a callback that is going away.
    if (alarmPtr)
        alarmPtr->SetEventHandler(nullptr);
    alarmPtr = nullptr;
    callBack = nullptr;
}

void AlarmBusiness::connectSignalsWithSlots()
{
    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalAlarmHandled, this, &AlarmBusiness::slotAlarmHandled);
    connect(&hub, &AlarmSignals::signalCloseAlarmSound, this, &AlarmBusiness::slotCloseAlarmSound);
    ModuleAccessSignals& access = ModuleAccessSignals::_instance();
    connect(&access, &ModuleAccessSignals::signalGetAllStoresUnhandledAlarmsCount, this,
            &AlarmBusiness::slotGetAllStoresUnhandledAlarmsCount);
    connect(&access, &ModuleAccessSignals::signalGetChannelUnhandledAlarmsCount, this,
            &AlarmBusiness::slotGetChannelUnhandledAlarmsCount);
}

template <typename Report> void AlarmBusiness::postReport(Report report)
{
    // Called with the lock held; taking it once more before reporting orders the report after the change it
    // describes, also for ThreadSanitizer, which cannot see through Qt's event queue.
    QMetaObject::invokeMethod(
        this,
        [this, report = std::move(report)] {
            {
                AlarmMutexLocker sync(&businessMutex);
            }
            report();
        },
        Qt::QueuedConnection);
}

// Requests

void AlarmBusiness::handleAlarm(const QString& requester, const QString& alarmUid, const QString& handleNote,
                                int handleMode, bool informKeeper)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestHandleAlarm(alarmUid.toUtf8().constData(), handleNote.toUtf8().constData(), handleMode,
                                 informKeeper, requester.toUtf8().constData());
}

void AlarmBusiness::handleAlarms(const QString& requester, QStringList& alarmUids, const QString& handleNote,
                                 int handleMode, bool informKeeper)
{
    if (alarmUids.isEmpty())
        return;
    // The keeper is told once, with the last alarm on its own.
    if (informKeeper) {
        handleAlarm(requester, alarmUids.last(), handleNote, handleMode, true);
        alarmUids.removeLast();
        if (alarmUids.isEmpty())
            return;
    }
    if (!alarmPtr)
        return;
    std::vector<std::string> uids;
    uids.reserve(alarmUids.size());
    for (const QString& uid : qAsConst(alarmUids))
        uids.push_back(uid.toStdString());
    alarmPtr->RequestHandleAlarms(uids, handleNote.toUtf8().constData(), handleMode, informKeeper,
                                  requester.toUtf8().constData());
}

void AlarmBusiness::getAlarmHandleNotes(const QString& alarmUid)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestAlarmHandleNotes(alarmUid.toUtf8().constData(), 0);
}

void AlarmBusiness::getAlarmRecordsCount(const QString& storeUid, const QString& startTime,
                                         const QString& endTime, int state, const QString& requester)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestAlarmRecordsCount(storeUid.toUtf8().constData(), startTime.toUtf8().constData(),
                                       endTime.toUtf8().constData(), requester.toUtf8().constData(), state);
}

void AlarmBusiness::getAlarmRecords(const QString& storeUid, const QString& startTime, const QString& endTime,
                                    int state, int first, int count)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestAlarmRecords(storeUid.toUtf8().constData(), startTime.toUtf8().constData(),
                                  endTime.toUtf8().constData(), state, first, count, 0);
}

void AlarmBusiness::getLateMonthUnhandledAlarmsCount()
{
    if (!alarmPtr)
        return;
    const QDate today = QDate::currentDate();
    const QString start = today.addMonths(-1).toString("yyyy-MM-dd") + " 00:00:00";
    const QString end = today.toString("yyyy-MM-dd") + " 23:59:59";
    alarmPtr->RequestAlarmRecordsCount("", start.toUtf8().constData(), end.toUtf8().constData(),
                                       requesterUuid.toString().toUtf8().constData(), AlarmNew);
}

void AlarmBusiness::getAllStoresAlarmsCollection(const QString& tag, const QString& startTime,
                                                 const QString& endTime)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestAllStoresAlarmsCollection(startTime.toLocal8Bit().constData(),
                                               endTime.toLocal8Bit().constData(),
                                               tag.toLocal8Bit().constData());
}

void AlarmBusiness::getStoreDevicesAlarmsCollection(const QString& tag, const QString& storeUid,
                                                    const QString& startTime, const QString& endTime)
{
    if (!alarmPtr)
        return;
    alarmPtr->RequestStoreDevicesAlarmsCollection(
        storeUid.toLocal8Bit().constData(), startTime.toLocal8Bit().constData(),
        endTime.toLocal8Bit().constData(), tag.toLocal8Bit().constData());
}

// Books

void AlarmBusiness::addUnhandledAlarm(const VIG_AlarmInfo& info)
{
    const bool notify =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode !=
        VIG_SYSTEM_MODULE::AlarmVideosWithoutNotice;
    AlarmMutexLocker locker(&businessMutex);
    // The same uid sent again under another store or probe moves there: left in the old sets, it would be
    // counted for ever, since a handling only clears the sets of the alarm as last booked.
    const auto previous = unhandledAlarms.constFind(info.alarmUid);
    if (previous != unhandledAlarms.constEnd() &&
        (previous->storeUid != info.storeUid || previous->probeId != info.probeId)) {
        const VIG_AlarmInfo old = previous.value();
        QSet<QString>& oldStore = storeUnhandledAlarms[old.storeUid];
        QSet<QString>& oldProbe = probeUnhandledAlarms[old.probeId];
        oldStore.remove(info.alarmUid);
        oldProbe.remove(info.alarmUid);
        postReport([storeUid = old.storeUid, deviceId = old.deviceId, channelIndex = old.channelIndex,
                    storeCount = oldStore.size(), probeCount = oldProbe.size()] {
            ModuleAccessSignals& access = ModuleAccessSignals::_instance();
            emit access.signalStoreUnhandledAlarmsCount(storeUid, storeCount);
            emit access.signalChannelUnhandledAlarmsCount(deviceId, channelIndex, probeCount);
        });
    }
    unhandledAlarms.insert(info.alarmUid, info);
    QSet<QString>& storeAlarms = storeUnhandledAlarms[info.storeUid];
    storeAlarms.insert(info.alarmUid);
    QSet<QString>& probeAlarms = probeUnhandledAlarms[info.probeId];
    probeAlarms.insert(info.alarmUid);
    const int storeCount = storeAlarms.size();
    const int probeCount = probeAlarms.size();
    postReport([notify, storeUid = info.storeUid, deviceId = info.deviceId, channelIndex = info.channelIndex,
                storeCount, probeCount] {
        if (notify)
            emit NoticeSignals::_instance().signalNewAlarmNotice();
        emit NoticeSignals::_instance().signalStoreStateChangeNotice(storeUid,
                                                                     VIG_CONTACT_MODULE::StoreNewAlarmNotice);
        ModuleAccessSignals& access = ModuleAccessSignals::_instance();
        emit access.signalStoreUnhandledAlarmsCount(storeUid, storeCount);
        emit access.signalChannelUnhandledAlarmsCount(deviceId, channelIndex, probeCount);
    });
}

void AlarmBusiness::slotAlarmHandled(const QString& alarmUid)
{
    if (unbook(alarmUid))
        emit signalWaitingAlarmsChanged();
}

bool AlarmBusiness::unbook(const QString& alarmUid)
{
    AlarmMutexLocker locker(&businessMutex);
    handledOnTheirWay.remove(alarmUid);
    const auto booked = unhandledAlarms.constFind(alarmUid);
    if (booked == unhandledAlarms.constEnd())
        return false;
    const VIG_AlarmInfo info = booked.value();
    auto waiting = waitingAlarms.find(info.probeId);
    const bool wasWaiting = waiting != waitingAlarms.end() && waiting->remove(alarmUid);
    auto store = storeUnhandledAlarms.find(info.storeUid);
    if (store != storeUnhandledAlarms.end())
        store->remove(alarmUid);
    auto probe = probeUnhandledAlarms.find(info.probeId);
    if (probe != probeUnhandledAlarms.end())
        probe->remove(alarmUid);
    unhandledAlarms.remove(alarmUid);
    const int probeCount = probe != probeUnhandledAlarms.end() ? probe->size() : 0;
    const int storeCount = store != storeUnhandledAlarms.end() ? store->size() : 0;
    postReport([storeUid = info.storeUid, deviceId = info.deviceId, channelIndex = info.channelIndex,
                storeCount, probeCount] {
        ModuleAccessSignals& access = ModuleAccessSignals::_instance();
        emit access.signalChannelUnhandledAlarmsCount(deviceId, channelIndex, probeCount);
        emit NoticeSignals::_instance().signalStoreStateChangeNotice(
            storeUid, VIG_CONTACT_MODULE::StoreAlarmHandledNotice);
        emit access.signalStoreUnhandledAlarmsCount(storeUid, storeCount);
    });
    return wasWaiting;
}

void AlarmBusiness::addWaitingAlarm(const QString& alarmUid)
{
    {
        AlarmMutexLocker locker(&businessMutex);
        const auto booked = unhandledAlarms.constFind(alarmUid);
        if (booked == unhandledAlarms.constEnd())
            return;
        waitingAlarms[booked->probeId].insert(alarmUid);
    }
    emit signalWaitingAlarmsChanged();
}

QList<VIG_AlarmInfo> AlarmBusiness::takeWaitingAlarms()
{
    const QList<VIG_AlarmInfo> alarms = takeFirstWaitingGroup();
    if (!alarms.isEmpty())
        emit signalWaitingAlarmsChanged();
    return alarms;
}

int AlarmBusiness::waitingAlarmCount()
{
    AlarmMutexLocker locker(&businessMutex);
    int count = 0;
    for (const QSet<QString>& probe : qAsConst(waitingAlarms))
        count += probe.size();
    return count;
}

QList<VIG_AlarmInfo> AlarmBusiness::takeFirstWaitingGroup()
{
    QList<VIG_AlarmInfo> alarms;
    AlarmMutexLocker locker(&businessMutex);
    if (waitingAlarms.isEmpty())
        return alarms;
    // The smallest probe id in string order comes first, not the oldest group. A probe whose waiting alarms
    // were all handled meanwhile still takes its (empty) turn.
    const auto first = waitingAlarms.begin();
    for (const QString& uid : qAsConst(first.value())) {
        const auto booked = unhandledAlarms.constFind(uid);
        if (booked != unhandledAlarms.constEnd())
            alarms.append(booked.value());
    }
    waitingAlarms.erase(first);
    return alarms;
}

bool AlarmBusiness::hasWaitingAlarms()
{
    AlarmMutexLocker locker(&businessMutex);
    return !waitingAlarms.isEmpty();
}

void AlarmBusiness::placeWaitingAlarms(
    const std::function<WaitingGroupFate(const QList<VIG_AlarmInfo>&)>& place)
{
    QList<VIG_AlarmInfo> parked;
    for (;;) {
        QList<VIG_AlarmInfo> group = takeWaitingAlarms();
        if (group.isEmpty()) {
            // A probe whose waiting alarms were handled elsewhere gives an empty turn; the rest still wait.
            if (hasWaitingAlarms())
                continue;
            break;
        }
        // The store keeps no order within a probe: oldest first, so that the newest ends on show.
        std::sort(group.begin(), group.end(), shownBefore);
        const WaitingGroupFate fate = place(group);
        if (fate != WaitingGroupFate::Shown)
            parked += group;
        if (fate == WaitingGroupFate::NoRoom)
            break;
    }
    for (const VIG_AlarmInfo& alarm : qAsConst(parked))
        addWaitingAlarm(alarm.alarmUid);
}

QList<VIG_AlarmInfo> AlarmBusiness::takeWaitingAlarmsOfProbe(const QString& probeId)
{
    QList<VIG_AlarmInfo> taken;
    placeWaitingAlarms([&](const QList<VIG_AlarmInfo>& group) {
        if (group.first().probeId != probeId)
            return WaitingGroupFate::Parked;
        taken = group;
        return WaitingGroupFate::Shown;
    });
    return taken;
}

AlarmInfoVector AlarmBusiness::getStoreUnhandledAlarms(const QString& storeUid)
{
    AlarmInfoVector alarms;
    AlarmMutexLocker locker(&businessMutex);
    const auto store = storeUnhandledAlarms.constFind(storeUid);
    if (store == storeUnhandledAlarms.constEnd())
        return alarms;
    alarms.reserve(store->size());
    for (const QString& uid : store.value()) {
        const auto booked = unhandledAlarms.constFind(uid);
        if (booked != unhandledAlarms.constEnd() && !handledOnTheirWay.contains(uid))
            alarms.append(booked.value());
    }
    return alarms;
}

QList<VIG_AlarmInfo> AlarmBusiness::bookedAlarms()
{
    QList<VIG_AlarmInfo> alarms;
    {
        AlarmMutexLocker locker(&businessMutex);
        alarms.reserve(unhandledAlarms.size());
        for (const VIG_AlarmInfo& info : qAsConst(unhandledAlarms)) {
            if (!handledOnTheirWay.contains(info.alarmUid))
                alarms.append(info);
        }
    }
    std::sort(alarms.begin(), alarms.end(), shownBefore);
    return alarms;
}

void AlarmBusiness::noteAlarmHandled(const QString& alarmUid)
{
    AlarmMutexLocker locker(&businessMutex);
    if (unhandledAlarms.contains(alarmUid))
        handledOnTheirWay.insert(alarmUid);
}

bool AlarmBusiness::shownBefore(const VIG_AlarmInfo& a, const VIG_AlarmInfo& b)
{
    return a.alarmTime != b.alarmTime ? a.alarmTime < b.alarmTime : a.alarmUid < b.alarmUid;
}

int AlarmBusiness::getStoreUnhandledAlarmsCount(const QString& storeUid)
{
    AlarmMutexLocker locker(&businessMutex);
    const auto store = storeUnhandledAlarms.constFind(storeUid);
    return store == storeUnhandledAlarms.constEnd() ? 0 : store->size();
}

void AlarmBusiness::slotGetAllStoresUnhandledAlarmsCount()
{
    AlarmMutexLocker locker(&businessMutex);
    QVector<QPair<QString, int>> counts;
    counts.reserve(storeUnhandledAlarms.size());
    for (auto it = storeUnhandledAlarms.constBegin(); it != storeUnhandledAlarms.constEnd(); ++it)
        counts.append(qMakePair(it.key(), it->size()));
    postReport([counts] {
        ModuleAccessSignals& access = ModuleAccessSignals::_instance();
        for (const auto& count : counts)
            emit access.signalStoreUnhandledAlarmsCount(count.first, count.second);
    });
}

void AlarmBusiness::slotGetChannelUnhandledAlarmsCount(const QString& deviceId, int channelIndex)
{
    AlarmMutexLocker locker(&businessMutex);
    int count = 0;
    for (const VIG_AlarmInfo& info : qAsConst(unhandledAlarms)) {
        if (info.deviceId == deviceId && info.channelIndex == channelIndex)
            ++count;
    }
    postReport([deviceId, channelIndex, count] {
        emit ModuleAccessSignals::_instance().signalChannelUnhandledAlarmsCount(deviceId, channelIndex,
                                                                                count);
    });
}

void AlarmBusiness::slotCloseAlarmSound()
{
    VIG_CONTACT_MODULE::NoticeSound::_instance().stopAlarmNoticeSound();
}

// Utilities

QStringList AlarmBusiness::getAlarmOutLinkedDevices(const QString& deviceId, const QString& probeId)
{
    using namespace VIG_DATA_MODULE;
    BasicData& data = BasicData::_instance();
    const VIG_DeviceInfo device = data.getDeviceInfo(deviceId);
    const VIG_StoreInfo store = data.getStoreInfo(device.storeUid);
    QStringList devices;
    switch (store.alarmOutLinkMode) {
    case AlarmOutLinkProbeChannels:
        for (const VIG_ChannelInfo& channel : data.getProbeRelatedChannels(probeId))
            devices.append(channel.channelId);
        break;
    case AlarmOutLinkStoreDevices:
        for (const VIG_DeviceInfo& storeDevice : DeviceData::_instance().getStoreDevicesInfo(store.storeUid))
            devices.append(storeDevice.deviceId);
        break;
    default:
        break;
    }
    devices.removeDuplicates();
    return devices;
}

void AlarmBusiness::saveCaptureRelation(const QString& alarmUid, const QString& filePath)
{
    if (filePath.isEmpty())
        return;
    VIG_AlarmRelation relation;
    relation.alarmUid = alarmUid;
    relation.filePath = filePath;
    relation.fileName = QObject::tr("Capture ") + QDateTime::currentDateTime().toString(timeFormat);
    relation.type = CaptureRelation;
    AlarmVideoRelation::_instance().addRelation(relation);
}

void AlarmBusiness::saveRecordingRelation(const QString& alarmUid, const QString& filePath)
{
    if (filePath.isEmpty())
        return;
    VIG_AlarmRelation relation;
    relation.alarmUid = alarmUid;
    relation.filePath = filePath;
    relation.fileName = QObject::tr("Local Recording ") + recordingStartTime(filePath);
    relation.type = LocalRecordingRelation;
    AlarmVideoRelation::_instance().addRelation(relation);
}

QString AlarmBusiness::recordingStartTime(const QString& filePath)
{
    // The video panel writes <folder yyyyMMdd><separator><a>-<b>-<hhmmss>-<d>; either separator is accepted.
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    const QStringList parts = filePath.split(separators, Qt::KeepEmptyParts);
    if (parts.size() < 2)
        return QString();
    const QStringList pieces = parts.last().split('-', Qt::KeepEmptyParts);
    if (pieces.size() != 4)
        return QString();
    const QDateTime start =
        QDateTime::fromString(parts.at(parts.size() - 2) + pieces.at(2), "yyyyMMddhhmmss");
    return start.isValid() ? start.toString(timeFormat) : QString();
}

} // namespace VIG_ALARM_MOUDLE
