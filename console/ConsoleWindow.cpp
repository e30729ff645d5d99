#include "ConsoleWindow.h"

#include "StoreListWt.h"

#include "frame/AlarmModuleAccess.h"
#include "frame/AlarmSignals.h"

#include "AlarmPresence.h"
#include "BasicData.h"
#include "ModuleAccessSignals.h"
#include "NoticeSignals.h"
#include "NoticeSound.h"
#include "SimAlarmServer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>
#include <memory>

using VIG_CONTACT_MODULE::ModuleAccessSignals;
using VIG_CONTACT_MODULE::NoticeSignals;

ConsoleWindow::ConsoleWindow(const ConsoleOptions& options, SimControl* server, QWidget* moduleForm)
    : options(options), server(server)
{
    setWindowTitle(tr("Alarm Console"));
    resize(1600, 900);
    setCentralWidget(moduleForm);
    buildSimulatorBar();
    buildDocks();
    followHostSignals();
    serverLabel = new QLabel(this);
    serverLabel->setObjectName("server");
    // Kept apart from the messages on its left.
    serverLabel->setStyleSheet("QLabel#server { padding-left: 10px; border-left: 1px solid #5d657e; }");
    operatorLabel = new QLabel(this);
    operatorLabel->setObjectName("operator");
    operatorLabel->setStyleSheet("QLabel#operator { padding-left: 10px; border-left: 1px solid #5d657e; }");
    statusBar()->addPermanentWidget(operatorLabel);
    statusBar()->addPermanentWidget(serverLabel);
    // Rights may come after the welcome, from the client's thread.
    connect(DataCache::Instance()->GetPresence(), &AlarmPresence::selfChanged, this,
            &ConsoleWindow::showOperator);
    showOperator();
    if (!options.demoOtherOperator.isEmpty())
        playOtherOperator(options.demoOtherOperator);
    showServer(DataCache::Instance()->GetLinkStatus());
    showStatus(tr("Scenario %1, %2 probes").arg(options.scenario).arg(server->probeIds().size()));
    DataCache::Instance()->SetLinkObserver([this](const DataCache::LinkStatus& status) {
        QMetaObject::invokeMethod(
            this, [this, status] { showServer(status); }, Qt::QueuedConnection);
    });
}

ConsoleWindow::~ConsoleWindow()
{
    DataCache::Instance()->SetLinkObserver({});
}

void ConsoleWindow::showServer(const DataCache::LinkStatus& status)
{
    if (status.address.isEmpty()) {
        serverLabel->setText(tr("Embedded alarm server"));
        return;
    }
    switch (status.state) {
    case DataCache::LinkConnected:
        serverLabel->setText(tr("Connected to %1").arg(status.address));
        break;
    case DataCache::LinkRefused:
        serverLabel->setText(tr("Refused by %1").arg(status.address));
        break;
    case DataCache::LinkRevoked:
        serverLabel->setText(tr("Access revoked"));
        accessRevoked(status.message);
        return;
    case DataCache::LinkConnecting:
        serverLabel->setText(tr("Connecting to %1").arg(status.address));
        break;
    case DataCache::LinkReconnecting:
        serverLabel->setText(tr("Reconnecting to %1 (%2)").arg(status.address).arg(status.attempt));
        break;
    }
    // One notice per outage and reason, not one per reconnect attempt.
    if (status.state == DataCache::LinkConnected) {
        if (!linkNote.isEmpty())
            note(tr("Connected to %1").arg(status.address));
        linkNote.clear();
    } else if (!status.message.isEmpty() && status.message != linkNote) {
        linkNote = status.message;
        note(tr("Alarm server: %1").arg(status.message));
    }
}

void ConsoleWindow::showOperator()
{
    const AlarmPresence::Operator self = DataCache::Instance()->GetPresence()->self();
    QString text = tr("Operator: %1").arg(self.name);
    if (self.rights == AlarmPresence::Watch)
        text += tr(" (watching only)");
    else if (self.rights == AlarmPresence::Handle)
        text += tr(" (no control of the server)");
    operatorLabel->setText(text);
    operatorLabel->setToolTip(self.telephone);
    const bool control = self.rights >= AlarmPresence::Control;
    simulatorBar->setEnabled(control && !revoked);
    simulatorBar->setToolTip(control ? QString() : tr("Your rights do not allow driving the alarm server"));
}

