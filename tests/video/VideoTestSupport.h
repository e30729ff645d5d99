#pragma once

// Shared by the video tests: a fake alarm service installed before the business object, alarms booked
// as the event callback books them, and answers to handle requests delivered on the service's thread.

#include "FakeAlarmService.h"

#include "frame/AlarmSignals.h"
#include "handling/HandleAlarmDlg.h"
#include "service/AlarmBusiness.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "MessageBoxW.h"
#include "SystemBasicInfo.h"
#include "WaitDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace videotest {

using VIG_ALARM_MOUDLE::VIG_AlarmInfo;

inline FakeAlarmService& service()
{
    static FakeAlarmService fake;
    return fake;
}

// Before anything reaches the business object.
inline void installService()
{
    QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
    DataCache::Instance()->SetAlarmPtr(&service());
    VIG_ALARM_MOUDLE::AlarmBusiness::_instance();
    VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
}

inline void flush()
{
    service().waitForDelivery();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A booked alarm, as the callback books it before pushing it. The scenario's probes and stores are used.
inline VIG_AlarmInfo bookedAlarm(const QString& uid, const QString& probeId, const QString& time)
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
    VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = probeId;
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = time;
    alarm.typeDescription = QStringLiteral("Intrusion");
    alarm.describe = QStringLiteral("alarm ") + uid;
    alarm.state = VIG_ALARM_MOUDLE::AlarmNew;
    VIG_ALARM_MOUDLE::AlarmBusiness::_instance().addUnhandledAlarm(alarm);
    return alarm;
}

// The last handle request sent, by requester; empty when none.
inline QList<FakeAlarmService::Call> handleRequests()
{
    QList<FakeAlarmService::Call> requests;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation.startsWith(QLatin1String("RequestHandleAlarm")))
            requests.append(call);
    }
    return requests;
}

inline void answer(const QStringList& uids, int result, const QString& requester)
{
    std::vector<std::string> list;
    for (const QString& uid : uids)
        list.push_back(uid.toStdString());
    const std::string who = requester.toStdString();
    service().deliver([list, result, who](IAlarmEvent* handler) {
        handler->OnHandleAlarmsResult(list, result, result == 0 ? "" : "refused", who.c_str());
    });
    flush();
}

// Accepts the next handle dialog with a note, leaving its toggles as they are.
inline void acceptNextHandleDialog(const QString& note, int attempts = 500)
{
    QTimer::singleShot(attempts == 500 ? 0 : 10, [note, attempts] {
        VIG_ALARM_MOUDLE::HandleAlarmDlg* dlg = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* handle = qobject_cast<VIG_ALARM_MOUDLE::HandleAlarmDlg*>(widget)) {
                if (handle->isVisible())
                    dlg = handle;
            }
        }
        if (!dlg) {
            if (attempts > 0)
                acceptNextHandleDialog(note, attempts - 1);
            return;
        }
        dlg->findChild<QTextEdit*>(QStringLiteral("textEdit"))->setPlainText(note);
        dlg->findChild<QPushButton*>(QStringLiteral("HandleBt"))->click();
    });
}

} // namespace videotest
