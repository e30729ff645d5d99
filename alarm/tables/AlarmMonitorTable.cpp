#include "tables/AlarmMonitorTable.h"

#include "frame/AlarmSignals.h"

#include "frame/AlarmMutexLocker.h"

namespace VIG_ALARM_MOUDLE {

AlarmMonitorTable::AlarmMonitorTable(QWidget* parent) : AlarmTable(parent)
{
    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable, this,
            &AlarmMonitorTable::slotDeleteAlarmFromMonitorTable);
    connect(&hub, &AlarmSignals::signalNewAlarmPush, this, &AlarmMonitorTable::slotNewAlarmPush);
    connect(&hub, &AlarmSignals::signalHandledAlarmPush, this, &AlarmMonitorTable::slotHandledAlarmPush);
}

AlarmMonitorTable::~AlarmMonitorTable() = default;

void AlarmMonitorTable::addNewAlarm(const VIG_AlarmInfo& info)
{
    AlarmMutexLocker locker(&tableMutex);
    insertFront(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
    // Whatever the record says, a pushed alarm is new to the operator.
    updateRowTextColorByAlarmHandleMode(0, AlarmNew);
}

void AlarmMonitorTable::addHandledAlarm(const VIG_AlarmProcess& process)
{
    AlarmMutexLocker locker(&tableMutex);
    const int row = insertBack(getHandledAlarmInfoValues(process), process.alarmUid, QSet<int>());
    colourRowByState(row, process.state);
}

void AlarmMonitorTable::updateHandledAlarm(const VIG_AlarmProcess& process)
{
    AlarmMutexLocker locker(&tableMutex);
    const int row = getRowIndexByKeyValue(process.alarmUid);
    if (row < 0)
        return;
    modifyRowValues(getHandledAlarmInfoValues(process), row);
    colourRowByState(row, process.state);
}

void AlarmMonitorTable::deleteAlarm(const QString& alarmUid)
{
    AlarmMutexLocker locker(&tableMutex);
    AlarmTable::deleteAlarm(alarmUid);
}

void AlarmMonitorTable::slotDeleteAlarmFromMonitorTable(const QString& alarmUid)
{
    deleteAlarm(alarmUid);
}

void AlarmMonitorTable::slotNewAlarmPush(const VIG_AlarmInfo& info)
{
    addNewAlarm(info);
}

void AlarmMonitorTable::slotHandledAlarmPush(const VIG_AlarmProcess& process)
{
    if (getRowIndexByKeyValue(process.alarmUid) < 0)
        addHandledAlarm(process);
    else
        updateHandledAlarm(process);
}

void AlarmMonitorTable::slotAlarmDoubleClicked(QModelIndex index)
{
    AlarmSignals& hub = AlarmSignals::_instance();
    emit hub.signalCloseAlarmSound();
    emit hub.signalAlarmTableRecordDoubleClicked(getAlarmInfo(index.row()), IcloudRecordingRelation);
}

} // namespace VIG_ALARM_MOUDLE
