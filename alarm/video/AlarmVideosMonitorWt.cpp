#include "video/AlarmVideosMonitorWt.h"

#include "frame/AlarmSignals.h"
#include "service/AlarmBusiness.h"
#include "video/AlarmVideoCellWt.h"
#include "video/WaitingAlarmsLabel.h"

#include <QGridLayout>

namespace VIG_ALARM_MOUDLE {

namespace {
const int CellCount = 4;
} // namespace

AlarmVideosMonitorWt::AlarmVideosMonitorWt(QWidget* parent)
    : ColouredWidget(parent), gridLayout(new QGridLayout(this))
{
    setColor("#2b2f3a");
    gridLayout->setSpacing(6);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    for (int index = 0; index < CellCount; ++index) {
        auto* cell = new AlarmVideoCellWt(this);
        cell->setCellIndex(index);
        freeCells.insert(index);
        cells.insert(index, cell);
        connect(cell, &AlarmVideoCellWt::signalAllAlarmsHandledSuccess, this,
                &AlarmVideosMonitorWt::slotAllAlarmsHandledSuccess);
        connect(cell, &AlarmVideoCellWt::signalHandlingEnded, this, &AlarmVideosMonitorWt::slotHandlingEnded);
        gridLayout->addWidget(cell, index / 2, index % 2);
    }
    gridLayout->addWidget(new WaitingAlarmsLabel(this), CellCount / 2, 0, 1, 2);
}

AlarmVideosMonitorWt::~AlarmVideosMonitorWt() = default;

AlarmVideoCellWt* AlarmVideosMonitorWt::cell(int index) const
{
    return cells.value(index, nullptr);
}

int AlarmVideosMonitorWt::probeCell(const QString& probeId) const
{
    return probeCells.value(probeId, -1);
}

QList<int> AlarmVideosMonitorWt::freeCellIndexes() const
{
    return QList<int>(freeCells.cbegin(), freeCells.cend());
}

bool AlarmVideosMonitorWt::prepareCell()
{
    return !freeCells.empty() && cells.value(*freeCells.begin())->prepare();
}

void AlarmVideosMonitorWt::showAlarm(const VIG_AlarmInfo& alarm)
{
    const auto shown = probeCells.constFind(alarm.probeId);
    if (shown != probeCells.constEnd()) {
        AlarmVideoCellWt* busy = cells.value(shown.value(), nullptr);
        if (busy && !busy->isHandling())
            busy->addAlarm(alarm);
        else
            AlarmBusiness::_instance().addWaitingAlarm(alarm.alarmUid);
        return;
    }
    if (freeCells.empty()) {
        AlarmBusiness::_instance().addWaitingAlarm(alarm.alarmUid);
        return;
    }
    startCell(*freeCells.begin(), {alarm});
}

void AlarmVideosMonitorWt::startCell(int index, const QList<VIG_AlarmInfo>& group)
{
    AlarmVideoCellWt* free = cells.value(index, nullptr);
    if (!free || group.isEmpty())
        return;
    freeCells.erase(index);
    free->setAlarm(group.first());
    for (int i = 1; i < group.size(); ++i)
        free->addAlarm(group.at(i));
    free->show();
    probeCells.insert(group.first().probeId, index);
}

void AlarmVideosMonitorWt::slotAllAlarmsHandledSuccess(const QString& probeUid, int cellIndex)
{
    if (cells.contains(cellIndex))
        freeCells.insert(cellIndex);
    const auto shown = probeCells.find(probeUid);
    if (shown != probeCells.end() && shown.value() == cellIndex)
        probeCells.erase(shown);
    showWaitingAlarms();
    if (int(freeCells.size()) == CellCount)
        emit AlarmSignals::_instance().signalCloseAlarmSound();
}

void AlarmVideosMonitorWt::slotHandlingEnded(const QString& probeUid, int cellIndex)
{
    AlarmVideoCellWt* cell = cells.value(cellIndex, nullptr);
    if (!cell || probeCells.value(probeUid, -1) != cellIndex || cell->isHandling())
        return;
    for (const VIG_AlarmInfo& alarm : AlarmBusiness::_instance().takeWaitingAlarmsOfProbe(probeUid))
        cell->addAlarm(alarm);
}

void AlarmVideosMonitorWt::showWaitingAlarms()
{
    using Fate = AlarmBusiness::WaitingGroupFate;
    AlarmBusiness::_instance().placeWaitingAlarms([this](const QList<VIG_AlarmInfo>& group) {
        AlarmVideoCellWt* busy = cells.value(probeCells.value(group.first().probeId, -1), nullptr);
        if (busy) {
            if (busy->isHandling())
                return Fate::Parked;
            for (const VIG_AlarmInfo& alarm : group)
                busy->addAlarm(alarm);
            return Fate::Shown;
        }
        if (freeCells.empty())
            return Fate::NoRoom;
        startCell(*freeCells.begin(), group);
        return Fate::Shown;
    });
}

} // namespace VIG_ALARM_MOUDLE
