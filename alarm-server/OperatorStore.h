#pragma once

#include "AlarmPresence.h"

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

#include <cstdio>

// The server's operators and its audit, in "access.db" of its data folder, which only its owner may read.
// An operator is kept with a salted hash of their token, never the token; a removed one stays, marked, so
// that their token is told apart from a stranger's. The audit only grows: the database itself refuses to
// change or delete its lines.
class OperatorStore
{
public:
    enum Match { Unknown, Found, Removed };
    struct Operator
    {
        qint64 id = 0;
        QString name;
        QString telephone;
        AlarmPresence::Rights rights = AlarmPresence::Watch;
    };

    explicit OperatorStore(const QString& dataFolder);
    ~OperatorStore();
    OperatorStore(const OperatorStore&) = delete;
    OperatorStore& operator=(const OperatorStore&) = delete;

    bool open(QString* error);
    QString path() const { return file; }

    static bool readRights(const QString& text, AlarmPresence::Rights* rights);
    static QString rightsText(AlarmPresence::Rights rights);

    bool hasOperators();
    // A new operator with this token; false with a one-line reason, for instance for a name taken.
    bool add(const QString& name, const QString& telephone, AlarmPresence::Rights rights,
             const QByteArray& token, QString* error);
    bool remove(const QString& name, QString* error);
    Match find(const QByteArray& token, Operator* found);
    // Whether the operator is still there; false once removed.
    bool isActive(qint64 id);
    // True once after another connection, another process's too, changed the store.
    bool changedElsewhere();

    void audit(const QString& event, const QString& operatorName, const QString& peer, const QString& detail);
    // The audit from since on (all for an invalid time) as CSV with a header line.
    bool printAudit(const QDateTime& since, std::FILE* out, QString* error);

private:
    bool exec(const QString& statement, QString* error);

    const QString file;
    const QString connection;
    QSqlDatabase db;
    qint64 dataVersion = -1;
};
