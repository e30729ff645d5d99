// Several operators on the embedded simulated server: another operator's mark on this operator's views, the
// marks this operator takes for a question (asking first when the alarm is another's), watch-only rights.
#include "ModuleTestSupport.h"

#include "frame/AlarmOperator.h"

#include "AlarmPresence.h"

using namespace VIG_ALARM_MOUDLE;

// The simulator's marks, and the marks this operator takes and releases.
class RecordingPresence : public AlarmPresence
{
public:
    QStringList log;
    void take(const QStringList& uids) override { log << "take " + uids.join(','); }
    void release(const QStringList& uids) override { log << "release " + uids.join(','); }
};

class TstOperatorMarks : public QObject
{
    Q_OBJECT

    SimAlarmServer* sim = nullptr;
    RecordingPresence presence;
    std::unique_ptr<AlarmMonitorTable> table;
    std::unique_ptr<AlarmVideosMonitorWt> grid;
    std::unique_ptr<AlarmDetailCheckWt> detail;
    int raised = 0;

    // A new alarm of the next probe, in the table (selected), a pop-up or the grid, and the detail view.
    VIG_AlarmInfo raise(const QString& view)
    {
        moduletest::MainThreadSpy pushed(&AlarmSignals::_instance(), &AlarmSignals::signalNewAlarmPush);
        sim->raiseAlarm(sim->probeIds().at(raised++));
        if (!QTest::qWaitFor([&] { return !pushed.isEmpty(); }, 15000))
            return VIG_AlarmInfo();
        const VIG_AlarmInfo alarm = pushed.at(0).first().value<VIG_AlarmInfo>();
        (view == "grid" ? grid->showAlarm(alarm) : AlarmVideoCheckDlgManager::_instance().showAlarm(alarm));
        detail->setAlarm(alarm, LiveVideoRelation);
        table->selectRow(table->getRowIndexByKeyValue(alarm.alarmUid));
        return alarm;
    }

    QWidget* viewOf(const QString& view, const VIG_AlarmInfo& alarm)
    {
        if (view == "table" || view == "detail")
            return view == "table" ? static_cast<QWidget*>(table.get()) : detail.get();
        if (view == "grid")
            return grid->cell(grid->probeCell(alarm.probeId))->checkWidget();
        return AlarmVideoCheckDlgManager::_instance().probeDialog(alarm.probeId)->cell()->checkWidget();
    }

    QString markShown(const QString& view, const VIG_AlarmInfo& alarm)
    {
        if (view == "table")
            return table->takenBy(table->getRowIndexByKeyValue(alarm.alarmUid));
        return viewOf(view, alarm)->findChild<QLabel*>("takenLabel")->text();
    }

    // The table's Deal and Mistaken, then Handle and False of the view.
    QVector<QObject*> handlingControls(const QString& view, const VIG_AlarmInfo& alarm)
    {
        QVector<QObject*> controls;
        for (QAction* action : table->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly).mid(0, 2))
            controls << action;
        for (const char* button : {"handleAlarmBt", "falseAlarmBt"})
            controls << viewOf(view, alarm)->findChild<QPushButton*>(button);
        return controls;
    }

    void retire(const VIG_AlarmInfo& alarm)
    {
        sim->handleAsOtherOperator(alarm.alarmUid, AlarmDealt, "done");
        QTRY_VERIFY_WITH_TIMEOUT(table->getAlarmInfo(alarm.alarmUid).state != AlarmNew, 15000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY((sim = moduletest::startSimulatedServer()));
        connect(sim->presence(), &AlarmPresence::takenChanged, this, [this](const QStringList& uids) {
            for (const QString& uid : uids)
                presence.setTaken({uid}, sim->presence()->takenBy(uid));
        });
        AlarmOperator::setPresence(&presence);
        table = std::make_unique<AlarmMonitorTable>();
        grid = std::make_unique<AlarmVideosMonitorWt>();
        detail = std::make_unique<AlarmDetailCheckWt>();
    }

    void cleanupTestCase() { AlarmOperator::setPresence(nullptr); }

    void anotherOperatorsMarkShowsUntilReleasedOrHandled_data()
    {
        QTest::addColumn<QString>("view");
        for (const char* view : {"table", "popup", "grid", "detail"})
            QTest::newRow(view) << QString(view);
    }

    void anotherOperatorsMarkShowsUntilReleasedOrHandled()
    {
        QFETCH(QString, view);
        const VIG_AlarmInfo alarm = raise(view);
        for (const char* name : {"Chen Hao", "", "Chen Hao"}) {
            sim->takeAsOtherOperator({alarm.alarmUid}, name);
            QTRY_COMPARE(markShown(view, alarm).section(QLatin1Char(' '), 0, 1), QString(name));
        }
        retire(alarm); // whether or not the server ends the mark of a handled alarm
        QCOMPARE(markShown("table", alarm), QString());
    }

    void questionsTakeAndRelease_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QList<int>>("answers"); // to "anyway?" (0 yes, 1 no), then to the false alarm
        QTest::addColumn<QStringList>("log");
        QTest::newRow("table, cancelled")
            << "table" << false << QList<int>{2} << QStringList{"take", "release"};
        QTest::newRow("pop-up, another's, no") << "popup" << true << QList<int>{1} << QStringList{};
        QTest::newRow("detail, another's, yes")
            << "detail" << true << QList<int>{0, 1} << QStringList{"take"};
        QTest::newRow("grid, sent") << "grid" << false << QList<int>{1} << QStringList{"take"};
    }

    void questionsTakeAndRelease()
    {
        QFETCH(QString, view);
        QFETCH(bool, taken);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, log);
        const VIG_AlarmInfo alarm = raise(view);
        sim->takeAsOtherOperator({alarm.alarmUid}, taken ? "Chen Hao" : "");
        QTRY_COMPARE(presence.takenBy(alarm.alarmUid).isEmpty(), !taken);
        for (int answer : answers)
            VIG_BASE_MODULE::MessageBoxW::queueAnswer(answer);
        moduletest::messages();
        presence.log.clear();
        const int waits = VIG_BASE_MODULE::WaitDialog::_instance().showCount();
        QObject* falseAlarm = handlingControls(view, alarm).at(view == "table" ? 1 : 3);
        QMetaObject::invokeMethod(falseAlarm, view == "table" ? "trigger" : "click");
        const bool sent = log == QStringList{"take"};
        QCOMPARE(VIG_BASE_MODULE::WaitDialog::_instance().showCount() - waits, int(sent));
        QCOMPARE(moduletest::messages().first().startsWith("Chen Hao is handling this alarm."), taken);
        QCOMPARE(presence.log.replaceInStrings(" " + alarm.alarmUid, ""), log);
        if (!sent)
            retire(alarm);
        QTRY_VERIFY(table->getAlarmInfo(alarm.alarmUid).state != AlarmNew);
    }

    void watchOnlyRightsHoldBackHandling()
    {
        const VIG_AlarmInfo alarm = raise("popup");
        for (AlarmPresence::Rights rights : {AlarmPresence::Watch, AlarmPresence::Handle}) {
            presence.setSelf({"Li Wei", "555", rights});
            for (const char* view : {"popup", "detail"}) {
                for (QObject* control : handlingControls(view, alarm)) {
                    QCOMPARE(control->property("enabled").toBool(), rights == AlarmPresence::Handle);
                    QCOMPARE(control->property("toolTip") == AlarmOperator::watchOnlyText(), !rights);
                }
            }
        }
        retire(alarm);
    }
};

QTEST_MAIN(TstOperatorMarks)
#include "tst_operator_marks.moc"
