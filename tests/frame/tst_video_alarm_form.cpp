// Where "Back" returns after the detail tab, and which tab icon shows pressed.
#include "ModuleTestSupport.h"

#include "detail/AlarmDetailCheckWt.h"
#include "frame/AlarmSignals.h"
#include "frame/VideoAlarmForm.h"

#include "ModuleAccessSignals.h"

#include <QTabWidget>
#include <QtTest>

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

private:
    std::unique_ptr<VideoAlarmForm> form;
    QTabWidget* tabs = nullptr;
};

QTEST_MAIN(TstVideoAlarmForm)
#include "tst_video_alarm_form.moc"
