// The whole module started on a scenario file that is cut off in the middle: the host knows no store and
// the server no probe, both say so, and the module still starts, lists, books and handles the alarms the
// server sends.

#include "frame/AlarmModuleInit.h"
#include "frame/VideoAlarmForm.h"
#include "service/AlarmBusiness.h"
#include "tables/AlarmMonitorPage.h"
#include "tables/AlarmMonitorTable.h"

#include "AlarmData.h"
#include "BasicData.h"
#include "BusinessConfig.h"
#include "DataCache.h"
#include "MessageBoxW.h"
#include "SimAlarmServer.h"
#include "SystemBasicInfo.h"
#include "WaitDialog.h"

#include <QAction>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;

class TestHostileBrokenWorld : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDir(SimAlarmServer::defaultDataFolder()).removeRecursively();
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        QFile demo(QStringLiteral(VIG_SOURCE_DIR "/scenarios/demo.json"));
        QFile broken(QStringLiteral("broken.json"));
        QVERIFY(demo.open(QIODevice::ReadOnly) && broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(broken.write(demo.read(demo.size() / 2)) > 0);
        broken.close();
        qputenv("VIG_SCENARIO", QFileInfo(broken).absoluteFilePath().toUtf8());
    }

    void moduleRunsWithoutAWorld()
    {
        SimAlarmServer* server = DataCache::Instance()->GetSimulator();
        QVERIFY(server->scenarioError().contains(QStringLiteral("broken.json")));
        QVERIFY(server->probeIds().isEmpty());
        QString error;
        QVERIFY(server->raiseAlarm(QStringLiteral("P0101"), QString(), &error).isEmpty() && !error.isEmpty());
        QVERIFY(VIG_DATA_MODULE::BasicData::_instance().getStoreInfo("S001").storeName.isEmpty());

        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(
            VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
        AlarmModuleInit::_instance().moduleInit();
        auto* form = qobject_cast<VideoAlarmForm*>(AlarmModuleInit::_instance().getVideoAlarmForm());
        QVERIFY(form);
        form->show();
        AlarmMonitorTable* table = form->monitorPage()->monitorTable();

        // A stray alarm of a store nobody knows takes the whole road.
        AlarmData alarm;
        alarm.storeUid = "S001";
        alarm.deviceId = "D0101";
        alarm.probeId = "P0101";
        alarm.channelIndex = 1;
        alarm.state = AlarmNew;
        alarm.alarmTime = "2026-12-05 03:00:00";
        const QString uid = server->injectAlarm(alarm);
        QVERIFY(!uid.isEmpty());
        QTRY_COMPARE(table->rowCount(), 1);
        QCOMPARE(table->getRowKeyValue(0), uid);
        QCOMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 1);

        table->selectRow(0);
        VIG_BASE_MODULE::MessageBoxW::queueAnswer(1);
        for (QAction* action : table->findChildren<QAction*>()) {
            if (action->text() == QObject::tr("Mistaken Alarm"))
                action->trigger();
        }
        QTRY_COMPARE(AlarmBusiness::_instance().getStoreUnhandledAlarmsCount("S001"), 0);
        QTRY_COMPARE(table->getAlarmInfo(uid).state, int(AlarmMistaken));
        QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());
        delete form;
    }
};

QTEST_MAIN(TestHostileBrokenWorld)
#include "tst_hostile_broken_world.moc"
