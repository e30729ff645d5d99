#pragma once

#include "VIG_ChannelInfo.h"

#include <QVector>
#include <QWidget>

namespace VIG_BASE_MODULE {

class VideoPanel;

// Plays either live channels or one recording in a VideoPanel. Recordings are synthetic clips showing the
// recording's name and progress; the panel's signalVideoPlaybackFinished(0) tells when a clip has ended.
class VideoPlaybackPanel : public QWidget
{
    Q_OBJECT

public:
    explicit VideoPlaybackPanel(QWidget* parent = nullptr);
    ~VideoPlaybackPanel() override;

    // Length of every clip, for all panels (5000 ms unless set; at least 1 ms).
    static void setClipDurationMs(int durationMs);
    static int clipDurationMs();

    void connectChannels(const QVector<VIG_DATA_MODULE::VIG_ChannelInfo>& channels);
    // recordingJson is the {"deviceAddr":..,"fileName":..} text of a storage recording.
    void playbackRemoteAlarmVideoRecording(const QString& deviceId, int channelIndex,
                                           const QString& recordingJson);
    void playbackIcloudAlarmVideoRecording(const QString& locator, const QString& timeText);
    void playbackLocalVideoRecording(const QString& path);
    // startTime "yyyy-MM-dd hh:mm:ss", duration in seconds.
    void playbackSpecifiedPeriodVideoRecording(const QString& deviceId, int channelIndex,
                                               const QString& startTime, int durationSeconds);
    void stopVideoPlay();

    // Whether the last playback could be started (false before any).
    bool isVideoRecordingPlaybackSuccess() const;
    // What the last playback showed, for tests and the status line.
    QString currentTitle() const;
    VideoPanel* getVideoPanel() const;

private:
    void startClip(const QString& title, bool ok);

    VideoPanel* videoPanel = nullptr;
    QString title;
    bool playbackOk = false;
};

} // namespace VIG_BASE_MODULE
