// The whole module as the host starts it, against the embedded simulated server: an alarm is raised, shows
// in the monitor table and a pop-up, is handled there, is found handled in the records and opens in the
// detail tab. The module runs in Chinese, as the host's default language asks.
#include "ModuleTestSupport.h"

#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordTable.h"

#include <QComboBox>
#include <QTabWidget>

using namespace VIG_ALARM_MOUDLE;

static const int Patience = 15000;

class TstModuleWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void raisedHandledFoundAndOpened()
    {
        QDir(SimAlarmServer::defaultDataFolder()).removeRecursively();
        QDir(QStringLiteral("AlarmLocalDB")).removeRecursively();
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(
            VIG_SYSTEM_MODULE::AlarmVideosInPopUps);
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setShowAlarmMap(false);
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        VIG_BASE_MODULE::WaitDialog::_instance().setDisplayEnabled(false);
        SimAlarmServer* server = DataCache::Instance()->GetSimulator();
        QVERIFY2(server->scenarioError().isEmpty(), qPrintable(server->scenarioError()));

        AlarmModuleInit& entry = AlarmModuleInit::_instance();
        QVERIFY(!entry.getVideoAlarmForm());
        entry.moduleInit();
        auto* form = qobject_cast<VideoAlarmForm*>(entry.getVideoAlarmForm());
        QVERIFY(form);
        QScopedPointer<QWidget> hostOwnsTheForm(form);
        form->show();
        auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("报警监控                  "));
        QVERIFY(qApp->styleSheet().contains(QLatin1String("VIG_Alarm_Tab")));
        entry.recoveryToInitialState();
        QCOMPARE(entry.getVideoAlarmForm(), form);

        QString error;
        const QString uid = server->raiseAlarm(QStringLiteral("P0101"), QString(), &error);
        QVERIFY2(!uid.isEmpty(), qPrintable(error));
        AlarmMonitorTable* monitor = form->monitorPage()->monitorTable();
        QTRY_VERIFY_WITH_TIMEOUT(monitor->getRowIndexByKeyValue(uid) >= 0, Patience);
        AlarmVideoCheckDlgManager& manager = AlarmVideoCheckDlgManager::_instance();
        QTRY_VERIFY_WITH_TIMEOUT(manager.probeDialog(QStringLiteral("P0101")), Patience);
        AlarmVideoCheckDlg* dialog = manager.probeDialog(QStringLiteral("P0101"));
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->cell()->checkWidget()->alarmUids().contains(uid));

        moduletest::acceptHandleDialog(QStringLiteral("guard sent"));
        dialog->cell()->checkWidget()->findChild<QPushButton*>(QStringLiteral("handleAlarmBt"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->isHidden(), Patience);
        // The handle dialog closes the alarm unless the operator unticks "Close Alarm".
        QTRY_COMPARE_WITH_TIMEOUT(monitor->getAlarmInfo(monitor->getRowIndexByKeyValue(uid)).state,
                                  int(AlarmFinished), Patience);

        // The records: all stores, the finished ones.
        tabs->setCurrentIndex(1);
        auto* records = form->recordPage()->findChild<AlarmRecordTable*>(QStringLiteral("alarmRecordTab"));
        auto* states = form->recordPage()->findChild<QComboBox*>(QStringLiteral("alarmStateComBx"));
        QVERIFY(records && states);
        states->setCurrentIndex(AlarmFinished);
        QTest::mouseClick(form->recordPage()->findChild<QPushButton*>(QStringLiteral("searchBt")),
                          Qt::LeftButton);
        // The page's silent first search may have listed the alarm while it was new.
        const auto foundFinished = [records, &uid] {
            const int row = records->getRowIndexByKeyValue(uid);
            return row >= 0 && records->getAlarmInfo(row).state == AlarmFinished;
        };
        QTRY_VERIFY_WITH_TIMEOUT(foundFinished(), Patience);
        const int row = records->getRowIndexByKeyValue(uid);

        emit records->doubleClicked(records->model()->index(row, 12));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(form->detailView()->getAlarm().alarmUid, uid);
        QCOMPARE(tabs->tabText(2), QStringLiteral("报警详情                  "));
    }
};

QTEST_MAIN(TstModuleWholeRoad)
#include "tst_module_whole_road.moc"
