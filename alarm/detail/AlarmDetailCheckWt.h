#pragma once

#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"
#include "frame/VIG_AlarmRelation.h"
#include "handling/HandlingAnswers.h"

#include "ColouredWidget.h"
#include "VIG_IcloudAlarmRecordingInfo.h"

#include <memory>

class QLabel;
class QListWidgetItem;

namespace ZCOMMON {
class HttpDownload;
}

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmDetailCheckWt;
}

class AlarmHandlingBatch;
class AlarmInfoWidget;

// The detail page of one alarm: its information, its handling history and everything that can be watched
// for it (live video, recordings on the device, in the cloud, on this computer and on the NVR, captures and
// the images taken at the alarm). Picked entries play in the playback panel or show in the image viewer;
// recordings play one after another and the live video follows the last one.
class AlarmDetailCheckWt : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmDetailCheckWt(QWidget* parent = nullptr);
    ~AlarmDetailCheckWt() override;

    // Nothing happens for an alarm without uid or for the alarm on show.
    void setAlarm(const VIG_AlarmInfo& alarm, int defaultAlarmRelationType);

    VIG_AlarmInfo getAlarm() const { return alarm; }
    int getPlayingRow() const { return playingRow; }

public slots:
    void slotItemDoubleClicked(QListWidgetItem* item);
    void slotOnGetAlarmNotes(const AlarmProcessVector& alarmHandleNotes, int result, const QString& errorMsg);
    void slotHandleAlarmBtClicked();
    void slotFalseAlarmBtClicked();
    void slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                               const QString& errorMsg);
    void slotBackBtClicked();
    void playCurrentVideos();
    void slotCaptureActionTriggered();
    void slotUpdateAlarmHandledNotesInDetailCheckWt(const QString& alarmUid);
    void slotStopVideoRecordingView(const QString& filePath);
    void slotPlayBackFinished(int index);
    void slotVideoRecordingFileNameChanged(int localIndex, const QString& fileName);
    void
    slotGetIcloudAlarmRecordingsInfo(const QString& uuid,
                                     const VIG_DATA_MODULE::VIG_IcloudAlarmRecordingInfoVec& recordingsInfo);
    void slotImageDownloadFinished(const QString& fileName);
    void slotImageDownloadErr();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void requestRemoteRecordings();
    void requestHandleNotes();
    void showLiveImage(const QString& address);
    void stopEverything();
    void showPlaybackPanel();
    void showImageViewer();
    void askAndHandle(const QString& failure);
    void sendHandleRequest(const HandlingAnswers& answers);
    void handleRequestFinished(const QStringList& succeededUids, bool anyFailed);
    // Handle and False only while the alarm is open: a closed or false alarm takes no handling.
    void updateHandleButtons();
    void showTaker();
    void fitRelationsWidth();

    std::unique_ptr<Ui::AlarmDetailCheckWt> ui;
    VIG_AlarmInfo alarm;
    AlarmInfoWidget* alarmInfoWidget = nullptr;
    QLabel* takenLabel = nullptr;
    QString recordingsRequestUuid;
    int playingRow = 0;
    int defaultAlarmRelationType = LiveVideoRelation;
    AlarmHandlingBatch* handlingBatch = nullptr;
    HandlingAnswers lastRequest;
    ZCOMMON::HttpDownload* imageDownload = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
