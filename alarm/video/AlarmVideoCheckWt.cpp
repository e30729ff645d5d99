#include "video/AlarmVideoCheckWt.h"

#include "ui_AlarmVideoCheckWt.h"

#include "detail/AlarmInfoWidget.h"
#include "detail/AlarmMapViewer.h"
#include "frame/AlarmEventQueue.h"
#include "frame/AlarmOperator.h"
#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmRelation.h"
#include "handling/AlarmHandlingBatch.h"
#include "handling/AlarmQuestionMarks.h"
#include "handling/HandleAlarmDlg.h"
#include "service/AlarmBusiness.h"
#include "video/AlarmMonitorVideoPanel.h"

#include "AlarmPresence.h"
#include "BasicData.h"
#include "BusinessConfig.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "SystemBasicInfo.h"

#include <QLabel>
#include <QScrollBar>

namespace VIG_ALARM_MOUDLE {

using VIG_BASE_MODULE::MessageBoxW;
using VIG_CONTACT_MODULE::ModuleAccessSignals;

namespace {
// The buttons of the question asked for an armed store, left to right.
enum FalseAlarmChoice { FalseAlarmOnly = 0, FalseAlarmAndDisarm = 1, FalseAlarmCancel = 2 };
// A frame of the screen: the alarm panel is not laid out more often than it could be shown.
} // namespace

AlarmVideoCheckWt::AlarmVideoCheckWt(QWidget* parent)
    : QWidget(parent), ui(new Ui::AlarmVideoCheckWt), handlingBatch(new AlarmHandlingBatch(this))
{
    ui->setupUi(this);
    alarmInfoWidget = new AlarmInfoWidget(this);

    ui->alarmHandleWt->setColor("#23262f");
    QPalette colours = ui->alarmInfoScrollArea->palette();
    colours.setColor(QPalette::Window, QColor(QStringLiteral("#23262f")));
    ui->alarmInfoScrollArea->setPalette(colours);
    ui->alarmInfoScrollArea->verticalScrollBar()->setProperty("VIG_public_scrollBar_style_1", true);
    ui->alarmInfoScrollArea->setWidget(alarmInfoWidget); // the form's empty contents go
    ui->scrollAreaWidgetContents = alarmInfoWidget;
    alarmCountLabel = new QLabel(ui->alarmHandleWt);
    alarmCountLabel->setObjectName(QStringLiteral("alarmCountLabel"));
    alarmCountLabel->setStyleSheet(QStringLiteral("color: #ff6e89; font-weight: bold; padding-top: 6px;"));
    ui->verticalLayout->insertWidget(1, alarmCountLabel);
    takenLabel = new QLabel(ui->alarmHandleWt);
    takenLabel->setObjectName(QStringLiteral("takenLabel"));
    takenLabel->setStyleSheet(QStringLiteral("color: #f0b400; font-weight: bold; padding-top: 4px;"));
    takenLabel->setWordWrap(true);
    takenLabel->hide();
    ui->verticalLayout->insertWidget(2, takenLabel);

    // The customer's own word for a store, as it is.
    ui->storeBt->setText(
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord);

    for (QPushButton* button : {ui->handleAlarmBt, ui->falseAlarmBt, ui->detailCheckBt, ui->storeBt})
        button->installEventFilter(this);
    connect(ui->handleAlarmBt, &QPushButton::clicked, this, &AlarmVideoCheckWt::slotHandleAlarmBtClicked);
    connect(ui->falseAlarmBt, &QPushButton::clicked, this, &AlarmVideoCheckWt::slotFalseAlarmBtClicked);
    connect(ui->detailCheckBt, &QPushButton::clicked, this, &AlarmVideoCheckWt::slotDetailCheckBtClicked);
    connect(ui->storeBt, &QPushButton::clicked, this, &AlarmVideoCheckWt::slotStoreBtClicked);

    AlarmMonitorVideoPanel* panel = ui->videoAlarmPanel;
    connect(panel, &AlarmMonitorVideoPanel::signalCaptureActionTriggered, this,
            &AlarmVideoCheckWt::slotCaptureActionTriggered);
    connect(panel, &AlarmMonitorVideoPanel::signalVideoRecordingFileNameChanged, this,
            &AlarmVideoCheckWt::slotVideoRecordingFileNameChanged);
    connect(panel, &AlarmMonitorVideoPanel::signalRecordActionTriggered, this,
            &AlarmVideoCheckWt::slotRecordActionTriggered);

    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalHandleAlarmResult, this, &AlarmVideoCheckWt::slotHandleAlarmResult);
    connect(&hub, &AlarmSignals::signalAlarmHandledNotInVideoMonitorWt, this,
            &AlarmVideoCheckWt::slotAlarmHandledNotInVideoMonitorWt);
    connect(handlingBatch, &AlarmHandlingBatch::signalAlarmSucceeded, this, &AlarmVideoCheckWt::alarmHandled);
    connect(handlingBatch, &AlarmHandlingBatch::signalFinished, this,
            [this](const QStringList&, bool anyFailed, bool timedOut) {
                requestFinished(anyFailed || timedOut);
            });
    connect(&hub, &AlarmSignals::signalHandledAlarmPush, this, &AlarmVideoCheckWt::slotHandledAlarmPush);

