#include "relations/AlarmVideoRelation.h"

#include "frame/AlarmLogging.h"
#include "frame/AlarmMutexLocker.h"
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

template class ZCOMMON::ZSingleton<VIG_ALARM_MOUDLE::AlarmVideoRelation>;

namespace VIG_ALARM_MOUDLE {

namespace {
const char* const connectionName = "AlarmRelation";
const char* const databaseFolder = "AlarmLocalDB";
const char* const databaseFile = "AlarmLocalDB/AlarmRelation.db";

void report(const QString& what, const QSqlError& error)
{
    qCWarning(vigAlarmRelations, "AlarmVideoRelation: %s: %s", qUtf8Printable(what),
              qUtf8Printable(error.text()));
}
} // namespace

AlarmVideoRelation::AlarmVideoRelation(QObject* parent) : QObject(parent)
{
    open();
}

AlarmVideoRelation::~AlarmVideoRelation()
{
    {
        AlarmMutexLocker locker(&mutex);
        database.close();
        database = QSqlDatabase();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

void AlarmVideoRelation::open()
{
    QDir folder(databaseFolder);
    if (!folder.exists())
        QDir().mkpath(databaseFolder);

    database = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    database.setDatabaseName(databaseFile);
    if (!database.open()) {
        report(QStringLiteral("cannot open %1").arg(databaseFile), database.lastError());
        return;
    }
    // SQLite opens anything lazily; a file that is not a database shows itself at the first read.
    QSqlQuery probe(database);
    if (!probe.exec("select count(*) from sqlite_master")) {
        report(QStringLiteral("%1 is not a usable database").arg(databaseFile), probe.lastError());
        database.close();
        return;
    }
    if (database.tables().isEmpty()) {
        QSqlQuery create(database);
        if (!create.exec(
                "create table alarmRelation( alarmUid text , filePath text,fileName text, type int)")) {
            report(QStringLiteral("cannot create the relation table"), create.lastError());
            database.close();
            return;
        }
    }
    opened = true;
}

bool AlarmVideoRelation::isOpen() const
{
    AlarmMutexLocker locker(&mutex);
    return opened;
}

bool AlarmVideoRelation::exec(QSqlQuery& query)
{
    if (query.exec())
        return true;
    report(query.lastQuery(), query.lastError());
    return false;
}

void AlarmVideoRelation::addRelation(const VIG_AlarmRelation& relation)
{
    AlarmMutexLocker locker(&mutex);
    if (!opened)
        return;
    QSqlQuery query(database);
    query.prepare("insert into alarmRelation values(?, ?, ?, ?)");
    query.addBindValue(relation.alarmUid);
    query.addBindValue(relation.filePath);
    query.addBindValue(relation.fileName);
    query.addBindValue(relation.type);
    exec(query);
}

void AlarmVideoRelation::deleteRelation(const QString& alarmUid, const QString& filePath)
{
    AlarmMutexLocker locker(&mutex);
    if (!opened)
        return;
    QSqlQuery query(database);
    query.prepare("delete from alarmRelation where alarmUid = ? and filePath = ?");
    query.addBindValue(alarmUid);
    query.addBindValue(filePath);
    exec(query);
}

void AlarmVideoRelation::deleteAlarmRelations(const QString& alarmUid)
{
    AlarmMutexLocker locker(&mutex);
    if (!opened)
        return;
    QSqlQuery query(database);
    query.prepare("delete from alarmRelation where alarmUid = ?");
    query.addBindValue(alarmUid);
    exec(query);
}

QList<VIG_AlarmRelation> AlarmVideoRelation::getAlarmRelations(const QString& alarmUid)
{
    QList<VIG_AlarmRelation> relations;
    AlarmMutexLocker locker(&mutex);
    if (!opened)
        return relations;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.prepare("select * from alarmRelation where alarmUid = ? order by type asc, fileName asc");
    query.addBindValue(alarmUid);
    if (!exec(query))
        return relations;
    while (query.next()) {
        VIG_AlarmRelation relation;
        relation.alarmUid = query.value(0).toString();
        relation.filePath = query.value(1).toString();
        relation.fileName = query.value(2).toString();
        relation.type = query.value(3).toInt();
        relations.append(relation);
    }
    return relations;
}

} // namespace VIG_ALARM_MOUDLE
