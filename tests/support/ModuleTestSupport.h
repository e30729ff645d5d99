#pragma once

// Set-up and includes shared by the module's tests: the scripted alarm service or the embedded simulated
// server behind the business object, and the operator's side of the module's dialogs.

#include "FakeAlarmService.h"

#include "detail/AlarmDetailCheckWt.h"
#include "detail/AlarmRelationsListWt.h"
#include "frame/AlarmEventQueue.h"
#include "frame/AlarmModuleInit.h"
#include "frame/AlarmSignals.h"
#include "frame/VideoAlarmForm.h"
#include "handling/HandleAlarmDlg.h"
#include "service/AlarmBusiness.h"
#include "tables/AlarmMonitorPage.h"
#include "tables/AlarmMonitorTable.h"
#include "tables/StoreUnhadledAlarmsTable.h"
#include "video/AlarmVideoCellWt.h"
#include "video/AlarmVideoCheckDlg.h"
#include "video/AlarmVideoCheckDlgManager.h"
#include "video/AlarmVideoCheckWt.h"
#include "video/AlarmVideosMonitorWt.h"

#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "HandleTimeAxis.h"
#include "ImageViewer.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "SimAlarmEngine.h"
#include "SimAlarmServer.h"
#include "SystemBasicInfo.h"
#include "TableWidget.h"
#include "VideoPanel.h"
#include "VideoPlaybackPanel.h"
#include "WaitDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVariantList>
#include <QtTest>

namespace moduletest {

inline FakeAlarmService& service()
{
    static FakeAlarmService fake;
    return fake;
}

// Waits until the service thread has delivered everything and the main thread has taken what it posted.
inline void flush()
{
    service().waitForDelivery();
    // A burst reaches the main thread over several turns of its event loop.
    while (VIG_ALARM_MOUDLE::AlarmSignals::_instance().eventQueue().queuedCount() > 0)
        QCoreApplication::processEvents();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Nothing of the last case left: no event to deliver, no request, message or queued answer.
inline void resetCase()
{
    flush();
    service().takeCalls();
    VIG_BASE_MODULE::MessageBoxW::clearCalls();
    VIG_BASE_MODULE::MessageBoxW::clearQueuedAnswers();
}

// The scripted service behind a fresh relation store; must run before anything reaches the business object.
inline void installFakeService()
{
    QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
    DataCache::Instance()->SetAlarmPtr(&service());
    VIG_ALARM_MOUDLE::AlarmBusiness::_instance();
    VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
}

// The embedded simulated server on fresh databases, for the end-to-end tests.
inline SimAlarmServer* startSimulatedServer()
{
    QDir(SimAlarmServer::defaultDataFolder()).removeRecursively();
    QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
    QDir(QStringLiteral("LiveImageTemp")).removeRecursively();
    VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
    VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
    SimAlarmServer* server = DataCache::Instance()->GetSimulator();
    if (!server || !server->scenarioError().isEmpty())
        return nullptr;
    VIG_ALARM_MOUDLE::AlarmBusiness::_instance(); // registers with the simulator
    return server;
}

// The texts of the message boxes shown since the last call.
inline QStringList messages()
{
    QStringList shown;
    for (const VIG_BASE_MODULE::MessageBoxW::Call& call : VIG_BASE_MODULE::MessageBoxW::calls())
        shown.append(call.text);
    VIG_BASE_MODULE::MessageBoxW::clearCalls();
    return shown;
}

// Sends the next handle dialog that shows up with this note (an empty one keeps the note it shows), leaving
// its toggles as they are; the texts it showed, note and summary, go to shown.
inline void acceptHandleDialog(const QString& note, QStringList* shown = nullptr, int attempts = 500)
{
    QTimer::singleShot(attempts == 500 ? 0 : 10, [note, shown, attempts] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<VIG_ALARM_MOUDLE::HandleAlarmDlg*>(widget);
            if (dialog && dialog->isVisible()) {
                auto* edit = dialog->findChild<QTextEdit*>(QStringLiteral("textEdit"));
                if (shown)
                    *shown = QStringList{edit->toPlainText(),
                                         dialog->findChild<QLabel*>(QStringLiteral("summaryLabel"))->text()};
                if (!note.isEmpty())
                    edit->setPlainText(note);
                // A blank note would be refused in a message box that waits for an operator: the test fails
                // on what follows instead of hanging.
                if (edit->toPlainText().trimmed().isEmpty())
                    dialog->reject();
                else
                    dialog->findChild<QPushButton*>(QStringLiteral("HandleBt"))->click();
                return;
            }
        }
        if (attempts > 0)
            acceptHandleDialog(note, shown, attempts - 1);
    });
}