    AlarmPresence* presence = AlarmOperator::presence();
    connect(presence, &AlarmPresence::takenChanged, this, [this](const QStringList& alarmUids) {
        for (const QString& uid : alarmUids) {
            if (alarms.contains(uid)) {
                showTakers();
                return;
            }
        }
    });
    connect(presence, &AlarmPresence::selfChanged, this, &AlarmVideoCheckWt::updateHandleButtons);
    updateHandleButtons();
}

AlarmVideoCheckWt::~AlarmVideoCheckWt() = default;

void AlarmVideoCheckWt::setAlarm(const VIG_AlarmInfo& alarm)
{
    ++session;
    probeUid = alarm.probeId;
    alarmInfoWidget->setAlarmInfo(alarm);
    ui->videoAlarmPanel->setAlarm(alarm);
    alarms.clear();
    alarms.insert(alarm.alarmUid, alarm);
    alarmsByTime.clear();
    indexByTime(alarm);
    currentAlarm = alarm;
    showAlarmCount();
    if (!mapChecked) {
        mapChecked = true;
        setUpMap();
    } else if (mapViewer && mapViewer->isMapLoaded()) {
        // A reused widget shows the store of its new probe.
        mapViewer->locateStore(alarm.storeUid);
    }
}

void AlarmVideoCheckWt::addAlarm(const VIG_AlarmInfo& alarm)
{
    alarms.insert(alarm.alarmUid, alarm);
    indexByTime(alarm);
    currentAlarm = alarm;
    showAlarmCountSoon();
    showCurrentAlarmLater();
    ui->videoAlarmPanel->reconnectFailingChannels();
    if (!mapChecked) {
        mapChecked = true;
        setUpMap();
    }
}

AlarmMonitorVideoPanel* AlarmVideoCheckWt::videoPanel() const
{
    return ui->videoAlarmPanel;
}

AlarmInfoWidget* AlarmVideoCheckWt::infoWidget() const
{
    return alarmInfoWidget;
}

AlarmMapViewer* AlarmVideoCheckWt::mapView() const
{
    return mapViewer;
}

bool AlarmVideoCheckWt::isHandling() const
{
    return handlingBatch->isOpen();
}

QString AlarmVideoCheckWt::probe() const
{
    return probeUid;
}

VIG_AlarmInfo AlarmVideoCheckWt::currentAlarmInfo() const
{
    return currentAlarm;
}

QStringList AlarmVideoCheckWt::alarmUids() const
{
    return alarms.keys();
}

