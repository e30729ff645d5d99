#include "handling/AlarmHandlingBatch.h"

#include "WaitDialog.h"

#include <QCoreApplication>
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
    firstError.clear();
    unhandled.clear();
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

void AlarmHandlingBatch::slotHandleAlarmResult(const QString& requester, const QString& alarmUid, int result,
                                               const QString& errorMsg)
{
    if (requester != uuid || !awaited.remove(alarmUid))
        return;
    if (result == 0) {
        succeeded.append(alarmUid);
        emit signalAlarmSucceeded(alarmUid);
    } else {
        if (!anyFailed)
            firstError = errorMsg;
        anyFailed = true;
        unhandled.append(alarmUid);
    }
    if (awaited.isEmpty())
        finish(false);
}

QString AlarmHandlingBatch::failureText() const
{
    return QObject::tr("%1 alarm(s) not handled: %2").arg(unhandled.size()).arg(reason);
}

void AlarmHandlingBatch::finish(bool timedOut)
{
    // Idle before the view hears of it: its reaction may run a nested event loop and start the next request.
    const QStringList handled = succeeded;
    const bool failed = anyFailed;
    reason.clear();
    if (timedOut) {
        unhandled += awaited.values();
        reason = QObject::tr("The alarm server did not answer in time.");
    } else if (failed) {
        // The service's own words, translated where the module knows them; the library's answer while the
        // link is down is the one an operator meets most.
        Q_UNUSED(QT_TRANSLATE_NOOP("QObject", "Alarm server unreachable"))
        reason = firstError.isEmpty()
                     ? QObject::tr("The alarm server gave no reason.")
                     : QCoreApplication::translate("QObject", firstError.toUtf8().constData());
    }
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
