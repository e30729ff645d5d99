// A relation database whose first page is sound but whose table pages are damaged: it opens, and every
// later read or write fails. The store must say so and go on returning nothing, never crash, and the
// module's saving of captures and recordings must stay harmless.

#include "relations/AlarmVideoRelation.h"
#include "service/AlarmBusiness.h"

#include "FakeAlarmService.h"

#include "DataCache.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

class TestHostileCorruptStore : public QObject
{
    Q_OBJECT

private slots:
    void damagedPagesAreHarmless()
    {
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QVERIFY(QDir().mkpath(QStringLiteral("AlarmLocalDB")));
        const QString file = QStringLiteral("AlarmLocalDB/AlarmRelation.db");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("maker"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("pragma page_size = 1024"));
            QVERIFY(query.exec(
                "create table alarmRelation( alarmUid text , filePath text,fileName text, type int)"));
            QVERIFY(db.transaction());
            for (int i = 0; i < 400; ++i)
                QVERIFY(query.exec(QStringLiteral("insert into alarmRelation values('A%1', '/cap/%1.png', "
                                                  "'Capture 2026-12-05 03:05:00', 5)")
                                       .arg(i % 7)));
            QVERIFY(db.commit());
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("maker"));

        // Keep the schema page, scribble over the rest.
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        QVERIFY(damaged.size() > 8 * 1024);
        for (qint64 at = 1024; at < damaged.size(); at += 1024)
            QVERIFY(damaged.seek(at) && damaged.write(QByteArray(512, '\xee')) == 512);
        damaged.close();

        static FakeAlarmService service;
        DataCache::Instance()->SetAlarmPtr(&service);
        AlarmVideoRelation& store = AlarmVideoRelation::_instance();
        // Readable or not at opening, the store answers with nothing and keeps going.
        for (const VIG_AlarmRelation& relation : store.getAlarmRelations("A1"))
            QCOMPARE(relation.alarmUid, QString("A1"));
        store.addRelation({"A9", "/cap/new.png", "Capture 2026-12-05 04:00:00", CaptureRelation});
        store.deleteRelation("A1", "/cap/1.png");
        store.deleteAlarmRelations("A2");
        AlarmBusiness::_instance().saveCaptureRelation("A3", "/cap/3.png");
        AlarmBusiness::_instance().saveRecordingRelation("A3", "D:\\rec\\20261205\\a-b-101010-d.vrec");
        QVERIFY(store.getAlarmRelations("A9").size() <= 1);
        // The damaged file is the operator's to repair: it is still there, not replaced behind their back.
        QVERIFY(QFile::exists(file));
    }
};

QTEST_MAIN(TestHostileCorruptStore)
#include "tst_hostile_corrupt_store.moc"
