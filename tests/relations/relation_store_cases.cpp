// The store is a singleton that opens its database once, in the working directory: CMake runs each case as a
// test of its own, in a folder of its own.
#include "relations/AlarmVideoRelation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
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

class StoreCases : public QObject
{
    Q_OBJECT

private slots:
    // The folder is kept from the last run.
    void init()
    {
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QFile::remove(QStringLiteral("AlarmLocalDB"));
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

QTEST_GUILESS_MAIN(StoreCases)
#include "relation_store_cases.moc"
