// The store is a singleton that opens its database once, in the working directory: each case runs in a
// child process of this test, in a folder of its own, and the child's QtTest output tells what failed.
#include "relations/AlarmVideoRelation.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

namespace {

QStringList logged;

QStringList names(const QList<VIG_AlarmRelation>& rows)
{
    QStringList list;
    for (const VIG_AlarmRelation& row : rows)
        list.append(row.fileName);
    return list;
}

AlarmVideoRelation& store()
{
    return AlarmVideoRelation::_instance();
}

} // namespace

// The cases, run in the child one per process.
class StoreCases : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { logged << text; });
    }

    void createsOrdersAndDeletes()
    {
        for (const VIG_AlarmRelation& relation : QList<VIG_AlarmRelation>{
                 {"A1", "/rec/20261205/a-b-031500-d.mp4", "Local Recording 2026-12-05 03:15:00",
                  LocalRecordingRelation},
                 {"A1", "/cap/2.png", "Capture 2026-12-05 03:10:00", CaptureRelation},
                 {"A1", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation},
                 {"A1", "/rec/20261205/a-b-030000-d.mp4", "Local Recording 2026-12-05 03:00:00",
                  LocalRecordingRelation},
                 {"A1", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation}, // the same file twice
                 {"A2", "/cap/1.png", "Capture 2026-12-05 03:05:00", CaptureRelation}})
            store().addRelation(relation);
        QVERIFY(store().isOpen() && QFile::exists("AlarmLocalDB/AlarmRelation.db"));
        QCOMPARE(names(store().getAlarmRelations("A1")),
                 QStringList({"Local Recording 2026-12-05 03:00:00", "Local Recording 2026-12-05 03:15:00",
                              "Capture 2026-12-05 03:05:00", "Capture 2026-12-05 03:05:00",
                              "Capture 2026-12-05 03:10:00"}));
        // Every row of the (alarm, path) pair goes, and only those.
        store().deleteRelation("A1", "/cap/1.png");
        QCOMPARE(names(store().getAlarmRelations("A1")),
                 QStringList({"Local Recording 2026-12-05 03:00:00", "Local Recording 2026-12-05 03:15:00",
                              "Capture 2026-12-05 03:10:00"}));
        QCOMPARE(names(store().getAlarmRelations("A2")), QStringList({"Capture 2026-12-05 03:05:00"}));
        store().deleteAlarmRelations("A1");
        QVERIFY(store().getAlarmRelations("A1").isEmpty() && logged.isEmpty());
        QCOMPARE(store().getAlarmRelations("A2").size(), 1);
    }

    void hostileValuesRoundTrip()
    {
        const QStringList hostile = {"it's",
                                     "back\\slash",
                                     "%1 %2 %3",
                                     "门店 前门 摄像机",
                                     "'); drop table alarmRelation; --",
                                     QString("nul") + QChar(0) + "inside",
                                     QString(100 * 1024, QChar('x'))};
        for (const QString& value : hostile)
            store().addRelation({value, value + "/path", value, CaptureRelation});
        for (const QString& value : hostile) {
            const QList<VIG_AlarmRelation> rows = store().getAlarmRelations(value);
            QCOMPARE(QVariantList({rows.size(), rows.value(0).alarmUid, rows.value(0).filePath,
                                   rows.value(0).fileName, rows.value(0).type}),
                     QVariantList({1, value, value + "/path", value, int(CaptureRelation)}));
        }
        store().deleteRelation(hostile.at(0), hostile.at(0) + "/path");
        QVERIFY(store().getAlarmRelations(hostile.at(0)).isEmpty());
        QCOMPARE(store().getAlarmRelations(hostile.at(1)).size(), 1);
    }

    void keepsExistingTableAcrossReopen()
    {
        // A database made by an earlier version, with a row of its own.
        QVERIFY(QDir().mkdir("AlarmLocalDB"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "seed");
            db.setDatabaseName("AlarmLocalDB/AlarmRelation.db");
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(
                "create table alarmRelation( alarmUid text , filePath text,fileName text, type int)"));
            QVERIFY(query.exec(
                "insert into alarmRelation values('A1', '/old.png', 'Capture 2026-01-01 00:00:00', 5)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("seed");
        store().addRelation({"A1", "/new.png", "Capture 2026-12-05 00:00:00", 5});
        QCOMPARE(names(store().getAlarmRelations("A1")),
                 QStringList({"Capture 2026-01-01 00:00:00", "Capture 2026-12-05 00:00:00"}));
    }

    void storeThatCannotOpenIsHarmless_data()
    {
        QTest::addColumn<QString>("damaged");
        QTest::newRow("folder is a file") << "AlarmLocalDB";
        QTest::newRow("file is not a database") << "AlarmLocalDB/AlarmRelation.db";
    }

    void storeThatCannotOpenIsHarmless()
    {
        QFETCH(QString, damaged);
        const QByteArray garbage = "this is an operator's note, not a database\n";
        QDir().mkpath(QFileInfo(damaged).path());
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(garbage);
        file.close();

        store().addRelation({"A1", "/x.png", "Capture x", 5});
        QVERIFY(store().getAlarmRelations("A1").isEmpty());
        store().deleteAlarmRelations("A1");
        QVERIFY(!store().isOpen());
        QCOMPARE(logged.size(), 1); // said once
        QVERIFY(logged.at(0).contains("AlarmVideoRelation") && file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), garbage);
    }
};

class TestAlarmRelationStore : public QObject
{
    Q_OBJECT

private slots:
    void inAFolderOfItsOwn_data()
    {
        QTest::addColumn<QString>("function");
        for (const char* function :
             {"createsOrdersAndDeletes", "hostileValuesRoundTrip", "keepsExistingTableAcrossReopen",
              "storeThatCannotOpenIsHarmless:folder is a file",
              "storeThatCannotOpenIsHarmless:file is not a database"})
            QTest::newRow(function) << function;
    }

    void inAFolderOfItsOwn()
    {
        QFETCH(QString, function);
        QTemporaryDir dir;
        QProcess child;
        child.setWorkingDirectory(dir.path());
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--inside", function});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--inside") == 0) {
        StoreCases cases;
        return QTest::qExec(&cases, {QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(argv[2])});
    }
    TestAlarmRelationStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_alarm_relation_store.moc"
