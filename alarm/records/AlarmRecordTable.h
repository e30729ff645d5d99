#pragma once

#include "tables/AlarmTable.h"

namespace VIG_ALARM_MOUDLE {

// One page of searched alarm records. The rows are a snapshot of the search: live handled pushes leave
// them as they are, and the search is repeated after a handling from this table's menu.
class AlarmRecordTable : public AlarmTable
{
    Q_OBJECT

public:
    explicit AlarmRecordTable(QWidget* parent = nullptr);
    ~AlarmRecordTable() override;

    // Appends the record at the bottom, coloured by its state.
    void addAlarmRecord(const VIG_AlarmInfo& info);

public slots:
    void slotHandledAlarmPushed(const VIG_AlarmProcess& alarmProcess);

protected slots:
    void slotAlarmDoubleClicked(QModelIndex index) override;
};

} // namespace VIG_ALARM_MOUDLE
