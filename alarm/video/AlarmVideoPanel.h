#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "VideoPanel.h"

namespace VIG_ALARM_MOUDLE {

// The host's video panel for an alarm: it opens every channel related to the alarm's probe in the stream
// kind chosen in the host's video view, and toggles full screen on a double click.
class AlarmVideoPanel : public VIG_BASE_MODULE::VideoPanel
{
    Q_OBJECT

public:
    explicit AlarmVideoPanel(QWidget* parent = nullptr);
    ~AlarmVideoPanel() override;

    void setAlarm(const VIG_AlarmInfo& alarm);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace VIG_ALARM_MOUDLE
