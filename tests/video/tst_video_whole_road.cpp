// New alarms raised on the simulated server reach the pop-ups or the grid, and leave them once handled.

#include "ModuleTestSupport.h"

#include "frame/AlarmSignals.h"
#include "tables/AlarmMonitorPage.h"
#include "tables/AlarmMonitorTable.h"
#include "video/AlarmVideoCellWt.h"
#include "video/AlarmVideoCheckDlg.h"
#include "video/AlarmVideoCheckDlgManager.h"
#include "video/AlarmVideoCheckWt.h"
#include "video/AlarmVideosMonitorWt.h"

#include "BusinessConfig.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace VIG_ALARM_MOUDLE;

namespace {

const int Patience = 15000;

SimAlarmServer* server()
{
    return DataCache::Instance()->GetSimulator();
}

QStringList alarmsOf(AlarmVideoCellWt* cell)
{
    return cell && cell->checkWidget() ? cell->checkWidget()->alarmUids() : QStringList();
}

QStringList dialogAlarms(const QString& probeId)
{
    AlarmVideoCheckDlg* dlg = AlarmVideoCheckDlgManager::_instance().probeDialog(probeId);
    return dlg ? alarmsOf(dlg->cell()) : QStringList();
}

void clickHandle(AlarmVideoCellWt* cell)
{
    moduletest::acceptHandleDialog(QStringLiteral("checked"));
    cell->checkWidget()->findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
}

QString raise(const QString& probeId)
{
    QString error;
    const QString uid = server()->raiseAlarm(probeId, QString(), &error);
    if (uid.isEmpty())
        qWarning() << "raiseAlarm" << probeId << error;
    return uid;
}

} // namespace

class TestVideoWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void popUpDialogs();
    void embeddedGrid();
};

void TestVideoWholeRoad::initTestCase()
{
    VIG_SYSTEM_MODULE::BusinessConfig& config = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
    config.setAlarmVideoShowMode(0);
    config.setShowAlarmMap(false);
    config.setMaxVideoCheckDlgCount(4);
    QVERIFY(moduletest::startSimulatedServer());
}

void TestVideoWholeRoad::popUpDialogs()
{
    auto page = std::make_unique<AlarmMonitorPage>();
    QVERIFY(!page->videosMonitor());
    AlarmVideoCheckDlgManager& manager = AlarmVideoCheckDlgManager::_instance();
    QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);

    const QString door1 = raise("P0101");
    const QString door2 = raise("P0101");
    const QString pharmacy = raise("P0201");
    QVERIFY(!door1.isEmpty() && !door2.isEmpty() && !pharmacy.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(dialogAlarms("P0101").size(), 2, Patience);
    QTRY_COMPARE_WITH_TIMEOUT(dialogAlarms("P0201"), QStringList({pharmacy}), Patience);
    const QStringList doors = dialogAlarms("P0101");
    QVERIFY(doors.contains(door1) && doors.contains(door2));
    AlarmVideoCheckDlg* doorDlg = manager.probeDialog("P0101");
    AlarmVideoCheckDlg* pharmacyDlg = manager.probeDialog("P0201");
    QVERIFY(doorDlg != pharmacyDlg);
    QVERIFY(doorDlg->isVisible() && pharmacyDlg->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(page->monitorTable()->rowCount(), 3, Patience);

    // Handled from the dialog: both alarms in one request; the dialog leaves.
    clickHandle(doorDlg->cell());
    QTRY_VERIFY_WITH_TIMEOUT(doorDlg->isHidden(), Patience);
    QVERIFY(!manager.probeDialog("P0101"));
    QVERIFY(pharmacyDlg->isVisible());
    QVERIFY(sound.count() > 0); // the button silences the alarm

    // Marked false on a disarmed store.
    const int silenced = sound.count();
    VIG_BASE_MODULE::MessageBoxW::queueAnswer(1);
    pharmacyDlg->cell()->checkWidget()->findChild<QPushButton*>(QStringLiteral("falseAlarmBt"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(pharmacyDlg->isHidden(), Patience);
    QVERIFY(sound.count() >= silenced + 2); // the button, then the last dialog freed
    QVERIFY(!VIG_BASE_MODULE::WaitDialog::_instance().isShown());

    // A mode that is neither pop-ups nor the grid shows no video.
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(-1);
    moduletest::MainThreadSpy pushed(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush);
    QVERIFY(!raise("P0105").isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(pushed.count(), 1, Patience);
    QVERIFY(!manager.probeDialog("P0105"));
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(0);
}

void TestVideoWholeRoad::embeddedGrid()
{
    VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(1);
    auto page = std::make_unique<AlarmMonitorPage>();
    AlarmVideosMonitorWt* grid = page->videosMonitor();
    QVERIFY(grid);
    QCOMPARE(page->monitorTable()->height(), 190);
    page->resize(1200, 800);
    page->show();

    const QString tea = raise("P0401");
    const QString phones1 = raise("P0301");
    const QString phones2 = raise("P0301");
    QTRY_COMPARE_WITH_TIMEOUT(alarmsOf(grid->cell(1)).size(), 2, Patience);
    QCOMPARE(alarmsOf(grid->cell(0)), QStringList({tea}));
    QVERIFY(alarmsOf(grid->cell(1)).contains(phones1) && alarmsOf(grid->cell(1)).contains(phones2));
    QCOMPARE(grid->probeCell("P0401"), 0);
    QCOMPARE(grid->probeCell("P0301"), 1);
    QVERIFY(AlarmVideoCheckDlgManager::_instance().probeDialog("P0401") == nullptr);

    clickHandle(grid->cell(1));
    QTRY_VERIFY_WITH_TIMEOUT(grid->cell(1)->isWaiting(), Patience);
    QCOMPARE(grid->probeCell("P0301"), -1);
    QVERIFY(!grid->cell(0)->isWaiting());

    clickHandle(grid->cell(0));
    QTRY_COMPARE_WITH_TIMEOUT(grid->freeCellIndexes(), QList<int>({0, 1, 2, 3}), Patience);
}

QTEST_MAIN(TestVideoWholeRoad)
#include "tst_video_whole_road.moc"
