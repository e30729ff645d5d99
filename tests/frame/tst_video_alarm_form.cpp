// Where "Back" returns after the detail tab, and which tab icon shows pressed.
#include "ModuleTestSupport.h"

#include <QTabWidget>

#include <memory>

using namespace VIG_ALARM_MOUDLE;

namespace {

const char* const icons[3][2] = {
    {":/images/alarmmonitor_normal.png", ":/images/alarmmonitor_press.png"},
    {":/images/alarmrecord_normal.png", ":/images/alarmrecord_press.png"},
    {":/images/alarmdetailcheck_normal.png", ":/images/alarmdetailcheck_press.png"},
};

bool iconIs(const QTabWidget* tabs, int tab, bool pressed)
{
    const QImage shown = tabs->tabIcon(tab).pixmap(32).toImage();
    const QImage expected = QIcon(QString::fromLatin1(icons[tab][pressed ? 1 : 0])).pixmap(32).toImage();
    return !expected.isNull() && shown == expected;
}

VIG_AlarmInfo alarm(const QString& uid)
{
    VIG_AlarmInfo info;
    info.alarmUid = uid;
    info.storeUid = QStringLiteral("S001");
    info.probeId = QStringLiteral("P0101");
    info.state = AlarmNew;
    return info;
}

void openDetail(const QString& uid)
{
    emit AlarmSignals::_instance().signalAlarmTableRecordDoubleClicked(alarm(uid), AlarmRelationType(0));
}

void back()
{
    emit AlarmSignals::_instance().signalSetAlarmDetailCheckWtVisible(false);
}

} // namespace

class TstVideoAlarmForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { moduletest::installFakeService(); }

    void init()
    {
        form = std::make_unique<VideoAlarmForm>(nullptr);
        form->show();
        tabs = form->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QVERIFY(tabs);
    }

    void cleanup() { form.reset(); }

    void backReturnsWhereTheDetailWasOpened_data()
    {
        QTest::addColumn<int>("fromTab");
        QTest::newRow("monitor") << 0;
        QTest::newRow("records") << 1;
    }

    void backReturnsWhereTheDetailWasOpened()
    {
        QFETCH(int, fromTab);
        tabs->setCurrentIndex(fromTab);
        openDetail(QStringLiteral("A1"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(form->lastTabIndex(), fromTab);
        QVERIFY(iconIs(tabs, 2, true));
        QVERIFY(iconIs(tabs, fromTab, false));

        back();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), fromTab);
        QVERIFY(iconIs(tabs, fromTab, true));
    }

    void secondAlarmReplacesTheFirstInTheSameTab()
    {
        openDetail(QStringLiteral("A1"));
        openDetail(QStringLiteral("A2"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(form->detailView()->getAlarm().alarmUid, QStringLiteral("A2"));
        QCOMPARE(form->lastTabIndex(), 2);
        // The last tab index is the detail tab itself: the tab widget chooses after the removal.
        back();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), 1);
    }

    void hostRequestsSwitchTabsWhileTheDetailStays()
    {
        emit AlarmSignals::_instance().signalSetAlarmDetailCheckWtVisible(true);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->currentIndex(), 2);
        emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(tabs->count(), 3);
        QVERIFY(form->detailView()->isHidden());
        emit AlarmSignals::_instance().signalChangeToAlarmMonitorTab();
        QCOMPARE(tabs->currentIndex(), 0);
        tabs->setCurrentIndex(1);
        back();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void newAlarmsWaitWhileTheOperatorWorks_data()
    {
        QTest::addColumn<int>("holdSeconds");
        QTest::addColumn<int>("workedIn"); // tab with input, -1 none
        QTest::addColumn<bool>("stays");
        QTest::newRow("working in the records") << 30 << 1 << true;
        QTest::newRow("working in a detail") << 30 << 2 << true;
        QTest::newRow("idle") << 30 << -1 << false;
        QTest::newRow("always switch") << 0 << 1 << false;
    }

    void newAlarmsWaitWhileTheOperatorWorks()
    {
        QFETCH(int, holdSeconds);
        QFETCH(int, workedIn);
        QFETCH(bool, stays);
        VIG_SYSTEM_MODULE::BusinessConfig& settings = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
        VIG_SYSTEM_MODULE::AlarmConfigInfo config = settings.getAlarmConfigInfoFromCache();
        config.monitorTabHoldSeconds = holdSeconds;
        settings.setAlarmConfigInfo(config);
        openDetail(QStringLiteral("A1"));
        tabs->setCurrentIndex(workedIn < 0 ? 1 : workedIn);
        if (workedIn >= 0)
            QTest::mouseClick(tabs->currentWidget(), Qt::LeftButton);
        for (int n = 0; n < 2; ++n)
            emit AlarmSignals::_instance().signalChangeToAlarmMonitorTab();
        QCOMPARE(tabs->currentIndex(), stays ? workedIn : 0);
        QCOMPARE(form->unseenAlarmCount(), stays ? 2 : 0);
        QCOMPARE(tabs->tabText(0),
                 stays ? QString("Alarm Monitor (2 new)") : QString("Alarm Monitor                  "));
        tabs->setCurrentIndex(0);
        QCOMPARE(form->unseenAlarmCount(), 0);
        QCOMPARE(tabs->tabText(0), QString("Alarm Monitor                  "));
        config.monitorTabHoldSeconds = 30;
        settings.setAlarmConfigInfo(config);
    }

    void bookedBeforeTheFormThenHandledInEitherOrder_data()
    {
        QTest::addColumn<int>("row"); // 4: the push first, 2: a false alarm, 1: the grid
        for (int row = 0; row < 8; ++row)
            QTest::addRow("%s first, %s, %s", row & 4 ? "push" : "answer", row & 2 ? "false" : "handled",
                          row & 1 ? "grid" : "pop-up")
                << row;
    }

    // Alarms booked before the form show oldest first, as if they came now, but not one whose handling has
    // come. A handling's answer and its push, in either order, leave one handled row each and no view.
    void bookedBeforeTheFormThenHandledInEitherOrder()
    {
        using namespace moduletest;
        QFETCH(int, row);
        form.reset();
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().setAlarmVideoShowMode(row & 1);
        VIG_SYSTEM_MODULE::SystemBasicInfo::_instance().setCurrentAppStatus(VIG_SYSTEM_MODULE::AppRunning);
        QList<AlarmData> alarms;
        for (char n : {'2', '0', '1'}) {
            alarms << AlarmData{};
            alarms.last().alarmUid = QTest::currentDataTag() + std::string(1, n);
            alarms.last().storeUid = "S001";
            alarms.last().probeId = "P0101";
            alarms.last().alarmTime = std::string("2026-12-05 04:00:0") + n;
            deliverNew(alarms.last());
        }
        deliverPush(handledRecord(alarms.takeFirst(), {})); // its unbooking still queued
        service().waitForDelivery();
        init();
        AlarmMonitorTable* table = form->monitorPage()->monitorTable();
        StoreUnhadledAlarmsTable store;
        store.updateData("S001");
        const auto shown = [&] {
            AlarmVideosMonitorWt* grid = form->monitorPage()->videosMonitor();
            const bool view = grid ? grid->probeCell("P0101") >= 0
                                   : AlarmVideoCheckDlgManager::_instance().probeDialog("P0101") != nullptr;
            return QStringList{table->getRowKeyValue(0), table->getRowKeyValue(1), view ? "view" : ""};
        };
        QTRY_COMPARE(shown(), (QStringList{QString::fromStdString(alarms[1].alarmUid),
                                           QString::fromStdString(alarms[0].alarmUid), "view"}));

        table->selectAll();
        row & 2 ? VIG_BASE_MODULE::MessageBoxW::queueAnswer(1) : acceptHandleDialog("seen");
        for (QAction* action : table->findChildren<QAction*>())
            if (action->text() == QString(row & 2 ? "Mistaken Alarm" : "Deal Alarm"))
                action->trigger();
        const FakeAlarmService::Call request = handleRequests().value(0);
        AlarmHandlerData handler;
        handler.state = row & 2 ? AlarmMistaken : AlarmFinished;
        for (bool push : {bool(row & 4), !(row & 4)}) {
            if (!push)
                answer(request.uids, 0, request.texts.value(1));
            for (int n = 0; push && n < alarms.size(); ++n)
                deliverPush(handledRecord(alarms[n], handler));
            flush();
        }
        QTRY_COMPARE(store.rowCount(), 0);
        // The push of the alarm handled before the form was still queued for the main thread: one more row.
        QCOMPARE(table->rowCount(), 3);
        QSet<QString> uids;
        for (int r = 0; r < table->rowCount(); ++r) {
            uids.insert(table->getRowKeyValue(r));
            QVERIFY(table->getAlarmInfo(r).state != AlarmNew);
        }
        QCOMPARE(uids.size(), 3);
        QCOMPARE(shown().last(), QString());
    }

private:
    std::unique_ptr<VideoAlarmForm> form;
    QTabWidget* tabs = nullptr;
};

QTEST_MAIN(TstVideoAlarmForm)
#include "tst_video_alarm_form.moc"
