#pragma once

#include "frame/VIG_AlarmRelation.h"

#include "ZSingleton.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSqlDatabase>

class QSqlQuery;

namespace VIG_ALARM_MOUDLE {

// Captures and local recordings related to alarms, kept in "AlarmLocalDB/AlarmRelation.db" under the
// working directory. A database that cannot be opened leaves the store closed; every operation is then
// harmless and returns nothing.
class AlarmVideoRelation : public QObject, public ZCOMMON::ZSingleton<AlarmVideoRelation>
{
    Q_OBJECT
    friend class ZCOMMON::ZSingleton<AlarmVideoRelation>;

public:
    ~AlarmVideoRelation() override;

    void addRelation(const VIG_AlarmRelation& relation);
    void deleteRelation(const QString& alarmUid, const QString& filePath);
    void deleteAlarmRelations(const QString& alarmUid);
    QList<VIG_AlarmRelation> getAlarmRelations(const QString& alarmUid);

    bool isOpen() const;

private:
    explicit AlarmVideoRelation(QObject* parent);

    void open();
    bool exec(QSqlQuery& query);

    QSqlDatabase database;
    mutable QMutex mutex;
    bool opened = false;
};

} // namespace VIG_ALARM_MOUDLE

extern template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmVideoRelation>;
