#pragma once

#include "tables/AlarmTable.h"

namespace VIG_ALARM_MOUDLE {

// The live table of the monitor page: new alarms of every store at the top in red, handled alarms
// recoloured in place (or appended), rows dropped once a handling from a table has succeeded.
class Q_DECL_EXPORT AlarmMonitorTable : public AlarmTable
{
    Q_OBJECT

public:
    explicit AlarmMonitorTable(QWidget* parent = nullptr);
    ~AlarmMonitorTable() override;

    virtual void addNewAlarm(const VIG_AlarmInfo& info);
    // New alarms, oldest first, put in as one burst: the last ends on top.
    void addNewAlarms(const QList<VIG_AlarmInfo>& alarms);
    virtual void addHandledAlarm(const VIG_AlarmProcess& process);
    virtual void updateHandledAlarm(const VIG_AlarmProcess& process);
    void deleteAlarm(const QString& alarmUid) override;

public slots:
    virtual void slotDeleteAlarmFromMonitorTable(const QString& alarmUid);
    virtual void slotNewAlarmPush(const VIG_AlarmInfo& info);
    virtual void slotHandledAlarmPush(const VIG_AlarmProcess& process);

protected slots:
    void slotAlarmDoubleClicked(QModelIndex index) override;

private:
    // True while a burst of pushed alarms goes on (more are queued for this table) or is still going in.
    bool queueingNewAlarms() const;
    // Whether the service has pushed new alarms that this table has not taken yet.
    bool morePushesQueued() const;
    // True while more handle results or handled pushes are queued for this table: rows they remove may leave
    // together.
    bool handlingBurst();

    // Rows that show a handled push. The answer to this operator's own handling may come after the push; the
    // row then stays, in its handled state, instead of leaving as on an answer that comes first.
    QSet<QString> handledRows;
    void markHandledRow(const VIG_AlarmProcess& process);
    quint64 newAlarmPushesBefore = 0; // pushed before this table listened
    quint64 newAlarmPushesTaken = 0;
    quint64 handlingPushesBefore = 0;
    quint64 handlingPushesTaken = 0;
};

} // namespace VIG_ALARM_MOUDLE
