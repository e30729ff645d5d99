#pragma once

#include "frame/VIG_AlarmInfo.h"
#include "frame/VIG_AlarmProcess.h"
#include "handling/HandlingAnswers.h"

#include "TableWidget.h"

#include <QList>
#include <QModelIndex>
#include <QMutex>
#include <QString>
#include <QStringList>

class QAction;
class QContextMenuEvent;
class QEvent;
class QFocusEvent;
class QMenu;

namespace VIG_ALARM_MOUDLE {

class AlarmHandlingBatch;

// The module's common table of alarms: one row per alarm keyed by its uid, coloured by state, with a
// context menu that handles, marks as false or removes the selected alarms. A partial failure of a handling
// is reported once, at its end.
class Q_DECL_EXPORT AlarmTable : public VIG_BASE_MODULE::TableWidget
{
    Q_OBJECT

public:
    explicit AlarmTable(QWidget* parent = nullptr);
    ~AlarmTable() override;

    // A default record for a row (or uid) that does not exist.
    VIG_AlarmInfo getAlarmInfo(int row);
    VIG_AlarmInfo getAlarmInfo(const QString& alarmUid);
    // One entry per selected row, however many of its cells are selected.
    QList<VIG_AlarmInfo> getSelectedAlarms();
    QStringList getSelectedAlarmsUid();

    virtual void deleteAlarm(const QString& alarmUid);

    // The other operator who has the row's alarm open in a handle or false-alarm question; empty for a
    // handled alarm's row.
    QString takenBy(int row) const;

signals:
    void signalHandleAlarmFromTableWtCompleted();

protected:
    QStringList getAlarmInfoValues(const VIG_AlarmInfo& info);
    QStringList getHandledAlarmInfoValues(const VIG_AlarmProcess& process);
    void updateRowTextColorByAlarmHandleMode(int row, AlarmHandleMode mode);
    // The colour rule for a state as the service gives it; unknown states leave the row as it is.
    void colourRowByState(int row, int state);
    // The text colour of a state; invalid for a state without one.
    static QColor stateColour(int state);

    void handleSelectedAlarmsAsNormal();
    void handleSelectedAlarmsAsMistake();
    void deleteSelectedAlarmFromTable();
    void setActionNormalIcon();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

protected slots:
    virtual void slotAlarmDoubleClicked(QModelIndex index);
    void slotContentMenuHovered(QAction* action);
    void slotContentMenuTriggered(QAction* action);
    void slotHandleAlarmResult(const QString& uuid, const QString& alarmUid, int result,
                               const QString& errorMsg);

protected:
    QMenu* contentMenu = nullptr;
    QAction* dealAlarmAction = nullptr;
    QAction* mistakenAlarmAction = nullptr;
    QAction* deleteAlarmAction = nullptr;
    // Guards reading the selection and changing rows; not recursive, so nothing that holds it calls an
    // operation that takes it again.
    QMutex tableMutex;
    AlarmHandlingBatch* handlingBatch = nullptr;

private:
    void init();
    void initMenu();
    void connectSignalsWithSlots();
    QStringList getSelectedDevicesAlarmOutLinkedDevices();
    void emitAlarmOutControlSignal();
    // Distinct selected rows, each at its first selected item, at most maxRows of them (all with -1); the
    // caller holds tableMutex.
    QList<int> selectedRowsLocked(int maxRows = -1) const;
    // The selected alarms after a question that took them as asked when selectionChanges was askedAt.
    QStringList selectedAlarmsAgain(const QStringList& asked, quint64 askedAt);
    // Whether a menu operation has anything to work on; cheaper than reading the selection.
    bool anyAlarmSelected();
    void alarmHandled(const QString& alarmUid);
    // Repaints the rows of these alarms, if the table has them.
    void showTaken(const QStringList& alarmUids);
    void updateHandleActions();
    void handlingFinished(bool anyFailed);
    void sendHandling(QStringList uids, const HandlingAnswers& answers);
    // The alarms of the list whose rows still show them new.
    QStringList stillNew(const QStringList& uids);

    HandlingAnswers lastRequest;
    // Counts the changes of the rows and of the selection.
    quint64 selectionChanges = 0;
};

} // namespace VIG_ALARM_MOUDLE
