#include "frame/AlarmLinkState.h"

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmLinkState>;

namespace VIG_ALARM_MOUDLE {

namespace {

QString timeText(const QDateTime& time)
{
    // The day only when it is not today: an outage of minutes reads as a clock time.
    const QString format = time.date() == QDate::currentDate() ? QStringLiteral("hh:mm:ss")
                                                               : QStringLiteral("yyyy-MM-dd hh:mm:ss");
    return time.toString(format);
}

} // namespace

AlarmLinkState::AlarmLinkState(QObject* parent) : QObject(parent)
{
    DataCache* cache = DataCache::Instance();
    setStatus(cache->GetLinkStatus());
    observerId = cache->AddLinkObserver([this](const DataCache::LinkStatus& status) {
        QMetaObject::invokeMethod(
            this, [this, status] { setStatus(status); }, Qt::QueuedConnection);
    });
}

AlarmLinkState::~AlarmLinkState()
{
    DataCache::Instance()->RemoveLinkObserver(observerId);
}

bool AlarmLinkState::isDown() const
{
    return current.state != DataCache::LinkConnected;
}

void AlarmLinkState::setStatus(const DataCache::LinkStatus& status)
{
    const bool wasDown = isDown();
    current = status;
    if (!isDown())
        since = QDateTime();
    else if (!wasDown || !since.isValid())
        since = QDateTime::currentDateTime();
    emit signalLinkChanged();
}

QString AlarmLinkState::text() const
{
    switch (current.state) {
    case DataCache::LinkConnected:
        break;
    case DataCache::LinkRefused:
        return QObject::tr("The alarm server refuses this client since %1: %2")
            .arg(timeText(since), current.message);
    case DataCache::LinkRevoked:
        return QObject::tr("Access revoked");
    case DataCache::LinkConnecting:
        return QObject::tr("Alarm server unreachable since %1. Connecting...").arg(timeText(since));
    case DataCache::LinkReconnecting:
        return QObject::tr("Alarm server unreachable since %1. Reconnecting (attempt %2)...")
            .arg(timeText(since))
            .arg(current.attempt);
    }
    return QString();
}

} // namespace VIG_ALARM_MOUDLE
