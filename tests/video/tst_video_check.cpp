#include "VideoTestSupport.h"

#include "detail/AlarmInfoWidget.h"
#include "frame/VIG_AlarmRelation.h"
#include "relations/AlarmVideoRelation.h"
#include "video/AlarmMonitorVideoPanel.h"

#include "WordwrapLabel.h"

using namespace VIG_ALARM_MOUDLE;
using namespace videotest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {

QString shownTime(AlarmVideoCheckWt& widget)
{
    return widget.infoWidget()->findChild<ZCOMMON::WordwrapLabel*>(QStringLiteral("alarmTime"))->text();
}

} // namespace

class TestVideoCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(
            VIG_SYSTEM_MODULE::AlarmVideosInGrid); // no map
    }

    void init()
    {
        MessageBoxW::clearQueuedAnswers();
        MessageBoxW::clearCalls();
        service().takeCalls();
    }

    void oneRequestForAllAlarmsCountsItsResults()
    {
        AlarmVideoCheckWt widget;
        QSignalSpy done(&widget, &AlarmVideoCheckWt::signalAllAlarmsHandledSuccess);
        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        QSignalSpy dropped(&AlarmSignals::_instance(), &AlarmSignals::signalDeleteAlarmFromMonitorTable);
        widget.setAlarm(bookedAlarm("H1", "P0101", "2026-01-01 10:00:00"));
        widget.addAlarm(bookedAlarm("H2", "P0101", "2026-01-01 10:00:01"));
        widget.addAlarm(bookedAlarm("H3", "P0101", "2026-01-01 10:00:02"));

        acceptHandleDialog(QStringLiteral("guard sent"));
        widget.slotHandleAlarmBtClicked();
        QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).operation, QString("RequestHandleAlarms"));
        QCOMPARE(requests.at(0).uids, QStringList({"H1", "H2", "H3"}));
        QCOMPARE(requests.at(0).number, int(AlarmFinished));
        QCOMPARE(requests.at(0).texts.at(0), QString("guard sent"));
        QCOMPARE(widget.findChild<QLabel*>("alarmCountLabel")->text(), QString("Alarms of this probe: 3"));
        QVERIFY(!requests.at(0).informKeeper);
        const QString requester = requests.at(0).texts.at(1);
        QVERIFY(widget.isHandling());
        QVERIFY(WaitDialog::_instance().isShown());
        QCOMPARE(alarmOut.count(), 1);
        QVERIFY(!alarmOut.at(0).at(0).toStringList().isEmpty()); // the probe's channels switch its outputs

        // Someone else's results change nothing; ours are counted.
        answer({"H1", "H2", "H3"}, 0, QStringLiteral("{someone-else}"));
        QCOMPARE(widget.alarmUids().size(), 3);
        answer({"H1", "H3"}, 0, requester);
        QVERIFY(WaitDialog::_instance().isShown());
        QCOMPARE(dropped.count(), 2);
        QCOMPARE(widget.findChild<QLabel*>("alarmCountLabel")->text(), QString("Alarms of this probe: 1"));
        // The failed one comes back in the dialog with the operator's note and the reason; sent again, it
        // frees the widget and its video.
        QStringList shown;
        acceptHandleDialog(QString(), &shown);
        answer({"H2"}, 503, requester, "Alarm server unreachable");
        QCOMPARE(widget.alarmUids(), QStringList({"H2"}));
        QCOMPARE(done.count(), 0);
        QTRY_COMPARE(shown.value(0), QString("guard sent"));
        QVERIFY(shown.value(1).contains("Alarms in this handling: 1"));
        QVERIFY(shown.value(1).contains("Not handled yet: Alarm server unreachable"));
        QVERIFY(MessageBoxW::calls().isEmpty());
        requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).uids, QStringList({"H2"}));
        answer({"H2"}, 0, requester);
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toString(), QString("P0101"));
        QCOMPARE(widget.videoPanel()->windowChannel(0).channelId, QString());
    }

    void falseAlarmAsksByArmingState()
    {
        VIG_DATA_MODULE::BasicData& data = VIG_DATA_MODULE::BasicData::_instance();
        data.setArmingState("S001", 1);
        AlarmVideoCheckWt widget;
        widget.setAlarm(bookedAlarm("F1", "P0101", "2026-01-02 10:00:00"));

        MessageBoxW::queueAnswer(1); // False And Alarm Off
        widget.slotFalseAlarmBtClicked();
        QCOMPARE(data.getStoreInfo("S001").armingState, 0);
        QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).uids, QStringList({"F1"}));
        QCOMPARE(requests.at(0).number, int(AlarmMistaken));
        answer({"F1"}, 0, requests.at(0).texts.at(1));
        QVERIFY(!widget.isHandling());

        data.setArmingState("S001", 1);
    }

    void handledElsewhereShowsTheLatestRemaining()
    {
        AlarmVideoCheckWt widget;
        QSignalSpy done(&widget, &AlarmVideoCheckWt::signalAllAlarmsHandledSuccess);
        // Keys sort T1 < T2 < T3 < T4; times do not follow them.
        const VIG_AlarmInfo t1 = bookedAlarm("T1", "P0103", "2026-01-03 10:00:05");
        const VIG_AlarmInfo t2 = bookedAlarm("T2", "P0103", "2026-01-03 10:00:09");
        const VIG_AlarmInfo t3 = bookedAlarm("T3", "P0103", "2026-01-03 10:00:07");
        const VIG_AlarmInfo t4 = bookedAlarm("T4", "P0103", "2026-01-03 10:00:01");
        widget.setAlarm(t1);
        widget.addAlarm(t2);
        widget.addAlarm(t3);
        widget.addAlarm(t4);
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T4")); // the newest to arrive

        AlarmSignals& hub = AlarmSignals::_instance();
        emit hub.signalAlarmHandledNotInVideoMonitorWt(t4);
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T2"));
        QTRY_COMPARE(shownTime(widget), t2.alarmTime);

        // Not the one on show, twice: nothing else changes.
        emit hub.signalAlarmHandledNotInVideoMonitorWt(t1);
        emit hub.signalAlarmHandledNotInVideoMonitorWt(t1);
        QCOMPARE(widget.alarmUids(), QStringList({"T2", "T3"}));
        emit hub.signalAlarmHandledNotInVideoMonitorWt(t2);
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T3"));
        QTRY_COMPARE(shownTime(widget), t3.alarmTime);
        QCOMPARE(done.count(), 0);

        emit hub.signalAlarmHandledNotInVideoMonitorWt(t3);
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toString(), QString("P0103"));
        QVERIFY(widget.alarmUids().isEmpty());

        // Handled in a table while the widget's own request is out: the request ends with the last alarm.
        widget.setAlarm(bookedAlarm("T5", "P0103", "2026-01-03 10:00:10"));
        acceptHandleDialog(QStringLiteral("note"));
        widget.slotHandleAlarmBtClicked();
        const QString requester = handleRequests().value(0).texts.value(1);
        QVERIFY(widget.isHandling());
        emit hub.signalAlarmHandledNotInVideoMonitorWt(widget.currentAlarmInfo());
        QVERIFY(!widget.isHandling());
        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(done.count(), 2);
        answer({"T5"}, 0, requester); // late: nothing more
        QCOMPARE(done.count(), 2);
    }

    void answerForAProbeGoneMeanwhileSendsNothing()
    {
        AlarmVideoCheckWt widget;
        const VIG_AlarmInfo gone = bookedAlarm("U1", "P0105", "2026-01-03 11:00:00");
        const VIG_AlarmInfo next = bookedAlarm("U2", "P0202", "2026-01-03 11:00:01");
        widget.setAlarm(gone);

        // While the operator writes the note, the alarm is handled in a table and the widget shows another
        // probe.
        const auto reuse = [&widget, gone, next] {
            emit AlarmSignals::_instance().signalAlarmHandledNotInVideoMonitorWt(gone);
            widget.setAlarm(next);
        };
        QTimer::singleShot(0, reuse);
        acceptHandleDialog(QStringLiteral("for the first probe"));
        widget.slotHandleAlarmBtClicked();
        QVERIFY(handleRequests().isEmpty());
        QVERIFY(!widget.isHandling());
        QCOMPARE(widget.alarmUids(), QStringList({"U2"}));
    }

    void capturesAndRecordingsBelongToTheAlarmOnShow()
    {
        AlarmVideoCheckWt widget;
        widget.resize(900, 400);
        widget.show();
        const VIG_AlarmInfo a = bookedAlarm("R1", "P0104", "2026-01-04 10:00:00");
        const VIG_AlarmInfo b = bookedAlarm("R2", "P0104", "2026-01-04 10:00:01");
        widget.setAlarm(a);
        AlarmMonitorVideoPanel* panel = widget.videoPanel();
        AlarmVideoRelation& relations = AlarmVideoRelation::_instance();

        // The recording started while A was on show belongs to A, though B came before the file was named.
        emit panel->signalRecordActionTriggered();
        widget.addAlarm(b);
        const QString path = "D:\\VideoRecordings\\20260104\\ch1-1-101500-7.vrec";
        emit panel->signalVideoRecordingFileNameChanged(0, path);
        QList<VIG_AlarmRelation> saved = relations.getAlarmRelations("R1");
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.at(0).filePath, path);
        QCOMPARE(saved.at(0).fileName, QString("Local Recording 2026-01-04 10:15:00"));
        QVERIFY(relations.getAlarmRelations("R2").isEmpty());

        // Through the panel's own menu: the recording goes to the alarm now on show (B).
        for (QAction* action : panel->findChildren<QAction*>()) {
            if (action->text() == QLatin1String("Start Recording")) {
                action->trigger();
                break;
            }
        }
        QVERIFY(panel->isRecording(0));
        saved = relations.getAlarmRelations("R2");
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.at(0).type, int(LocalRecordingRelation));
        QVERIFY(QFile::exists(saved.at(0).filePath));

        // A capture takes the window whose menu was used; a window that plays nothing is said, not saved.
        auto use = [panel](int window, const char* item) {
            panel->selectWindow(window);
            for (QAction* action : panel->findChildren<QAction*>()) {
                if (action->text() == QLatin1String(item))
                    action->trigger();
            }
        };
        QTRY_VERIFY(panel->videoCapture(1).contains(QLatin1String("-2-")));
        use(1, "Capture");
        saved = relations.getAlarmRelations("R2");
        QCOMPARE(saved.size(), 2);
        QVERIFY2(saved.at(1).filePath.contains(QLatin1String("-2-")), qPrintable(saved.at(1).filePath));
        messages();
        use(1, "Close Video");
        VIG_BASE_MODULE::MessageBoxW::queueAnswer(1);
        use(1, "Capture");
        QCOMPARE(messages(), QStringList({"Nothing was captured: this video is not playing."}));
        QCOMPARE(relations.getAlarmRelations("R2").size(), 2);

        // The recording's alarm handled elsewhere stops the recordings; the widget keeps A.
        emit AlarmSignals::_instance().signalAlarmHandledNotInVideoMonitorWt(b);
        QVERIFY(!panel->isRecording(0));
        QCOMPARE(widget.alarmUids(), QStringList({"R1"}));
    }
};

QTEST_MAIN(TestVideoCheck)
#include "tst_video_check.moc"
