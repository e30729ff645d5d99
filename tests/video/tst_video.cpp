// The alarm's video views: the check widget with its handling and captures, the pop-ups and their manager,
// the grid of cells, and the handle dialog they open.
#include "ModuleTestSupport.h"
#include "TestMain.h"

#include "detail/AlarmInfoWidget.h"
#include "relations/AlarmVideoRelation.h"
#include "video/AlarmMonitorVideoPanel.h"
#include "video/WaitingAlarmsLabel.h"

#include "ModuleFormModuleInit.h"
#include "NoticeSound.h"
#include "WordwrapLabel.h"

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {

// Booked as the event callback books it.
VIG_AlarmInfo bookedAlarm(const QString& uid, const QString& probeId, const QString& time)
{
    const VIG_AlarmInfo alarm = alarmOf(uid, probeId, time);
    AlarmBusiness::_instance().addUnhandledAlarm(alarm);
    return alarm;
}

AlarmVideoCheckDlgManager& manager()
{
    return AlarmVideoCheckDlgManager::_instance();
}

QStringList dialogAlarms(const QString& probeId)
{
    AlarmVideoCheckDlg* dlg = manager().probeDialog(probeId);
    return dlg && dlg->cell()->checkWidget() ? dlg->cell()->checkWidget()->alarmUids() : QStringList();
}

int serial = 0;

VIG_AlarmInfo nextAlarm(const QString& probeId)
{
    ++serial;
    return bookedAlarm(QString("D%1").arg(serial), probeId,
                       QString("2026-03-01 10:%1:00").arg(serial, 2, 10, QLatin1Char('0')));
}

QStringList cellAlarms(const AlarmVideosMonitorWt& grid, int index)
{
    AlarmVideoCheckWt* check = grid.cell(index)->checkWidget();
    return check ? check->alarmUids() : QStringList();
}

// Runs the step on the dialog once its exec() has made it the active modal widget.
void onModalDialog(std::function<void(HandleAlarmDlg*)> step)
{
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<HandleAlarmDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
    });
}

template <typename T> T* child(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
    [&] {
        QVERIFY2(widget, name);
    }();
    return widget;
}

} // namespace

