#include "AlarmPresence.h"

AlarmPresence::Operator AlarmPresence::self() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return me;
}

QString AlarmPresence::takenBy(const QString& alarmUid) const
{
    std::lock_guard<std::mutex> lock(mutex);
    return marks.value(alarmUid);
}

QHash<QString, QString> AlarmPresence::taken() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return marks;
}

void AlarmPresence::take(const QStringList&) {}

void AlarmPresence::release(const QStringList&) {}

void AlarmPresence::setSelf(const Operator& self)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        me = self;
    }
    emit selfChanged();
}

void AlarmPresence::setTaken(const QStringList& alarmUids, const QString& operatorName)
{
    QStringList changed;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (const QString& uid : alarmUids) {
            if (operatorName.isEmpty() ? marks.remove(uid) == 0 : marks.value(uid) == operatorName)
                continue;
            if (!operatorName.isEmpty())
                marks.insert(uid, operatorName);
            changed.append(uid);
        }
    }
    if (!changed.isEmpty())
        emit takenChanged(changed);
}

void AlarmPresence::clearTaken()
{
    QStringList changed;
    {
        std::lock_guard<std::mutex> lock(mutex);
        changed = marks.keys();
        marks.clear();
    }
    if (!changed.isEmpty())
        emit takenChanged(changed);
}