void ConsoleWindow::accessRevoked(const QString& reason)
{
    if (revoked)
        return;
    revoked = true;
    simulatorBar->setEnabled(false);
    const QString text = reason.isEmpty() ? tr("Access revoked") : tr("Access revoked: %1").arg(reason);
    note(text);
    std::fprintf(stderr, "alarm-console: access revoked%s%s\n", reason.isEmpty() ? "" : ": ",
                 qUtf8Printable(reason));
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") {
        QTimer::singleShot(0, qApp, [] { QApplication::exit(2); });
        return;
    }
    // Out of the link report's turn: the box waits for the operator, or a minute at most.
    QTimer::singleShot(0, this, [this, text] {
        QMessageBox box(QMessageBox::Critical, windowTitle(), text, QMessageBox::Ok, this);
        QTimer::singleShot(60000, &box, &QMessageBox::accept);
        box.exec();
        QApplication::exit(2);
    });
}

void ConsoleWindow::playOtherOperator(const QString& name)
{
    const int HoldMs = 12000;
    auto held = std::make_shared<QString>();
    connect(&VIG_ALARM_MOUDLE::AlarmSignals::_instance(), &VIG_ALARM_MOUDLE::AlarmSignals::signalNewAlarmPush,
            this, [this, name, held](const VIG_ALARM_MOUDLE::VIG_AlarmInfo& alarm) {
                if (!held->isEmpty())
                    return;
                *held = alarm.alarmUid;
                server->takeAsOtherOperator({alarm.alarmUid}, name);
                QTimer::singleShot(HoldMs, this, [this, held] {
                    server->takeAsOtherOperator({*held}, QString());
                    held->clear();
                });
            });
}

void ConsoleWindow::buildSimulatorBar()
{
    QToolBar* bar = addToolBar(tr("Simulator"));
    simulatorBar = bar;
    bar->setObjectName("simulator");
    probes = new QComboBox(bar);
    probes->addItems(server->probeIds());
    bar->addWidget(new QLabel(tr(" Probe "), bar));
    bar->addWidget(probes);
    bar->addAction(tr("Raise Alarm"), this, &ConsoleWindow::raiseAlarm);
    bar->addSeparator();
    stormSize = new QSpinBox(bar);
    stormSize->setRange(1, 100000);
    stormSize->setValue(200);
    bar->addWidget(stormSize);
    bar->addAction(tr("Alarm Storm"), this, &ConsoleWindow::startStorm);
    QAction* generator = bar->addAction(tr("Generator"));
    generator->setCheckable(true);
    generator->setChecked(options.generatorRate > 0);
    connect(generator, &QAction::toggled, this, [this](bool on) {
        server->setGeneratorRate(on ? qMax(options.generatorRate, 0.5) : 0.0);
        note(on ? tr("Alarm generator on") : tr("Alarm generator off"));
    });
    bar->addSeparator();
    bar->addAction(tr("Late-Month Check"), this, [] {
        emit ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
        VIG_ALARM_MOUDLE::AlarmModuleAccess::_instance().getLateMonthUnhandledAlarmsCount();
    });
    bar->addSeparator();
    // The module builds its video views once, so a change of display mode or language restarts the console.
    bar->addAction(options.mode == "grid" ? tr("Switch to Pop-ups") : tr("Switch to Grid"), this,
                   [this] { restartWith("--mode", options.mode == "grid" ? "popup" : "grid"); });
    bar->addAction(options.language == "zh" ? tr("English") : tr("中文"), this,
                   [this] { restartWith("--lang", options.language == "zh" ? "en" : "zh"); });
}

