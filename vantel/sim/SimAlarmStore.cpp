#include "SimAlarmStore.h"

#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const char alarmColumns[] = "alarmUid, storeUid, deviceId, deviceName, typeKey, typeDescription, subTypeKey, "
                            "subTypeDescription, probeId, probeName, alarmTime, lastHandleNote, describe, "
                            "createTime, extendInfo, state, channelIndex";

// Bound as a blob, never as NULL: an empty text is a value like any other.
QVariant blob(const std::string& text)
{
    return QVariant(text.empty() ? QByteArray("") : QByteArray(text.data(), int(text.size())));
}

std::string text(const QVariant& value)
{
    return value.toByteArray().toStdString();
}

AlarmData alarmFromRow(const QSqlQuery& query)
{
    AlarmData alarm;
    alarm.alarmUid = text(query.value(0));
    alarm.storeUid = text(query.value(1));
    alarm.deviceId = text(query.value(2));
    alarm.deviceName = text(query.value(3));
    alarm.typeKey = text(query.value(4));
    alarm.typeDescription = text(query.value(5));
    alarm.subTypeKey = text(query.value(6));
    alarm.subTypeDescription = text(query.value(7));
    alarm.probeId = text(query.value(8));
    alarm.probeName = text(query.value(9));
    alarm.alarmTime = text(query.value(10));
    alarm.lastHandleNote = text(query.value(11));
    alarm.describe = text(query.value(12));
    alarm.createTime = text(query.value(13));
    alarm.extendInfo = text(query.value(14));
    alarm.state = query.value(15).toInt();
    alarm.channelIndex = query.value(16).toInt();
    return alarm;
}

AlarmHandlerData handlingFromRow(const QSqlQuery& query, int first)
{
    AlarmHandlerData handling;
    handling.principal = text(query.value(first));
    handling.handleTime = text(query.value(first + 1));
    handling.handleNote = text(query.value(first + 2));
    handling.principalTel = text(query.value(first + 3));
    handling.state = query.value(first + 4).toInt();
    handling.liveImageUrls = text(query.value(first + 5));
    return handling;
}

} // namespace

SimAlarmStore::SimAlarmStore(const QString& name) : connectionName(name) {}

SimAlarmStore::~SimAlarmStore()
{
    insertQuery.reset();
    logQuery.reset();
    if (db.isValid()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }
}

bool SimAlarmStore::open(const QString& filePath)
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(filePath);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        error = QObject::tr("Cannot open the alarm database %1: %2").arg(filePath, db.lastError().text());
        return false;
    }
    const char* const statements[] = {
        "PRAGMA journal_mode=WAL",
        "PRAGMA synchronous=NORMAL",
        "PRAGMA cache_size=-16384",
        "CREATE TABLE IF NOT EXISTS alarms (seq INTEGER PRIMARY KEY AUTOINCREMENT, alarmUid BLOB NOT NULL "
        "UNIQUE, "
        "storeUid BLOB, deviceId BLOB, deviceName BLOB, typeKey BLOB, typeDescription BLOB, subTypeKey BLOB, "
        "subTypeDescription BLOB, probeId BLOB, probeName BLOB, alarmTime BLOB, lastHandleNote BLOB, "
        "describe BLOB, createTime BLOB, extendInfo BLOB, state INTEGER, channelIndex INTEGER)",
        "CREATE INDEX IF NOT EXISTS alarmsByTime ON alarms (alarmTime, seq)",
        "CREATE INDEX IF NOT EXISTS alarmsByStore ON alarms (storeUid, alarmTime, seq)",
        "CREATE TABLE IF NOT EXISTS handlings (seq INTEGER PRIMARY KEY AUTOINCREMENT, alarmUid BLOB NOT "
        "NULL, "
        "principal BLOB, handleTime BLOB, handleNote BLOB, principalTel BLOB, state INTEGER, liveImageUrls "
        "BLOB)",
        "CREATE INDEX IF NOT EXISTS handlingsByAlarm ON handlings (alarmUid, seq)",
        // Every push to all clients in the order stored: a new alarm (kind 1, with the state and note it was
        // raised with) or a handling (kind 2); AUTOINCREMENT never gives a number twice.
        "CREATE TABLE IF NOT EXISTS pushes (seq INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, "
        "alarmUid BLOB NOT NULL, handling INTEGER, state INTEGER, note BLOB)",
        "CREATE INDEX IF NOT EXISTS pushesByAlarm ON pushes (alarmUid, kind)",
    };
    for (const char* statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(QLatin1String(statement))) {
            error = QObject::tr("Cannot prepare the alarm database %1: %2")
                        .arg(filePath, query.lastError().text());
            db.close();
            return false;
        }
    }
    insertQuery = std::make_unique<QSqlQuery>(db);
    logQuery = std::make_unique<QSqlQuery>(db);
    const QString placeholders = QStringLiteral("?, ").repeated(16) + QLatin1Char('?');
    for (const auto& [query, sql] :
         {std::make_pair(insertQuery.get(), QStringLiteral("INSERT INTO alarms (%1) VALUES (%2)")
                                                .arg(QLatin1String(alarmColumns), placeholders)),
          std::make_pair(logQuery.get(),
                         QStringLiteral("INSERT INTO pushes (kind, alarmUid, handling, state, "
                                        "note) VALUES (?, ?, ?, ?, ?)"))}) {
        if (!query->prepare(sql)) {
            error = QObject::tr("Cannot prepare the alarm database %1: %2")
                        .arg(filePath, query->lastError().text());
            insertQuery.reset();
            logQuery.reset();
            db.close();
            return false;
        }
    }
    return true;
}

