#include "handling/AlarmHandlingBatch.h"

#include "WaitDialog.h"

#include <QTimer>
#include <QUuid>

namespace VIG_ALARM_MOUDLE {

using VIG_BASE_MODULE::WaitDialog;

AlarmHandlingBatch::AlarmHandlingBatch(QObject* parent)
    : QObject(parent), uuid(QUuid::createUuid().toString()), timeout(new QTimer(this))
{
    timeout->setSingleShot(true);
    timeout->setInterval(WaitTimeoutMs);
    connect(timeout, &QTimer::timeout, this, [this] { finish(true); });
}

AlarmHandlingBatch::~AlarmHandlingBatch() = default;

void AlarmHandlingBatch::start(const QStringList& alarmUids)
{
    if (alarmUids.isEmpty())
        return;
    WaitDialog::_instance().showWaitDialog(QObject::tr("Hanle alarm..."), QUuid(), WaitTimeoutMs);
    awaited = QSet<QString>(alarmUids.cbegin(), alarmUids.cend());
    succeeded.clear();
    anyFailed = false;
    timeout->start();
}

void AlarmHandlingBatch::abandon()
{
    if (!isOpen())
        return;
    awaited.clear();
    succeeded.clear();
    anyFailed = false;
    timeout->stop();
    WaitDialog::_instance().hideWaitDialog();
}

void AlarmHandlingBatch::slotHandleAlarmResult(const QString& requester, const QString& alarmUid, int result)
{
    if (requester != uuid || !awaited.remove(alarmUid))
        return;
    if (result == 0) {
        succeeded.append(alarmUid);
        emit signalAlarmSucceeded(alarmUid);
    } else {
        anyFailed = true;
    }
    if (awaited.isEmpty())
        finish(false);
}

void AlarmHandlingBatch::finish(bool timedOut)
{
    // Idle before the view hears of it: its reaction may run a nested event loop and start the next request.
    const QStringList handled = succeeded;
    const bool failed = anyFailed;
    awaited.clear();
    succeeded.clear();
    anyFailed = false;
    timeout->stop();
    // At the time-out the wait dialog has gone by its own.
    if (!timedOut)
        WaitDialog::_instance().hideWaitDialog();
    emit signalFinished(handled, failed, timedOut);
}

} // namespace VIG_ALARM_MOUDLE
