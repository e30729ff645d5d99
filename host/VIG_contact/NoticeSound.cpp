#include "NoticeSound.h"

#include "BusinessConfig.h"
#include "MainThread.h"

#include <QApplication>
#include <QThread>

template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::NoticeSound>;

namespace VIG_CONTACT_MODULE {

NoticeSound::NoticeSound(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
}

bool NoticeSound::isPlaying() const
{
    return playing.load();
}

void NoticeSound::startAlarmNoticeSound()
{
    if (VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmSoundMode == 0)
        return;
    setPlaying(true);
}

void NoticeSound::stopAlarmNoticeSound()
{
    setPlaying(false);
}

void NoticeSound::setPlaying(bool nowPlaying)
{
    // The beep and the signal belong to the main thread; a call from elsewhere is passed there.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, nowPlaying]() { setPlaying(nowPlaying); }, Qt::QueuedConnection);
        return;
    }
    if (playing.exchange(nowPlaying) == nowPlaying)
        return;
    if (nowPlaying && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    emit signalPlayingChanged(nowPlaying);
}

} // namespace VIG_CONTACT_MODULE