void AlarmVideoCheckWt::setUpMap()
{
    const VIG_SYSTEM_MODULE::AlarmConfigInfo config =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache();
    const bool wanted =
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().checkUserPermission(QStringLiteral("VIEW_MAP")) &&
        config.showAlarmMap;
    if (wanted) {
        if (config.alarmVideoShowMode != VIG_SYSTEM_MODULE::AlarmVideosInPopUps || mapViewer)
            return;
        mapViewer = new AlarmMapViewer(currentAlarm.storeUid, this);
        ui->horizontalLayout_3->addWidget(mapViewer);
        // The viewer places the store it was made for on every load; a widget reused meanwhile for
        // another store's probe shows that store instead.
        const QString createdFor = currentAlarm.storeUid;
        connect(mapViewer, &AlarmMapViewer::loadFinished, this, [this, createdFor](bool ok) {
            if (ok && mapViewer && currentAlarm.storeUid != createdFor)
                mapViewer->locateStore(currentAlarm.storeUid);
        });
    } else if (mapViewer) {
        mapViewer->hide();
        ui->horizontalLayout_3->removeWidget(mapViewer);
        mapViewer->deleteLater();
        mapViewer = nullptr;
    }
}

void AlarmVideoCheckWt::slotHandleAlarmBtClicked()
{
    emit AlarmSignals::_instance().signalCloseAlarmSound();
    askAndHandle(QString());
}

void AlarmVideoCheckWt::askAndHandle(const QString& failure)
{
    if (!AlarmOperator::mayHandle())
        return;
    const quint32 asked = session;
    HandlingAnswers answers = lastRequest;
    AlarmQuestionMarks marks;
    // Alarms of the probe that come while the note is written are handled with it: the dialog says so.
    const auto follow = [this](HandleAlarmDlg* dialog) {
        connect(this, &AlarmVideoCheckWt::alarmCountChanged, dialog, &HandleAlarmDlg::setAlarmCount);
    };
    if (!marks.take(alarms.keys()) || !HandleAlarmDlg::ask(alarms.size(), &answers, failure, nullptr, follow))
        return;
    // Handled elsewhere while the operator wrote the note: nothing of that probe left to send.
    if (session != asked || alarms.isEmpty() || isHandling())
        return;
    marks.sent(sendRequest(answers));
}

void AlarmVideoCheckWt::slotFalseAlarmBtClicked()
{
    if (!AlarmOperator::mayHandle())
        return;
    emit AlarmSignals::_instance().signalCloseAlarmSound();
    AlarmQuestionMarks marks;
    if (!marks.take(alarms.keys()))
        return;
    VIG_DATA_MODULE::BasicData& data = VIG_DATA_MODULE::BasicData::_instance();
    const quint32 asked = session;
    const QString storeUid = currentAlarm.storeUid;
    const QString question = QObject::tr("Are you sure false alarm?") + QLatin1Char('\n') +
                             QObject::tr("Alarms in this handling: %1").arg(alarms.size());
    if (data.getStoreInfo(storeUid).armingState == VIG_DATA_MODULE::StoreArmed) {
        const int answer = MessageBoxW::informationEx(
            nullptr, QString(), question,
            {QObject::tr("False"), QObject::tr("False And Alarm Off"), QObject::tr("Cancel")});
        // A box closed without a choice is no consent either.
        if (answer == FalseAlarmCancel || answer < 0)
            return;
        if (answer == FalseAlarmAndDisarm)
            data.closeProtection(storeUid, handlingBatch->requesterUuid(),
                                 VIG_DATA_MODULE::AlarmDeployWholeStore);
    } else if (MessageBoxW::information(nullptr, QString(), question, MessageBoxW::OkCancelButtons) !=
               MessageBoxW::Confirmed) {
        return;
    }
    if (session != asked || alarms.isEmpty())
        return;
    marks.sent(sendRequest(HandlingAnswers::falseAlarm()));
}

