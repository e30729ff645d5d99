#include "OperatorStore.h"

#include "NetToken.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

QByteArray hashOf(const QByteArray& salt, const QByteArray& token)
{
    return QCryptographicHash::hash(salt + token, QCryptographicHash::Sha256);
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QString csv(const QString& field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

const char* const schema[] = {
    // A line of the audit costs no wait for the disk at each connection; readers never block the server.
    "PRAGMA journal_mode=WAL",
    "PRAGMA synchronous=NORMAL",
    "CREATE TABLE IF NOT EXISTS operators (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, telephone "
    "TEXT, "
    "rights INTEGER NOT NULL, salt BLOB NOT NULL, hash BLOB NOT NULL, removed INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS audit (id INTEGER PRIMARY KEY AUTOINCREMENT, at TEXT NOT NULL, event TEXT "
    "NOT "
    "NULL, operator TEXT, peer TEXT, detail TEXT)",
    "CREATE TRIGGER IF NOT EXISTS auditKeepsLines BEFORE UPDATE ON audit BEGIN SELECT RAISE(ABORT, 'the "
    "audit "
    "is append-only'); END",
    "CREATE TRIGGER IF NOT EXISTS auditKeepsAll BEFORE DELETE ON audit BEGIN SELECT RAISE(ABORT, 'the audit "
    "is "
    "append-only'); END",
};

} // namespace

OperatorStore::OperatorStore(const QString& dataFolder)
    : file(QDir(dataFolder).absoluteFilePath(QStringLiteral("access.db")))
    , connection(QStringLiteral("operators-") + QUuid::createUuid().toString())
{
}

OperatorStore::~OperatorStore()
{
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
}

bool OperatorStore::open(QString* error)
{
    // Made owner-only before SQLite opens it; SQLite gives its journals the same rights.
    if (!QFile::exists(file) && !NetToken::writeOwnerOnly(file, QByteArray(), error))
        return false;
    if (!NetToken::isOwnerOnly(file, error))
        return false;
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        *error = QObject::tr("cannot open %1: %2").arg(file, db.lastError().text());
        return false;
    }
    for (const char* statement : schema) {
        if (!exec(QLatin1String(statement), error))
            return false;
    }
    changedElsewhere();
    return true;
}

bool OperatorStore::exec(const QString& statement, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    *error = QObject::tr("%1: %2").arg(file, query.lastError().text());
    return false;
}

bool OperatorStore::readRights(const QString& text, AlarmPresence::Rights* rights)
{
    for (AlarmPresence::Rights each : {AlarmPresence::Watch, AlarmPresence::Handle, AlarmPresence::Control}) {
        if (text == rightsText(each)) {
            *rights = each;
            return true;
        }
    }
    return false;
}

QString OperatorStore::rightsText(AlarmPresence::Rights rights)
{
    switch (rights) {
    case AlarmPresence::Watch:
        return QStringLiteral("watch");
    case AlarmPresence::Handle:
        return QStringLiteral("handle");
    case AlarmPresence::Control:
        break;
    }
    return QStringLiteral("control");
}

bool OperatorStore::hasOperators()
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT 1 FROM operators LIMIT 1")) && query.next();
}

bool OperatorStore::add(const QString& name, const QString& telephone, AlarmPresence::Rights rights,
                        const QByteArray& token, QString* error)
{
    if (name.trimmed().isEmpty()) {
        *error = QObject::tr("an operator needs a name");
        return false;
    }
    QSqlQuery query(db);
    // A removed operator's name may be given again; their old token stays refused as a stranger's.
    query.prepare(QStringLiteral("DELETE FROM operators WHERE name = ? AND removed = 1"));
    query.addBindValue(name);
    query.exec();
    const QByteArray salt = NetToken::make();
    query.prepare(
        QStringLiteral("INSERT INTO operators (name, telephone, rights, salt, hash) VALUES (?, ?, ?, ?, ?)"));
    query.addBindValue(name);
    query.addBindValue(telephone);
    query.addBindValue(int(rights));
    query.addBindValue(salt);
    query.addBindValue(hashOf(salt, token));
    if (!query.exec()) {
        *error = QObject::tr("cannot add the operator %1: %2").arg(name, query.lastError().text());
        return false;
    }
    audit(QStringLiteral("operator added"), name, QString(),
          QStringLiteral("rights=%1 tel=%2").arg(rightsText(rights), telephone));
    return true;
}

bool OperatorStore::remove(const QString& name, QString* error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE operators SET removed = 1 WHERE name = ? AND removed = 0"));
    query.addBindValue(name);
    if (!query.exec()) {
        *error = QObject::tr("cannot remove the operator %1: %2").arg(name, query.lastError().text());
        return false;
    }
    if (query.numRowsAffected() < 1) {
        *error = QObject::tr("there is no operator %1").arg(name);
        return false;
    }
    audit(QStringLiteral("operator removed"), name, QString(), QString());
    return true;
}

OperatorStore::Match OperatorStore::find(const QByteArray& token, Operator* found)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (token.isEmpty() ||
        !query.exec(QStringLiteral("SELECT id, name, telephone, rights, salt, hash, removed FROM operators")))
        return Unknown;
    // Every operator is tried, so that the time taken does not tell which one matched.
    Match match = Unknown;
    while (query.next()) {
        if (!NetToken::matches(query.value(5).toByteArray(), hashOf(query.value(4).toByteArray(), token)))
            continue;
        match = query.value(6).toInt() ? Removed : Found;
        found->id = query.value(0).toLongLong();
        found->name = query.value(1).toString();
        found->telephone = query.value(2).toString();
        found->rights = AlarmPresence::Rights(qBound(0, query.value(3).toInt(), int(AlarmPresence::Control)));
    }
    return match;
}

bool OperatorStore::isActive(qint64 id)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT 1 FROM operators WHERE id = ? AND removed = 0"));
    query.addBindValue(id);
    // A store that cannot be read revokes nobody.
    return !query.exec() || query.next();
}

bool OperatorStore::changedElsewhere()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return false;
    const qint64 version = query.value(0).toLongLong();
    const bool changed = dataVersion >= 0 && version != dataVersion;
    dataVersion = version;
    return changed;
}

void OperatorStore::audit(const QString& event, const QString& operatorName, const QString& peer,
                          const QString& detail)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("INSERT INTO audit (at, event, operator, peer, detail) VALUES (?, ?, ?, ?, ?)"));
    query.addBindValue(now());
    query.addBindValue(event);
    query.addBindValue(operatorName);
    query.addBindValue(peer);
    query.addBindValue(detail);
    if (!query.exec())
        std::fprintf(stderr, "alarm-server: cannot write the audit: %s\n",
                     qUtf8Printable(query.lastError().text()));
}

bool OperatorStore::printAudit(const QDateTime& since, std::FILE* out, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT at, event, operator, peer, detail FROM audit WHERE at >= ? ORDER BY id"));
    query.addBindValue(since.isValid() ? since.toUTC().toString(Qt::ISODateWithMs) : QStringLiteral(""));
    if (!query.exec()) {
        *error = QObject::tr("cannot read the audit: %1").arg(query.lastError().text());
        return false;
    }
    std::fputs("time,event,operator,peer,detail\n", out);
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields.append(csv(query.value(i).toString()));
        std::fprintf(out, "%s\n", qUtf8Printable(fields.join(QLatin1Char(','))));
    }
    return true;
}
