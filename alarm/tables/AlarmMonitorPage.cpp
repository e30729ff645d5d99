#include "tables/AlarmMonitorPage.h"

#include "frame/AlarmLinkBanner.h"
#include "frame/AlarmSignals.h"
#include "service/AlarmBusiness.h"
#include "service/AlarmCallBack.h"
#include "tables/AlarmMonitorTable.h"
#include "video/AlarmVideoCheckDlgManager.h"
#include "video/AlarmVideosMonitorWt.h"
#include "video/WaitingAlarmsLabel.h"

#include "BusinessConfig.h"

#include "frame/AlarmMutexLocker.h"
#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QTimer>
#include <QVBoxLayout>

namespace VIG_ALARM_MOUDLE {

namespace {
const int TableHeightUnderGrid = 190;
// What one event-loop turn may spend placing the alarms of a burst, so the operator's input is answered.
const qint64 RoutingBudgetNs = 4 * 1000 * 1000;
const int RetryAfterMs = 40;
} // namespace

AlarmMonitorPage::AlarmMonitorPage(QWidget* parent)
    : ColouredWidget(parent)
    , alarmMonitorTable(new AlarmMonitorTable(this))
    , pageLayout(new QVBoxLayout(this))
    , newAlarmPushesBefore(AlarmCallBack::newAlarmPushCount())
{
    pageLayout->setContentsMargins(9, 9, 9, 9);
    pageLayout->setSpacing(6);
    pageLayout->addWidget(new AlarmLinkBanner(this));
    if (VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
        VIG_SYSTEM_MODULE::AlarmVideosInGrid) {
        videosMonitorWt = new AlarmVideosMonitorWt(this);
        pageLayout->addWidget(videosMonitorWt);
        alarmMonitorTable->setFixedHeight(TableHeightUnderGrid);
    }
    pageLayout->addWidget(alarmMonitorTable);
    // Below the table, so that its rows do not move when the label shows; the grid says it under its cells.
    if (!videosMonitorWt)
        pageLayout->addWidget(new WaitingAlarmsLabel(this));
    setColor("#2b2f3a");
    alarmMonitorTable->setProperty("VIG_public_Table_style_1", true);

    connect(alarmMonitorTable, &AlarmMonitorTable::doubleClicked, this,
            &AlarmMonitorPage::signalAlarmTabDoubleClicked);
    connect(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush, this,
            &AlarmMonitorPage::slotNewAlarm);
    connect(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmHandled, this,
            &AlarmMonitorPage::slotAlarmHandled);
    // The table may hold its rows for its next frame: the routing waits for them without turning the
    // event loop meanwhile.
    connect(alarmMonitorTable->model(), &QAbstractItemModel::rowsInserted, this,
            &AlarmMonitorPage::tableMoved);
    connect(alarmMonitorTable->model(), &QAbstractItemModel::rowsRemoved, this,
            &AlarmMonitorPage::tableMoved);
}

AlarmMonitorPage::~AlarmMonitorPage() = default;

void AlarmMonitorPage::showEvent(QShowEvent* event)
{
    ColouredWidget::showEvent(event);
    // Shown, the page has the host's main window above it, which owns the pop-ups.
    if (!videosMonitorWt &&
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
            VIG_SYSTEM_MODULE::AlarmVideosInPopUps)
        AlarmVideoCheckDlgManager::_instance().buildDialogsAhead();
}

int AlarmMonitorPage::queuedAlarmCount() const
{
    return queuedAlarms.size();
}

void AlarmMonitorPage::showBookedAlarms()
{
    // Taken after the page listens: an alarm booked meanwhile is in the books and may be pushed as well.
    const QList<VIG_AlarmInfo> booked = AlarmBusiness::_instance().bookedAlarms();
    if (booked.isEmpty())
        return;
    alarmMonitorTable->addNewAlarms(booked);
    AlarmMutexLocker locker(&mutex);
    for (const VIG_AlarmInfo& alarm : booked) {
        shownFromBooks.insert(alarm.alarmUid);
        queuedAlarms.enqueue(alarm);
        queuedUids.insert(alarm.alarmUid);
    }
    postRouting();
}

void AlarmMonitorPage::slotNewAlarm(const VIG_AlarmInfo& alarmInfo)
{
    AlarmMutexLocker locker(&mutex);
    if (sender() == &AlarmSignals::_instance()) {
        ++newAlarmPushesTaken;
        if (shownFromBooks.remove(alarmInfo.alarmUid))
            return;
    }
    // A burst is only queued here: opening a pop-up takes tens of milliseconds, so its alarms are placed
    // later, in order, at most one new pop-up or cell per event-loop turn.
    if (!queuedAlarms.isEmpty() || moreNewAlarmsPushed()) {
        queuedAlarms.enqueue(alarmInfo);
        queuedUids.insert(alarmInfo.alarmUid);
        postRouting();
        return;
    }
    restTurn = routeAlarm(alarmInfo);
}

bool AlarmMonitorPage::moreNewAlarmsPushed() const
{
    if (sender() != &AlarmSignals::_instance())
        return false;
    return newAlarmPushesBefore + newAlarmPushesTaken < AlarmCallBack::newAlarmPushCount();
}

bool AlarmMonitorPage::routeAlarm(const VIG_AlarmInfo& alarmInfo)
{
    const int mode =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode;
    if (videosMonitorWt && mode == VIG_SYSTEM_MODULE::AlarmVideosInGrid) {
        const bool started = videosMonitorWt->probeCell(alarmInfo.probeId) < 0;
        videosMonitorWt->showAlarm(alarmInfo);
        return started && videosMonitorWt->probeCell(alarmInfo.probeId) >= 0;
    }
    if (mode == VIG_SYSTEM_MODULE::AlarmVideosInPopUps) {
        AlarmVideoCheckDlgManager& manager = AlarmVideoCheckDlgManager::_instance();
        const bool opened = !manager.probeDialog(alarmInfo.probeId);
        manager.showAlarm(alarmInfo);
        return opened && manager.probeDialog(alarmInfo.probeId);
    }
    // Any other mode, or the grid asked for after the page was made: the alarm shows in the table only.
    return false;
}

bool AlarmMonitorPage::needsNewDialog(const VIG_AlarmInfo& alarmInfo) const
{
    return VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
               VIG_SYSTEM_MODULE::AlarmVideosInPopUps &&
           !AlarmVideoCheckDlgManager::_instance().probeDialog(alarmInfo.probeId);
}

bool AlarmMonitorPage::prepareVideo()
{
    if (videosMonitorWt &&
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
            VIG_SYSTEM_MODULE::AlarmVideosInGrid)
        return videosMonitorWt->prepareCell();
    return AlarmVideoCheckDlgManager::_instance().prepareDialog();
}

bool AlarmMonitorPage::startsVideo(const VIG_AlarmInfo& alarmInfo) const
{
    if (needsNewDialog(alarmInfo))
        return true;
    return videosMonitorWt &&
           VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().alarmVideoShowMode ==
               VIG_SYSTEM_MODULE::AlarmVideosInGrid &&
           videosMonitorWt->probeCell(alarmInfo.probeId) < 0;
}

void AlarmMonitorPage::postRouting()
{
    if (routingPosted)
        return;
    routingPosted = true;
    QMetaObject::invokeMethod(
        this, [this] { routeQueuedAlarms(); }, Qt::QueuedConnection);
}

void AlarmMonitorPage::routeQueuedAlarms()
{
    AlarmMutexLocker locker(&mutex);
    routingPosted = false;
    // A timer that falls due during one turn of the event loop is taken only after the next: a turn that
    // opened a pop-up is followed by one without, so that the operator waits for at most one of them.
    if (restTurn) {
        restTurn = false;
        if (!queuedAlarms.isEmpty())
            postRouting();
        return;
    }
    QElapsedTimer pass;
    pass.start();
    while (!queuedAlarms.isEmpty()) {
        // A new pop-up or cell costs about a table block: while the table puts a burst in, the two would
        // share turns and together hold the event loop past a frame.
        if (alarmMonitorTable->pendingRowCount() > 0 && startsVideo(queuedAlarms.head())) {
            waitingForTable = true;
            // Rows dropped from the queue unseen move nothing: the routing goes on after a frame anyway.
            QTimer::singleShot(RetryAfterMs, this, &AlarmMonitorPage::tableMoved);
            return;
        }
        if (startsVideo(queuedAlarms.head()) && prepareVideo()) {
            restTurn = true;
            break;
        }
        const VIG_AlarmInfo alarm = queuedAlarms.dequeue();
        queuedUids.remove(alarm.alarmUid);
        // Handled before its turn came: nothing is left to show.
        if (handledWhileQueued.remove(alarm.alarmUid))
            continue;
        if (routeAlarm(alarm)) {
            restTurn = true;
            break;
        }
        if (pass.nsecsElapsed() >= RoutingBudgetNs)
            break;
    }
    if (queuedAlarms.isEmpty())
        handledWhileQueued.clear();
    else
        postRouting();
}

void AlarmMonitorPage::tableMoved()
{
    if (!waitingForTable)
        return;
    waitingForTable = false;
    postRouting();
}

void AlarmMonitorPage::slotAlarmHandled(const QString& alarmUid)
{
    AlarmMutexLocker locker(&mutex);
    shownFromBooks.remove(alarmUid);
    if (queuedUids.contains(alarmUid))
        handledWhileQueued.insert(alarmUid);
}

} // namespace VIG_ALARM_MOUDLE
