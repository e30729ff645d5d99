#pragma once

#include "tables/AlarmMonitorTable.h"

namespace VIG_ALARM_MOUDLE {

// The unhandled alarms of one store, for the host's own views: loaded with updateData, then kept up to date
// from the live stream; the row count is reported whenever the live stream changes it.
class Q_DECL_EXPORT StoreUnhadledAlarmsTable : public AlarmMonitorTable
{
    Q_OBJECT

public:
    explicit StoreUnhadledAlarmsTable(QWidget* parent = nullptr);
    ~StoreUnhadledAlarmsTable() override;

    // Adds the store's unhandled alarms (rows already shown stay) and returns how many were received.
    int updateData(const QString& storeUid);
    void deleteAlarm(const QString& alarmUid) override;

signals:
    void signalStoreUnhandledAlarmsCount(int count);

public slots:
    void slotNewAlarmPush(const VIG_AlarmInfo& info) override;
    void slotHandledAlarmPush(const VIG_AlarmProcess& process) override;

protected slots:
    void slotAlarmDoubleClicked(QModelIndex index) override;

private:
    // What the operator will see: rows marked to leave are not counted.
    int shownRowCount() const;
    void reportCount();

    QString currentStoreUid;
    bool removalsReported = false; // a count that left out rows still marked to leave was reported
};

} // namespace VIG_ALARM_MOUDLE
