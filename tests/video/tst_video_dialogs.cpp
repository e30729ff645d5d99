#include "VideoTestSupport.h"

#include "video/WaitingAlarmsLabel.h"

#include "ModuleFormModuleInit.h"

using namespace VIG_ALARM_MOUDLE;
using namespace videotest;

namespace {

AlarmVideoCheckDlgManager& manager()
{
    return AlarmVideoCheckDlgManager::_instance();
}

QStringList dialogAlarms(const QString& probeId)
{
    AlarmVideoCheckDlg* dlg = manager().probeDialog(probeId);
    return dlg && dlg->cell()->checkWidget() ? dlg->cell()->checkWidget()->alarmUids() : QStringList();
}

void handleElsewhere(const QString& probeId)
{
    for (const QString& uid : dialogAlarms(probeId)) {
        VIG_AlarmInfo alarm;
        alarm.alarmUid = uid;
        emit AlarmSignals::_instance().signalAlarmHandledNotInVideoMonitorWt(alarm);
    }
}

int serial = 0;

VIG_AlarmInfo alarmOf(const QString& probeId)
{
    ++serial;
    return bookedAlarm(QString("D%1").arg(serial), probeId,
                       QString("2026-03-01 10:%1:00").arg(serial, 2, 10, QLatin1Char('0')));
}

} // namespace

class TestVideoDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        VIG_SYSTEM_MODULE::BusinessConfig& config = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
        config.setAlarmVideoShowMode(VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        config.setShowAlarmMap(false);
        config.setMaxVideoCheckDlgCount(3);
        installFakeService();
        QCOMPARE(manager().maxDialogCount(), 3);
        config.setMaxVideoCheckDlgCount(5); // read once: the running manager keeps 3
        QCOMPARE(manager().maxDialogCount(), 3);
    }

    void init() { VIG_BASE_MODULE::MessageBoxW::clearQueuedAnswers(); }

    // Every test leaves no dialog open.
    void cleanup()
    {
        for (const char* probe : {"P0101", "P0201", "P0301", "P0401"})
            handleElsewhere(probe);
        for (AlarmVideoCheckDlg* dlg : manager().dialogs())
            QVERIFY(dlg->isHidden());
        QVERIFY(AlarmBusiness::_instance().takeWaitingAlarms().isEmpty());
    }

    void dialogsBelongToTheMainWindow()
    {
        auto* mainWindow = new QWidget;
        VIG_MODULEFORM_MODULE::ModuleFormModuleInit::_instance().setMainWindow(mainWindow);
        manager().showAlarm(alarmOf("P0101"));
        AlarmVideoCheckDlg* dlg = manager().probeDialog("P0101");
        QVERIFY(dlg);
        QCOMPARE(dlg->parentWidget(), mainWindow);
        handleElsewhere("P0101");
        QVERIFY(dlg->isHidden());
        QCOMPARE(manager().dialogs().size(), 1);

        // Gone with the host's window: the manager makes new ones, without a parent now.
        delete mainWindow;
        QVERIFY(manager().dialogs().isEmpty());
        manager().showAlarm(alarmOf("P0101"));
        QVERIFY(manager().probeDialog("P0101"));
        QVERIFY(!manager().probeDialog("P0101")->parentWidget());
    }

    void alarmsOfOneProbeShareADialog()
    {
        QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
        manager().showAlarm(alarmOf("P0101"));
        manager().showAlarm(alarmOf("P0101"));
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
        handleElsewhere("P0101");
        QVERIFY(dlg->isHidden() && cell->isHidden());
        QCOMPARE(sound.count(), 1);
        QVERIFY(!manager().topDialog());
        manager().showAlarm(alarmOf("P0201"));
        QCOMPARE(manager().probeDialog("P0201"), dlg);
    }

    void fourthProbeWaitsForAFreedDialog()
    {
        for (const char* probe : {"P0101", "P0201", "P0301"})
            manager().showAlarm(alarmOf(probe));
        QCOMPARE(manager().dialogs().size(), 3);
        AlarmVideoCheckDlg* second = manager().probeDialog("P0201");

        const VIG_AlarmInfo waiting = alarmOf("P0401");
        manager().showAlarm(waiting);
        QCOMPARE(manager().dialogs().size(), 3);
        QVERIFY(!manager().probeDialog("P0401"));

        // The backlog shows on the page and over the top pop-up.
        AlarmMonitorPage page;
        auto* onPage = page.findChild<WaitingAlarmsLabel*>();
        auto* onTop = manager().stackingOrder().first()->cell()->findChild<WaitingAlarmsLabel*>();
        QVERIFY(onPage && onTop);
        QTRY_VERIFY(onTop->isVisible() && onPage->text().endsWith(": 1"));

        handleElsewhere("P0201");
        QTRY_VERIFY(onTop->isHidden() && onPage->count() == 0);
        QCOMPARE(manager().probeDialog("P0401"), second);
        QVERIFY(second->isVisible());
        QCOMPARE(dialogAlarms("P0401"), QStringList({waiting.alarmUid}));
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
        manager().showAlarm(alarmOf("P0101"));
        manager().showAlarm(alarmOf("P0201"));
        AlarmVideoCheckDlg* first = manager().probeDialog("P0101");
        AlarmVideoCheckDlg* second = manager().probeDialog("P0201");
        QCOMPARE(manager().stackingOrder(), (QList<AlarmVideoCheckDlg*>{second, first}));
        QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        manager().showAlarm(alarmOf("P0301"));
        AlarmVideoCheckDlg* third = manager().probeDialog("P0301");
        QCOMPARE(manager().stackingOrder(), (QList<AlarmVideoCheckDlg*>{first, third, second}));

        // As the window system closes them.
        QVERIFY(!third->windowHandle()->close());
        QVERIFY(!third->cell()->windowHandle()->close());
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
            const VIG_DATA_MODULE::VIG_ProbeInfo probe =
                VIG_DATA_MODULE::BasicData::_instance().getProbeInfo(probeId);
            AlarmData alarm;
            alarm.alarmUid = QString("Q%1").arg(n, 2, 10, QLatin1Char('0')).toStdString();
            alarm.storeUid = probe.storeUid.toStdString();
            alarm.deviceId = probe.deviceId.toStdString();
            alarm.probeId = probeId.toStdString();
            alarm.channelIndex = probe.channelIndex;
            alarm.alarmTime = QString("2026-03-02 10:%1:00").arg(n, 2, 10, QLatin1Char('0')).toStdString();
            alarm.state = 1;
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
        QStringList waiting;
        for (const VIG_AlarmInfo& alarm : AlarmBusiness::_instance().takeWaitingAlarms())
            waiting << alarm.alarmUid;
        waiting.sort(); // the waiting store keeps no order within a probe
        QCOMPARE(waiting, sent.value("P0401"));
    }
};

QTEST_MAIN(TestVideoDialogs)
#include "tst_video_dialogs.moc"
