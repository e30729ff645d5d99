#pragma once

#include "AlarmCountData.h"
#include "AlarmData.h"
#include "AlarmHandlerData.h"
#include "ItemAlarmCountData.h"
#include "SimReplay.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

class QSqlQuery;

// The simulated server's alarms and handlings in SQLite. Texts are kept as the bytes they came with, so
// that whatever a client sent, valid UTF-8 or not, comes back unchanged. Used only on the server's thread.
class SimAlarmStore
{
public:
    // Empty members do not filter; times compare as "yyyy-MM-dd hh:mm:ss" texts, both ends included.
    struct Filter
    {
        QByteArray storeUid;
        QByteArray startTime;
        QByteArray endTime;
        int state = 0;
    };

    explicit SimAlarmStore(const QString& connectionName);
    ~SimAlarmStore();
    SimAlarmStore(const SimAlarmStore&) = delete;
    SimAlarmStore& operator=(const SimAlarmStore&) = delete;

    bool open(const QString& filePath);
    bool isOpen() const;
    QString lastError() const { return error; }

    bool transaction();
    bool commit();
    void rollback();

    // Fails for a uid that is stored already. Each alarm and each handling is also logged as a push with
    // the next number (seq), in the same write when the caller holds a transaction.
    bool insertAlarm(const AlarmData& alarm, qint64* seq);
    // found tells whether the alarm exists; the result is false on a database error only.
    bool findAlarm(const std::string& alarmUid, AlarmData* alarm, bool* found);
    bool addHandling(const std::string& alarmUid, const AlarmHandlerData& handling, qint64* seq);
    bool handlings(const std::string& alarmUid, std::vector<AlarmHandlerData>* list);

    // The number of the last push logged, 0 for none.
    bool lastSeq(qint64* seq);
    // At most limit (negative: all) pushes logged after since, in order.
    bool pushesAfter(qint64 since, int limit, std::vector<SimReplay::Push>* pushes);
    // At most limit (negative: all) alarms that no handling logged up to push number snapshot had handled
    // and that were logged by then, as new-alarm pushes numbered as they were logged, oldest first, from
    // after the alarm afterAlarm of the alarms' own order; lastAlarm: where the next page starts.
    bool unhandledAlarms(qint64 snapshot, qint64 afterAlarm, int limit, std::vector<SimReplay::Push>* pushes,
                         qint64* lastAlarm);

    bool countAlarms(const Filter& filter, int* count);
    // Newest first; alarms of the same second in the reverse order of their arrival.
    bool alarms(const Filter& filter, int first, int count, std::vector<AlarmData>* list);
    bool countByStoreAndState(const Filter& filter, std::vector<AlarmCountData>* counts);
    bool countByDeviceAndState(const Filter& filter, std::vector<AlarmCountData>* counts);
    bool countByProbe(const Filter& filter, std::vector<ItemAlarmCountData>* counts);

private:
    bool exec(QSqlQuery& query);
    bool logPush(int kind, const std::string& alarmUid, const QVariant& handling, int state,
                 const std::string& note, qint64* seq);
    bool readPushes(const QString& from, const QString& tail, const QVariantList& values,
                    std::vector<SimReplay::Push>* pushes, qint64* lastAlarm = nullptr);
    bool select(const QString& head, const Filter& filter, const QString& tail,
                const QVariantList& tailValues, QSqlQuery* query);

    QString connectionName;
    QSqlDatabase db;
    // Prepared once: a storm runs them for every alarm.
    std::unique_ptr<QSqlQuery> insertQuery;
    std::unique_ptr<QSqlQuery> logQuery;
    QString error;
};
