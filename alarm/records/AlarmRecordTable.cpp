#include "records/AlarmRecordTable.h"

#include "frame/AlarmMutexLocker.h"
#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmRelation.h"

#include "BusinessConfig.h"

#include <QTableWidgetItem>

namespace VIG_ALARM_MOUDLE {

namespace {

enum Column {
    AlarmTimeColumn = 12,
    PrincipalColumn = 17,
    PrincipalTelColumn = 18,
};

void setHeaderText(QTableWidget* table, int column, const QString& text)
{
    if (QTableWidgetItem* header = table->horizontalHeaderItem(column))
        header->setText(text);
}

} // namespace

AlarmRecordTable::AlarmRecordTable(QWidget* parent) : AlarmTable(parent)
{
    const QString storeWord =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
    setHeaderText(this, AlarmTimeColumn, QObject::tr("New Alarm Time"));
    setHeaderText(this, PrincipalColumn, storeWord + QObject::tr("_Principal"));
    setHeaderText(this, PrincipalTelColumn, storeWord + QObject::tr("_Principal Tel"));

    connect(&AlarmSignals::_instance(), &AlarmSignals::signalHandledAlarmPush, this,
            &AlarmRecordTable::slotHandledAlarmPushed);
}

AlarmRecordTable::~AlarmRecordTable() = default;

void AlarmRecordTable::addAlarmRecord(const VIG_AlarmInfo& info)
{
    AlarmMutexLocker locker(&tableMutex);
    const int row = insertBack(getAlarmInfoValues(info), info.alarmUid, QSet<int>());
    // A state the service should not send keeps the table's default colour.
    if (info.state >= AlarmNew && info.state <= AlarmFinished)
        updateRowTextColorByAlarmHandleMode(row, static_cast<AlarmHandleMode>(info.state));
}

void AlarmRecordTable::slotHandledAlarmPushed(const VIG_AlarmProcess& alarmProcess)
{
    // The rows show the records as they were found; a new search brings the new states.
    Q_UNUSED(alarmProcess);
}

void AlarmRecordTable::slotAlarmDoubleClicked(QModelIndex index)
{
    emit AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(getAlarmInfo(index.row()),
                                                                       IcloudRecordingRelation);
}

} // namespace VIG_ALARM_MOUDLE
