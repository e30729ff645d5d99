#include "detail/AlarmDetailCheckWt.h"

#include "ui_AlarmDetailCheckWt.h"

#include "detail/AlarmInfoWidget.h"
#include "detail/AlarmRelationsListWt.h"
#include "frame/AlarmOperator.h"
#include "frame/AlarmSignals.h"
#include "frame/VIG_AlarmRelation.h"
#include "handling/AlarmHandlingBatch.h"
#include "handling/AlarmQuestionMarks.h"
#include "handling/HandleAlarmDlg.h"
#include "relations/AlarmVideoRelation.h"
#include "service/AlarmBusiness.h"

#include "AlarmPresence.h"
#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataSignals.h"
#include "HttpDownload.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "NoFocusStyledItemDelegate.h"
#include "VideoPanel.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QScrollBar>
#include <QUuid>

namespace VIG_ALARM_MOUDLE {

using VIG_BASE_MODULE::MessageBoxW;

namespace {

const char* const LiveVideoPath = "LIVE_VIDEO";
const char* const TimeFormat = "yyyy-MM-dd hh:mm:ss";

void prepareScrollArea(QScrollArea* area)
{
    QPalette colours = area->palette();
    colours.setColor(QPalette::Window, QColor(QStringLiteral("#23262f")));
    area->setPalette(colours);
    area->verticalScrollBar()->setProperty("VIG_public_scrollBar_style_1", true);
}

VIG_AlarmRelation relationOf(const QString& alarmUid, const QString& filePath, const QString& fileName,
                             int type)
{
    VIG_AlarmRelation relation;
    relation.alarmUid = alarmUid;
    relation.filePath = filePath;
    relation.fileName = fileName;
    relation.type = type;
    return relation;
}

VIG_AlarmRelation remoteRelation(const QString& alarmUid,
                                 const VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfo& recording)
{
    if (recording.storageRecording == 0)
        return relationOf(alarmUid, recording.locator,
                          QObject::tr(" ICloud Recording ") + recording.recordingName,
                          IcloudRecordingRelation);
    // The device finds a storage recording by its address and the last part of the locator.
    QJsonObject locator;
    locator.insert(QStringLiteral("deviceAddr"), recording.deviceAddr);
    locator.insert(QStringLiteral("fileName"), recording.locator.split(QLatin1Char('/')).last());
    const QString json = QString::fromUtf8(QJsonDocument(locator).toJson(QJsonDocument::Compact));
    return relationOf(alarmUid, json, QObject::tr(" Storage Alarm Recording ") + recording.recordingName,
                      StorageRecordingRelation);
}

} // namespace

AlarmDetailCheckWt::AlarmDetailCheckWt(QWidget* parent)
    : ColouredWidget(parent)
    , ui(new Ui::AlarmDetailCheckWt)
    , handlingBatch(new AlarmHandlingBatch(this))
    , imageDownload(new ZCOMMON::HttpDownload(this))
{
    ui->setupUi(this);
    setColor("#2b2f3a");

    alarmInfoWidget = new AlarmInfoWidget(this);
    prepareScrollArea(ui->alarmInfoScrollArea);
    prepareScrollArea(ui->alarmHandledNotes);
    ui->alarmInfoScrollArea->setWidget(alarmInfoWidget); // the form's empty contents go
    ui->scrollAreaWidgetContents = alarmInfoWidget;

    AlarmRelationsListWt* list = ui->alarminfoList;
    list->setItemDelegate(new VIG_BASE_MODULE::NoFocusStyledItemDelegate(list));

    VIG_BASE_MODULE::VideoPanel* videoPanel = ui->playbackPanel->getVideoPanel();
    ui->playbackPanel->show();
    ui->imageViewer->hide();
    videoPanel->setAlarmRecordMode();

    connect(list, &QListWidget::itemDoubleClicked, this, &AlarmDetailCheckWt::slotItemDoubleClicked);
    connect(list, &AlarmRelationsListWt::signalStopVideoRecordingView, this,
            &AlarmDetailCheckWt::slotStopVideoRecordingView);

    AlarmSignals& hub = AlarmSignals::_instance();
    connect(&hub, &AlarmSignals::signalGetAlarmHandleNotes, this, &AlarmDetailCheckWt::slotOnGetAlarmNotes);
    connect(&hub, &AlarmSignals::signalHandleAlarmResult, this, &AlarmDetailCheckWt::slotHandleAlarmResult);
    connect(&hub, &AlarmSignals::signalUpdateAlarmHandledNotesInDetailCheckWt, this,
            &AlarmDetailCheckWt::slotUpdateAlarmHandledNotesInDetailCheckWt);
    connect(handlingBatch, &AlarmHandlingBatch::signalFinished, this,
            [this](const QStringList& succeededUids, bool anyFailed, bool) {
                handleRequestFinished(succeededUids, anyFailed);
            });

    connect(ui->handleAlarmBt, &QPushButton::clicked, this, &AlarmDetailCheckWt::slotHandleAlarmBtClicked);
    connect(ui->falseAlarmBt, &QPushButton::clicked, this, &AlarmDetailCheckWt::slotFalseAlarmBtClicked);
    connect(ui->backBt, &QPushButton::clicked, this, &AlarmDetailCheckWt::slotBackBtClicked);

    takenLabel = new QLabel(ui->alarmInfoFrame);
    takenLabel->setObjectName(QStringLiteral("takenLabel"));
    takenLabel->setStyleSheet(QStringLiteral("color: #f0b400; font-weight: bold; padding: 4px 0;"));
    takenLabel->setWordWrap(true);
    takenLabel->hide();
    ui->verticalLayout->insertWidget(ui->verticalLayout->count() - 1, takenLabel); // over the buttons
    AlarmPresence* presence = AlarmOperator::presence();
    connect(presence, &AlarmPresence::takenChanged, this, [this](const QStringList& alarmUids) {
        if (alarmUids.contains(alarm.alarmUid))
            showTaker();
    });
    connect(presence, &AlarmPresence::selfChanged, this, &AlarmDetailCheckWt::updateHandleButtons);
    updateHandleButtons();

    connect(videoPanel, &VIG_BASE_MODULE::VideoPanel::signalCaptureActionTriggered, this,
            &AlarmDetailCheckWt::slotCaptureActionTriggered);
    connect(videoPanel, &VIG_BASE_MODULE::VideoPanel::signalVideoPlaybackFinished, this,
            &AlarmDetailCheckWt::slotPlayBackFinished);
    connect(videoPanel, &VIG_BASE_MODULE::VideoPanel::signalVideoRecordingFileNameChanged, this,
            &AlarmDetailCheckWt::slotVideoRecordingFileNameChanged);

    connect(&VIG_DATA_MODULE::DataSignals::_instance(),
            &VIG_DATA_MODULE::DataSignals::signalGetIcloudAlarmRecordingsInfo, this,
            &AlarmDetailCheckWt::slotGetIcloudAlarmRecordingsInfo);

    connect(imageDownload, &ZCOMMON::HttpDownload::signalDownloadFinished, this,
            &AlarmDetailCheckWt::slotImageDownloadFinished);
    connect(imageDownload, &ZCOMMON::HttpDownload::signalDownloadError, this,
            &AlarmDetailCheckWt::slotImageDownloadErr);

    ui->imageViewer->installEventFilter(this);
    videoPanel->installEventFilter(this);
}

AlarmDetailCheckWt::~AlarmDetailCheckWt() = default;

void AlarmDetailCheckWt::setAlarm(const VIG_AlarmInfo& alarmInfo, int defaultType)
{
    if (alarmInfo.alarmUid.isEmpty() || alarmInfo.alarmUid == alarm.alarmUid)
        return;
    // The answer about the alarm shown before has nothing left to update here.
    handlingBatch->abandon();
    alarm = alarmInfo;
    ui->alarminfoList->clearRelations();
    defaultAlarmRelationType = defaultType;
    ui->storeName->setText(VIG_DATA_MODULE::BasicData::_instance().getStoreInfo(alarm.storeUid).storeName);
    alarmInfoWidget->setAlarmInfo(alarm);
    updateHandleButtons();
    ui->alarminfoList->setAlarmUid(alarm.alarmUid);
    stopEverything();
    if (isVisible()) {
        requestRemoteRecordings();
        requestHandleNotes();
    }
}

void AlarmDetailCheckWt::requestRemoteRecordings()
{
    recordingsRequestUuid = QUuid::createUuid().toString();
    VIG_DATA_MODULE::BasicData::_instance().getAlarmRemoteRecordingsInfo(recordingsRequestUuid,
                                                                         alarm.alarmUid);
}

void AlarmDetailCheckWt::requestHandleNotes()
{
    ui->dealProcess->clear();
    AlarmBusiness::_instance().getAlarmHandleNotes(alarm.alarmUid);
}

void AlarmDetailCheckWt::slotGetIcloudAlarmRecordingsInfo(
    const QString& uuid, const VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfoVec& recordingsInfo)
{
    if (recordingsRequestUuid.isEmpty() || uuid != recordingsRequestUuid)
        return;

    QList<VIG_AlarmRelation> relations;
    relations.append(relationOf(alarm.alarmUid, QLatin1String(LiveVideoPath), QObject::tr("LiveVideo"),
                                LiveVideoRelation));
    for (const VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfo& recording : recordingsInfo)
        relations.append(remoteRelation(alarm.alarmUid, recording));
    // Playing the NVR entry reads no path; it borrows one so that the list keeps it.
    const QString nvrPath = relations.last().filePath;
    relations.append(AlarmVideoRelation::_instance().getAlarmRelations(alarm.alarmUid));
    const VIG_DATA_MODULE::VIG_DeviceInfo device =
        VIG_DATA_MODULE::BasicData::_instance().getDeviceInfo(alarm.deviceId);
    if (device.deviceType.toLower() == QLatin1String("nvr"))
        relations.append(
            relationOf(alarm.alarmUid, nvrPath, QObject::tr("NVR Recording"), NvrRecordingRelation));

    AlarmRelationsListWt* list = ui->alarminfoList;
    QListWidgetItem* marked = list->getMarkedItem();
    list->setRelations(relations, AlarmRelationsListWt::itemType(marked),
                       AlarmRelationsListWt::itemFilePath(marked));
    if (!marked) {
        list->playDefaultItem(defaultAlarmRelationType);
    } else {
        QListWidgetItem* again = list->getMarkedItem();
        if (again && AlarmRelationsListWt::itemType(again) == IcloudRecordingRelation &&
            !ui->playbackPanel->isVideoRecordingPlaybackSuccess())
            list->playItem(again);
    }
    fitRelationsWidth();
    requestHandleNotes();
}

void AlarmDetailCheckWt::updateHandleButtons()
{
    const bool open = alarm.state != AlarmMistaken && alarm.state != AlarmFinished;
    AlarmOperator::enableHandling(ui->handleAlarmBt, open);
    AlarmOperator::enableHandling(ui->falseAlarmBt, open);
    showTaker();
}

void AlarmDetailCheckWt::showTaker()
{
    const QString uid = alarm.state == AlarmNew ? alarm.alarmUid : QString();
    const QString text = AlarmOperator::handlingText(
        AlarmOperator::takers([&uid](const QString& alarmUid) { return alarmUid == uid; }));
    takenLabel->setText(text);
    takenLabel->setVisible(!text.isEmpty());
}

void AlarmDetailCheckWt::fitRelationsWidth()
{
    // Wide enough for the longest entry, within what leaves the video most of the row.
    const int MinWidth = 280;
    const int MaxWidth = 520;
    AlarmRelationsListWt* list = ui->alarminfoList;
    const int wanted = list->sizeHintForColumn(0) + 2 * list->frameWidth() + list->iconSize().width() +
                       list->verticalScrollBar()->sizeHint().width();
    ui->relationsFrame->setFixedWidth(qBound(MinWidth, wanted, MaxWidth));
}

void AlarmDetailCheckWt::slotOnGetAlarmNotes(const AlarmProcessVector& alarmHandleNotes, int result,
                                             const QString& errorMsg)
{
    Q_UNUSED(errorMsg)
    if (alarm.alarmUid.isEmpty())
        return;
    // A late answer about the alarm shown before is not this alarm's history.
    for (const VIG_AlarmProcess& note : alarmHandleNotes) {
        if (!note.alarmUid.isEmpty() && note.alarmUid != alarm.alarmUid)
            return;
    }
    // Requests overlap (opening, the recordings answer, a handling): the last answer is the history.
    ui->dealProcess->clear();
    ui->dealProcess->addHandleInfo(alarm.alarmTime, AlarmInfoWidget::shownText(alarm.describe));
    if (result != 0) {
        MessageBoxW::information(nullptr, QString(), QObject::tr("Get alarm notes failed."),
                                 MessageBoxW::OkButton);
        return;
    }

    AlarmRelationsListWt* list = ui->alarminfoList;
    const QString currentPath = AlarmRelationsListWt::itemType(list->getMarkedItem()) == LiveImageRelation
                                    ? AlarmRelationsListWt::itemFilePath(list->getMarkedItem())
                                    : QString();
    list->removeLiveImageItems();
    int imageNumber = 0;
    for (const VIG_AlarmProcess& note : alarmHandleNotes) {
        // Another view may have closed the alarm or marked it false.
        if (note.state == AlarmMistaken || note.state == AlarmFinished)
            alarm.state = note.state;
        ui->dealProcess->addHandleInfo(note.handleTime, AlarmInfoWidget::shownText(note.handleNote));
        if (note.liveImageUrls.isEmpty())
            continue;
        const QStringList addresses = note.liveImageUrls.split(QLatin1Char(','), Qt::KeepEmptyParts);
        for (const QString& address : addresses) {
            if (address.isEmpty())
                continue;
            // Named by what the operator knows, the camera and the time, not by the server's file name.
            const QString shown = QObject::tr("Live image %1, channel %2, %3")
                                      .arg(++imageNumber)
                                      .arg(alarm.channelIndex)
                                      .arg(note.handleTime);
            QListWidgetItem* item =
                list->addRelationItem(relationOf(alarm.alarmUid, address, shown, LiveImageRelation));
            if (address == currentPath)
                list->playItem(item);
        }
    }
    updateHandleButtons();
    fitRelationsWidth();
}

void AlarmDetailCheckWt::slotItemDoubleClicked(QListWidgetItem* item)
{
    if (!item)
        return;
    ui->playbackPanel->stopVideoPlay();
    AlarmRelationsListWt* list = ui->alarminfoList;
    const int type = AlarmRelationsListWt::itemType(item);
    const QString path = AlarmRelationsListWt::itemFilePath(item);
    playingRow = list->row(item);

    switch (type) {
    case LiveVideoRelation:
        playCurrentVideos();
        break;
    case StorageRecordingRelation:
        showPlaybackPanel();
        ui->playbackPanel->playbackRemoteAlarmVideoRecording(alarm.deviceId, alarm.channelIndex, path);
        break;
    case IcloudRecordingRelation:
        showPlaybackPanel();
        ui->playbackPanel->playbackIcloudAlarmVideoRecording(path, AlarmRelationsListWt::itemTimeText(item));
        break;
    case LocalRecordingRelation:
        showPlaybackPanel();
        ui->playbackPanel->playbackLocalVideoRecording(path);
        break;
    case CaptureRelation:
        ui->imageViewer->setWaitingVisible(false);
        ui->imageViewer->setImagePath(path);
        showImageViewer();
        break;
    case LiveImageRelation:
        showLiveImage(path);
        break;
    case NvrRecordingRelation: {
        const VIG_SYSTEM_MODULE::AlarmConfigInfo config =
            VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache();
        const QString format = QLatin1String(TimeFormat);
        const QString start = QDateTime::fromString(alarm.alarmTime, format)
                                  .addSecs(-config.nvrPlaybackSecondsBefore)
                                  .toString(format);
        showPlaybackPanel();
        ui->playbackPanel->playbackSpecifiedPeriodVideoRecording(alarm.deviceId, alarm.channelIndex, start,
                                                                 config.nvrPlaybackDuration);
        break;
    }
    default:
        break;
    }
}

void AlarmDetailCheckWt::showLiveImage(const QString& address)
{
    VIG_BASE_MODULE::ImageViewer* viewer = ui->imageViewer;
    viewer->setWaitingVisible(true);
    const QString localPath = AlarmRelationsListWt::liveImageLocalPath(alarm.alarmUid, address);
    if (localPath.isEmpty()) {
        // Alarm uid and image name come from the server; neither may lead outside the download folder.
        viewer->setWaitingVisible(false);
        MessageBoxW::information(
            nullptr, QString(),
            QObject::tr("The live image can not be stored, its name is not allowed: %1").arg(address),
            MessageBoxW::OkButton);
        return;
    }
    const QString folder = AlarmRelationsListWt::liveImageFolder(alarm.alarmUid);
    if (QFile::exists(localPath)) {
        viewer->setWaitingVisible(false);
        viewer->setImagePath(localPath);
    } else {
        QDir().mkpath(folder);
        imageDownload->download(address, folder, QFileInfo(localPath).fileName());
    }
    showImageViewer();
}

void AlarmDetailCheckWt::slotImageDownloadFinished(const QString& fileName)
{
    ui->imageViewer->setWaitingVisible(false);
    // An image of the alarm shown before is not shown for this one.
    const QString folder = AlarmRelationsListWt::liveImageFolder(alarm.alarmUid);
    if (folder.isEmpty() ||
        QDir::cleanPath(QFileInfo(fileName).absolutePath()) != QDir::cleanPath(QDir(folder).absolutePath()))
        return;
    ui->imageViewer->setImagePath(fileName);
}

void AlarmDetailCheckWt::slotImageDownloadErr()
{
    ui->imageViewer->setWaitingVisible(false);
}

void AlarmDetailCheckWt::stopEverything()
{
    // Nobody watches a page that was left: its live channels and a recording it was making end with it.
    ui->playbackPanel->stopVideoPlay();
    ui->playbackPanel->getVideoPanel()->disconnectAll();
}

void AlarmDetailCheckWt::showPlaybackPanel()
{
    ui->imageViewer->hide();
    ui->playbackPanel->show();
}

void AlarmDetailCheckWt::showImageViewer()
{
    ui->playbackPanel->hide();
    ui->imageViewer->show();
}

void AlarmDetailCheckWt::playCurrentVideos()
{
    ui->alarminfoList->markRow(0);
    ui->playbackPanel->connectChannels(
        VIG_DATA_MODULE::BasicData::_instance().getProbeRelatedChannels(alarm.probeId));
    showPlaybackPanel();
}

void AlarmDetailCheckWt::slotPlayBackFinished(int index)
{
    Q_UNUSED(index)
    AlarmRelationsListWt* list = ui->alarminfoList;
    ++playingRow;
    QListWidgetItem* next = list->item(playingRow);
    const int type = AlarmRelationsListWt::itemType(next);
    if (next && (type == StorageRecordingRelation || type == IcloudRecordingRelation ||
                 type == LocalRecordingRelation || type == NvrRecordingRelation)) {
        slotItemDoubleClicked(next);
        list->setCurrentRow(playingRow);
        list->markRow(playingRow);
        return;
    }
    playCurrentVideos();
    playingRow = 0;
}

void AlarmDetailCheckWt::slotStopVideoRecordingView(const QString& filePath)
{
    if (AlarmRelationsListWt::itemFilePath(ui->alarminfoList->item(playingRow)) == filePath)
        ui->playbackPanel->stopVideoPlay();
}

bool AlarmDetailCheckWt::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == ui->imageViewer || watched == ui->playbackPanel->getVideoPanel()))
        ui->alarminfoList->restoreMarkedRow();
    return ColouredWidget::eventFilter(watched, event);
}

