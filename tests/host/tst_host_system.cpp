#include "BasicData.h"
#include "BusinessConfig.h"
#include "SystemBasicInfo.h"
#include "SystemSignals.h"

#include <QSignalSpy>
#include <QtTest>

using namespace VIG_SYSTEM_MODULE;

class TestHostSystem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void settingsComeFromTheScenario();
    void alarmSettersChangeWhatGettersAnswer();
    void streamKindSignalsOnlyAChange();
    void permissionsAndStatus();
};

void TestHostSystem::init()
{
    QString error;
    QVERIFY2(
        VIG_DATA_MODULE::BasicData::_instance().loadScenario(VIG_SOURCE_DIR "/scenarios/demo.json", &error),
        qPrintable(error));
}

void TestHostSystem::settingsComeFromTheScenario()
{
    const AlarmConfigInfo config = BusinessConfig::_instance().getAlarmConfigInfoFromCache();
    // Modules read these by position: show mode, dialog count, two sound settings, NVR period.
    const int* integers = &config.alarmVideoShowMode;
    QCOMPARE((QVector<int>{integers[0], integers[1], integers[4], integers[5]}),
             (QVector<int>{0, 4, 30, 60}));
    QVERIFY(config.showAlarmMap);
    QCOMPARE(BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord,
             QStringLiteral("Store"));
    QCOMPARE(BusinessConfig::_instance().getVideoStreamConfigInfoFromCache().defaultStreamingMediaFlag, 1);
    QCOMPARE(SystemBasicInfo::_instance().getCurrentAppStatus(), AppRunning);
    QVERIFY(!SystemBasicInfo::_instance().getUserName().isEmpty());
    QVERIFY(!SystemBasicInfo::_instance().getUserTelephone().isEmpty());
}

void TestHostSystem::alarmSettersChangeWhatGettersAnswer()
{
    BusinessConfig& config = BusinessConfig::_instance();
    QSignalSpy changed(&SystemSignals::_instance(), &SystemSignals::signalAlarmConfigChanged);
    config.setAlarmVideoShowMode(1);
    config.setMaxVideoCheckDlgCount(2);
    config.setShowAlarmMap(false);
    config.setNvrPlaybackPeriod(10, 90);
    config.setStoreWord(QStringLiteral("Shop"));
    QCOMPARE(changed.count(), 5);

    const AlarmConfigInfo info = config.getAlarmConfigInfoFromCache();
    QCOMPARE(info.alarmVideoShowMode, 1);
    QCOMPARE(info.maxVideoCheckDlgCount, 2);
    QVERIFY(!info.showAlarmMap);
    QCOMPARE(info.nvrPlaybackSecondsBefore, 10);
    QCOMPARE(info.nvrPlaybackDuration, 90);
    QCOMPARE(config.getSystemCustomizeInfoFromCache().storeWord, QStringLiteral("Shop"));

    AlarmConfigInfo silent = info;
    silent.alarmVideoShowMode = -1;
    silent.alarmSoundMode = 0;
    config.setAlarmConfigInfo(silent);
    QCOMPARE(config.getAlarmConfigInfoFromCache().alarmVideoShowMode, -1);
    QCOMPARE(config.getAlarmConfigInfoFromCache().alarmSoundMode, 0);
    QCOMPARE(config.getAlarmConfigInfoFromCache().nvrPlaybackDuration, 90);
}

void TestHostSystem::streamKindSignalsOnlyAChange()
{
    QSignalSpy spy(&SystemSignals::_instance(), &SystemSignals::signalVideoViewStreamingMediaFlagChanged);
    BusinessConfig::_instance().setDefaultStreamKind(1);
    QCOMPARE(spy.count(), 0);
    BusinessConfig::_instance().setDefaultStreamKind(0);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), 0);
    QCOMPARE(BusinessConfig::_instance().getVideoStreamConfigInfoFromCache().defaultStreamingMediaFlag, 0);
}

void TestHostSystem::permissionsAndStatus()
{
    SystemBasicInfo& info = SystemBasicInfo::_instance();
    QVERIFY(info.checkUserPermission(QStringLiteral("VIEW_MAP")));
    QVERIFY(!info.checkUserPermission(QStringLiteral("view_map")));
    info.setUserPermission(QStringLiteral("VIEW_MAP"), false);
    QVERIFY(!info.checkUserPermission(QStringLiteral("VIEW_MAP")));
    info.setUserPermission(QStringLiteral("VIEW_MAP"), true);
    info.setUserPermission(QStringLiteral("VIEW_MAP"), true);
    QCOMPARE(info.getUserPermissions().count(QStringLiteral("VIEW_MAP")), 1);
    info.setUserPermissions({});
    QVERIFY(!info.checkUserPermission(QStringLiteral("VIEW_MAP")));

    info.setCurrentAppStatus(AppLocked);
    QVERIFY(info.getCurrentAppStatus() != 5);
    info.setCurrentAppStatus(5);
    QCOMPARE(info.getCurrentAppStatus(), AppRunning);
}

QTEST_MAIN(TestHostSystem)
#include "tst_host_system.moc"
