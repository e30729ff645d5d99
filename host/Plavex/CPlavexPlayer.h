#pragma once

#include <QObject>

// The video player behind a video panel: it knows how many video windows the panel shows and which one is
// selected, and whether it plays in alarm mode.
class CPlavexPlayer : public QObject
{
    Q_OBJECT

public:
    enum VideoMode { ALARM_VIDEO_MODE = 0, NORMAL_VIDEO_MODE = 1 };

    explicit CPlavexPlayer(QObject* parent = nullptr);
    ~CPlavexPlayer() override;

    // 0 (ALARM_VIDEO_MODE) marks the windows as alarm video; anything else is normal video.
    void SetAlarmVideoMode(int mode);
    int GetAlarmVideoMode() const;
    bool IsAlarmVideoMode() const;

    // Writes the number of video windows and the selected window (-1 for none); either pointer may be null.
    // Returns 0.
    int GetWindowNum(int* windowNum, int* selectedWindow) const;
    void SetWindowNum(int windowNum);
    void SetSelectedWindow(int window);

signals:
    void signalAlarmVideoModeChanged(int mode);

private:
    int videoMode = NORMAL_VIDEO_MODE;
    int windowCount = 0;
    int selected = -1;
};
