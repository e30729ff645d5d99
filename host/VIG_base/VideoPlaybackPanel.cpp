#include "VideoPlaybackPanel.h"

#include "VideoPanel.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVBoxLayout>

namespace VIG_BASE_MODULE {

namespace {
int clipLengthMs = 5000;
}

VideoPlaybackPanel::VideoPlaybackPanel(QWidget* parent) : QWidget(parent), videoPanel(new VideoPanel(this))
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(videoPanel);
}

VideoPlaybackPanel::~VideoPlaybackPanel() = default;

void VideoPlaybackPanel::setClipDurationMs(int durationMs)
{
    clipLengthMs = qMax(1, durationMs);
}

int VideoPlaybackPanel::clipDurationMs()
{
    return clipLengthMs;
}

void VideoPlaybackPanel::connectChannels(const QVector<VIG_DATA_MODULE::VIG_ChannelInfo>& channels)
{
    title.clear();
    videoPanel->connectChannels(channels, true);
}

void VideoPlaybackPanel::startClip(const QString& clipTitle, bool ok)
{
    title = clipTitle;
    playbackOk = ok;
    videoPanel->playbackClip(clipTitle, clipLengthMs, ok);
}

void VideoPlaybackPanel::playbackRemoteAlarmVideoRecording(const QString& deviceId, int channelIndex,
                                                           const QString& recordingJson)
{
    const QJsonObject recording = QJsonDocument::fromJson(recordingJson.toUtf8()).object();
    const QString fileName = recording.value(QStringLiteral("fileName")).toString();
    const QString address = recording.value(QStringLiteral("deviceAddr")).toString();
    startClip(
        tr("Device recording %1 (%2, channel %3, %4)").arg(fileName, deviceId).arg(channelIndex).arg(address),
        !fileName.isEmpty() && !deviceId.isEmpty());
}

void VideoPlaybackPanel::playbackIcloudAlarmVideoRecording(const QString& locator, const QString& timeText)
{
    const QString name = locator.section(QLatin1Char('/'), -1);
    startClip(tr("Cloud recording %1 %2").arg(name, timeText), !name.isEmpty());
}

void VideoPlaybackPanel::playbackLocalVideoRecording(const QString& path)
{
    const QFileInfo file(path);
    startClip(tr("Local recording %1").arg(file.fileName()),
              !path.isEmpty() && file.isFile() && file.isReadable());
}

void VideoPlaybackPanel::playbackSpecifiedPeriodVideoRecording(const QString& deviceId, int channelIndex,
                                                               const QString& startTime, int durationSeconds)
{
    const QDateTime start = QDateTime::fromString(startTime, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    const QString end = start.addSecs(durationSeconds).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    startClip(tr("NVR %1 channel %2: %3 to %4").arg(deviceId).arg(channelIndex).arg(startTime, end),
              !deviceId.isEmpty() && start.isValid() && durationSeconds > 0);
}

void VideoPlaybackPanel::stopVideoPlay()
{
    videoPanel->stopPlayback();
}

bool VideoPlaybackPanel::isVideoRecordingPlaybackSuccess() const
{
    return playbackOk;
}

QString VideoPlaybackPanel::currentTitle() const
{
    return title;
}

VideoPanel* VideoPlaybackPanel::getVideoPanel() const
{
    return videoPanel;
}

} // namespace VIG_BASE_MODULE
