#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QTimer;

namespace VIG_ALARM_MOUDLE {

// One handle or false-alarm request of a view, from sending to its last result: the view's requester uuid,
// the uids sent, the host's wait dialog and its time-out. Only the first result for each uid sent counts, so
// a repeated result, or one for an alarm the view never sent, cannot end the request early. The view sends
// the request itself and hears once, at the end, what came of it.
class AlarmHandlingBatch : public QObject
{
    Q_OBJECT

public:
    // How long the wait dialog stays and the results are waited for.
    static constexpr int WaitTimeoutMs = 60000;

    explicit AlarmHandlingBatch(QObject* parent);
    ~AlarmHandlingBatch() override;

    QString requesterUuid() const { return uuid; }
    bool isOpen() const { return !awaited.isEmpty(); }

    // Shows the wait dialog and waits for one result per uid; no uids, no request. A request still open is
    // replaced: its results count only for the uids sent again.
    void start(const QStringList& alarmUids);
    // Gives up without a word: hides the wait dialog, forgets the uids still awaited.
    void abandon();
    // Why the last request that ended left alarms unhandled, in the operator's words; empty when it did not.
    QString failureReason() const { return reason; }
    // The uids of the last request that ended which were not handled.
    QStringList unhandledUids() const { return unhandled; }
    // How many of them were not handled, and why.
    QString failureText() const;

public slots:
    // Every handle result of the module passes here; those of other requesters are ignored.
    void slotHandleAlarmResult(const QString& requester, const QString& alarmUid, int result,
                               const QString& errorMsg = QString());

signals:
    // At once, for each alarm of the request that the service handled.
    void signalAlarmSucceeded(const QString& alarmUid);
    // Once per request, after the wait dialog is gone: the uids handled, and whether any result reported a
    // failure or results were still missing at the time-out.
    void signalFinished(const QStringList& succeededUids, bool anyFailed, bool timedOut);

private:
    void finish(bool timedOut);

    const QString uuid;
    QSet<QString> awaited;
    QStringList succeeded;
    bool anyFailed = false;
    QString firstError;
    QString reason;
    QStringList unhandled;
    QTimer* timeout = nullptr;
};

} // namespace VIG_ALARM_MOUDLE