void ConsoleWindow::buildDocks()
{
    auto* stores = new QDockWidget(tr("Stores"), this);
    stores->setObjectName("stores");
    storeList = new StoreListWt(stores);
    stores->setWidget(storeList);
    addDockWidget(Qt::LeftDockWidgetArea, stores);

    auto* notices = new QDockWidget(tr("Notices"), this);
    notices->setObjectName("notices");
    noticeLog = new QPlainTextEdit(notices);
    noticeLog->setReadOnly(true);
    noticeLog->setMaximumBlockCount(500);
    notices->setWidget(noticeLog);
    addDockWidget(Qt::LeftDockWidgetArea, notices);
}

void ConsoleWindow::followHostSignals()
{
    NoticeSignals& notices = NoticeSignals::_instance();
    connect(&notices, &NoticeSignals::signalNoticeHint, this,
            [this](VIG_CONTACT_MODULE::NoticeHintType, const QString& text) {
                note(tr("Handled: %1").arg(QString(text).replace("\r\n", " | ")));
            });
    connect(
        &notices, &NoticeSignals::sendRequestErrorNoticeSignal, this,
        [this](int result, const QString& errorMsg, VIG_CONTACT_MODULE::RequestType type, const QString&,
               const QStringList& uids) {
            note(
                tr("Request %1 failed (%2): %3 %4").arg(int(type)).arg(result).arg(errorMsg, uids.join(',')));
        });
    ModuleAccessSignals& access = ModuleAccessSignals::_instance();
    connect(&access, &ModuleAccessSignals::signalCloseAlarmOut, this, [this](const QStringList& devices) {
        if (!devices.isEmpty())
            note(tr("Alarm outputs switched off: %1").arg(devices.join(", ")));
    });
    connect(&access, &ModuleAccessSignals::signalLateMonthUnhandledAlarmsCount, this,
            [this](int count, int result, const QString& errorMsg) {
                note(result == 0 ? tr("New alarms of the last month: %1").arg(count)
                                 : tr("Late-month check failed: %1").arg(errorMsg));
            });
    connect(&access, &ModuleAccessSignals::signalSetCurrentModuleForm, this, [this] {
        raise();
        activateWindow();
    });
    connect(&VIG_CONTACT_MODULE::NoticeSound::_instance(),
            &VIG_CONTACT_MODULE::NoticeSound::signalPlayingChanged, this,
            [this](bool playing) { note(playing ? tr("Alarm sound on") : tr("Alarm sound off")); });
    connect(server, &SimControl::controlFailed, this,
            [this](const QString& message) { note(tr("Simulator: %1").arg(message)); });
}

void ConsoleWindow::note(const QString& text)
{
    const QString line = QDateTime::currentDateTime().toString("hh:mm:ss ") + text;
    noticeLog->appendPlainText(line);
    showStatus(line, 10000);
}

void ConsoleWindow::showStatus(const QString& text, int timeoutMs)
{
    const int room = statusBar()->width() - serverLabel->sizeHint().width() - 40;
    statusBar()->showMessage(statusBar()->fontMetrics().elidedText(text, Qt::ElideRight, qMax(room, 80)),
                             timeoutMs);
}

QString ConsoleWindow::notices() const
{
    return noticeLog->toPlainText();
}

void ConsoleWindow::raiseAlarm()
{
    QString error;
    if (server->raiseAlarm(probes->currentText(), QString(), &error).isEmpty())
        note(tr("Cannot raise an alarm: %1").arg(error));
}

void ConsoleWindow::startStorm()
{
    QString error;
    if (!server->storm(stormSize->value(), server->probeIds().size(), &error))
        note(tr("Cannot start a storm: %1").arg(error));
    else
        note(tr("Alarm storm of %1 alarms").arg(stormSize->value()));
}

void ConsoleWindow::restartWith(const QString& option, const QString& value)
{
    QStringList arguments = QApplication::arguments().mid(1);
    const int at = arguments.indexOf(option);
    if (at >= 0 && at + 1 < arguments.size())
        arguments[at + 1] = value;
    else
        arguments << option << value;
    if (QProcess::startDetached(QApplication::applicationFilePath(), arguments))
        QApplication::quit();
    else
        note(tr("Cannot restart the console"));
}
