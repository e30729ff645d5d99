// Several operators on the embedded simulated server: another operator's mark on this operator's views, the
// marks this operator takes for a question (asking first when the alarm is another's), and watch-only rights.
#include "ModuleTestSupport.h"

#include "frame/AlarmOperator.h"

#include "AlarmPresence.h"

using namespace VIG_ALARM_MOUDLE;

namespace {

// The simulator's marks, and the marks this operator takes and releases.
class RecordingPresence : public AlarmPresence
{
public:
    QStringList log;
    void take(const QStringList& uids) override { log << "take " + uids.join(','); }
    void release(const QStringList& uids) override { log << "release " + uids.join(','); }
};

SimAlarmServer* sim()
{
    return DataCache::Instance()->GetSimulator();
}

} // namespace

class TstOperatorMarks : public QObject
{
    Q_OBJECT

    RecordingPresence presence;
    std::unique_ptr<AlarmMonitorTable> table;
    std::unique_ptr<AlarmVideosMonitorWt> grid;
    std::unique_ptr<AlarmDetailCheckWt> detail;
    int raised = 0;

    // A new alarm of the next probe, shown in the table, the view and the detail view.
    VIG_AlarmInfo raise(const QString& view)
    {
        moduletest::MainThreadSpy pushed(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush);
        sim()->raiseAlarm(sim()->probeIds().at(raised++ % sim()->probeIds().size()));
        if (!QTest::qWaitFor([&] { return !pushed.isEmpty(); }, 15000))
            return VIG_AlarmInfo();
        const VIG_AlarmInfo alarm = pushed.at(0).first().value<VIG_AlarmInfo>();
        (view == "grid" ? grid->showAlarm(alarm) : AlarmVideoCheckDlgManager::_instance().showAlarm(alarm));
        detail->setAlarm(alarm, LiveVideoRelation);
        table->selectRow(table->getRowIndexByKeyValue(alarm.alarmUid));
        return alarm;
    }

    AlarmVideoCheckWt* checkWidget(const QString& view, const VIG_AlarmInfo& alarm)
    {
        if (view == "grid")
            return grid->cell(grid->probeCell(alarm.probeId))->checkWidget();
        return AlarmVideoCheckDlgManager::_instance().probeDialog(alarm.probeId)->cell()->checkWidget();
    }

    // What the view shows of other operators, and whether its Handle and False may be used.
    QString markShown(const QString& view, const VIG_AlarmInfo& alarm)
    {
        if (view == "table")
            return table->takenBy(table->getRowIndexByKeyValue(alarm.alarmUid));
        QWidget* shown = view == "detail" ? static_cast<QWidget*>(detail.get()) : checkWidget(view, alarm);
        return shown->findChild<QLabel*>("takenLabel")->text();
    }