bool SimAlarmStore::isOpen() const
{
    return db.isOpen() && insertQuery;
}

bool SimAlarmStore::transaction()
{
    if (db.transaction())
        return true;
    error = db.lastError().text();
    return false;
}

bool SimAlarmStore::commit()
{
    if (db.commit())
        return true;
    error = db.lastError().text();
    db.rollback();
    return false;
}

void SimAlarmStore::rollback()
{
    db.rollback();
}

bool SimAlarmStore::exec(QSqlQuery& query)
{
    if (query.exec())
        return true;
    error = query.lastError().text();
    return false;
}

bool SimAlarmStore::logPush(int kind, const std::string& alarmUid, const QVariant& handling, int state,
                            const std::string& note, qint64* seq)
{
    QSqlQuery& query = *logQuery;
    query.bindValue(0, kind);
    query.bindValue(1, blob(alarmUid));
    query.bindValue(2, handling);
    query.bindValue(3, state);
    query.bindValue(4, blob(note));
    const bool ok = exec(query);
    if (ok)
        *seq = query.lastInsertId().toLongLong();
    query.finish();
    return ok;
}

bool SimAlarmStore::insertAlarm(const AlarmData& alarm, qint64* seq)
{
    QSqlQuery& query = *insertQuery;
    const std::string* const texts[] = {
        &alarm.alarmUid, &alarm.storeUid,        &alarm.deviceId,   &alarm.deviceName,
        &alarm.typeKey,  &alarm.typeDescription, &alarm.subTypeKey, &alarm.subTypeDescription,
        &alarm.probeId,  &alarm.probeName,       &alarm.alarmTime,  &alarm.lastHandleNote,
        &alarm.describe, &alarm.createTime,      &alarm.extendInfo,
    };
    int index = 0;
    for (const std::string* value : texts)
        query.bindValue(index++, blob(*value));
    query.bindValue(index++, alarm.state);
    query.bindValue(index++, alarm.channelIndex);
    const bool ok = exec(query);
    query.finish();
    return ok && logPush(1, alarm.alarmUid, QVariant(), alarm.state, alarm.lastHandleNote, seq);
}

bool SimAlarmStore::findAlarm(const std::string& alarmUid, AlarmData* alarm, bool* found)
{
    *found = false;
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT %1 FROM alarms WHERE alarmUid = ?").arg(QLatin1String(alarmColumns)));
    query.addBindValue(blob(alarmUid));
    if (!exec(query))
        return false;
    if (query.next()) {
        *found = true;
        *alarm = alarmFromRow(query);
    }
    return true;
}