QStringList AlarmVideoCheckWt::sendRequest(const HandlingAnswers& answers)
{
    lastRequest = answers;
    QStringList uids = alarms.keys();
    handlingBatch->start(uids);
    AlarmBusiness& business = AlarmBusiness::_instance();
    business.handleAlarms(handlingBatch->requesterUuid(), uids, answers.note, answers.mode,
                          answers.informKeeper);
    emit ModuleAccessSignals::_instance().signalCloseAlarmOut(
        business.getAlarmOutLinkedDevices(currentAlarm.deviceId, currentAlarm.probeId));
    return uids;
}

void AlarmVideoCheckWt::slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                                              const QString& errorMsg)
{
    handlingBatch->slotHandleAlarmResult(uuid, alarmUid, result, errorMsg);
}

void AlarmVideoCheckWt::alarmHandled(const QString& alarmUid)
{
    if (alarms.remove(alarmUid) == 0)
        return;
    showAlarmCountSoon();
    AlarmSignals& hub = AlarmSignals::_instance();
    emit hub.signalDeleteAlarmFromMonitorTable(alarmUid);
    emit hub.signalUpdateAlarmHandledNotesInDetailCheckWt(alarmUid);
}

void AlarmVideoCheckWt::requestFinished(bool anyFailed)
{
    if (alarms.isEmpty()) {
        allAlarmsGone();
        return;
    }
    emit signalHandlingEnded(probeUid);
    if (!anyFailed)
        return;
    const QString reason = handlingBatch->failureReason();
    if (lastRequest.mode == AlarmMistaken) {
        MessageBoxW::information(nullptr, QString(), handlingBatch->failureText(), MessageBoxW::OkButton);
        return;
    }
    // The operator's note is not lost: the dialog comes back with it, once the result's turn is over.
    const quint32 failedSession = session;
    QMetaObject::invokeMethod(
        this,
        [this, failedSession, reason] {
            if (session == failedSession && !alarms.isEmpty() && !isHandling())
                askAndHandle(reason);
        },
        Qt::QueuedConnection);
}

void AlarmVideoCheckWt::slotAlarmHandledNotInVideoMonitorWt(const VIG_AlarmInfo& alarmInfo)
{
    if (alarms.remove(alarmInfo.alarmUid) == 0)
        return;
    showAlarmCountSoon();
    if (alarmInfo.alarmUid == currentAlarm.alarmUid && !alarms.isEmpty()) {
        currentAlarm = *latestAlarm();
        showCurrentAlarmLater();
    }
    if (!recordingAlarm.alarmUid.isEmpty() && alarmInfo.alarmUid == recordingAlarm.alarmUid)
        ui->videoAlarmPanel->disrecordAll();
    if (alarms.isEmpty()) {
        // Nothing is left for a request still out to change.
        handlingBatch->abandon();
        allAlarmsGone();
    }
}

void AlarmVideoCheckWt::showAlarmCount()
{
    alarmCountLabel->setText(QObject::tr("Alarms of this probe: %1").arg(alarms.size()));
    showTakers();
}

void AlarmVideoCheckWt::showTakers()
{
    const QString text = AlarmOperator::handlingText(
        AlarmOperator::takers([this](const QString& alarmUid) { return alarms.contains(alarmUid); }));
    takenLabel->setText(text);
    takenLabel->setToolTip(text);
    takenLabel->setVisible(!text.isEmpty());
}

void AlarmVideoCheckWt::updateHandleButtons()
{
    AlarmOperator::enableHandling(ui->handleAlarmBt);
    AlarmOperator::enableHandling(ui->falseAlarmBt);
}

void AlarmVideoCheckWt::showAlarmCountSoon()
{
    // An open handle dialog counts what its Send will cover, at once.
    emit alarmCountChanged(alarms.size());
    // Each new count lays the widget out again: a burst shows it once a frame, and its last event at once.
    if (AlarmSignals::_instance().eventQueue().queuedCount() == 0) {
        showAlarmCount();
        return;
    }
    countPending = true;
    panelRefreshes.request();
}

