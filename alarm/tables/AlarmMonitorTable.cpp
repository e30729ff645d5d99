#include "tables/AlarmMonitorTable.h"

#include "frame/AlarmSignals.h"
#include "service/AlarmCallBack.h"

#include "frame/AlarmMutexLocker.h"

namespace VIG_ALARM_MOUDLE {

namespace {
// Below this a queued burst goes in at once with its last alarm; above it, in the table's own pace.
const int RowsPerBlock = 256;
} // namespace

AlarmMonitorTable::AlarmMonitorTable(QWidget* parent)
    : AlarmTable(parent)
    , newAlarmPushesBefore(AlarmCallBack::newAlarmPushCount())
    , handlingPushesBefore(AlarmCallBack::handlingPushCount())
{
    AlarmSignals& hub = AlarmSignals::_instance();
    // Counted ahead of the slots below: a queued push reaches the connections in the order they were made.
    const auto taken = [this] {
        ++handlingPushesTaken;
    };
    connect(&hub, &AlarmSignals::signalHandleAlarmResult, this, taken);
    connect(&hub, &AlarmSignals::signalHandledAlarmPush, this, taken);
    connect(&hub, &AlarmSignals::signalDeleteAlarmFromMonitorTable, this,
            &AlarmMonitorTable::slotDeleteAlarmFromMonitorTable);
    connect(&hub, &AlarmSignals::signalNewAlarmPush, this, &AlarmMonitorTable::slotNewAlarmPush);
    connect(&hub, &AlarmSignals::signalHandledAlarmPush, this, &AlarmMonitorTable::slotHandledAlarmPush);
}

AlarmMonitorTable::~AlarmMonitorTable() = default;

void AlarmMonitorTable::addNewAlarm(const VIG_AlarmInfo& info)
{
    AlarmMutexLocker locker(&tableMutex);
    handledRows.remove(info.alarmUid);
    // Whatever the record says, a pushed alarm is new to the operator.
    if (queueingNewAlarms()) {
        // Each row put at the top moves every row below it: a storm goes in by blocks, all of it before
        // anything reads the table or the operator touches it.
        queueFront(getAlarmInfoValues(info), info.alarmUid, stateColour(AlarmNew));
        // The burst's last alarm: what is left goes in now, not with a later frame.
        if (!morePushesQueued())
            flushPendingRowsSoon();
        return;
    }
    if (pendingRowCount() > 0) {
        // The end of a burst goes in with what is still queued, as one block.
        queueFront(getAlarmInfoValues(info), info.alarmUid, stateColour(AlarmNew));
        flushPendingRows();
        return;
    }
    insertFront(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
    updateRowTextColorByAlarmHandleMode(0, AlarmNew);
}

void AlarmMonitorTable::addNewAlarms(const QList<VIG_AlarmInfo>& alarms)
{
    AlarmMutexLocker locker(&tableMutex);
    for (const VIG_AlarmInfo& info : alarms) {
        handledRows.remove(info.alarmUid);
        queueFront(getAlarmInfoValues(info), info.alarmUid, stateColour(AlarmNew));
    }
}

bool AlarmMonitorTable::queueingNewAlarms() const
{
    // Only the service's pushes come in bursts; a direct call shows its row at once.
    if (sender() != &AlarmSignals::_instance())
        return false;
    return morePushesQueued() || pendingRowCount() >= RowsPerBlock;
}

bool AlarmMonitorTable::morePushesQueued() const
{
    return newAlarmPushesBefore + newAlarmPushesTaken < AlarmCallBack::newAlarmPushCount();
}

void AlarmMonitorTable::addHandledAlarm(const VIG_AlarmProcess& process)
{
    AlarmMutexLocker locker(&tableMutex);
    const int row = insertBack(getHandledAlarmInfoValues(process), process.alarmUid, QSet<int>());
    colourRowByState(row, process.state);
    markHandledRow(process);
}

void AlarmMonitorTable::updateHandledAlarm(const VIG_AlarmProcess& process)
{
    AlarmMutexLocker locker(&tableMutex);
    const int row = getRowIndexByKeyValue(process.alarmUid);
    if (row < 0)
        return;
    // Texts and colour in one change: a handling burst recolours thousands of rows.
    modifyRowValues(getHandledAlarmInfoValues(process), row, stateColour(process.state));
    markHandledRow(process);
}

void AlarmMonitorTable::markHandledRow(const VIG_AlarmProcess& process)
{
    // A record still in the new state is no handling: an answer that comes later takes its row as usual.
    if (process.state != AlarmNew)
        handledRows.insert(process.alarmUid);
    else
        handledRows.remove(process.alarmUid);
}

bool AlarmMonitorTable::handlingBurst()
{
    const quint64 pushed = AlarmCallBack::handlingPushCount();
    // Pushes this table saw but the service did not count (emitted on this thread) start the count anew.
    if (handlingPushesBefore + handlingPushesTaken > pushed)
        handlingPushesBefore = pushed - handlingPushesTaken;
    // The push being handled may not be counted yet: a result reaches the table's own count after the
    // handling that removes the row.
    return pushed - (handlingPushesBefore + handlingPushesTaken) > 1;
}

void AlarmMonitorTable::deleteAlarm(const QString& alarmUid)
{
    AlarmMutexLocker locker(&tableMutex);
    handledRows.remove(alarmUid);
    if (handlingBurst()) {
        removeRowLater(alarmUid);
        return;
    }
    if (pendingRemovalCount() > 0) {
        // The end of a burst leaves with the rest of it.
        removeRowLater(alarmUid);
        flushPendingRemovals();
        return;
    }
    AlarmTable::deleteAlarm(alarmUid);
}

void AlarmMonitorTable::slotDeleteAlarmFromMonitorTable(const QString& alarmUid)
{
    {
        AlarmMutexLocker locker(&tableMutex);
        if (handledRows.contains(alarmUid))
            return;
    }
    deleteAlarm(alarmUid);
}

void AlarmMonitorTable::slotNewAlarmPush(const VIG_AlarmInfo& info)
{
    if (sender() == &AlarmSignals::_instance())
        ++newAlarmPushesTaken;
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
