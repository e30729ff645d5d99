// The whole module against the embedded alarm server, driven by a seeded random operator and server.
// After every step: no alarm the server delivered is lost (it is handled, or in a pop-up or cell, or
// waiting), the books match the monitor table and the counts last reported to the host, no wait dialog
// hangs once its results are in, and the UI thread keeps answering.
//
// VIG_SOAK_SECONDS (default 20) sets the length, VIG_SOAK_SEED replays a run (0 draws a seed), VIG_SOAK_MODE
// forces the display mode (0 pop-ups, 1 grid), VIG_SOAK_HEARTBEAT_MS the UI thread's allowed silence (default
// 200, more under sanitizers and in the suite's short run). VIG_SOAK_NETWORK=1 puts the server in a process
// of its own (alarm-server), killed and started again on its database at random moments.

#include "AlarmServer.h"
#include "LiveModule.h"
#include "SoakHeartbeat.h"

#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordSearchWt.h"
#include "relations/AlarmVideoRelation.h"

#include "AlarmData.h"
#include "NetAlarmClient.h"
#include "PageTurningWidget.h"
#include "SimScenario.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <atomic>
#include <numeric>
#include <random>

using namespace VIG_ALARM_MOUDLE;
using livemodule::control;
using livemodule::shownCells;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::WaitDialog;

namespace {

const char BarrierText[] = "Unknown handle mode 0";

// The UI thread's allowed silence; sanitizers slow every instruction, so they stretch it.
#if defined(__SANITIZE_THREAD__)
const int HeartbeatLimitMs = 4000;
#elif defined(__SANITIZE_ADDRESS__)
const int HeartbeatLimitMs = 1500;
#else
const int HeartbeatLimitMs = 200;
#endif

int envInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariable(name).toInt(&ok);
    return ok ? value : fallback;
}

// Events the server produced that the module has not been given yet, as far as this process can tell.
int pendingEvents()
{
    if (NetAlarmClient* remote = DataCache::Instance()->GetClient())
        return remote->pendingEvents();
    return DataCache::Instance()->GetSimulator()->pendingEvents();
}

// What the operator's hand does with the next handle dialog.
struct HandChoice
{
    bool accept = true, closeAlarm = false, informKeeper = false;
};

} // namespace

class TstSoak : public QObject
{
    Q_OBJECT

    // Fault injected before an operator's request.
    enum Fault { NoFault, FailNext, FailAlarms, DropAnswer, Cancel };

    std::mt19937 rng;
    quint32 seed = 0;
    int displayMode = 0;
    VideoAlarmForm* form = nullptr;
    AlarmMonitorTable* monitor = nullptr;
    QVector<SimScenario::Probe> probes;
    QSet<QString> channelsOfOneProbe; // "device/channel" served by one probe only
    QSet<QString> delivered, pushed;
    QHash<QString, int> storeReports, channelReports;
    std::atomic<int> barriers{0}, serverComplaints{0};
    HandChoice hand;
    QTimer handTimer;
    QStringList recent;
    bool statusOn = true, handleRequestOut = false;

    qint64 actions = 0, checks = 0, faults = 0, oddRecords = 0, handleDialogs = 0, strayBoxes = 0,
           failureBoxes = 0;
    int drained = 0;

