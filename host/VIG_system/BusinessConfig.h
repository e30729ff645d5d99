#pragma once

#include "AlarmConfigInfo.h"
#include "SystemCustomizeInfo.h"
#include "VideoSteamConfigInfo.h"

#include "ZSingleton.h"

#include <QObject>

namespace VIG_SYSTEM_MODULE {

// The host's configuration cache, filled from the scenario. Getters are safe from any thread.
class BusinessConfig : public QObject, public ZCOMMON::ZSingleton<BusinessConfig>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<BusinessConfig>;

public:
    AlarmConfigInfo getAlarmConfigInfoFromCache() const;
    SystemCustomizeInfo getSystemCustomizeInfoFromCache() const;
    VideoSteamConfigInfo getVideoStreamConfigInfoFromCache() const;

    // Seams for tests and the console.
    void setAlarmConfigInfo(const AlarmConfigInfo& config);
    void setAlarmVideoShowMode(int mode);
    void setMaxVideoCheckDlgCount(int count);
    void setShowAlarmMap(bool show);
    void setNvrPlaybackPeriod(int secondsBefore, int durationSeconds);
    void setStoreWord(const QString& word);
    // Emits SystemSignals::signalVideoViewStreamingMediaFlagChanged when the kind changes.
    void setDefaultStreamKind(int streamKind);

private:
    explicit BusinessConfig(QObject* parent);
};

} // namespace VIG_SYSTEM_MODULE

extern template class ZCOMMON::ZSingleton<VIG_SYSTEM_MODULE::BusinessConfig>;
