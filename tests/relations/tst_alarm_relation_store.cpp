#include "relations/AlarmVideoRelation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

// The store is a singleton that opens its database once, in the working directory: each case runs it in a
// child process in a folder of its own, reading operations from "ops.json" and writing reads to "out.json".
namespace {

int runChild()
{
    QFile opsFile("ops.json");
    if (!opsFile.open(QIODevice::ReadOnly))
        return 3;
    AlarmVideoRelation& store = AlarmVideoRelation::_instance();
    QJsonArray results;
    for (const QJsonValue& value : QJsonDocument::fromJson(opsFile.readAll()).array()) {
        const QJsonObject op = value.toObject();
        const QString kind = op.value("op").toString();
        const QString uid = op.value("alarmUid").toString();
        if (kind == "add") {
            store.addRelation({uid, op.value("filePath").toString(), op.value("fileName").toString(),
                               op.value("type").toInt()});
        } else if (kind == "delete") {
            store.deleteRelation(uid, op.value("filePath").toString());
        } else if (kind == "deleteAlarm") {
            store.deleteAlarmRelations(uid);
        } else {
            QJsonArray rows;
            for (const VIG_AlarmRelation& r : store.getAlarmRelations(uid))
                rows.append(QJsonObject{{"alarmUid", r.alarmUid},
                                        {"filePath", r.filePath},
                                        {"fileName", r.fileName},
                                        {"type", r.type}});
            results.append(rows);
        }
    }
    QFile out("out.json");
    if (!out.open(QIODevice::WriteOnly))
        return 4;
    out.write(QJsonDocument(QJsonObject{{"open", store.isOpen()}, {"results", results}}).toJson());
    return 0;
}

QJsonObject add(const QString& alarmUid, const QString& filePath, const QString& fileName, int type)
{
    return {{"op", "add"},
            {"alarmUid", alarmUid},
            {"filePath", filePath},
            {"fileName", fileName},
            {"type", type}};
}

// "get", "delete" (one file) or "deleteAlarm".
QJsonObject op(const char* kind, const QString& alarmUid, const QString& filePath = QString())
{
    return {{"op", kind}, {"alarmUid", alarmUid}, {"filePath", filePath}};
}

struct ChildRun
{
    int exitCode = -1;
    QByteArray stderrText;
    bool open = false;
    QJsonArray results;
};

ChildRun runStore(const QString& folder, const QJsonArray& ops)
{
    ChildRun run;
    QFile opsFile(folder + "/ops.json");
    if (!opsFile.open(QIODevice::WriteOnly))
        return run;
    opsFile.write(QJsonDocument(ops).toJson());
    opsFile.close();
    QFile::remove(folder + "/out.json");

    QProcess child;
    child.setWorkingDirectory(folder);
    child.start(QCoreApplication::applicationFilePath(), {"--child"});
    if (!child.waitForFinished(30000))
        return run;
    run.exitCode = child.exitCode();
    run.stderrText = child.readAllStandardError();
    QFile out(folder + "/out.json");
    if (out.open(QIODevice::ReadOnly)) {
        const QJsonObject result = QJsonDocument::fromJson(out.readAll()).object();
        run.open = result.value("open").toBool();
        run.results = result.value("results").toArray();
    }
    return run;
}

QStringList names(const QJsonValue& rows)
{
    QStringList list;
    for (const QJsonValue& row : rows.toArray())
        list.append(row.toObject().value("fileName").toString());
    return list;
}

} // namespace

