#pragma once

#include "ZSingleton.h"

#include <QObject>
#include <QStringList>

namespace VIG_CONTACT_MODULE {

// Kinds of failed requests announced to the operator.
enum RequestType : int {
    HandleAlarmRequest = 101000,
    HandleAlarmsRequest = 101001,
    AlarmRecordsCountRequest = 101002,
    AlarmRecordsRequest = 101003,
    AlarmHandleNotesRequest = 101004,
    AlarmReplyARequest = 101005,
    AlarmReplyBRequest = 101006,
};

enum NoticeHintType : int {
    InformationHint = 0,
    WarningHint = 1,
    ErrorHint = 2,
    SuccessHint = 3,
    DeviceStateHint = 4,
    AlarmHandledHint = 5,
};

enum StoreStateNoticeType : int {
    StoreNewAlarmNotice = 1,
    StoreAlarmHandledNotice = 2,
};

// Notices to the operator. Emitted from any thread; it lives on the main thread. The new-alarm notice
// starts NoticeSound.
class NoticeSignals : public QObject, public ZCOMMON::ZSingleton<NoticeSignals>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<NoticeSignals>;

signals:
    void sendRequestErrorNoticeSignal(int result, const QString& errorMsg, RequestType requestType,
                                      const QString& uuid, const QStringList& uids);
    void signalNewAlarmNotice();
    void signalNoticeHint(NoticeHintType hintType, const QString& text);
    void signalStoreStateChangeNotice(const QString& storeUid, StoreStateNoticeType noticeType);

private:
    explicit NoticeSignals(QObject* parent);
};

} // namespace VIG_CONTACT_MODULE

Q_DECLARE_METATYPE(VIG_CONTACT_MODULE::RequestType)
Q_DECLARE_METATYPE(VIG_CONTACT_MODULE::NoticeHintType)
Q_DECLARE_METATYPE(VIG_CONTACT_MODULE::StoreStateNoticeType)

extern template class ZCOMMON::ZSingleton<VIG_CONTACT_MODULE::NoticeSignals>;
