#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QSet>
#include <QString>

namespace VIG_BASE_MODULE {

// Knows the local recordings running in any video panel, by file path, and stops one on request.
class VideoManager : public QObject, public ZCOMMON::ZSingleton<VideoManager>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<VideoManager>;

public:
    ~VideoManager() override;

    bool isVideoRecordingNow(const QString& filePath) const;
    // The panel recording into the file stops; nothing happens for a file not being recorded.
    void stopVideoRecording(const QString& filePath);

    // Called by the panels.
    void registerRecording(const QString& filePath);
    void unregisterRecording(const QString& filePath);
    QStringList recordingsNow() const;

signals:
    void signalStopVideoRecording(const QString& filePath);

private:
    explicit VideoManager(QObject* parent);
    static QString normalized(const QString& filePath);

    QSet<QString> recordings;
};

} // namespace VIG_BASE_MODULE

extern template class ZCOMMON::ZSingleton<VIG_BASE_MODULE::VideoManager>;