class TestAlarmRelationStore : public QObject
{
    Q_OBJECT

private slots:
    void createsOrdersAndDeletes()
    {
        QTemporaryDir dir;
        const QJsonArray ops = {
            add("A1", "/rec/20261205/a-b-031500-d.mp4", "Local Recording 2026-12-05 03:15:00",
                LocalRecordingRelation),
            add("A1", "/cap/2.png", "Capture 2026-12-05 03:10:00", CaptureRelation),
            add("A1", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation),
            add("A1", "/rec/20261205/a-b-030000-d.mp4", "Local Recording 2026-12-05 03:00:00",
                LocalRecordingRelation),
            add("A1", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation), // the same file twice
            add("A2", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation),
            op("get", "A1"),
            op("delete", "A1", "/cap/1.png"),
            op("get", "A1"),
            op("get", "A2"),
            op("deleteAlarm", "A1"),
            op("get", "A1"),
            op("get", "A2"),
        };
        const ChildRun run = runStore(dir.path(), ops);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.open);
        QVERIFY(QFile::exists(dir.filePath("AlarmLocalDB/AlarmRelation.db")));
        QCOMPARE(run.results.size(), 5);
        QCOMPARE(names(run.results.at(0)),
                 QStringList({"Local Recording 2026-12-05 03:00:00", "Local Recording 2026-12-05 03:15:00",
                              "Capture 2026-12-05 03:05:00", "Capture 2026-12-05 03:05:00",
                              "Capture 2026-12-05 03:10:00"}));
        // Every row of the (alarm, path) pair goes, and only those.
        QCOMPARE(names(run.results.at(1)),
                 QStringList({"Local Recording 2026-12-05 03:00:00", "Local Recording 2026-12-05 03:15:00",
                              "Capture 2026-12-05 03:10:00"}));
        QCOMPARE(names(run.results.at(2)), QStringList({"Capture 2026-12-05 03:05:00"}));
        QVERIFY(run.results.at(3).toArray().isEmpty());
        QCOMPARE(run.results.at(4).toArray().size(), 1);
        QVERIFY2(run.stderrText.isEmpty(), run.stderrText.constData());
    }

    void hostileValuesRoundTrip()
    {
        QTemporaryDir dir;
        const QStringList hostile = {
            "it's",
            "back\\slash",
            "%1 %2 %3",
            "门店 前门 摄像机",
            "'); drop table alarmRelation; --",
            QString("nul") + QChar(0) + "inside",
            QString(100 * 1024, QChar('x')),
        };
        QJsonArray ops;
        for (const QString& value : hostile)
            ops.append(add(value, value + "/path", value, CaptureRelation));
        for (const QString& value : hostile)
            ops.append(op("get", value));
        ops.append(op("delete", hostile.at(0), hostile.at(0) + "/path"));
        ops.append(op("get", hostile.at(0)));
        ops.append(op("get", hostile.at(1)));

        const ChildRun run = runStore(dir.path(), ops);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.results.size(), hostile.size() + 2);
        for (int i = 0; i < hostile.size(); ++i) {
            const QJsonArray rows = run.results.at(i).toArray();
            QCOMPARE(rows.size(), 1);
            const QString& value = hostile.at(i);
            QCOMPARE(rows.at(0).toObject(), QJsonObject({{"alarmUid", value},
                                                         {"filePath", value + "/path"},
                                                         {"fileName", value},
                                                         {"type", int(CaptureRelation)}}));
        }
        QVERIFY(run.results.at(hostile.size()).toArray().isEmpty());
        QCOMPARE(run.results.at(hostile.size() + 1).toArray().size(), 1);
    }

    void keepsExistingTableAcrossReopen()
    {
        QTemporaryDir dir;
        // A database made by an earlier version, with a row of its own.
        QVERIFY(QDir(dir.path()).mkdir("AlarmLocalDB"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "seed");
            db.setDatabaseName(dir.filePath("AlarmLocalDB/AlarmRelation.db"));
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(
                "create table alarmRelation( alarmUid text , filePath text,fileName text, type int)"));
            QVERIFY(query.exec(
                "insert into alarmRelation values('A1', '/old.png', 'Capture 2026-01-01 00:00:00', 5)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("seed");

        const ChildRun run =
            runStore(dir.path(), {add("A1", "/new.png", "Capture 2026-12-05 00:00:00", 5), op("get", "A1")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(names(run.results.at(0)),
                 QStringList({"Capture 2026-01-01 00:00:00", "Capture 2026-12-05 00:00:00"}));
    }

    void storeThatCannotOpenIsHarmless_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("folder is a file") << "folder-is-file";
        QTest::newRow("file is not a database") << "not-a-database";
    }

    void storeThatCannotOpenIsHarmless()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QByteArray garbage = "this is an operator's note, not a database\n";
        if (damage == "not-a-database")
            QVERIFY(QDir(dir.path()).mkdir("AlarmLocalDB"));
        QFile file(
            dir.filePath(damage == "not-a-database" ? "AlarmLocalDB/AlarmRelation.db" : "AlarmLocalDB"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(garbage);
        file.close();

        const ChildRun run = runStore(
            dir.path(), {add("A1", "/x.png", "Capture x", 5), op("get", "A1"), op("deleteAlarm", "A1")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!run.open);
        QVERIFY(run.results.at(0).toArray().isEmpty());
        QVERIFY(run.stderrText.contains("AlarmVideoRelation"));
        QCOMPARE(run.stderrText.count('\n'), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild();
    TestAlarmRelationStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_alarm_relation_store.moc"
