#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ColouredWidget.h"

#include <QMutex>

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

signals:
    void signalAlarmTabDoubleClicked();

public slots:
    void slotNewAlarm(const VIG_AlarmInfo& alarmInfo);

private:
    AlarmVideosMonitorWt* videosMonitorWt = nullptr;
    AlarmMonitorTable* alarmMonitorTable = nullptr;
    QVBoxLayout* pageLayout = nullptr;
    QMutex mutex;
};

} // namespace VIG_ALARM_MOUDLE
