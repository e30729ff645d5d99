#include "frame/AlarmOperator.h"

#include "AlarmPresence.h"
#include "DataCache.h"

#include <QAction>
#include <QAtomicPointer>
#include <QHash>
#include <QObject>
#include <QWidget>

namespace VIG_ALARM_MOUDLE {

namespace {
QAtomicPointer<AlarmPresence> chosen;
} // namespace

AlarmPresence* AlarmOperator::presence()
{
    if (AlarmPresence* own = chosen.loadAcquire())
        return own;
    return DataCache::Instance()->GetPresence();
}

void AlarmOperator::setPresence(AlarmPresence* presence)
{
    chosen.storeRelease(presence);
}

bool AlarmOperator::mayHandle()
{
    return presence()->mayHandle();
}

QString AlarmOperator::watchOnlyText()
{
    return QObject::tr("Your rights allow watching only");
}

void AlarmOperator::enableHandling(QWidget* control, bool enabled)
{
    const bool allowed = mayHandle();
    control->setEnabled(allowed && enabled);
    control->setToolTip(allowed ? QString() : watchOnlyText());
}

void AlarmOperator::enableHandling(QAction* action, bool enabled)
{
    const bool allowed = mayHandle();
    action->setEnabled(allowed && enabled);
    action->setToolTip(allowed ? action->text() : watchOnlyText());
}

QStringList AlarmOperator::takers(const std::function<bool(const QString& alarmUid)>& isMine)
{
    // The marks are few beside the alarms a view may hold: walked once, without a lock per alarm.
    QStringList names;
    const QHash<QString, QString> marks = presence()->taken();
    for (auto mark = marks.cbegin(); mark != marks.cend(); ++mark) {
        if (!names.contains(mark.value()) && isMine(mark.key()))
            names.append(mark.value());
    }
    names.sort();
    return names;
}

QString AlarmOperator::handlingText(const QStringList& takers)
{
    if (takers.isEmpty())
        return QString();
    return QObject::tr("%1 is handling").arg(takers.join(QStringLiteral(", ")));
}

} // namespace VIG_ALARM_MOUDLE
