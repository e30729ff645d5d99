#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <mutex>

// Beside IAlarm: who this program's operator is, what the server lets them do, and which alarms other
// operators have open in a handle or false-alarm question. The server behind DataCache::GetAlarmPtr()
// keeps it: a remote server from its welcome and its marks, the embedded simulator with the scenario's
// user and all rights. Read from any thread; the signals come from the library's threads.
class AlarmPresence : public QObject
{
    Q_OBJECT

public:
    // Each right includes the ones before it.
    enum Rights { Watch = 0, Handle = 1, Control = 2 };
    struct Operator
    {
        QString name;
        QString telephone;
        Rights rights = Control;
    };

    using QObject::QObject;

    Operator self() const;
    bool mayHandle() const { return self().rights >= Handle; }
    bool mayControl() const { return self().rights >= Control; }
    // The other operator who has the alarm's question open, else empty.
    QString takenBy(const QString& alarmUid) const;
    // By alarm uid, other operators only.
    QHash<QString, QString> taken() const;

    // This operator opened the handle or false-alarm question for these alarms, or closed it without a
    // handling; a handling ends the mark on the server by itself. Returns at once.
    virtual void take(const QStringList& alarmUids);
    virtual void release(const QStringList& alarmUids);

    // For the library's side: what the server says.
    void setSelf(const Operator& self);
    // An empty name ends the marks of these alarms.
    void setTaken(const QStringList& alarmUids, const QString& operatorName);
    void clearTaken();

signals:
    void selfChanged();
    void takenChanged(const QStringList& alarmUids);

private:
    mutable std::mutex mutex;
    Operator me;
    QHash<QString, QString> marks;
};