void AlarmVideoCheckWt::showCurrentAlarmLater()
{
    infoPending = true;
    panelRefreshes.request();
}

void AlarmVideoCheckWt::refreshPanel()
{
    if (std::exchange(countPending, false))
        showAlarmCount();
    if (std::exchange(infoPending, false) && !alarms.isEmpty())
        alarmInfoWidget->setAlarmInfo(currentAlarm);
}

void AlarmVideoCheckWt::indexByTime(const VIG_AlarmInfo& alarm)
{
    alarmsByTime.emplace(alarm.alarmTime, alarm.alarmUid);
}

QMap<QString, VIG_AlarmInfo>::const_iterator AlarmVideoCheckWt::latestAlarm()
{
    // A drain takes the latest alarm each time: found without a walk over the others. Entries of alarms that
    // left (or came again with another time) are dropped as they come to the end.
    while (!alarmsByTime.empty()) {
        const auto last = std::prev(alarmsByTime.end());
        const auto alarm = alarms.constFind(last->second);
        if (alarm != alarms.cend() && alarm->alarmTime == last->first)
            return alarm;
        alarmsByTime.erase(last);
    }
    return alarms.cbegin();
}

void AlarmVideoCheckWt::slotHandledAlarmPush(const VIG_AlarmProcess& record)
{
    // A handling of this operator's own has already taken the alarm out when its answer came.
    slotAlarmHandledNotInVideoMonitorWt(record);
}

void AlarmVideoCheckWt::allAlarmsGone()
{
    ui->videoAlarmPanel->disconnectAll();
    emit signalAllAlarmsHandledSuccess(probeUid);
}

void AlarmVideoCheckWt::slotDetailCheckBtClicked()
{
    emit AlarmSignals::_instance().signalCloseAlarmSound();
    emit ModuleAccessSignals::_instance().signalSetCurrentModuleForm(VIG_CONTACT_MODULE::AlarmModuleForm);
    emit AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(currentAlarm, IcloudRecordingRelation);
}

void AlarmVideoCheckWt::slotStoreBtClicked()
{
    emit AlarmSignals::_instance().signalCloseAlarmSound();
    ModuleAccessSignals& access = ModuleAccessSignals::_instance();
    emit access.signalSetCurrentModuleForm(VIG_CONTACT_MODULE::VideoViewForm);
    if (!alarms.isEmpty())
        emit access.signalConnectStoreVideosInVideoView(alarms.first().storeUid);
}

void AlarmVideoCheckWt::slotCaptureActionTriggered()
{
    // The window whose menu the operator used, which the panel selected before showing the menu.
    AlarmMonitorVideoPanel* panel = ui->videoAlarmPanel;
    const QString path = panel->videoCapture(qMax(0, panel->selectedWindow()));
    if (path.isEmpty()) {
        MessageBoxW::information(nullptr, QString(),
                                 QObject::tr("Nothing was captured: this video is not playing."),
                                 MessageBoxW::OkButton);
        return;
    }
    AlarmBusiness::_instance().saveCaptureRelation(currentAlarm.alarmUid, path);
}

void AlarmVideoCheckWt::slotRecordActionTriggered()
{
    // The recording belongs to the alarm on show when it started, whatever arrives before its file is named.
    recordingAlarm = currentAlarm;
}

void AlarmVideoCheckWt::slotVideoRecordingFileNameChanged(int localIndex, const QString& filePath)
{
    Q_UNUSED(localIndex)
    AlarmBusiness::_instance().saveRecordingRelation(recordingAlarm.alarmUid, filePath);
}

bool AlarmVideoCheckWt::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}

void AlarmVideoCheckWt::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
}

} // namespace VIG_ALARM_MOUDLE