// The check widget, alone, in the cells of the grid and in the pop-ups, and the handle dialog it opens.
class TestVideoViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        VIG_SYSTEM_MODULE::BusinessConfig& config = businessConfig();
        config.setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        config.setShowAlarmMap(false);
        config.setMaxVideoCheckDlgCount(3);
        installFakeService();
        QCOMPARE(manager().maxDialogCount(), 3);
        config.setMaxVideoCheckDlgCount(5); // read once: the running manager keeps 3
        QCOMPARE(manager().maxDialogCount(), 3);
    }

    void init() { resetCase(); }

    // Every test leaves no dialog open.
    void cleanup()
    {
        for (const char* probe : {"P0101", "P0201", "P0301", "P0401"})
            handleElsewhere(dialogAlarms(probe));
        for (AlarmVideoCheckDlg* dlg : manager().dialogs())
            QVERIFY(dlg->isHidden());
        QVERIFY(AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());
    }

    void oneRequestForAllAlarmsCountsItsResults()
    {
        AlarmVideoCheckWt widget;
        QSignalSpy done(&widget, &AlarmVideoCheckWt::signalAllAlarmsHandledSuccess);
        QSignalSpy alarmOut(&ModuleAccessSignals::_instance(), &ModuleAccessSignals::signalCloseAlarmOut);
        QSignalSpy dropped(&AlarmSignals::_instance(), &AlarmSignals::signalDeleteAlarmFromMonitorTable);
        widget.setAlarm(bookedAlarm("H1", "P0101", "2026-01-01 10:00:00"));
        widget.addAlarm(bookedAlarm("H2", "P0101", "2026-01-01 10:00:01"));

        // H3 comes while the note is written: it goes with the handling, and the dialog says so before Send.
        QString opened;
        QStringList sent;
        QTimer::singleShot(0, &widget, [&widget, &opened] {
            if (auto* dialog = qobject_cast<HandleAlarmDlg*>(QApplication::activeModalWidget()))
                opened = dialog->findChild<QLabel*>("summaryLabel")->text();
            widget.addAlarm(bookedAlarm("H3", "P0101", "2026-01-01 10:00:02"));
        });
        acceptHandleDialog(QStringLiteral("guard sent"), &sent);
        widget.slotHandleAlarmBtClicked();
        QCOMPARE(QStringList({opened, sent.value(1)}),
                 QStringList({"Alarms in this handling: 2", "Alarms in this handling: 3"}));
        QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(QVariantList({requests.at(0).operation, requests.at(0).uids, requests.at(0).number,
                               requests.at(0).texts.at(0), requests.at(0).informKeeper}),
                 QVariantList({"RequestHandleAlarms", QStringList({"H1", "H2", "H3"}), int(AlarmFinished),
                               "guard sent", false}));
        QCOMPARE(widget.findChild<QLabel*>("alarmCountLabel")->text(), QString("Alarms of this probe: 3"));
        const QString requester = requests.at(0).texts.at(1);
        QVERIFY(widget.isHandling() && WaitDialog::_instance().isShown());
        QCOMPARE(alarmOut.count(), 1);
        QVERIFY(!alarmOut.at(0).at(0).toStringList().isEmpty()); // the probe's channels switch its outputs

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
        QCOMPARE(spied(done), QList<QVariantList>({{"P0101"}}));
        QCOMPARE(widget.videoPanel()->windowChannel(0).channelId, QString());
    }

    void falseAlarmAsksByArmingState()
    {
        basicData().setArmingState("S001", 1);
        AlarmVideoCheckWt widget;
        widget.setAlarm(bookedAlarm("F1", "P0101", "2026-01-02 10:00:00"));

        MessageBoxW::queueAnswer(1); // False And Alarm Off
        widget.slotFalseAlarmBtClicked();
        QCOMPARE(basicData().getStoreInfo("S001").armingState, 0);
        QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(QVariantList({requests.at(0).uids, requests.at(0).number}),
                 QVariantList({QStringList({"F1"}), int(AlarmMistaken)}));
        answer({"F1"}, 0, requests.at(0).texts.at(1));
        QVERIFY(!widget.isHandling());

        basicData().setArmingState("S001", 1);
    }

    void handledElsewhereShowsTheLatestRemaining()
    {
        AlarmVideoCheckWt widget;
        QSignalSpy done(&widget, &AlarmVideoCheckWt::signalAllAlarmsHandledSuccess);
        // Keys sort T1 < T2 < T3 < T4; times do not follow them.
        const VIG_AlarmInfo t1 = bookedAlarm("T1", "P0103", "2026-01-03 10:00:05");
        const VIG_AlarmInfo t2 = bookedAlarm("T2", "P0103", "2026-01-03 10:00:09");
        const VIG_AlarmInfo t3 = bookedAlarm("T3", "P0103", "2026-01-03 10:00:07");
        widget.setAlarm(t1);
        for (const VIG_AlarmInfo& alarm : {t2, t3, bookedAlarm("T4", "P0103", "2026-01-03 10:00:01")})
            widget.addAlarm(alarm);
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T4")); // the newest to arrive

        handleElsewhere({"T4"});
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T2"));
        QTRY_COMPARE(widget.infoWidget()->findChild<ZCOMMON::WordwrapLabel*>("alarmTime")->text(),
                     t2.alarmTime);

        // Not the one on show, twice: nothing else changes.
        handleElsewhere({"T1", "T1"});
        QCOMPARE(widget.alarmUids(), QStringList({"T2", "T3"}));
        handleElsewhere({"T2"});
        QCOMPARE(widget.currentAlarmInfo().alarmUid, QString("T3"));
        QTRY_COMPARE(widget.infoWidget()->findChild<ZCOMMON::WordwrapLabel*>("alarmTime")->text(),
                     t3.alarmTime);
        QCOMPARE(done.count(), 0);

        handleElsewhere({"T3"});
        QCOMPARE(spied(done), QList<QVariantList>({{"P0103"}}));
        QVERIFY(widget.alarmUids().isEmpty());

        // Handled in a table while the widget's own request is out: the request ends with the last alarm.
        widget.setAlarm(bookedAlarm("T5", "P0103", "2026-01-03 10:00:10"));
        acceptHandleDialog(QStringLiteral("note"));
        widget.slotHandleAlarmBtClicked();
        const QString requester = handleRequests().value(0).texts.value(1);
        QVERIFY(widget.isHandling());
        handleElsewhere({"T5"});
        QVERIFY(!widget.isHandling() && !WaitDialog::_instance().isShown());
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
        QVERIFY(handleRequests().isEmpty() && !widget.isHandling());
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
        QCOMPARE(
            QStringList({QString::number(saved.size()), saved.value(0).filePath, saved.value(0).fileName}),
            QStringList({"1", path, "Local Recording 2026-01-04 10:15:00"}));
        QVERIFY(relations.getAlarmRelations("R2").isEmpty());

        // Through the panel's own menu: the recording goes to the alarm now on show (B).
        triggerAction(panel, "Start Recording");
        QVERIFY(panel->isRecording(0));
        saved = relations.getAlarmRelations("R2");
        QCOMPARE(QVariantList({saved.size(), saved.value(0).type, QFile::exists(saved.value(0).filePath)}),
                 QVariantList({1, int(LocalRecordingRelation), true}));

        // A capture takes the window whose menu was used; a window that plays nothing is said, not saved.
        auto use = [panel](int window, const char* item) {
            panel->selectWindow(window);
            triggerAction(panel, item);
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

    void fiveProbesFillTheCellsInOrder()
    {
        AlarmVideosMonitorWt grid;
        grid.resize(800, 500);
        grid.show();
        QCOMPARE(grid.freeCellIndexes(), QList<int>({0, 1, 2, 3}));
        QVERIFY(grid.cell(0)->isWaiting());
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
        VIG_CONTACT_MODULE::NoticeSound::_instance().startAlarmNoticeSound();
        const QStringList probes = {"P0401", "P0101", "P0301", "P0201", "P0501"};
        for (int i = 0; i < probes.size(); ++i)
            grid.showAlarm(
                bookedAlarm(QString("G%1").arg(i), probes.at(i), "2026-02-01 10:00:0" + QString::number(i)));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(
                QVariantList({grid.probeCell(probes.at(i)), cellAlarms(grid, i), grid.cell(i)->isWaiting(),
                              grid.cell(i)->videoPanel()->windowCount() >= 1}),
                QVariantList({i, QStringList({QString("G%1").arg(i)}), false, true}));
        QCOMPARE(grid.probeCell("P0501"), -1);
        QVERIFY(grid.freeCellIndexes().isEmpty());
        auto* backlog = grid.findChild<WaitingAlarmsLabel*>();
        QTRY_VERIFY(backlog && backlog->isVisible() && backlog->count() == 1);

        // The first cell that frees takes the waiting probe at once.
        handleElsewhere(cellAlarms(grid, 1));
        QTRY_VERIFY(backlog->isHidden());
        QCOMPARE(QVariantList({grid.probeCell("P0101"), grid.probeCell("P0501"), cellAlarms(grid, 1),
                               grid.freeCellIndexes().isEmpty()}),
                 QVariantList({-1, 1, QStringList({"G4"}), true}));

        // The sound stops only when the last busy cell frees; a freed cell shows its wait widget at once.
        for (int index : {2, 0, 3}) {
            handleElsewhere(cellAlarms(grid, index));
            QVERIFY(grid.cell(index)->isWaiting());
            QCOMPARE(sound.count(), 0);
        }
        QVERIFY(VIG_CONTACT_MODULE::NoticeSound::_instance().isPlaying());
        handleElsewhere(cellAlarms(grid, 1));
        QCOMPARE(sound.count(), 1);
        QVERIFY(!VIG_CONTACT_MODULE::NoticeSound::_instance().isPlaying());
        QCOMPARE(grid.freeCellIndexes(), QList<int>({0, 1, 2, 3}));
    }

    void groupOfABusyProbeIsParkedAgain()
    {
        AlarmVideosMonitorWt grid;
        const QStringList probes = {"P0101", "P0201", "P0301", "P0401"};
        for (int i = 0; i < probes.size(); ++i)
            grid.showAlarm(
                bookedAlarm(QString("K%1").arg(i), probes.at(i), "2026-02-02 10:00:0" + QString::number(i)));

        // Cell 0 sends a handle request; while it waits, its probe's alarms wait too.
        acceptHandleDialog(QStringLiteral("on my way"));
        grid.cell(0)->checkWidget()->slotHandleAlarmBtClicked();
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        QVERIFY(grid.cell(0)->isHandling());
        grid.showAlarm(bookedAlarm("K5", "P0101", "2026-02-02 10:00:05"));
        grid.showAlarm(bookedAlarm("K6", "P0101", "2026-02-02 10:00:06"));
        grid.showAlarm(bookedAlarm("K7", "P0501", "2026-02-02 10:00:07"));
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K0"}));

        // Cell 3 frees: P0101 comes first from the store, goes back, and P0501 takes the cell.
        handleElsewhere(cellAlarms(grid, 3));
        QCOMPARE(QVariantList({cellAlarms(grid, 0), grid.probeCell("P0501"), cellAlarms(grid, 3)}),
                 QVariantList({QStringList({"K0"}), 3, QStringList({"K7"})}));

        // The request ends: cell 0 frees and shows its probe's parked alarms, the newest on show.
        answer({"K0"}, 0, requests.at(0).texts.at(1));
        QCOMPARE(QVariantList({grid.probeCell("P0101"), cellAlarms(grid, 0),
                               grid.cell(0)->checkWidget()->currentAlarmInfo().alarmUid,
                               grid.cell(0)->isHandling()}),
                 QVariantList({0, QStringList({"K5", "K6"}), "K6", false}));
        QVERIFY(VIG_ALARM_MOUDLE::AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());

        // A request that ends with alarms left (one refused) takes the alarms parked meanwhile at once.
        acceptHandleDialog(QStringLiteral("again"));
        grid.cell(0)->checkWidget()->slotHandleAlarmBtClicked();
        const QString requester = handleRequests().value(0).texts.value(1);
        grid.showAlarm(bookedAlarm("K8", "P0101", "2026-02-02 10:00:08"));
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K5", "K6"}));
        acceptHandleDialog(QString()); // the failed handling comes back; sent again with the parked alarm
        answer({"K5"}, 0, requester);
        answer({"K6"}, 503, requester);
        QCOMPARE(cellAlarms(grid, 0), QStringList({"K6", "K8"}));
        QVERIFY(VIG_ALARM_MOUDLE::AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());
        const QList<FakeAlarmService::Call> again = handleRequests();
        QCOMPARE(again.size(), 1);
        QCOMPARE(QVariantList({again.at(0).uids, again.at(0).texts.at(0)}),
                 QVariantList({QStringList({"K6", "K8"}), "again"}));
        answer({"K6", "K8"}, 0, requester);
        QVERIFY(grid.cell(0)->isWaiting());
    }

    void dialogsBelongToTheMainWindow()
    {
        auto* mainWindow = new QWidget;
        VIG_MODULEFORM_MODULE::ModuleFormModuleInit::_instance().setMainWindow(mainWindow);
        manager().showAlarm(nextAlarm("P0101"));
        AlarmVideoCheckDlg* dlg = manager().probeDialog("P0101");
        QVERIFY(dlg);
        QCOMPARE(dlg->parentWidget(), mainWindow);
        handleElsewhere(dialogAlarms("P0101"));
        QVERIFY(dlg->isHidden());
        QCOMPARE(manager().dialogs().size(), 1);

        // Gone with the host's window: the manager makes new ones, without a parent now.
        delete mainWindow;
        QVERIFY(manager().dialogs().isEmpty());
        manager().showAlarm(nextAlarm("P0101"));
        QVERIFY(manager().probeDialog("P0101") && !manager().probeDialog("P0101")->parentWidget());
    }

    void alarmsOfOneProbeShareADialog()
    {
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
        manager().showAlarm(nextAlarm("P0101"));
        manager().showAlarm(nextAlarm("P0101"));
        QCOMPARE(manager().dialogs().size(), 1);
        AlarmVideoCheckDlg* dlg = manager().probeDialog("P0101");
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(dialogAlarms("P0101").size(), 2);

        // The cell floats over the dialog and follows it.
        AlarmVideoCellWt* cell = dlg->cell();
        dlg->move(dlg->pos() + QPoint(15, 25));
        QCOMPARE(cell->geometry(), dlg->geometry().adjusted(10, 10, -10, -10));

        // Freed when its alarms are handled: hidden with its cell, the sound stops, the dialog stays for
        // reuse.
        QCOMPARE(sound.count(), 0);
        handleElsewhere(dialogAlarms("P0101"));
        QVERIFY(dlg->isHidden() && cell->isHidden());
        QCOMPARE(sound.count(), 1);
        QVERIFY(!manager().topDialog());
        manager().showAlarm(nextAlarm("P0201"));
        QCOMPARE(manager().probeDialog("P0201"), dlg);
    }

    void fourthProbeWaitsForAFreedDialog()
    {
        for (const char* probe : {"P0101", "P0201", "P0301"})
            manager().showAlarm(nextAlarm(probe));
        QCOMPARE(manager().dialogs().size(), 3);
        AlarmVideoCheckDlg* second = manager().probeDialog("P0201");

        QStringList waiting; // counted by alarm, not by probe
        for (int i = 0; i < 2; ++i) {
            const VIG_AlarmInfo alarm = nextAlarm("P0401");
            manager().showAlarm(alarm);
            waiting << alarm.alarmUid;
        }
        QCOMPARE(manager().dialogs().size(), 3);
        QVERIFY(!manager().probeDialog("P0401"));

        // The backlog shows on the page and over the top pop-up.
        AlarmMonitorPage page;
        auto* onPage = page.findChild<WaitingAlarmsLabel*>();
        auto* onTop = manager().stackingOrder().first()->cell()->findChild<WaitingAlarmsLabel*>();
        QVERIFY(onPage && onTop);
        QTRY_VERIFY(onTop->isVisible() && onPage->text().endsWith(": 2"));

        handleElsewhere(dialogAlarms("P0201"));
        QTRY_VERIFY(onTop->isHidden() && onPage->count() == 0);
        QCOMPARE(manager().probeDialog("P0401"), second);
        QVERIFY(second->isVisible());
        QStringList shown = dialogAlarms("P0401");
        shown.sort();
        waiting.sort();
        QCOMPARE(shown, waiting);
        QCOMPARE(manager().dialogs().last(), second); // freed dialogs go last
    }

    void cascadeStaysOnTheScreen()
    {
        const QRect screen(0, 0, 1920, 1080);
        const QSize size(980, 360);
        QCOMPARE(AlarmVideoCheckDlgManager::cascadePosition({400, 300}, size, screen), QPoint(420, 280));
        QCOMPARE(AlarmVideoCheckDlgManager::cascadePosition({400, 900}, size, screen), QPoint(420, 720));
        QCOMPARE(AlarmVideoCheckDlgManager::cascadePosition({100, 300}, size, QRect(1920, 40, 1280, 984)),
                 QPoint(1920, 280));
        // Many reuses drive the cascade and its origin into a corner: it goes on at the opposite edges.
        QCOMPARE(AlarmVideoCheckDlgManager::freeCascadePosition(
                     {620, 0}, {620, 0}, size, QRect(0, 0, 1600, 1200), {{620, 0}, {600, 0}}),
                 QPoint(0, 840));
    }

    void cascadeNeverLandsOnADialog_data()
    {
        QTest::addColumn<QPoint>("previous");
        QTest::addColumn<QList<QPoint>>("taken");
        QTest::addColumn<QPoint>("expected");
        // Origin (400, 400), screen 1920x1080, dialogs 980x360: the top edge stops the cascade at y 0.
        QTest::newRow("free shift") << QPoint(400, 400) << QList<QPoint>{{400, 400}} << QPoint(420, 380);
        QTest::newRow("edge, restart at the origin")
            << QPoint(800, 0) << QList<QPoint>{{800, 0}, {820, 0}} << QPoint(400, 400);
        QTest::newRow("origin taken, next step")
            << QPoint(800, 0) << QList<QPoint>{{400, 400}, {820, 0}} << QPoint(420, 380);
    }

    void cascadeNeverLandsOnADialog()
    {
        QFETCH(QPoint, previous);
        QFETCH(QList<QPoint>, taken);
        QFETCH(QPoint, expected);
        QCOMPARE(AlarmVideoCheckDlgManager::freeCascadePosition(previous, {400, 400}, {980, 360},
                                                                {0, 0, 1920, 1080}, taken),
                 expected);
    }

    // A new pop-up comes up over the others, below only the one the operator touched; the window system
    // cannot close one (it would hide while holding its probe).
    void newPopUpsStackBelowTheTouchedOne()
    {
        manager().showAlarm(nextAlarm("P0101"));
        manager().showAlarm(nextAlarm("P0201"));
        AlarmVideoCheckDlg* first = manager().probeDialog("P0101");
        AlarmVideoCheckDlg* second = manager().probeDialog("P0201");
        QCOMPARE(manager().stackingOrder(), (QList<AlarmVideoCheckDlg*>{second, first}));
        QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        manager().showAlarm(nextAlarm("P0301"));
        AlarmVideoCheckDlg* third = manager().probeDialog("P0301");
        QCOMPARE(manager().stackingOrder(), (QList<AlarmVideoCheckDlg*>{first, third, second}));

        // As the window system closes them.
        QVERIFY(!third->windowHandle()->close() && !third->cell()->windowHandle()->close());
        QVERIFY(third->isVisible() && third->cell()->isVisible());
    }

    // A burst from the service is placed over several event-loop turns: never two new pop-ups in one turn,
    // and every alarm ends in its probe's dialog or waiting, in the order it came.
    void burstOpensOnePopUpPerTurnInOrder()
    {
        AlarmMonitorPage page;
        const QStringList probes = {"P0101", "P0201", "P0301", "P0401"};
        QMap<QString, QStringList> sent;
        for (int n = 0; n < 12; ++n) {
            const QString probeId = probes.at(n % probes.size());
            const AlarmData alarm =
                dataOf(alarmOf(QString("Q%1").arg(n, 2, 10, QLatin1Char('0')), probeId,
                               QString("2026-03-02 10:%1:00").arg(n, 2, 10, QLatin1Char('0'))));
            deliverNew(alarm);
            sent[probeId] << QString::fromStdString(alarm.alarmUid);
        }
        service().waitForDelivery(); // the pushes wait in the event queue, all in one turn
        int shown = 0;
        for (int turn = 0; turn < 50 && (turn == 0 || page.queuedAlarmCount() > 0); ++turn) {
            QCoreApplication::sendPostedEvents();
            int visible = 0;
            for (AlarmVideoCheckDlg* dlg : manager().dialogs())
                visible += dlg->isVisible() ? 1 : 0;
            QVERIFY(visible <= shown + 1);
            shown = visible;
        }
        QCOMPARE(page.queuedAlarmCount(), 0);
        QCOMPARE(shown, 3);
        for (const QString& probeId : probes.mid(0, 3))
            QCOMPARE(dialogAlarms(probeId), sent.value(probeId));
        QStringList waiting = uidsOf(AlarmBusiness::_instance().takeWaitingAlarms());
        waiting.sort(); // the waiting store keeps no order within a probe
        QCOMPARE(waiting, sent.value("P0401"));
    }

    void blankNoteIsRefusedAndTheDialogStays()
    {
        HandleAlarmDlg dialog(nullptr);
        MessageBoxW::queueAnswer(1);
        bool checked = false;
        onModalDialog([&](HandleAlarmDlg* shown) {
            QCOMPARE(shown, &dialog);
            auto* note = child<QTextEdit>(shown, "textEdit");
            note->setPlainText(" \n\t \n");
            child<QPushButton>(shown, "HandleBt")->click();
            QVERIFY(shown->isVisible());
            QCOMPARE(note->toPlainText(), QString(" \n\t \n"));
            QCOMPARE(MessageBoxW::calls().size(), 1);
            QCOMPARE(MessageBoxW::calls().at(0).text, QString("The handle note can not be null."));
            checked = true;
            // The close button ends it without an answer.
            shown->closeButton()->click();
        });
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(checked);
    }

    void sentNoteGivesTheThreeAnswers()
    {
        businessConfig().setStoreWord(QStringLiteral("Shop"));
        HandleAlarmDlg dialog(nullptr);
        QCOMPARE(child<QLabel>(&dialog, "informKeeperLabel")->text(), QString("InformShop_Keeper"));
        onModalDialog([](HandleAlarmDlg* shown) {
            QTest::keyClicks(child<QTextEdit>(shown, "textEdit"), "  guard sent");
            child<QPushButton>(shown, "HandleBt")->click();
        });
        QCOMPARE(dialog.exec(), 1);
        QCOMPARE(QVariantList(
                     {dialog.getHandleNote(), dialog.isCloseAlarmChecked(), dialog.isInformKeeperChecked()}),
                 QVariantList({"  guard sent", true, false}));
        QVERIFY(MessageBoxW::calls().isEmpty());

        HandleAlarmDlg toggled(nullptr);
        onModalDialog([](HandleAlarmDlg* shown) {
            child<QTextEdit>(shown, "textEdit")->setPlainText("keeper called");
            child<QPushButton>(shown, "closeAlarmBt")->click();
            child<QPushButton>(shown, "informKeeperBt")->click();
            child<QPushButton>(shown, "HandleBt")->click();
        });
        QCOMPARE(toggled.exec(), 1);
        QCOMPARE(QList<bool>({toggled.isCloseAlarmChecked(), toggled.isInformKeeperChecked()}),
                 QList<bool>({false, true}));
    }
};

VIG_TEST(tst_video_views, TestVideoViews)
#include "tst_video.moc"
