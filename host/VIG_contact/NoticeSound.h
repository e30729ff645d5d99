#pragma once

#include "ZSingleton.h"

#include <QObject>

#include <atomic>

namespace VIG_CONTACT_MODULE {

// The alarm sound. NoticeSignals::signalNewAlarmNotice starts it (unless the alarm settings make alarms
// silent) and it plays until stopped. The state changes on the main thread; isPlaying() may be read anywhere.
class NoticeSound : public QObject, public ZCOMMON::ZSingleton<NoticeSound>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<NoticeSound>;

public:
    bool isPlaying() const;
    void startAlarmNoticeSound();
    void stopAlarmNoticeSound();

signals:
    void signalPlayingChanged(bool playing);

private:
    explicit NoticeSound(QObject* parent);
    void setPlaying(bool playing);

    std::atomic<bool> playing{false};
};

} // namespace VIG_CONTACT_MODULE

extern template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::NoticeSound>;