    // VIG_SOAK_NETWORK
    AlarmServer alarmServer;
    int restarts = 0;

private slots:
    void initTestCase()
    {
        QDir(SimAlarmServer::defaultDataFolder()).removeRecursively();
        QDir(QStringLiteral("soak-server")).removeRecursively();
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        if (envInt("VIG_SOAK_NETWORK", 0) == 1) {
            // Not into this process's output: a server left behind by a crashed run must not hold it open.
            alarmServer.errorLog = QStringLiteral("soak-server.log");
            QVERIFY(alarmServer.startForModule(QStringLiteral("soak-server"), 30000));
        }
        // The suite replays one sequence, so that its result does not depend on the day; any other seed is a
        // long run's choice (VIG_SOAK_SEED=0 draws one).
        seed = quint32(envInt("VIG_SOAK_SEED", 20261205));
        if (seed == 0)
            seed = QRandomGenerator::global()->generate() & 0x7fffffff;
        rng.seed(seed);
        displayMode = envInt("VIG_SOAK_MODE", int(seed % 2));
        qInfo("soak seed %u, display mode %d", seed, displayMode);

        QString error;
        probes = SimScenario::load(
                     qEnvironmentVariable("VIG_SCENARIO", VIG_SOURCE_DIR "/scenarios/demo.json"), &error)
                     .probes();
        QVERIFY2(probes.size() > 8, qPrintable(error));
        QHash<QString, int> perChannel;
        for (const SimScenario::Probe& probe : qAsConst(probes))
            ++perChannel[QString::fromStdString(probe.deviceId) + '/' + QString::number(probe.channelIndex)];
        const QStringList single = perChannel.keys(1);
        channelsOfOneProbe = QSet<QString>(single.begin(), single.end());

        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setMaxVideoCheckDlgCount(2 + int(seed % 3));
        if (!DataCache::Instance()->GetClient()) {
            const QString problem = DataCache::Instance()->GetSimulator()->scenarioError();
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        connect(
            control(), &SimControl::controlFailed, control(),
            [this](const QString& message) {
                ++(message.startsWith(BarrierText) ? barriers : serverComplaints);
            },
            Qt::DirectConnection);

        auto& access = VIG_CONTACT_MODULE::ModuleAccessSignals::_instance();
        connect(&access, &VIG_CONTACT_MODULE::ModuleAccessSignals::signalStoreUnhandledAlarmsCount, this,
                [this](const QString& storeUid, int count) { storeReports[storeUid] = count; });
        connect(&access, &VIG_CONTACT_MODULE::ModuleAccessSignals::signalChannelUnhandledAlarmsCount, this,
                [this](const QString& deviceId, int channel, int count) {
                    channelReports[deviceId + '/' + QString::number(channel)] = count;
                });
        connect(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush, this,
                [this](const VIG_AlarmInfo& info) { pushed.insert(info.alarmUid); });

        QVERIFY(form = livemodule::start(displayMode));
        monitor = form->monitorPage()->monitorTable();
        QCOMPARE(form->monitorPage()->videosMonitor() != nullptr, displayMode == 1);
        form->resize(1400, 900);
        form->show();

        connect(&handTimer, &QTimer::timeout, this, &TstSoak::driveDialogs);
        handTimer.start(5);
        queueAnswers(1);
        QVERIFY(settle());
    }

    void soak()
    {
        const int seconds = envInt("VIG_SOAK_SECONDS", 20);
        // The suite's short run shares the machine with the other tests: it allows a second at least.
        const int defaultLimit =
            qEnvironmentVariableIsSet("VIG_SOAK_SECONDS") ? HeartbeatLimitMs : qMax(HeartbeatLimitMs, 1000);
        const int heartbeatLimit = envInt("VIG_SOAK_HEARTBEAT_MS", defaultLimit);
        // The kinds of action and their weights.
        const std::vector<void (TstSoak::*)()> steps = {
            &TstSoak::raiseAlarms, &TstSoak::storm,      &TstSoak::otherOperator, &TstSoak::tableBatch,
            &TstSoak::checkWidget, &TstSoak::detailView, &TstSoak::recordSearch,  &TstSoak::statusOff,
            &TstSoak::capture,     &TstSoak::oddRecord,  &TstSoak::restartServer};
        const std::vector<int> weights = {
            22, 3, 9, 12, 14, 8, 3, 2, 3, 3, DataCache::Instance()->GetClient() ? 2 : 0};
        const int total = std::accumulate(weights.begin(), weights.end(), 0);
        std::vector<qint64> slowest(steps.size());
        qint64 slowestCheck = 0;
        SoakHeartbeat heartbeat(10);
        // The first alarms build the views' widgets, once; their cost is not a freeze.
        raiseAlarms();
        QVERIFY(settle());
        heartbeat.takeRecentWorstMs();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < qint64(seconds) * 1000) {
            int roll = pick(total);
            size_t action = 0;
            while (roll >= weights[action])
                roll -= weights[action++];
            ++actions;
            (this->*steps[action])();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(replayHint()));
            if (!settle())
                QFAIL(qPrintable(QStringLiteral("server did not settle; ") + replayHint()));
            const qint64 silence = heartbeat.takeRecentWorstMs();
            // The checks read every row of the monitor table on the UI thread: their time is the test's.
            heartbeat.pause();
            QElapsedTimer checkClock;
            checkClock.start();
            QString problem;
            const bool consistent = checkInvariants(&problem);
            slowestCheck = qMax(slowestCheck, checkClock.elapsed());
            heartbeat.resume();
            if (!consistent)
                QFAIL(qPrintable(problem + '\n' + replayHint()));
            slowest[action] = qMax(slowest[action], silence);
            if (silence > heartbeatLimit)
                QFAIL(qPrintable(QStringLiteral("UI thread silent for %1 ms; ").arg(silence) + replayHint()));
        }
        heartbeat.takeRecentWorstMs();
        QString problem;
        if (!drain(&problem))
            QFAIL(qPrintable(problem + '\n' + replayHint()));

