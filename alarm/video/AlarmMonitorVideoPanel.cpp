#include "video/AlarmMonitorVideoPanel.h"

#include "frame/AlarmSignals.h"

#include "CPlavexPlayer.h"

namespace VIG_ALARM_MOUDLE {

AlarmMonitorVideoPanel::AlarmMonitorVideoPanel(QWidget* parent) : AlarmVideoPanel(parent)
{
    getPlayer()->SetAlarmVideoMode(CPlavexPlayer::ALARM_VIDEO_MODE);
}

AlarmMonitorVideoPanel::~AlarmMonitorVideoPanel() = default;

void AlarmMonitorVideoPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit AlarmSignals::_instance().signalCloseAlarmSound();
    AlarmVideoPanel::mouseDoubleClickEvent(event);
}

} // namespace VIG_ALARM_MOUDLE
