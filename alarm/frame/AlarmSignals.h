#pragma once

#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"
#include "frame/VIG_AlarmRelation.h"

#include "ZSingleton.h"

#include <QObject>

namespace VIG_ALARM_MOUDLE {

class AlarmEventQueue;

// The hub through which the parts of the module tell each other about alarms. The event callback emits
// on it from the service's thread; receivers live on the main thread and get queued copies.
class AlarmSignals : public QObject, public ZCOMMON::ZSingleton<AlarmSignals>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmSignals>;

public:
    // What the service's thread emits goes through it, so that a burst reaches the main thread in turns.
    AlarmEventQueue& eventQueue() const { return *queue; }

signals:
    // requester: the id the count request carried, so that a search takes only its own answer.
    void signalAlarmRecordsCount(int count, int result, const QString& errorMsg,
                                 const QString& requester = QString());
    void signalAlarmRecordsInfo(AlarmInfoVector alarmList, int result, const QString& errorMsg);
    void signalNewAlarmPush(const VIG_AlarmInfo& alarmInfo);
    void signalCloseAlarmSound();
    void signalHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                                 const QString& errorMsg);
    void signalDeleteAlarmFromMonitorTable(const QString& alarmUid);
    void signalHandledAlarmPush(const VIG_AlarmProcess& alarmProcess);
    void signalGetAlarmHandleNotes(const AlarmProcessVector& alarmHandleNotes, int result,
                                   const QString& errorMsg);
    void signalAlarmHandled(const QString& alarmUid);
    void signalAlarmTableRecordDoubleClicked(const VIG_AlarmInfo& alarmInfo,
                                             AlarmRelationType defaultAlarmRelationType);
    void signalSetAlarmDetailCheckWtVisible(bool visible);
    void signalAlarmHandledNotInVideoMonitorWt(const VIG_AlarmInfo& alarmInfo);
    void signalUpdateAlarmHandledNotesInDetailCheckWt(const QString& alarmUid);
    void signalChangeToAlarmMonitorTab();

private:
    explicit AlarmSignals(QObject* parent);

    AlarmEventQueue* queue = nullptr;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmSignals>;
