#include "video/AlarmVideoCheckDlgManager.h"

#include "frame/AlarmSignals.h"
#include "service/AlarmBusiness.h"
#include "video/AlarmVideoCellWt.h"
#include "video/AlarmVideoCheckDlg.h"
#include "video/WaitingAlarmsLabel.h"

#include "BusinessConfig.h"
#include "ModuleFormModuleInit.h"

#include "frame/AlarmMutexLocker.h"
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QTimer>

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmVideoCheckDlgManager>;

namespace VIG_ALARM_MOUDLE {

namespace {

const QPoint CascadeShift(20, -20);

QWidget* mainWindow()
{
    return VIG_MODULEFORM_MODULE::ModuleFormModuleInit::_instance().getMainWindow();
}

// The cascade step after pos, which goes on at the opposite edge where it would leave the available area.
QPoint wrappedCascadeStep(const QPoint& pos, const QSize& size, const QRect& available)
{
    QPoint next = pos + CascadeShift;
    if (!available.isValid())
        return next;
    const int right = qMax(available.x(), available.x() + available.width() - size.width());
    const int bottom = qMax(available.y(), available.y() + available.height() - size.height());
    if (next.x() > right)
        next.setX(available.x());
    if (next.y() < available.y())
        next.setY(bottom);
    return next;
}

} // namespace

AlarmVideoCheckDlgManager::AlarmVideoCheckDlgManager(QObject* parent)
    : QObject(parent)
    , maxVideoCheckDlgCount(
          VIG_SYSTEM_MODULE::BusinessConfig::_instance().getAlarmConfigInfoFromCache().maxVideoCheckDlgCount)
{
}

// The dialogs belong to the host's main window (or, without one, live to the end of the process): nothing
// here deletes them, which could happen after the application object is gone.
AlarmVideoCheckDlgManager::~AlarmVideoCheckDlgManager() = default;

QList<AlarmVideoCheckDlg*> AlarmVideoCheckDlgManager::dialogs() const
{
    QList<AlarmVideoCheckDlg*> alive;
    for (const QPointer<AlarmVideoCheckDlg>& dlg : dialogList) {
        if (dlg)
            alive.append(dlg);
    }
    return alive;
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::probeDialog(const QString& probeId) const
{
    const auto shown = probeDialogs.constFind(probeId);
    return shown == probeDialogs.constEnd() ? nullptr : findDialog(shown.value());
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::topDialog() const
{
    return curTopDlg;
}

QPoint AlarmVideoCheckDlgManager::cascadePosition(const QPoint& previous, const QSize& size,
                                                  const QRect& available)
{
    QPoint pos = previous + CascadeShift;
    if (!available.isValid())
        return pos;
    if (pos.x() + size.width() > available.x() + available.width())
        pos.setX(available.x() + available.width() - size.width());
    if (pos.x() < available.x())
        pos.setX(available.x());
    if (pos.y() + size.height() > available.y() + available.height())
        pos.setY(available.y() + available.height() - size.height());
    if (pos.y() < available.y())
        pos.setY(available.y());
    return pos;
}

QPoint AlarmVideoCheckDlgManager::freeCascadePosition(const QPoint& previous, const QPoint& origin,
                                                      const QSize& size, const QRect& available,
                                                      const QList<QPoint>& taken)
{
    const QPoint next = cascadePosition(previous, size, available);
    if (!taken.contains(next))
        return next;
    // A dialog that lands exactly on another hides it, and would stay hidden beneath it for the shift.
    QPoint step = cascadePosition(origin - CascadeShift, size, available);
    const int steps =
        4 * (taken.size() + 1) + (available.isValid() ? available.width() + available.height() : 0);
    for (int k = 0; k < steps; ++k) {
        if (!taken.contains(step))
            return step;
        step = wrappedCascadeStep(step, size, available);
    }
    // A screen that leaves no free step: past the edge.
    QPoint beyond = next;
    while (taken.contains(beyond))
        beyond += CascadeShift;
    return beyond;
}

QList<AlarmVideoCheckDlg*> AlarmVideoCheckDlgManager::stackingOrder() const
{
    QList<AlarmVideoCheckDlg*> stack;
    for (const QPointer<AlarmVideoCheckDlg>& dlg : zOrder) {
        if (dlg && dlg->isVisible() && dlg != curTopDlg)
            stack.prepend(dlg);
    }
    if (curTopDlg && curTopDlg->isVisible())
        stack.prepend(curTopDlg);
    return stack;
}

void AlarmVideoCheckDlgManager::showAlarm(const VIG_AlarmInfo& alarm)
{
    AlarmMutexLocker locker(&mutex);
    AlarmBusiness& business = AlarmBusiness::_instance();
    const QString& probeId = alarm.probeId;
    const auto shown = probeDialogs.constFind(probeId);
    if (shown != probeDialogs.constEnd()) {
        AlarmVideoCheckDlg* dlg = findDialog(shown.value());
        if (dlg && !dlg->cell()->isHandling())
            dlg->cell()->addAlarm(alarm);
        else
            business.addWaitingAlarm(alarm.alarmUid);
        return;
    }
    AlarmVideoCheckDlg* dlg = freeDialog();
    if (!dlg) {
        business.addWaitingAlarm(alarm.alarmUid);
        return;
    }
    probeDialogs.insert(probeId, dlg->uid());
    dlg->cell()->setAlarm(alarm);
    dlg->show();
    arrangeDialogs(dlg);
}

bool AlarmVideoCheckDlgManager::prepareDialog()
{
    AlarmMutexLocker locker(&mutex);
    const int before = dialogList.size();
    AlarmVideoCheckDlg* dlg = freeDialog();
    return dlg && (dialogList.size() > before || dlg->cell()->prepare());
}

void AlarmVideoCheckDlgManager::buildDialogsAhead()
{
    if (buildingAhead)
        return;
    buildingAhead = true;
    QTimer::singleShot(0, this, [this] {
        AlarmMutexLocker locker(&mutex);
        buildingAhead = false;
        dialogList.removeAll(QPointer<AlarmVideoCheckDlg>());
        if (dialogList.size() >= maxVideoCheckDlgCount)
            return;
        newDialog()->cell()->prepare();
        buildDialogsAhead();
    });
}

void AlarmVideoCheckDlgManager::slotCurTopDlg(AlarmVideoCheckDlg* dlg)
{
    curTopDlg = dlg;
}

void AlarmVideoCheckDlgManager::touched(AlarmVideoCheckDlg* dlg)
{
    zOrder.removeAll(dlg);
    zOrder.append(dlg);
    placeBacklog();
}

void AlarmVideoCheckDlgManager::placeBacklog()
{
    const QList<AlarmVideoCheckDlg*> stack = stackingOrder();
    if (stack.isEmpty())
        return;
    if (!backlog)
        backlog = new WaitingAlarmsLabel(stack.first()->cell());
    backlog->floatOver(stack.first()->cell());
}

// Without a window manager the host's raise of its window would bury the pop-ups it owns; with one, they
// are above it already and this changes nothing.
bool AlarmVideoCheckDlgManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ZOrderChange && watched == mainWindow()) {
        const QList<AlarmVideoCheckDlg*> stack = stackingOrder();
        for (int i = stack.size() - 1; i >= 0; --i)
            stack.at(i)->raise();
    }
    return QObject::eventFilter(watched, event);
}

void AlarmVideoCheckDlgManager::slotAllAlarmsHandledSuccess(const QString& probeId, const QString& dlgUid)
{
    AlarmMutexLocker locker(&mutex);
    if (AlarmVideoCheckDlg* dlg = findDialog(dlgUid)) {
        // Freed dialogs go last, so the never-used ones are taken first.
        for (int i = 0; i < dialogList.size(); ++i) {
            if (dialogList.at(i) == dlg) {
                dialogList.move(i, dialogList.size() - 1);
                break;
            }
        }
        dlg->hide();
        if (curTopDlg == dlg)
            curTopDlg = nullptr;
        if (QWidget* window = mainWindow())
            QApplication::setActiveWindow(window);
    }
    const auto shown = probeDialogs.find(probeId);
    if (shown != probeDialogs.end() && shown.value() == dlgUid)
        probeDialogs.erase(shown);
    showNextWaitingAlarms();
    placeBacklog();
    if (allDialogsHidden())
        emit AlarmSignals::_instance().signalCloseAlarmSound();
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::findDialog(const QString& dlgUid) const
{
    for (const QPointer<AlarmVideoCheckDlg>& dlg : dialogList) {
        if (dlg && dlg->uid() == dlgUid)
            return dlg;
    }
    return nullptr;
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::firstHiddenDialog() const
{
    for (const QPointer<AlarmVideoCheckDlg>& dlg : dialogList) {
        if (dlg && dlg->isHidden())
            return dlg;
    }
    return nullptr;
}

bool AlarmVideoCheckDlgManager::allDialogsHidden() const
{
    for (const QPointer<AlarmVideoCheckDlg>& dlg : dialogList) {
        if (dlg && dlg->isVisible())
            return false;
    }
    return true;
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::freeDialog()
{
    dialogList.removeAll(QPointer<AlarmVideoCheckDlg>());
    zOrder.removeAll(QPointer<AlarmVideoCheckDlg>());
    if (AlarmVideoCheckDlg* hidden = firstHiddenDialog())
        return hidden;
    if (dialogList.size() >= maxVideoCheckDlgCount)
        return nullptr;
    return newDialog();
}

AlarmVideoCheckDlg* AlarmVideoCheckDlgManager::newDialog()
{
    // Owned by the host's main window, whose children the pop-ups are.
    auto* dlg = new AlarmVideoCheckDlg(mainWindow());
    dialogList.append(dlg);
    zOrder.append(dlg);
    connect(dlg, &AlarmVideoCheckDlg::signalCurTopDlg, this, &AlarmVideoCheckDlgManager::slotCurTopDlg);
    connect(dlg, &AlarmVideoCheckDlg::signalCurTopDlg, this, &AlarmVideoCheckDlgManager::touched);
    if (QWidget* window = mainWindow())
        window->installEventFilter(this);
    connect(dlg->cell(), &AlarmVideoCellWt::signalHandlingEnded, this,
            [this, dlg](const QString& probeId) { slotHandlingEnded(probeId, dlg); });
    connect(dlg, &AlarmVideoCheckDlg::signalAllAlarmsHandledSuccess, this,
            &AlarmVideoCheckDlgManager::slotAllAlarmsHandledSuccess);
    return dlg;
}

void AlarmVideoCheckDlgManager::arrangeDialogs(AlarmVideoCheckDlg* dlg)
{
    const int index = dialogList.indexOf(dlg);
    QList<QPoint> taken;
    for (const QPointer<AlarmVideoCheckDlg>& other : qAsConst(dialogList)) {
        if (other && other != dlg && other->isVisible())
            taken.append(other->pos());
    }
    const AlarmVideoCheckDlg* previous = index >= 1 ? dialogList.at(index - 1).data() : nullptr;
    const AlarmVideoCheckDlg* first = dialogList.value(0).data();
    const QScreen* screen = dlg->screen() ? dlg->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QSize size = dlg->frameGeometry().size();
    if (previous && first)
        dlg->move(freeCascadePosition(previous->pos(), first->pos(), size, available, taken));
    else if (taken.contains(dlg->pos()))
        dlg->move(freeCascadePosition(dlg->pos(), dlg->pos(), size, available, taken));
    // The new pop-up comes up above the others, below only the one the operator is working in. The window
    // system raises each cell with its dialog.
    zOrder.removeAll(dlg);
    dlg->raise();
    if (curTopDlg && curTopDlg != dlg && curTopDlg->isVisible()) {
        zOrder.insert(zOrder.indexOf(curTopDlg), dlg);
        curTopDlg->raise();
    } else {
        zOrder.append(dlg);
    }
    placeBacklog();
}

void AlarmVideoCheckDlgManager::slotHandlingEnded(const QString& probeId, AlarmVideoCheckDlg* dlg)
{
    AlarmMutexLocker locker(&mutex);
    if (probeDialog(probeId) != dlg || dlg->cell()->isHandling())
        return;
    for (const VIG_AlarmInfo& alarm : AlarmBusiness::_instance().takeWaitingAlarmsOfProbe(probeId))
        dlg->cell()->addAlarm(alarm);
}

void AlarmVideoCheckDlgManager::showNextWaitingAlarms()
{
    using Fate = AlarmBusiness::WaitingGroupFate;
    AlarmBusiness::_instance().placeWaitingAlarms([this](const QList<VIG_AlarmInfo>& group) {
        const QString probeId = group.first().probeId;
        const auto shown = probeDialogs.constFind(probeId);
        if (shown != probeDialogs.constEnd()) {
            if (AlarmVideoCheckDlg* dlg = findDialog(shown.value())) {
                if (dlg->cell()->isHandling())
                    return Fate::Parked;
                for (const VIG_AlarmInfo& alarm : group)
                    dlg->cell()->addAlarm(alarm);
                return Fate::Shown;
            }
            probeDialogs.remove(probeId);
        }
        AlarmVideoCheckDlg* dlg = freeDialog();
        if (!dlg)
            return Fate::NoRoom;
        dlg->cell()->setAlarm(group.first());
        for (int i = 1; i < group.size(); ++i)
            dlg->cell()->addAlarm(group.at(i));
        probeDialogs.insert(probeId, dlg->uid());
        dlg->show();
        arrangeDialogs(dlg);
        return Fate::Shown;
    });
}

} // namespace VIG_ALARM_MOUDLE
