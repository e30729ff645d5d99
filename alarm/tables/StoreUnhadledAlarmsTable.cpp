#include "tables/StoreUnhadledAlarmsTable.h"

#include "service/AlarmBusiness.h"

#include "ModuleAccessSignals.h"

#include "frame/AlarmMutexLocker.h"
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace VIG_ALARM_MOUDLE {

namespace {

enum Column {
    AlarmTimeColumn = 12,
    KeeperTelColumn = 15,
    OwnerTelColumn = 16,
    DescriptionColumn = 20,
};

} // namespace

StoreUnhadledAlarmsTable::StoreUnhadledAlarmsTable(QWidget* parent) : AlarmMonitorTable(parent)
{
    horizontalHeaderItem(AlarmTimeColumn)->setText(QObject::tr("New Alarm Time"));
    horizontalHeaderItem(DescriptionColumn)->setText(QObject::tr("New Alarm Description"));
    hideColumn(KeeperTelColumn);
    hideColumn(OwnerTelColumn);
    setAlternatingRowColors(true);
    setShowGrid(true);
    // Rows of a handling burst leave together later: the host hears the count again when they have gone.
    // They leave in several runs of adjacent rows, so the count is taken once the pass is over.
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!removalsReported || pendingRemovalCount() > 0)
            return;
        removalsReported = false;
        QMetaObject::invokeMethod(this, &StoreUnhadledAlarmsTable::reportCount, Qt::QueuedConnection);
    });
}

StoreUnhadledAlarmsTable::~StoreUnhadledAlarmsTable() = default;

int StoreUnhadledAlarmsTable::updateData(const QString& storeUid)
{
    // Asked before the table's lock is taken: the business object's lock is never nested in it.
    const AlarmInfoVector alarms = AlarmBusiness::_instance().getStoreUnhandledAlarms(storeUid);
    AlarmMutexLocker locker(&tableMutex);
    currentStoreUid = storeUid;
    for (const VIG_AlarmInfo& info : alarms)
        insertFront(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
    sortByColumn(AlarmTimeColumn, Qt::DescendingOrder);
    return alarms.size();
}

void StoreUnhadledAlarmsTable::deleteAlarm(const QString& alarmUid)
{
    AlarmMonitorTable::deleteAlarm(alarmUid);
    reportCount();
}

void StoreUnhadledAlarmsTable::slotNewAlarmPush(const VIG_AlarmInfo& info)
{
    // Until updateData binds the table its store is empty, so it takes no store's alarms.
    if (info.storeUid != currentStoreUid)
        return;
    {
        AlarmMutexLocker locker(&tableMutex);
        insertFront(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
    }
    reportCount();
}

void StoreUnhadledAlarmsTable::slotHandledAlarmPush(const VIG_AlarmProcess& process)
{
    if (process.storeUid == currentStoreUid)
        deleteAlarm(process.alarmUid);
}

int StoreUnhadledAlarmsTable::shownRowCount() const
{
    return rowCount() - pendingRemovalCount();
}

void StoreUnhadledAlarmsTable::reportCount()
{
    removalsReported = pendingRemovalCount() > 0;
    emit signalStoreUnhandledAlarmsCount(shownRowCount());
}

void StoreUnhadledAlarmsTable::slotAlarmDoubleClicked(QModelIndex index)
{
    emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalSetCurrentModuleForm(
        VIG_CONTACT_MODULE::AlarmModuleForm);
    AlarmMonitorTable::slotAlarmDoubleClicked(index);
}

} // namespace VIG_ALARM_MOUDLE
