#pragma once

#include "frame/VIG_AlarmInfo.h"

#include <QWidget>

#include <memory>

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmVideoCellWt;
}

class AlarmMonitorVideoPanel;
class AlarmVideoCheckWt;

// One place for one probe's alarms: the check widget while it has alarms, the wait widget otherwise. It is
// a cell of the videos grid or the content of a pop-up dialog.
class AlarmVideoCellWt : public QWidget
{
    Q_OBJECT

public:
    explicit AlarmVideoCellWt(QWidget* parent = nullptr);
    ~AlarmVideoCellWt() override;

    void setCellIndex(int index);
    int cellIndex() const;

    // Starts the cell with a probe's first alarm.
    void setAlarm(const VIG_AlarmInfo& alarm);
    // Builds the check widget ahead of the first alarm, behind the wait widget, so that building it and
    // showing an alarm fall in different event-loop turns. False when it was there already.
    bool prepare();
    // One more alarm of the cell's probe.
    void addAlarm(const VIG_AlarmInfo& alarm);
    bool isHandling() const;
    AlarmMonitorVideoPanel* videoPanel() const;
    AlarmVideoCheckWt* checkWidget() const;
    // The wait widget is on show.
    bool isWaiting() const;

signals:
    void signalAllAlarmsHandledSuccess(const QString& probeUid, int cellIndex);
    void signalHandlingEnded(const QString& probeUid, int cellIndex);

public slots:
    void slotAllAlarmsHandledSuccess(const QString& probeUid);

private:
    void createCheckWidget();

    std::unique_ptr<Ui::AlarmVideoCellWt> ui;
    int index = -1;
    AlarmVideoCheckWt* checkWt = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
