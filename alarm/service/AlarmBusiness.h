#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ZSingleton.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QUuid>

#include <functional>

class IAlarm;

namespace VIG_ALARM_MOUDLE {

class AlarmCallBack;

// Holds the alarm service's request interface, turns the module's requests into service calls and keeps
// the books of unhandled alarms per store and per probe, and of the alarms waiting for a video view.
class AlarmBusiness : public QObject, public ZCOMMON::ZSingleton<AlarmBusiness>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmBusiness>;

public:
    ~AlarmBusiness() override;

    // Requests: each makes one service call; the answer comes later as an event.
    void handleAlarm(const QString& requester, const QString& alarmUid, const QString& handleNote,
                     int handleMode, bool informKeeper);
    void handleAlarms(const QString& requester, QStringList& alarmUids, const QString& handleNote,
                      int handleMode, bool informKeeper);
    void getAlarmHandleNotes(const QString& alarmUid);
    // requester comes back with the answer (empty when not given).
    void getAlarmRecordsCount(const QString& storeUid, const QString& startTime, const QString& endTime,
                              int state, const QString& requester = QString());
    void getAlarmRecords(const QString& storeUid, const QString& startTime, const QString& endTime, int state,
                         int first, int count);
    void getLateMonthUnhandledAlarmsCount();
    // The host's tag comes first and is handed back with the answer.
    void getAllStoresAlarmsCollection(const QString& tag, const QString& startTime, const QString& endTime);
    void getStoreDevicesAlarmsCollection(const QString& tag, const QString& storeUid,
                                         const QString& startTime, const QString& endTime);

    // Books.
    void addUnhandledAlarm(const VIG_AlarmInfo& info);
    void addWaitingAlarm(const QString& alarmUid);
    QList<VIG_AlarmInfo> takeWaitingAlarms();
    // An empty turn from takeWaitingAlarms does not mean that nothing waits; this does.
    bool hasWaitingAlarms();
    // What a video view did with the waiting alarms of one probe.
    enum class WaitingGroupFate { Shown, Parked, NoRoom };
    // Offers the waiting alarms to place, one probe at a time and oldest first, until place has no room or
    // nothing waits. Parked groups and the one without room go back to the store afterwards, so that a probe
    // whose view waits for handle results never blocks the probes behind it. Called without any lock held.
    void placeWaitingAlarms(const std::function<WaitingGroupFate(const QList<VIG_AlarmInfo>&)>& place);
    // Takes the waiting alarms of one probe, oldest first; the others keep waiting.
    QList<VIG_AlarmInfo> takeWaitingAlarmsOfProbe(const QString& probeId);
    // Alarms that wait for a free pop-up or grid cell.
    int waitingAlarmCount();
    // Without the alarms whose handling has come but not yet been unbooked, as bookedAlarms().
    AlarmInfoVector getStoreUnhandledAlarms(const QString& storeUid);
    int getStoreUnhandledAlarmsCount(const QString& storeUid);
    // Every booked alarm, oldest first, except those whose handling has come but not yet been unbooked.
    QList<VIG_AlarmInfo> bookedAlarms();
    // Called on the service's thread when a handling comes, before the hub's queued unbooking: from then on
    // bookedAlarms() leaves the alarm out.
    void noteAlarmHandled(const QString& alarmUid);
    // The order in which alarms are shown: by time, then by uid.
    static bool shownBefore(const VIG_AlarmInfo& a, const VIG_AlarmInfo& b);

    // Utilities.
    QStringList getAlarmOutLinkedDevices(const QString& deviceId, const QString& probeId);
    void saveCaptureRelation(const QString& alarmUid, const QString& filePath);
    void saveRecordingRelation(const QString& alarmUid, const QString& filePath);
    static QString recordingStartTime(const QString& filePath);

    QUuid getRequesterUuid() const { return requesterUuid; }

signals:
    // The number of waiting alarms may have changed; emitted without the lock held.
    void signalWaitingAlarmsChanged();

public slots:
    void slotAlarmHandled(const QString& alarmUid);
    void slotCloseAlarmSound();
    void slotGetAllStoresUnhandledAlarmsCount();
    void slotGetChannelUnhandledAlarmsCount(const QString& deviceId, int channelIndex);

private:
    explicit AlarmBusiness(QObject* parent);

    void connectSignalsWithSlots();
    // False when the alarm was not waiting.
    bool unbook(const QString& alarmUid);
    QList<VIG_AlarmInfo> takeFirstWaitingGroup();
    // Host reports leave in the order the books changed, on the main thread, after the lock is released:
    // a host slot may call back into this object, and a count must never be overtaken by an older one.
    template <typename Report> void postReport(Report report);

    IAlarm* alarmPtr = nullptr;
    AlarmCallBack* callBack = nullptr;
    const QUuid requesterUuid;
    QMap<QString, VIG_AlarmInfo> unhandledAlarms;
    QMap<QString, QSet<QString>> waitingAlarms;
    QMap<QString, QSet<QString>> storeUnhandledAlarms;
    QMap<QString, QSet<QString>> probeUnhandledAlarms;
    QSet<QString> handledOnTheirWay; // booked, handled, unbooking still queued
    QMutex businessMutex;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmBusiness>;
