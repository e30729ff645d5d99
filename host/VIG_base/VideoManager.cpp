#include "VideoManager.h"

#include <QDir>
#include <QFileInfo>

template class ZCOMMON::ZSingleton<VIG_BASE_MODULE::VideoManager>;

namespace VIG_BASE_MODULE {

VideoManager::VideoManager(QObject* parent) : QObject(parent) {}

VideoManager::~VideoManager() = default;

QString VideoManager::normalized(const QString& filePath)
{
    return filePath.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(filePath).absoluteFilePath());
}

bool VideoManager::isVideoRecordingNow(const QString& filePath) const
{
    return recordings.contains(normalized(filePath));
}

void VideoManager::stopVideoRecording(const QString& filePath)
{
    if (isVideoRecordingNow(filePath))
        emit signalStopVideoRecording(normalized(filePath));
}

void VideoManager::registerRecording(const QString& filePath)
{
    if (!filePath.isEmpty())
        recordings.insert(normalized(filePath));
}

void VideoManager::unregisterRecording(const QString& filePath)
{
    recordings.remove(normalized(filePath));
}

QStringList VideoManager::recordingsNow() const
{
    return recordings.values();
}

} // namespace VIG_BASE_MODULE
