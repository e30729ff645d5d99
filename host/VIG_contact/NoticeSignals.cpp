#include "NoticeSignals.h"

#include "MainThread.h"
#include "NoticeSound.h"

template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::NoticeSignals>;

namespace VIG_CONTACT_MODULE {

NoticeSignals::NoticeSignals(QObject* parent) : QObject(parent)
{
    VIG_DATA_MODULE::MainThread::adopt(this);
    qRegisterMetaType<RequestType>();
    qRegisterMetaType<RequestType>("RequestType");
    qRegisterMetaType<NoticeHintType>();
    qRegisterMetaType<NoticeHintType>("NoticeHintType");
    qRegisterMetaType<StoreStateNoticeType>();
    qRegisterMetaType<StoreStateNoticeType>("StoreStateNoticeType");

    // The sound follows the notice from the moment the notice exists; NoticeSound never reaches back here.
    NoticeSound* sound = &NoticeSound::_instance();
    connect(this, &NoticeSignals::signalNewAlarmNotice, sound, &NoticeSound::startAlarmNoticeSound);
}

} // namespace VIG_CONTACT_MODULE
