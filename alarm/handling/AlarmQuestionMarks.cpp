#include "handling/AlarmQuestionMarks.h"

#include "frame/AlarmOperator.h"

#include "AlarmPresence.h"
#include "MessageBoxW.h"

#include <QSet>

namespace VIG_ALARM_MOUDLE {

namespace {
enum TakeAnyway { TakeYes = 0, TakeNo = 1 };
} // namespace

AlarmQuestionMarks::~AlarmQuestionMarks()
{
    release();
}

bool AlarmQuestionMarks::take(const QStringList& alarmUids)
{
    release();
    if (alarmUids.isEmpty())
        return true;
    // Built at the first mark of another operator: most questions meet none, and a menu's may ask about
    // thousands of alarms.
    QSet<QString> asked;
    const QStringList others = AlarmOperator::takers([&asked, &alarmUids](const QString& alarmUid) {
        if (asked.isEmpty())
            asked = QSet<QString>(alarmUids.cbegin(), alarmUids.cend());
        return asked.contains(alarmUid);
    });
    if (!others.isEmpty()) {
        const QString names = others.join(QStringLiteral(", "));
        const QString question =
            alarmUids.size() == 1
                ? QObject::tr("%1 is handling this alarm. Handle it anyway?").arg(names)
                : QObject::tr("%1 is handling some of these alarms. Handle them anyway?").arg(names);
        if (VIG_BASE_MODULE::MessageBoxW::informationEx(nullptr, QString(), question,
                                                        {QObject::tr("Yes"), QObject::tr("No")}) != TakeYes)
            return false;
    }
    taken = alarmUids;
    AlarmOperator::presence()->take(taken);
    return true;
}

void AlarmQuestionMarks::sent(const QStringList& alarmUids)
{
    // Mostly the very alarms asked about went out.
    if (alarmUids == taken) {
        taken.clear();
        return;
    }
    const QSet<QString> handled(alarmUids.cbegin(), alarmUids.cend());
    QStringList left;
    for (const QString& uid : qAsConst(taken)) {
        if (!handled.contains(uid))
            left.append(uid);
    }
    taken = left;
    release();
}

void AlarmQuestionMarks::release()
{
    if (taken.isEmpty())
        return;
    AlarmOperator::presence()->release(taken);
    taken.clear();
}

} // namespace VIG_ALARM_MOUDLE
