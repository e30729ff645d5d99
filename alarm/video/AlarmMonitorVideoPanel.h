#pragma once

#include "video/AlarmVideoPanel.h"

namespace VIG_ALARM_MOUDLE {

// The panel of every video check widget: its player runs in alarm mode, and a double click on the video
// also silences the alarm.
class AlarmMonitorVideoPanel : public AlarmVideoPanel
{
    Q_OBJECT

public:
    explicit AlarmMonitorVideoPanel(QWidget* parent = nullptr);
    ~AlarmMonitorVideoPanel() override;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace VIG_ALARM_MOUDLE
