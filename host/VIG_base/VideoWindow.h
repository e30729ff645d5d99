#pragma once

#include "VIG_ChannelInfo.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

namespace VIG_BASE_MODULE {

// One window of a video panel. It paints a synthetic picture: for a live channel the channel's name, a
// moving pattern and the clock; for a playback the recording's name and its progress.
class VideoWindow : public QWidget
{
    Q_OBJECT

public:
    enum State { Idle, Connecting, Playing, Failed, PlaybackPlaying, PlaybackFinished, PlaybackFailed };

    explicit VideoWindow(int index, QWidget* parent = nullptr);
    ~VideoWindow() override;

    int index() const;
    void openChannel(const VIG_DATA_MODULE::VIG_ChannelInfo& channel);
    void openPlayback(const QString& title, int durationMs, bool ok);
    void close();
    const VIG_DATA_MODULE::VIG_ChannelInfo& channel() const;
    State state() const;
    void setState(State state);
    QString playbackTitle() const;
    // 0 to 1.
    double playbackProgress() const;

    void setSelected(bool selected);
    void setRecording(bool recording);
    void setAlarmMode(bool alarmMode);
    void setStreamText(const QString& text);

    // The picture this window shows now, at its size (at 640 x 360 while it has no usable size).
    QImage currentPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPicture(QPainter& painter, const QRect& rect) const;
    void paintLive(QPainter& painter, const QRect& rect) const;
    void paintPlayback(QPainter& painter, const QRect& rect) const;

    int windowIndex;
    VIG_DATA_MODULE::VIG_ChannelInfo channelInfo;
    State windowState = Idle;
    QString title;
    int clipMs = 0;
    QElapsedTimer clock;
    bool selected = false;
    bool recording = false;
    bool alarmMode = false;
    QString streamText;
};

} // namespace VIG_BASE_MODULE