void AlarmDetailCheckWt::moveEvent(QMoveEvent* event)
{
    ColouredWidget::moveEvent(event);
}

void AlarmDetailCheckWt::showEvent(QShowEvent* event)
{
    ColouredWidget::showEvent(event);
    if (!alarm.alarmUid.isEmpty())
        requestRemoteRecordings();
}

void AlarmDetailCheckWt::slotHandleAlarmBtClicked()
{
    askAndHandle(QString());
}

void AlarmDetailCheckWt::askAndHandle(const QString& failure)
{
    const QString uid = alarm.alarmUid;
    if (uid.isEmpty() || !AlarmOperator::mayHandle())
        return;
    HandlingAnswers answers = lastRequest;
    AlarmQuestionMarks marks;
    if (!marks.take({uid}) || !HandleAlarmDlg::ask(1, &answers, failure, this) || uid != alarm.alarmUid ||
        handlingBatch->isOpen())
        return;
    sendHandleRequest(answers);
    marks.sent({uid});
}

void AlarmDetailCheckWt::slotFalseAlarmBtClicked()
{
    const QString uid = alarm.alarmUid;
    if (uid.isEmpty() || !AlarmOperator::mayHandle())
        return;
    AlarmQuestionMarks marks;
    if (!marks.take({uid}) ||
        MessageBoxW::information(nullptr, QString(), QObject::tr("Are you sure false alarm?"),
                                 MessageBoxW::OkCancelButtons) != MessageBoxW::Confirmed ||
        uid != alarm.alarmUid)
        return;
    sendHandleRequest(HandlingAnswers::falseAlarm());
    marks.sent({uid});
}