bool SimAlarmStore::addHandling(const std::string& alarmUid, const AlarmHandlerData& handling, qint64* seq)
{
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE alarms SET state = ?, lastHandleNote = ? WHERE alarmUid = ?"));
    update.addBindValue(handling.state);
    update.addBindValue(blob(handling.handleNote));
    update.addBindValue(blob(alarmUid));
    if (!exec(update))
        return false;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO handlings (alarmUid, principal, handleTime, handleNote, "
                                  "principalTel, state, liveImageUrls) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    insert.addBindValue(blob(alarmUid));
    insert.addBindValue(blob(handling.principal));
    insert.addBindValue(blob(handling.handleTime));
    insert.addBindValue(blob(handling.handleNote));
    insert.addBindValue(blob(handling.principalTel));
    insert.addBindValue(handling.state);
    insert.addBindValue(blob(handling.liveImageUrls));
    return exec(insert) && logPush(2, alarmUid, insert.lastInsertId(), handling.state, std::string(), seq);
}

bool SimAlarmStore::lastSeq(qint64* seq)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT COALESCE(MAX(seq), 0) FROM pushes"));
    if (!exec(query))
        return false;
    *seq = query.next() ? query.value(0).toLongLong() : 0;
    return true;
}

bool SimAlarmStore::readPushes(const QString& from, const QString& tail, const QVariantList& values,
                               std::vector<SimReplay::Push>* pushes, qint64* lastAlarm)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1, p.seq, p.kind, p.state, p.note, h.principal, h.handleTime, "
                                 "h.handleNote, h.principalTel, h.state, h.liveImageUrls, a.seq FROM %2 %3")
                      .arg(QStringLiteral("a.") + QString::fromLatin1(alarmColumns)
                                                      .split(QStringLiteral(", "))
                                                      .join(QStringLiteral(", a.")),
                           from, tail));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!exec(query))
        return false;
    while (query.next()) {
        SimReplay::Push push;
        push.alarm = alarmFromRow(query);
        push.seq = query.value(17).toLongLong();
        push.handled = query.value(18).toInt() == 2;
        if (!push.handled && !query.value(19).isNull()) {
            // The alarm as it was pushed when new, not as handled since.
            push.alarm.state = query.value(19).toInt();
            push.alarm.lastHandleNote = text(query.value(20));
        } else if (push.handled) {
            // The engine makes the record from the alarm; this handling is the one the push announced.
            push.record.handlers.push_back(handlingFromRow(query, 21));
        }
        if (lastAlarm)
            *lastAlarm = query.value(27).toLongLong();
        pushes->push_back(std::move(push));
    }
    return true;
}

bool SimAlarmStore::pushesAfter(qint64 since, int limit, std::vector<SimReplay::Push>* pushes)
{
    return readPushes(
        QStringLiteral("pushes p JOIN alarms a ON a.alarmUid = p.alarmUid LEFT JOIN handlings h "
                       "ON h.seq = p.handling"),
        QStringLiteral("WHERE p.seq > ? ORDER BY p.seq LIMIT ?"), {since, limit}, pushes);
}

bool SimAlarmStore::unhandledAlarms(qint64 snapshot, qint64 afterAlarm, int limit,
                                    std::vector<SimReplay::Push>* pushes, qint64* lastAlarm)
{
    // Alarms stored before pushes were logged have none: they go with the number 0, and so do their
    // handlings, which count as made before any snapshot.
    return readPushes(
        QStringLiteral("alarms a LEFT JOIN pushes p ON p.alarmUid = a.alarmUid AND p.kind = 1 "
                       "LEFT JOIN handlings h ON 0"),
        QStringLiteral("WHERE a.seq > ? AND (p.seq IS NULL OR p.seq <= ?) AND NOT EXISTS (SELECT 1 FROM "
                       "handlings x WHERE x.alarmUid = a.alarmUid AND NOT EXISTS (SELECT 1 FROM pushes y "
                       "WHERE y.alarmUid = x.alarmUid AND y.kind = 2 AND y.handling = x.seq AND y.seq > ?)) "
                       "ORDER BY a.seq LIMIT ?"),
        {afterAlarm, snapshot, snapshot, limit}, pushes, lastAlarm);
}

