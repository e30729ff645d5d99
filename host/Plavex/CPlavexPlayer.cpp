#include "CPlavexPlayer.h"

CPlavexPlayer::CPlavexPlayer(QObject* parent) : QObject(parent) {}

CPlavexPlayer::~CPlavexPlayer() = default;

void CPlavexPlayer::SetAlarmVideoMode(int mode)
{
    if (mode == videoMode)
        return;
    videoMode = mode;
    emit signalAlarmVideoModeChanged(mode);
}

int CPlavexPlayer::GetAlarmVideoMode() const
{
    return videoMode;
}

bool CPlavexPlayer::IsAlarmVideoMode() const
{
    return videoMode == ALARM_VIDEO_MODE;
}

int CPlavexPlayer::GetWindowNum(int* windowNum, int* selectedWindow) const
{
    if (windowNum)
        *windowNum = windowCount;
    if (selectedWindow)
        *selectedWindow = selected;
    return 0;
}

void CPlavexPlayer::SetWindowNum(int windowNum)
{
    windowCount = qMax(0, windowNum);
    if (selected >= windowCount)
        selected = windowCount > 0 ? windowCount - 1 : -1;
}

void CPlavexPlayer::SetSelectedWindow(int window)
{
    selected = window >= 0 && window < windowCount ? window : -1;
}