        for (const MessageBoxW::Call& call : MessageBoxW::calls()) {
            if (call.buttons == MessageBoxW::OkButton)
                ++failureBoxes;
        }
        const qint64 drainSilence = heartbeat.takeRecentWorstMs();
        QStringList slowSteps;
        for (qint64 each : slowest)
            slowSteps.append(QString::number(each));
        qInfo("soak seed %u mode %d: %lld s, %lld actions, %lld checks, %d alarms delivered, %lld faults "
              "injected, %lld odd records, %lld handle dialogs, %lld failure notices, %lld stray boxes, %d "
              "server complaints, heartbeat %lld beats worst %lld ms (per action kind: %s; draining %d "
              "alarms in batches of 100: %lld ms; slowest check, not counted: %lld ms)",
              seed, displayMode, clock.elapsed() / 1000, actions, checks, int(delivered.size()), faults,
              oddRecords, handleDialogs, failureBoxes, strayBoxes, serverComplaints.load(), heartbeat.beats(),
              heartbeat.worstMs(), qPrintable(slowSteps.join(',')), drained, drainSilence, slowestCheck);
        if (NetAlarmClient* remote = DataCache::Instance()->GetClient())
            qInfo("soak network: %d server restarts, %lld pushes replayed", restarts,
                  remote->replayedPushes());
    }

    void cleanupTestCase()
    {
        handTimer.stop();
        delete form;
        form = nullptr;
        DataCache::Instance()->ShutdownSimulator();
        if (alarmServer.process.state() != QProcess::NotRunning)
            alarmServer.stop(10000);
    }

