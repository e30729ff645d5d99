#pragma once

#include "frame/VIG_AlarmInfo.h"

#include "ZSingleton.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QPointer>

class QEvent;
class QPoint;
class QRect;
class QSize;

namespace VIG_ALARM_MOUDLE {

class AlarmVideoCheckDlg;
class WaitingAlarmsLabel;

// Puts every new alarm in the pop-up of its probe: the probe's open dialog, a free one, or, with the
// configured number of dialogs busy, the business object's waiting store, from which a freed dialog takes
// the next probe's alarms. Dialogs cascade, the one the operator touched last stays on top, and they are
// hidden and reused, never destroyed.
class AlarmVideoCheckDlgManager : public QObject, public ZCOMMON::ZSingleton<AlarmVideoCheckDlgManager>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmVideoCheckDlgManager>;

public:
    ~AlarmVideoCheckDlgManager() override;

    void showAlarm(const VIG_AlarmInfo& alarm);
    // Builds what the next new probe's pop-up still lacks, hidden: first the pop-up, then its check widget,
    // so that building them and showing it fall in different event-loop turns. False when nothing was built.
    bool prepareDialog();
    // Builds the pop-ups not built yet, hidden, one per turn of the event loop: the first alarms of a storm
    // then only show them.
    void buildDialogsAhead();

    int maxDialogCount() const { return maxVideoCheckDlgCount; }
    // In list order; dialogs deleted with the host's main window are left out.
    QList<AlarmVideoCheckDlg*> dialogs() const;
    AlarmVideoCheckDlg* probeDialog(const QString& probeId) const;
    AlarmVideoCheckDlg* topDialog() const;
    // The visible dialogs as they stack, the top one first: the one the operator touched last, then the
    // others, the one touched or shown last first.
    QList<AlarmVideoCheckDlg*> stackingOrder() const;

    // Where a dialog of the given size stands after the one at previous: shifted by (20, -20), and moved
    // back inside the available area where the shift would take it past an edge.
    static QPoint cascadePosition(const QPoint& previous, const QSize& size, const QRect& available);
    // The cascade position after previous unless another dialog already stands there (the edge of the
    // screen stops the cascade): then the first free step of the cascade from its origin, which goes on at
    // the opposite edge where it meets one. Never a position in taken.
    static QPoint freeCascadePosition(const QPoint& previous, const QPoint& origin, const QSize& size,
                                      const QRect& available, const QList<QPoint>& taken);

public slots:
    void slotCurTopDlg(AlarmVideoCheckDlg* curTopDlg);
    void slotAllAlarmsHandledSuccess(const QString& probeId, const QString& dlgUid);
    // The alarms of the dialog's probe that waited while it was handling join it.
    void slotHandlingEnded(const QString& probeId, AlarmVideoCheckDlg* dlg);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit AlarmVideoCheckDlgManager(QObject* parent);

    AlarmVideoCheckDlg* findDialog(const QString& dlgUid) const;
    AlarmVideoCheckDlg* firstHiddenDialog() const;
    bool allDialogsHidden() const;
    // A hidden dialog, or a new one while fewer than the maximum exist; null when none may be had.
    AlarmVideoCheckDlg* freeDialog();
    AlarmVideoCheckDlg* newDialog();
    void arrangeDialogs(AlarmVideoCheckDlg* dlg);
    void showNextWaitingAlarms();
    void touched(AlarmVideoCheckDlg* dlg);
    // The count of waiting alarms goes with the top pop-up.
    void placeBacklog();

    int maxVideoCheckDlgCount = 0;
    // The host's main window owns the dialogs; they may die with it before this object.
    QList<QPointer<AlarmVideoCheckDlg>> dialogList;
    QMap<QString, QString> probeDialogs;
    QPointer<AlarmVideoCheckDlg> curTopDlg;
    // Every dialog, the bottom one first: a pressed dialog goes to the top, a new one just below it.
    QList<QPointer<AlarmVideoCheckDlg>> zOrder;
    QPointer<WaitingAlarmsLabel> backlog;
    bool buildingAhead = false;
    QMutex mutex;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmVideoCheckDlgManager>;
