#include "video/AlarmVideoPanel.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "CPlavexPlayer.h"
#include "SystemSignals.h"
#include "VideoLayer.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>

namespace VIG_ALARM_MOUDLE {

AlarmVideoPanel::AlarmVideoPanel(QWidget* parent) : VideoPanel(parent)
{
    // Closing one window would leave the alarm without part of its video.
    if (closeVideoAction) {
        closeVideoAction->setVisible(false);
        closeVideoAction->setData(1);
    }
    slotSetDefaultStreamingMediaFlag(VIG_SYSTEM_MODULE::BusinessConfig::_instance()
                                         .getVideoStreamConfigInfoFromCache()
                                         .defaultStreamingMediaFlag);
    connect(&VIG_SYSTEM_MODULE::SystemSignals::_instance(),
            &VIG_SYSTEM_MODULE::SystemSignals::signalVideoViewStreamingMediaFlagChanged, this,
            &AlarmVideoPanel::slotSetDefaultStreamingMediaFlag);
}

AlarmVideoPanel::~AlarmVideoPanel() = default;

void AlarmVideoPanel::setAlarm(const VIG_AlarmInfo& alarm)
{
    connectChannels(VIG_DATA_MODULE::BasicData::_instance().getProbeRelatedChannels(alarm.probeId), true);
}

void AlarmVideoPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    getVideoLayer()->videoPanelDbClicked();
    if (event->button() != Qt::LeftButton)
        return;
    if (!isPanelFullScreen()) {
        slotSetFullScreen(true);
        return;
    }
    int windowNum = 0;
    getPlayer()->GetWindowNum(&windowNum, nullptr);
    if (windowNum < 2)
        slotSetFullScreen(false);
    else
        VideoPanel::mouseDoubleClickEvent(event);
}

void AlarmVideoPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        slotSetFullScreen(false);
    QWidget::keyPressEvent(event);
}

} // namespace VIG_ALARM_MOUDLE