private:
    int pick(int bound) { return bound <= 1 ? 0 : int(rng() % quint32(bound)); }
    bool chance(int percent) { return pick(100) < percent; }

    void log(const QString& line)
    {
        recent.append(QStringLiteral("#%1 %2").arg(actions).arg(line));
        if (recent.size() > 12)
            recent.removeFirst();
    }

    QString replayHint() const
    {
        return QStringLiteral("seed %1 (replay: VIG_SOAK_SEED=%1 VIG_SOAK_MODE=%2), after action %3; last "
                              "actions:\n  %4")
            .arg(seed)
            .arg(displayMode)
            .arg(actions)
            .arg(recent.join(QStringLiteral("\n  ")));
    }

    void processAll()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // A control operation the server refuses at once: when its complaint is back, everything the server was
    // asked before has run on its thread.
    bool barrier()
    {
        const int before = barriers.load();
        control()->handleAsOtherOperator(QStringLiteral("soak-barrier"), 0, QString());
        for (const QDeadlineTimer deadline(60000); barriers.load() == before;) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::usleep(200);
        }
        return true;
    }

    bool settle()
    {
        // An answer taken on the UI thread may send the next request (a count, then its page; a result, then
        // the notes): quiet means several rounds in a row with nothing left to deliver.
        int quietRounds = 0;
        for (const QDeadlineTimer deadline(120000); !deadline.hasExpired();) {
            if (!barrier())
                return false;
            processAll();
            // Quiet also means the events the module took have been through its hub (a turn of the event loop
            // passes a few milliseconds of them) and the monitor page has no alarm left to place.
            if (pendingEvents() != 0 || AlarmSignals::_instance().eventQueue().queuedCount() > 0 ||
                form->monitorPage()->queuedAlarmCount() > 0) {
                quietRounds = 0;
                QThread::msleep(2);
            } else if (++quietRounds == 4) {
                return true;
            }
        }
        return false;
    }

    void queueAnswers(int first)
    {
        MessageBoxW::clearQueuedAnswers();
        MessageBoxW::queueAnswer(first);
        for (int i = 0; i < 16; ++i)
            MessageBoxW::queueAnswer(1);
    }

    // The operator's hand: fills and sends (or cancels) a handle dialog, and closes any message box that
    // found no queued answer so that a run can never hang on one.
    void driveDialogs()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible())
                continue;
            if (auto* dlg = qobject_cast<HandleAlarmDlg*>(widget)) {
                ++handleDialogs;
                // A failed handling comes back for the operator to send again; sent here, outside a step,
                // it would share the host's one wait dialog with the next step's request, which the checks
                // follow.
                if (!hand.accept || !dlg->failureShown().isEmpty()) {
                    dlg->reject();
                    continue;
                }
                dlg->findChild<QTextEdit*>(QStringLiteral("textEdit"))
                    ->setPlainText(QStringLiteral("soak check"));
                if (auto* close = dlg->findChild<QPushButton*>(QStringLiteral("closeAlarmBt")))
                    close->setChecked(hand.closeAlarm);
                if (auto* inform = dlg->findChild<QPushButton*>(QStringLiteral("informKeeperBt")))
                    inform->setChecked(hand.informKeeper);
                dlg->findChild<QPushButton*>(QStringLiteral("HandleBt"))->click();
            } else if (auto* box = qobject_cast<MessageBoxW*>(widget)) {
                ++strayBoxes;
                box->reject();
            }
        }
    }

    QStringList unhandledRows()
    {
        QStringList uids;
        for (int row = 0; row < monitor->rowCount(); ++row) {
            if (monitor->getAlarmInfo(row).state == AlarmNew)
                uids.append(monitor->getRowKeyValue(row));
        }
        return uids;
    }

    // The alarms on show in pop-ups or grid cells; a probe in two places is a fault.
    QStringList viewAlarms(QString* problem)
    {
        QStringList uids;
        QSet<QString> probesShown;
        for (AlarmVideoCellWt* cell : shownCells(form)) {
            if (!cell || cell->isWaiting() || !cell->checkWidget() ||
                cell->checkWidget()->alarmUids().isEmpty())
                continue;
            const QString probe = cell->checkWidget()->probe();
            if (probesShown.contains(probe))
                *problem += QStringLiteral("probe %1 shown twice; ").arg(probe);
            probesShown.insert(probe);
            uids += cell->checkWidget()->alarmUids();
        }
        if (form->monitorPage()->videosMonitor())
            return uids;
        const QList<AlarmVideoCheckDlg*> dialogs = AlarmVideoCheckDlgManager::_instance().dialogs();
        if (dialogs.size() > AlarmVideoCheckDlgManager::_instance().maxDialogCount())
            *problem += QStringLiteral("%1 dialogs; ").arg(dialogs.size());
        for (const SimScenario::Probe& site : qAsConst(probes)) {
            if (AlarmVideoCheckDlg* dlg = AlarmVideoCheckDlgManager::_instance().probeDialog(site.probeId);
                dlg && dlg->isHidden())
                *problem += QStringLiteral("hidden dialog holds probe %1; ").arg(site.probeId);
        }
        for (AlarmVideoCheckDlg* dlg : dialogs) {
            if (!dlg->isVisible() && dlg->cell()->checkWidget() &&
                !dlg->cell()->checkWidget()->alarmUids().isEmpty() && !dlg->cell()->isWaiting())
                *problem += QStringLiteral("hidden dialog holds alarms; ");
        }
        return uids;
    }

    QList<AlarmVideoCheckWt*> idleCheckWidgets()
    {
        QList<AlarmVideoCheckWt*> widgets;
        for (AlarmVideoCellWt* cell : shownCells(form)) {
            if (cell && !cell->isWaiting() && cell->checkWidget() && !cell->isHandling() &&
                !cell->checkWidget()->alarmUids().isEmpty())
                widgets.append(cell->checkWidget());
        }
        return widgets;
    }

    // The operator's request about these alarms, sent by send after a fault is injected and logged with what.
    // A dropped answer leaves the wait dialog to its time-out, which is what the host's dialog does after a
    // minute; here the time-out is taken at once. A request was sent if the wait dialog showed meanwhile.
    void request(const QStringList& uids, const QString& what, const std::function<void()>& send)
    {
        hand = HandChoice{true, chance(30), chance(20)};
        const int roll = pick(100);
        Fault fault = NoFault;
        if (roll < 12) {
            fault = FailNext;
            control()->failNextRequests(1 + pick(2), SimControl::DefaultFailureCode,
                                        QStringLiteral("soak: refused"));
        } else if (roll < 20 && !uids.isEmpty()) {
            fault = FailAlarms;
            control()->failAlarms({uids.at(pick(uids.size()))});
        } else if (roll < 25) {
            fault = DropAnswer;
            // One request only, so the drop cannot spill into another view's request.
            hand.informKeeper = false;
            control()->dropNextAnswers(1);
        } else if (roll < 33) {
            fault = Cancel;
            hand.accept = false;
        }
        if (chance(15))
            control()->setAnswerDelay(pick(120));
        if (fault != NoFault)
            ++faults;
        queueAnswers(fault == Cancel ? 0 : 1);
        log(what + QStringLiteral(", fault %1").arg(fault));
        const int shows = WaitDialog::_instance().showCount();
        send();
        handleRequestOut = WaitDialog::_instance().showCount() != shows && fault == DropAnswer;
        control()->clearFaults();
        control()->setAnswerDelay(0);
    }

    // Selects the monitor table's rows of these alarms and triggers its menu's action.
    void triggerOnRows(const QStringList& uids, const QString& action)
    {
        monitor->clearSelection();
        for (const QString& uid : uids)
            monitor->selectionModel()->select(monitor->model()->index(monitor->getRowIndexByKeyValue(uid), 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        for (QAction* each : monitor->findChildren<QAction*>()) {
            if (each->text() == action)
                return each->trigger();
        }
    }

    void raiseAlarms()
    {
        const int count = 1 + pick(3);
        for (int i = 0; i < count; ++i) {
            const SimScenario::Probe& probe = probes.at(pick(qMin(probes.size(), 24)));
            QString error;
            const QString uid = control()->raiseAlarm(probe.probeId, QString(), &error);
            QVERIFY2(!uid.isEmpty(), qPrintable(error));
            if (statusOn)
                delivered.insert(uid);
            log(QStringLiteral("raise %1 on %2").arg(uid, probe.probeId));
        }
    }

    void storm()
    {
        const int count = 5 + pick(25);
        const int probeCount = 1 + pick(8);
        const int before = pushed.size();
        const QSet<QString> known = pushed;
        QString error;
        QVERIFY2(control()->storm(count, probeCount, &error), qPrintable(error));
        log(QStringLiteral("storm %1 alarms on %2 probes").arg(count).arg(probeCount));
        QVERIFY2(settle(), "server did not settle");
        QCOMPARE(pushed.size() - before, count);
        delivered.unite(pushed - known);
    }

    void otherOperator()
    {
        const QStringList rows = unhandledRows();
        if (rows.isEmpty())
            return raiseAlarms();
        const QString uid = rows.at(pick(rows.size()));
        const int mode = AlarmDealt + pick(3);
        control()->handleAsOtherOperator(uid, mode, QStringLiteral("seen by a colleague"),
                                         QStringLiteral("Zhao Gang"));
        log(QStringLiteral("other operator handles %1 as %2").arg(uid).arg(mode));
    }

    void tableBatch()
    {
        QStringList rows = unhandledRows();
        if (rows.isEmpty())
            return raiseAlarms();
        std::shuffle(rows.begin(), rows.end(), rng);
        rows = rows.mid(0, 1 + pick(5));
        // Now and then an alarm already handled goes along: the server refuses the whole batch.
        if (chance(5) && monitor->rowCount() > rows.size()) {
            const int row = pick(monitor->rowCount());
            if (monitor->getAlarmInfo(row).state != AlarmNew)
                rows.append(monitor->getRowKeyValue(row));
        }
        const QString text = chance(40) ? QObject::tr("Mistaken Alarm") : QObject::tr("Deal Alarm");
        request(rows, QStringLiteral("table %1 %2").arg(text, rows.join(',')),
                [&] { triggerOnRows(rows, text); });
    }

    void checkWidget()
    {
        const QList<AlarmVideoCheckWt*> widgets = idleCheckWidgets();
        if (widgets.isEmpty())
            return raiseAlarms();
        AlarmVideoCheckWt* widget = widgets.at(pick(widgets.size()));
        const QStringList uids = widget->alarmUids();
        const bool asFalse = chance(40);
        const QString button = asFalse ? QStringLiteral("falseAlarmBt") : QStringLiteral("handleAlarmBt");
        request(uids,
                QStringLiteral("%1 from the widget of %2 (%3)")
                    .arg(asFalse ? "false" : "handle", widget->probe(), uids.join(',')),
                [&] { widget->findChild<QPushButton*>(button)->click(); });
    }

    void detailView()
    {
        AlarmDetailCheckWt* detail = form->detailView();
        const int roll = pick(100);
        if (detail->getAlarm().alarmUid.isEmpty() || !detail->isVisible() || roll < 35) {
            if (monitor->rowCount() == 0)
                return raiseAlarms();
            const int row = pick(monitor->rowCount());
            log(QStringLiteral("detail of %1").arg(monitor->getRowKeyValue(row)));
            emit monitor->doubleClicked(monitor->model()->index(row, 1));
            return;
        }
        if (roll < 55) {
            log(QStringLiteral("detail back"));
            detail->findChild<QPushButton*>(QStringLiteral("backBt"))->click();
            return;
        }
        const bool asFalse = roll < 75;
        const QString uid = detail->getAlarm().alarmUid;
        request({uid}, QStringLiteral("detail %1 of %2").arg(asFalse ? "false" : "handle", uid),
                [&] { asFalse ? detail->slotFalseAlarmBtClicked() : detail->slotHandleAlarmBtClicked(); });
    }

    void recordSearch()
    {
        auto* search = form->recordPage()->findChild<AlarmRecordSearchWt*>();
        QVERIFY(search);
        auto* stores = search->findChild<QComboBox*>(QStringLiteral("storeComBx"));
        auto* turner =
            search->findChild<VIG_BASE_MODULE::PageTurningWidget*>(QStringLiteral("pageTurningWt"));
        QVERIFY(stores && turner);
        if (turner->nextButton()->isEnabled() && chance(50)) {
            log(QStringLiteral("records: next page"));
            turner->nextButton()->click();
            return;
        }
        stores->setCurrentIndex(pick(stores->count()));
        log(QStringLiteral("records: search %1").arg(stores->currentText()));
        queueAnswers(1);
        search->findChild<QPushButton*>(QStringLiteral("searchBt"))->click();
    }

    // Alarms raised while the application is not running are dropped by the module, not lost by it.
    void statusOff()
    {
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(3);
        statusOn = false;
        raiseAlarms();
        QVERIFY2(settle(), "server did not settle");
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        statusOn = true;
        log(QStringLiteral("status off and on"));
    }

    void capture()
    {
        const QList<AlarmVideoCheckWt*> widgets = idleCheckWidgets();
        if (widgets.isEmpty())
            return raiseAlarms();
        AlarmVideoCheckWt* widget = widgets.at(pick(widgets.size()));
        const QString uid = widget->currentAlarmInfo().alarmUid;
        const int before = AlarmVideoRelation::_instance().getAlarmRelations(uid).size();
        widget->slotCaptureActionTriggered();
        log(QStringLiteral("capture for %1").arg(uid));
        QVERIFY2(AlarmVideoRelation::_instance().getAlarmRelations(uid).size() >= before,
                 qPrintable(replayHint()));
    }

    // A record whose texts are long, empty or not UTF-8, on a real probe so that it takes the whole road.
    void oddRecord()
    {
        if (DataCache::Instance()->GetClient())
            return raiseAlarms();
        const SimScenario::Probe& probe = probes.at(pick(qMin(probes.size(), 24)));
        AlarmData alarm;
        alarm.storeUid = probe.storeUid;
        alarm.deviceId = probe.deviceId;
        alarm.probeId = probe.probeId.toStdString();
        alarm.channelIndex = probe.channelIndex;
        alarm.state = AlarmNew;
        alarm.alarmTime = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss").toStdString();
        switch (pick(3)) {
        case 0:
            alarm.describe = std::string(64 * 1024 + pick(1024), 'x');
            break;
        case 1:
            alarm.typeDescription = "\xff\xfe\xc3(bad\x80";
            alarm.deviceName = std::string("nul\0inside", 10);
            break;
        default:
            alarm.typeKey.clear();
            alarm.lastHandleNote = "</script><b>'\"%1\\";
            break;
        }
        const QString uid = DataCache::Instance()->GetSimulator()->injectAlarm(alarm);
        QVERIFY(!uid.isEmpty());
        delivered.insert(uid);
        ++oddRecords;
        log(QStringLiteral("odd record %1 on %2").arg(uid, probe.probeId));
    }

    // Killed at a random moment: while a handling's answer is held, or while a storm is being stored and
    // pushed, and while it is away an alarm is raised. The handling and the raise fail at once, and the
    // catch-up brings every push stored.
    void restartServer()
    {
        NetAlarmClient* remote = DataCache::Instance()->GetClient();
        if (!remote)
            return raiseAlarms();
        const QSet<QString> known = pushed;
        const int roll = pick(3);
        if (roll == 0) {
            control()->setAnswerDelay(60000);
            tableBatch();
            // Its answer, if held, now comes from the client itself.
            handleRequestOut = false;
        } else if (roll == 1) {
            control()->storm(50 + pick(500), 1 + pick(8));
        }
        QElapsedTimer clock;
        clock.start();
        for (const int moment = pick(200); clock.elapsed() < moment;)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        alarmServer.process.kill();
        alarmServer.process.waitForFinished(10000);
        ++restarts;
        log(QStringLiteral("server killed after %1 ms (%2)").arg(clock.elapsed()).arg(roll));
        // Raised only once the client knows: a message sent into the dying connection is lost like
        // the server.
        clock.restart();
        while (remote->state() == NetAlarmClient::Connected && clock.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        // Without the server a raise is refused at once and says why; it must not come later.
        if (chance(50)) {
            QString error;
            QVERIFY(control()->raiseAlarm(probes.first().probeId, QString(), &error).isEmpty());
            QVERIFY2(!error.isEmpty(), "a raise without the server says nothing");
        }
        QVERIFY2(alarmServer.start(QStringLiteral("soak-server"), {}, alarmServer.port, 30000),
                 "alarm-server did not start again");
        clock.restart();
        while (remote->state() != NetAlarmClient::Connected && clock.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QVERIFY2(remote->state() == NetAlarmClient::Connected, "no reconnection to alarm-server");
        // What the dead server stored and pushed, as the catch-up brings it, must reach the table too.
        QVERIFY2(settle(), "server did not settle after its restart");
        if (statusOn)
            delivered.unite(pushed - known);
    }

    bool checkInvariants(QString* problem)
    {
        ++checks;
        if (handleRequestOut) {
            if (!WaitDialog::_instance().isShown())
                *problem += QStringLiteral("wait dialog gone while a request had no answer; ");
            WaitDialog::_instance().hideWaitDialog();
            handleRequestOut = false;
        } else if (WaitDialog::_instance().isShown()) {
            *problem +=
                QStringLiteral("wait dialog left open (%1); ").arg(WaitDialog::_instance().currentText());
        }

        const QStringList shown = viewAlarms(problem);
        const QSet<QString> inViews(shown.cbegin(), shown.cend());
        for (const QString& uid : shown) {
            const int row = monitor->getRowIndexByKeyValue(uid);
            if (row >= 0 && monitor->getAlarmInfo(row).state != AlarmNew)
                *problem += QStringLiteral("%1 handled but still in a pop-up or cell; ").arg(uid);
        }
        QHash<QString, int> perStore;
        QHash<QString, int> perProbe;
        QHash<QString, QString> channelOfProbe;
        int unshown = 0;
        for (int row = 0; row < monitor->rowCount(); ++row) {
            const VIG_AlarmInfo info = monitor->getAlarmInfo(row);
            if (info.state != AlarmNew)
                continue;
            ++perStore[info.storeUid];
            ++perProbe[info.probeId];
            channelOfProbe[info.probeId] = info.deviceId + '/' + QString::number(info.channelIndex);
            if (!inViews.contains(info.alarmUid))
                ++unshown;
        }
        for (const QString& uid : qAsConst(delivered)) {
            if (!pushed.contains(uid))
                *problem += QStringLiteral("%1 never pushed; ").arg(uid);
            else if (monitor->getRowIndexByKeyValue(uid) < 0)
                *problem += QStringLiteral("%1 not in the monitor table; ").arg(uid);
        }
        if (unshown > 0 && !AlarmBusiness::_instance().hasWaitingAlarms())
            *problem += QStringLiteral("%1 unhandled alarms neither shown nor waiting; ").arg(unshown);

        QSet<QString> stores;
        for (const SimScenario::Probe& probe : qAsConst(probes))
            stores.insert(QString::fromStdString(probe.storeUid));
        for (const QString& store : qAsConst(stores)) {
            const int rows = perStore.value(store), reported = storeReports.value(store);
            const int booked = AlarmBusiness::_instance().getStoreUnhandledAlarmsCount(store);
            if (booked != rows || reported != booked)
                *problem += QString::asprintf("store %s books %d, table %d, reported %d; ", qPrintable(store),
                                              booked, rows, reported);
        }
        for (auto it = channelOfProbe.cbegin(); it != channelOfProbe.cend(); ++it) {
            const int reported = channelReports.value(it.value(), -1), rows = perProbe.value(it.key());
            if (channelsOfOneProbe.contains(it.value()) && reported != rows)
                *problem += QString::asprintf("probe %s reported %d, table %d; ", qPrintable(it.key()),
                                              reported, rows);
        }
        return problem->isEmpty();
    }

    // Faults off, every unhandled alarm marked false from the table: nothing may stay unhandled or booked.
    bool drain(QString* problem)
    {
        control()->clearFaults();
        control()->setAnswerDelay(0);
        hand = HandChoice{};
        drained = unhandledRows().size();
        for (int round = 0; round < 200; ++round) {
            // In batches an operator could select.
            const QStringList rows = unhandledRows().mid(0, 100);
            if (rows.isEmpty())
                break;
            queueAnswers(1);
            triggerOnRows(rows, QObject::tr("Mistaken Alarm"));
            if (!settle()) {
                *problem += QStringLiteral("no settling while draining; ");
                return false;
            }
        }
        if (!unhandledRows().isEmpty())
            *problem += QStringLiteral("%1 alarms could not be handled; ").arg(unhandledRows().size());
        return checkInvariants(problem);
    }
};

int main(int argc, char** argv)
{
    // A long soak outlasts QtTest's five minutes per test function.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((envInt("VIG_SOAK_SECONDS", 20) + 900) * 1000));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TstSoak test;
    return QTest::qExec(&test, argc, argv);
}
#include "soak_module.moc"
