#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ColouredWidget.h"

#include <QList>
#include <QMap>

#include <set>

class QGridLayout;

namespace VIG_ALARM_MOUDLE {

class AlarmVideoCellWt;

// The monitor page's fixed grid of four alarm video cells, one probe per cell. Alarms that find no cell
// wait in the business object's store and fill the next cell that frees.
class AlarmVideosMonitorWt : public VIG_BASE_MODULE::ColouredWidget
{
    Q_OBJECT

public:
    explicit AlarmVideosMonitorWt(QWidget* parent = nullptr);
    ~AlarmVideosMonitorWt() override;

    void showAlarm(const VIG_AlarmInfo& alarm);

    AlarmVideoCellWt* cell(int index) const;
    // The cell index showing the probe, -1 for none.
    int probeCell(const QString& probeId) const;
    QList<int> freeCellIndexes() const;
    // Builds the check widget of the cell that the next new probe would take, so that building it and
    // showing the alarm fall in different event-loop turns. False when nothing was built.
    bool prepareCell();

public slots:
    void slotAllAlarmsHandledSuccess(const QString& probeUid, int cellIndex);
    // The alarms of the cell's probe that waited while it was handling join it.
    void slotHandlingEnded(const QString& probeUid, int cellIndex);

private:
    void showWaitingAlarms();
    void startCell(int index, const QList<VIG_AlarmInfo>& group);

    std::set<int> freeCells;
    QMap<QString, int> probeCells;
    QMap<int, AlarmVideoCellWt*> cells;
    QGridLayout* gridLayout = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