// The handle requests sent since the last call.
inline QList<FakeAlarmService::Call> handleRequests()
{
    QList<FakeAlarmService::Call> requests;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation.startsWith(QLatin1String("RequestHandleAlarm")))
            requests.append(call);
    }
    return requests;
}

// An alarm of a probe of the demo scenario.
inline VIG_ALARM_MOUDLE::VIG_AlarmInfo alarmOf(const QString& uid, const QString& probeId,
                                               const QString& time = QStringLiteral("2026-11-25 21:39:00"),
                                               int state = VIG_ALARM_MOUDLE::AlarmNew)
{
    const VIG_DATA_MODULE::VIG_ProbeInfo probe =
        VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
    VIG_ALARM_MOUDLE::VIG_AlarmInfo alarm;
    alarm.alarmUid = uid;
    alarm.storeUid = probe.storeUid;
    alarm.deviceId = probe.deviceId;
    alarm.probeId = probeId;
    alarm.channelIndex = probe.channelIndex;
    alarm.alarmTime = time;
    alarm.typeDescription = QStringLiteral("Intrusion");
    alarm.describe = QStringLiteral("alarm ") + uid;
    alarm.state = state;
    return alarm;
}

// The record the service sends for an alarm of any store, known to the demo scenario or not.
inline AlarmData recordOf(const QString& uid, const QString& store = QStringLiteral("S001"),
                          const QString& probe = QStringLiteral("P0101"),
                          const QString& device = QStringLiteral("D0101"), int channel = 1)
{
    AlarmData alarm;
    alarm.alarmUid = uid.toStdString();
    alarm.storeUid = store.toStdString();
    alarm.probeId = probe.toStdString();
    alarm.deviceId = device.toStdString();
    alarm.typeKey = "intrusion";
    alarm.typeDescription = "Intrusion";
    alarm.alarmTime = "2026-12-05 03:00:00";
    alarm.state = VIG_ALARM_MOUDLE::AlarmNew;
    alarm.channelIndex = channel;
    return alarm;
}

// The record the service sends for an alarm.
inline AlarmData dataOf(const VIG_ALARM_MOUDLE::VIG_AlarmInfo& info)
{
    AlarmData alarm;
    alarm.alarmUid = info.alarmUid.toStdString();
    alarm.storeUid = info.storeUid.toStdString();
    alarm.deviceId = info.deviceId.toStdString();
    alarm.probeId = info.probeId.toStdString();
    alarm.channelIndex = info.channelIndex;
    alarm.alarmTime = info.alarmTime.toStdString();
    alarm.typeDescription = info.typeDescription.toStdString();
    alarm.describe = info.describe.toStdString();
    alarm.state = info.state;
    return alarm;
}

// One handling of an alarm in the notes the service answers.
inline VIG_ALARM_MOUDLE::VIG_AlarmProcess handling(const QString& uid, const QString& time,
                                                   const QString& note, const QString& urls)
{
    VIG_ALARM_MOUDLE::VIG_AlarmProcess process;
    process.alarmUid = uid;
    process.handleTime = time;
    process.handleNote = note;
    process.liveImageUrls = urls;
    return process;
}

// The notes of an alarm as the hub passes them to the views.
inline void answerNotes(const VIG_ALARM_MOUDLE::AlarmProcessVector& notes, int result = 0)
{
    emit VIG_ALARM_MOUDLE::AlarmSignals::_instance().signalGetAlarmHandleNotes(notes, result, QString());
}

// Triggers the actions of a widget's menus that show this text.
inline void triggerAction(const QObject* owner, const QString& text)
{
    for (QAction* action : owner->findChildren<QAction*>()) {
        if (action->text() == text)
            action->trigger();
    }
}

// The alarms handled somewhere else, as a table reports them.
inline void handleElsewhere(const QStringList& uids)
{
    for (const QString& uid : uids) {
        VIG_ALARM_MOUDLE::VIG_AlarmInfo alarm;
        alarm.alarmUid = uid;
        emit VIG_ALARM_MOUDLE::AlarmSignals::_instance().signalAlarmHandledNotInVideoMonitorWt(alarm);
    }
}

// The uids of alarms, in order.
inline QStringList uidsOf(const QList<VIG_ALARM_MOUDLE::VIG_AlarmInfo>& alarms)
{
    QStringList uids;
    for (const VIG_ALARM_MOUDLE::VIG_AlarmInfo& alarm : alarms)
        uids.append(alarm.alarmUid);
    return uids;
}

