#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ColouredWidget.h"

#include <QMutex>
#include <QQueue>
#include <QSet>

class QVBoxLayout;

namespace VIG_ALARM_MOUDLE {

class AlarmMonitorTable;
class AlarmVideosMonitorWt;

// The monitor tab: the live alarm table and, when the host shows alarm video embedded, the grid of alarm
// videos above it. Every new alarm's video goes to the grid or to the pop-up dialogs.
class AlarmMonitorPage : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmMonitorPage(QWidget* parent = nullptr);
    ~AlarmMonitorPage() override;

    AlarmMonitorTable* monitorTable() const { return alarmMonitorTable; }
    // Null unless the grid was asked for when the page was made.
    AlarmVideosMonitorWt* videosMonitor() const { return videosMonitorWt; }
    // New alarms of a burst that wait for their turn to reach a pop-up or the grid.
    int queuedAlarmCount() const;
    // The alarms booked before this page listened, oldest first, as if they were arriving now.
    void showBookedAlarms();

signals:
    void signalAlarmTabDoubleClicked();

public slots:
    void slotNewAlarm(const VIG_AlarmInfo& alarmInfo);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool moreNewAlarmsPushed() const;
    // True when the alarm opened a pop-up or started a grid cell.
    bool routeAlarm(const VIG_AlarmInfo& alarmInfo);
    bool needsNewDialog(const VIG_AlarmInfo& alarmInfo) const;
    // True when the alarm would open a pop-up or start a grid cell.
    bool startsVideo(const VIG_AlarmInfo& alarmInfo) const;
    // Builds a part of the next pop-up or cell ahead of the alarm that shows in it; false when none was left.
    bool prepareVideo();
    void postRouting();
    void routeQueuedAlarms();
    // The table's rows went in or out: routing that waited for them goes on.
    void tableMoved();
    void slotAlarmHandled(const QString& alarmUid);

    AlarmVideosMonitorWt* videosMonitorWt = nullptr;
    AlarmMonitorTable* alarmMonitorTable = nullptr;
    QVBoxLayout* pageLayout = nullptr;
    QQueue<VIG_AlarmInfo> queuedAlarms; // oldest first
    QSet<QString> queuedUids;
    QSet<QString> handledWhileQueued;
    QSet<QString> shownFromBooks; // their pushes may still be on their way
    bool routingPosted = false;
    bool restTurn = false;            // the last turn opened a pop-up or a cell
    bool waitingForTable = false;     // a pop-up or cell waits until the table's queued rows are in
    quint64 newAlarmPushesBefore = 0; // pushed before this page listened
    quint64 newAlarmPushesTaken = 0;
    QMutex mutex;
};

} // namespace VIG_ALARM_MOUDLE
