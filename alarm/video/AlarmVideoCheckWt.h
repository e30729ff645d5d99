#pragma once

#include "frame/FramePacer.h"
#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"

#include "handling/HandlingAnswers.h"

#include <QMap>
#include <QWidget>

#include <memory>
#include <set>
#include <utility>

class QLabel;

namespace VIG_ALARM_MOUDLE {

namespace Ui {
class AlarmVideoCheckWt;
}

class AlarmHandlingBatch;
class AlarmInfoWidget;
class AlarmMapViewer;
class AlarmMonitorVideoPanel;

// The working surface for one probe's unhandled alarms: their information, the live video of the probe's
// channels and, in pop-ups, the store's map. All alarms present are handled or marked false in one
// request; when none is left the widget says so and is reused for the next probe.
class AlarmVideoCheckWt : public QWidget
{
    Q_OBJECT

public:
    explicit AlarmVideoCheckWt(QWidget* parent = nullptr);
    ~AlarmVideoCheckWt() override;

    // Starts over with the first alarm of a probe.
    void setAlarm(const VIG_AlarmInfo& alarm);
    // One more alarm of the same probe; the newest is the one on show.
    void addAlarm(const VIG_AlarmInfo& alarm);

    AlarmMonitorVideoPanel* videoPanel() const;
    AlarmInfoWidget* infoWidget() const;
    AlarmMapViewer* mapView() const;
    // A handle or false-alarm request is waiting for its results.
    bool isHandling() const;
    QString probe() const;
    VIG_AlarmInfo currentAlarmInfo() const;
    QStringList alarmUids() const;

signals:
    void signalAllAlarmsHandledSuccess(const QString& probeUid);
    // A handle or false-alarm request ended with alarms left: the probe's alarms parked meanwhile may come.
    void signalHandlingEnded(const QString& probeUid);
    // The number of alarms a handling would cover changed.
    void alarmCountChanged(int count);

public slots:
    void slotFalseAlarmBtClicked();
    void slotHandleAlarmBtClicked();
    void slotDetailCheckBtClicked();
    void slotStoreBtClicked();
    void slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                               const QString& errorMsg);
    void slotAlarmHandledNotInVideoMonitorWt(const VIG_AlarmInfo& alarmInfo);
    // Another operator handled one of the alarms: it leaves as if handled here.
    void slotHandledAlarmPush(const VIG_AlarmProcess& record);
    void slotCaptureActionTriggered();
    void slotVideoRecordingFileNameChanged(int localIndex, const QString& filePath);
    void slotRecordActionTriggered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setUpMap();
    void followMapStore(bool loaded);
    // Asks for the handling of the alarms present and sends it; a failed one comes back with its reason.
    void askAndHandle(const QString& failure);
    // Returns the alarms sent.
    QStringList sendRequest(const HandlingAnswers& answers);
    void showAlarmCount();
    // At once, or with the next frame while the service's events come in a burst.
    void showAlarmCountSoon();
    // Who else has one of the alarms open, on a line of its own.
    void showTakers();
    void updateHandleButtons();
    void alarmHandled(const QString& alarmUid);
    void requestFinished(bool anyFailed);
    void allAlarmsGone();
    void showCurrentAlarmLater();
    void refreshPanel();
    void indexByTime(const VIG_AlarmInfo& alarm);
    QMap<QString, VIG_AlarmInfo>::const_iterator latestAlarm();

    std::unique_ptr<Ui::AlarmVideoCheckWt> ui;
    AlarmInfoWidget* alarmInfoWidget = nullptr;
    QLabel* alarmCountLabel = nullptr;
    QLabel* takenLabel = nullptr;
    HandlingAnswers lastRequest;
    QMap<QString, VIG_AlarmInfo> alarms;
    // Alarm time and uid of the alarms, the latest last (the smaller uid of equal times after the other).
    // Entries of alarms that left stay until they come to the end.
    struct LaterLast
    {
        bool operator()(const std::pair<QString, QString>& a, const std::pair<QString, QString>& b) const
        {
            return a.first < b.first || (a.first == b.first && a.second > b.second);
        }
    };
    std::set<std::pair<QString, QString>, LaterLast> alarmsByTime;
    VIG_AlarmInfo recordingAlarm;
    VIG_AlarmInfo currentAlarm;
    QString probeUid;
    bool mapChecked = false;
    bool infoPending = false;
    bool countPending = false;
    // A burst adds or takes many alarms per turn of the event loop: the panel is laid out once at its end.
    FramePacer panelRefreshes{this, [this] {
                                  refreshPanel();
                              }};
    AlarmMapViewer* mapViewer = nullptr;
    // The request in flight: its results count even for an alarm that left meanwhile.
    AlarmHandlingBatch* handlingBatch = nullptr;
    // Counts the probes shown, so that an answer given to a question about one probe is not taken for
    // the next one the widget was reused for meanwhile.
    quint32 session = 0;
};

} // namespace VIG_ALARM_MOUDLE