void AlarmDetailCheckWt::sendHandleRequest(const HandlingAnswers& answers)
{
    lastRequest = answers;
    handlingBatch->start({alarm.alarmUid});
    AlarmBusiness& business = AlarmBusiness::_instance();
    business.handleAlarm(handlingBatch->requesterUuid(), alarm.alarmUid, answers.note, answers.mode,
                         answers.informKeeper);
    if (alarm.state == AlarmNew)
        emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCloseAlarmOut(
            business.getAlarmOutLinkedDevices(alarm.deviceId, alarm.probeId));
}

void AlarmDetailCheckWt::slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                                               const QString& errorMsg)
{
    handlingBatch->slotHandleAlarmResult(uuid, alarmUid, result, errorMsg);
}

void AlarmDetailCheckWt::handleRequestFinished(const QStringList& succeededUids, bool anyFailed)
{
    if (anyFailed) {
        const QString reason = handlingBatch->failureReason();
        if (lastRequest.mode == AlarmMistaken) {
            MessageBoxW::information(nullptr, QString(), handlingBatch->failureText(), MessageBoxW::OkButton);
            return;
        }
        // The operator's note is not lost: the dialog comes back with it.
        const QString uid = alarm.alarmUid;
        QMetaObject::invokeMethod(
            this,
            [this, uid, reason] {
                if (uid == alarm.alarmUid && !handlingBatch->isOpen())
                    askAndHandle(reason);
            },
            Qt::QueuedConnection);
        return;
    }
    if (succeededUids.isEmpty())
        return;
    alarm.state = lastRequest.mode;
    updateHandleButtons();
    requestHandleNotes();
    AlarmSignals& hub = AlarmSignals::_instance();
    emit hub.signalAlarmHandledNotInVideoMonitorWt(alarm);
    emit hub.signalDeleteAlarmFromMonitorTable(alarm.alarmUid);
}