    // Deal, Mistaken, Delete.
    QAction* tableAction(int index)
    {
        return table->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly).at(index);
    }

    QVector<bool> handlingEnabled(const VIG_AlarmInfo& alarm)
    {
        QVector<bool> enabled{tableAction(0)->isEnabled(), tableAction(1)->isEnabled()};
        for (QWidget* view :
             {static_cast<QWidget*>(detail.get()), static_cast<QWidget*>(checkWidget("popup", alarm))})
            for (const char* button : {"handleAlarmBt", "falseAlarmBt"})
                enabled << view->findChild<QPushButton*>(button)->isEnabled();
        return enabled;
    }

    void retire(const VIG_AlarmInfo& alarm)
    {
        sim()->handleAsOtherOperator(alarm.alarmUid, AlarmDealt, "done");
        QTRY_VERIFY_WITH_TIMEOUT(table->getAlarmInfo(alarm.alarmUid).state == AlarmDealt, 15000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(moduletest::startSimulatedServer());
        sim()->setGeneratorRate(0);
        AlarmPresence* simulated = sim()->presence();
        connect(simulated, &AlarmPresence::takenChanged, this, [this, simulated](const QStringList& uids) {
            for (const QString& uid : uids)
                presence.setTaken({uid}, simulated->takenBy(uid));
        });
        AlarmOperator::setPresence(&presence);
        table = std::make_unique<AlarmMonitorTable>();
        grid = std::make_unique<AlarmVideosMonitorWt>();
        detail = std::make_unique<AlarmDetailCheckWt>();
    }

    void cleanupTestCase() { AlarmOperator::setPresence(nullptr); }

    void anotherOperatorsMarkShowsUntilReleased_data()
    {
        QTest::addColumn<QString>("view");
        for (const char* view : {"table", "popup", "grid", "detail"})
            QTest::newRow(view) << QString(view);
    }

    void anotherOperatorsMarkShowsUntilReleased()
    {
        QFETCH(QString, view);
        const VIG_AlarmInfo alarm = raise(view);
        sim()->takeAsOtherOperator({alarm.alarmUid}, "Chen Hao");
        QTRY_VERIFY(markShown(view, alarm).contains("Chen Hao"));
        sim()->takeAsOtherOperator({alarm.alarmUid}, QString());
        QTRY_VERIFY(markShown(view, alarm).isEmpty());
        sim()->takeAsOtherOperator({alarm.alarmUid}, "Chen Hao");
        QTRY_VERIFY(markShown("table", alarm).contains("Chen Hao"));
        retire(alarm); // a handled alarm shows no mark, whether or not the server has ended it
        QCOMPARE(markShown("table", alarm), QString());
    }

    void questionsTakeAndRelease_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QList<int>>("answers"); // take anyway 0, not 1; then the false-alarm question
        QTest::addColumn<bool>("sent");
        QTest::newRow("table, cancelled") << "table" << false << QList<int>{2} << false;
        QTest::newRow("pop-up, another's, not anyway") << "popup" << true << QList<int>{1} << false;
        QTest::newRow("detail, another's, anyway") << "detail" << true << QList<int>{0, 1} << true;
        QTest::newRow("grid, sent") << "grid" << false << QList<int>{1} << true;
    }

    void questionsTakeAndRelease()
    {
        QFETCH(QString, view);
        QFETCH(bool, taken);
        QFETCH(QList<int>, answers);
        QFETCH(bool, sent);
        const VIG_AlarmInfo alarm = raise(view);
        if (taken) {
            sim()->takeAsOtherOperator({alarm.alarmUid}, "Chen Hao");
            QTRY_VERIFY(!presence.takenBy(alarm.alarmUid).isEmpty());
        }
        for (int answer : answers)
            VIG_BASE_MODULE::MessageBoxW::queueAnswer(answer);
        moduletest::messages();
        presence.log.clear();
        const int waits = VIG_BASE_MODULE::WaitDialog::_instance().showCount();
        if (view == "table")
            tableAction(1)->trigger();
        else
            (view == "detail" ? static_cast<QWidget*>(detail.get()) : checkWidget(view, alarm))
                ->findChild<QPushButton*>("falseAlarmBt")
                ->click();
        QCOMPARE(VIG_BASE_MODULE::WaitDialog::_instance().showCount() - waits, sent ? 1 : 0);
        QCOMPARE(moduletest::messages().first().contains("Chen Hao is handling this alarm"), taken);
        QStringList log;
        if (!taken || answers.first() == 0)
            log << "take " + alarm.alarmUid
                << (sent ? QStringList() : QStringList{"release " + alarm.alarmUid});
        QCOMPARE(presence.log, log);
        if (!sent)
            retire(alarm);
        QTRY_VERIFY(table->getAlarmInfo(alarm.alarmUid).state != AlarmNew);
    }

    void watchOnlyRightsHoldBackHandling()
    {
        const VIG_AlarmInfo alarm = raise("popup");
        const QVector<bool> all(6, true);
        QCOMPARE(handlingEnabled(alarm), all);
        presence.setSelf({"Li Wei", "555", AlarmPresence::Watch});
        QCOMPARE(handlingEnabled(alarm), QVector<bool>(6, false));
        QCOMPARE(detail->findChild<QPushButton*>("handleAlarmBt")->toolTip(), AlarmOperator::watchOnlyText());
        presence.setSelf({"Li Wei", "555", AlarmPresence::Handle});
        QCOMPARE(handlingEnabled(alarm), all);
        retire(alarm);
    }
};

QTEST_MAIN(TstOperatorMarks)
#include "tst_operator_marks.moc"