bool SimAlarmStore::handlings(const std::string& alarmUid, std::vector<AlarmHandlerData>* list)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT principal, handleTime, handleNote, principalTel, state, liveImageUrls "
                       "FROM handlings WHERE alarmUid = ? ORDER BY seq"));
    query.addBindValue(blob(alarmUid));
    if (!exec(query))
        return false;
    while (query.next()) {
        list->push_back(handlingFromRow(query, 0));
    }
    return true;
}

bool SimAlarmStore::select(const QString& head, const Filter& filter, const QString& tail,
                           const QVariantList& tailValues, QSqlQuery* query)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.storeUid.isEmpty()) {
        conditions.append(QStringLiteral("storeUid = ?"));
        values.append(filter.storeUid);
    }
    if (!filter.startTime.isEmpty()) {
        conditions.append(QStringLiteral("alarmTime >= ?"));
        values.append(filter.startTime);
    }
    if (!filter.endTime.isEmpty()) {
        conditions.append(QStringLiteral("alarmTime <= ?"));
        values.append(filter.endTime);
    }
    if (filter.state != 0) {
        conditions.append(QStringLiteral("state = ?"));
        values.append(filter.state);
    }
    QString sql = head;
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QLatin1Char(' ') + tail;
    if (!query->prepare(sql)) {
        error = query->lastError().text();
        return false;
    }
    for (const QVariant& value : values + tailValues)
        query->addBindValue(value);
    return exec(*query);
}

bool SimAlarmStore::countAlarms(const Filter& filter, int* count)
{
    QSqlQuery query(db);
    if (!select(QStringLiteral("SELECT COUNT(*) FROM alarms"), filter, QString(), {}, &query))
        return false;
    *count = query.next() ? query.value(0).toInt() : 0;
    return true;
}

bool SimAlarmStore::alarms(const Filter& filter, int first, int count, std::vector<AlarmData>* list)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!select(QStringLiteral("SELECT %1 FROM alarms").arg(QLatin1String(alarmColumns)), filter,
                QStringLiteral("ORDER BY alarmTime DESC, seq DESC LIMIT ? OFFSET ?"), {count, first}, &query))
        return false;
    while (query.next())
        list->push_back(alarmFromRow(query));
    return true;
}

bool SimAlarmStore::countByStoreAndState(const Filter& filter, std::vector<AlarmCountData>* counts)
{
    QSqlQuery query(db);
    if (!select(QStringLiteral("SELECT storeUid, state, COUNT(*) FROM alarms"), filter,
                QStringLiteral("GROUP BY storeUid, state ORDER BY storeUid, state"), {}, &query))
        return false;
    while (query.next())
        counts->push_back({query.value(2).toInt(), query.value(1).toInt(), text(query.value(0))});
    return true;
}

bool SimAlarmStore::countByDeviceAndState(const Filter& filter, std::vector<AlarmCountData>* counts)
{
    QSqlQuery query(db);
    if (!select(QStringLiteral("SELECT deviceId, state, COUNT(*) FROM alarms"), filter,
                QStringLiteral("GROUP BY deviceId, state ORDER BY deviceId, state"), {}, &query))
        return false;
    while (query.next())
        counts->push_back({query.value(2).toInt(), query.value(1).toInt(), text(query.value(0))});
    return true;
}

bool SimAlarmStore::countByProbe(const Filter& filter, std::vector<ItemAlarmCountData>* counts)
{
    QSqlQuery query(db);
    if (!select(QStringLiteral("SELECT probeId, deviceId, COUNT(*) FROM alarms"), filter,
                QStringLiteral("GROUP BY probeId, deviceId ORDER BY deviceId, probeId"), {}, &query))
        return false;
    while (query.next())
        counts->push_back({query.value(2).toInt(), text(query.value(0)), text(query.value(1))});
    return true;
}