inline VIG_SYSTEM_MODULE::BusinessConfig& businessConfig()
{
    return VIG_SYSTEM_MODULE::BusinessConfig::_instance();
}

inline VIG_DATA_MODULE::BasicData& basicData()
{
    return VIG_DATA_MODULE::BasicData::_instance();
}

// The detail view of an alarm, shown, with the parts the tests look at.
struct DetailScreen
{
    DetailScreen()
    {
        widget.resize(1200, 700);
        widget.show();
    }
    void open(int row) const { emit list->itemDoubleClicked(list->item(row)); }

    VIG_ALARM_MOUDLE::AlarmDetailCheckWt widget;
    VIG_ALARM_MOUDLE::AlarmRelationsListWt* list =
        widget.findChild<VIG_ALARM_MOUDLE::AlarmRelationsListWt*>(QStringLiteral("alarminfoList"));
    VIG_BASE_MODULE::VideoPlaybackPanel* playback =
        widget.findChild<VIG_BASE_MODULE::VideoPlaybackPanel*>(QStringLiteral("playbackPanel"));
    VIG_BASE_MODULE::ImageViewer* viewer =
        widget.findChild<VIG_BASE_MODULE::ImageViewer*>(QStringLiteral("imageViewer"));
    VIG_BASE_MODULE::HandleTimeAxis* axis =
        widget.findChild<VIG_BASE_MODULE::HandleTimeAxis*>(QStringLiteral("dealProcess"));
};

// The keys of a table's rows, top to bottom.
inline QStringList keys(const VIG_BASE_MODULE::TableWidget& table)
{
    QStringList result;
    for (int row = 0; row < table.rowCount(); ++row)
        result.append(table.getRowKeyValue(row));
    return result;
}

// What a spy recorded, as a list QCOMPARE takes.
inline QList<QVariantList> spied(const QSignalSpy& spy)
{
    return spy;
}

// A new alarm, delivered on the service's thread.
inline void deliverNew(const AlarmData& alarm)
{
    service().deliver([alarm](IAlarmEvent* handler) { handler->OnNewAlarm(alarm); });
}

inline void deliverPush(const AlarmProcessData& record)
{
    service().deliver([record](IAlarmEvent* handler) { handler->OnAlarmHandled(record); });
}

// The handled push of an alarm with one handling.
inline AlarmProcessData handledRecord(const AlarmData& alarm, const AlarmHandlerData& handler)
{
    AlarmProcessData record = SimAlarmEngine::processOf(alarm);
    record.handlers.push_back(handler);
    return record;
}

// The service's answer to a batch handle request, delivered on its thread.
inline void answer(const QStringList& uids, int result, const QString& requester,
                   const char* error = "refused")
{
    std::vector<std::string> list;
    for (const QString& uid : uids)
        list.push_back(uid.toStdString());
    const std::string who = requester.toStdString();
    const std::string message = result == 0 ? "" : error;
    service().deliver([list, result, who, message](IAlarmEvent* handler) {
        handler->OnHandleAlarmsResult(list, result, message.c_str(), who.c_str());
    });
    flush();
}

// An alarm raised on the simulated server, as its push reached the main thread; an empty one if none came.
inline VIG_ALARM_MOUDLE::VIG_AlarmInfo raisedAlarm(SimAlarmServer* server, const QString& probeId,
                                                   const QString& type = QString())
{
    // The hub's event queue emits pushes on the main thread: the spy records them there.
    QSignalSpy pushed(&VIG_ALARM_MOUDLE::AlarmSignals::_instance(),
                      &VIG_ALARM_MOUDLE::AlarmSignals::signalNewAlarmPush);
    QString error;
    const QString uid = server->raiseAlarm(probeId, type, &error);
    VIG_ALARM_MOUDLE::VIG_AlarmInfo alarm;
    const auto arrived = [&] {
        for (const QVariantList& push : qAsConst(pushed)) {
            if (push.first().value<VIG_ALARM_MOUDLE::VIG_AlarmInfo>().alarmUid == uid)
                alarm = push.first().value<VIG_ALARM_MOUDLE::VIG_AlarmInfo>();
        }
        return !alarm.alarmUid.isEmpty();
    };
    if (uid.isEmpty() || !QTest::qWaitFor(arrived, 15000))
        qWarning("no alarm of %s: %s", qPrintable(probeId), qPrintable(error));
    return alarm;
}

} // namespace moduletest
