#include "service/AlarmHandledNotices.h"

#include "NoticeSignals.h"

#include <QCoreApplication>
#include <QTimer>

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmHandledNotices>;

namespace VIG_ALARM_MOUDLE {

AlarmHandledNotices::AlarmHandledNotices(QObject* parent) : QObject(parent), quiet(new QTimer(this))
{
    quiet->setSingleShot(true);
    quiet->setInterval(QuietMs);
    connect(quiet, &QTimer::timeout, this, &AlarmHandledNotices::flush);
    // A run still held when the host quits is told, and its timer stopped while the event loop exists.
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &AlarmHandledNotices::flush);
}

AlarmHandledNotices::~AlarmHandledNotices() = default;

void AlarmHandledNotices::add(const QString& hint)
{
    if (pendingCount > 0 && (hint != pendingHint || held.elapsed() >= LongestMs))
        flush();
    if (pendingCount == 0) {
        pendingHint = hint;
        held.start();
    }
    ++pendingCount;
    quiet->start();
}

void AlarmHandledNotices::flush()
{
    quiet->stop();
    if (pendingCount == 0)
        return;
    // A single alarm's notice stays as the host has always had it.
    const QString text = pendingCount == 1
                             ? pendingHint
                             : QObject::tr("Alarms handled: %1").arg(pendingCount) + "\r\n" + pendingHint;
    pendingCount = 0;
    pendingHint.clear();
    emit VIG_CONTACT_MODULE::NoticeSignals::_instance().signalNoticeHint(VIG_CONTACT_MODULE::AlarmHandledHint,
                                                                         text);
}

} // namespace VIG_ALARM_MOUDLE