void AlarmDetailCheckWt::slotUpdateAlarmHandledNotesInDetailCheckWt(const QString& alarmUid)
{
    if (isVisible() && !alarmUid.isEmpty() && alarmUid == alarm.alarmUid)
        requestHandleNotes();
}

void AlarmDetailCheckWt::slotCaptureActionTriggered()
{
    VIG_BASE_MODULE::VideoPanel* panel = ui->playbackPanel->getVideoPanel();
    const QString path = panel->videoCapture(qMax(0, panel->selectedWindow()));
    if (alarm.alarmUid.isEmpty())
        return;
    if (path.isEmpty()) {
        MessageBoxW::information(nullptr, QString(),
                                 QObject::tr("Nothing was captured: this video is not playing."),
                                 MessageBoxW::OkButton);
        return;
    }
    AlarmBusiness::_instance().saveCaptureRelation(alarm.alarmUid, path);
    requestRemoteRecordings();
}

void AlarmDetailCheckWt::slotVideoRecordingFileNameChanged(int localIndex, const QString& fileName)
{
    Q_UNUSED(localIndex)
    if (alarm.alarmUid.isEmpty())
        return;
    AlarmBusiness::_instance().saveRecordingRelation(alarm.alarmUid, fileName);
    requestRemoteRecordings();
}

void AlarmDetailCheckWt::slotBackBtClicked()
{
    ui->alarminfoList->clearRelations();
    ui->dealProcess->clear();
    stopEverything();
    // An answer still on its way belongs to the page just left; showing it again asks anew.
    recordingsRequestUuid.clear();
    emit AlarmSignals::_instance().signalSetAlarmDetailCheckWtVisible(false);
}

} // namespace VIG_ALARM_MOUDLE
