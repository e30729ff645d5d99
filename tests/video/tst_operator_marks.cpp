// Several operators: another's mark on this operator's views, marks taken for a question, watch-only rights.
#include "ModuleTestSupport.h"
#include "TestMain.h"

#include "frame/AlarmOperator.h"

using namespace VIG_ALARM_MOUDLE;

namespace {

class RecordingPresence : public AlarmPresence
{
public:
    QStringList log;
    void take(const QStringList& uids) override { log << "take " + uids.join(','); }
    void release(const QStringList& uids) override { log << "release " + uids.join(','); }
};

} // namespace

class TstOperatorMarks : public QObject
{
    Q_OBJECT

    SimAlarmServer* sim = nullptr;
    RecordingPresence presence;
    std::unique_ptr<AlarmMonitorTable> table;
    std::unique_ptr<AlarmVideosMonitorWt> grid;
    std::unique_ptr<AlarmDetailCheckWt> detail;
    int raised = 0;
    VIG_AlarmInfo alarm;

    // A new alarm of the next probe, in the table (selected), a pop-up or the grid, and the detail view.
    void raise(const QString& view)
    {
        alarm = moduletest::raisedAlarm(sim, sim->probeIds().at(raised++));
        QVERIFY(!alarm.alarmUid.isEmpty());
        (view == "grid" ? grid->showAlarm(alarm) : AlarmVideoCheckDlgManager::_instance().showAlarm(alarm));
        detail->setAlarm(alarm, LiveVideoRelation);
        table->selectRow(table->getRowIndexByKeyValue(alarm.alarmUid));
    }

    // Its mark shown, its Handle and False (the table's Deal and Mistaken).
    std::pair<QString, QVector<QObject*>> viewOf(const QString& view)
    {
        const QList<QAction*> menu = table->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
        if (view == "table")
            return {table->takenBy(table->getRowIndexByKeyValue(alarm.alarmUid)), {menu.at(0), menu.at(1)}};
        QWidget* shown = detail.get();
        if (view == "grid")
            shown = grid->cell(grid->probeCell(alarm.probeId))->checkWidget();
        else if (view == "popup")
            shown = AlarmVideoCheckDlgManager::_instance().probeDialog(alarm.probeId)->cell()->checkWidget();
        return {shown->findChild<QLabel*>("takenLabel")->text(),
                {shown->findChild<QPushButton*>("handleAlarmBt"),
                 shown->findChild<QPushButton*>("falseAlarmBt")}};
    }

    void retire()
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
        raise(view);
        for (const char* name : {"Chen Hao", "", "Chen Hao"}) {
            sim->takeAsOtherOperator({alarm.alarmUid}, name);
            QTRY_COMPARE(viewOf(view).first.section(QLatin1Char(' '), 0, 1), QString(name));
        }
        retire(); // whether or not the server ends the mark of a handled alarm
        QCOMPARE(viewOf("table").first, QString());
    }

    void questionsTakeAndRelease_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QList<int>>("answers"); // to "anyway?" (0 yes, 1 no), then to the false alarm
        QTest::addColumn<QStringList>("log");
        QTest::newRow("table, cancelled") << "table" << QList<int>{2} << QStringList{"take", "release"};
        QTest::newRow("pop-up, another's, no") << "popup" << QList<int>{1} << QStringList{};
        QTest::newRow("detail, another's, yes") << "detail" << QList<int>{0, 1} << QStringList{"take"};
        QTest::newRow("grid, sent") << "grid" << QList<int>{1} << QStringList{"take"};
        for (const char* view : {"table", "popup", "detail"})
            QTest::newRow(view + QByteArray(", watch only")) << view << QList<int>{} << QStringList{};
    }

    void questionsTakeAndRelease()
    {
        QFETCH(QString, view);
        const QByteArray tag = QTest::currentDataTag();
        const bool taken = tag.contains("another's"), rights = !tag.contains("watch only");
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, log);
        raise(view);
        sim->takeAsOtherOperator({alarm.alarmUid}, taken ? "Chen Hao" : "");
        presence.setSelf({"Li Wei", "555", rights ? AlarmPresence::Handle : AlarmPresence::Watch});
        for (int answer : answers)
            VIG_BASE_MODULE::MessageBoxW::queueAnswer(answer);
        moduletest::messages();
        presence.log.clear();
        const int waits = VIG_BASE_MODULE::WaitDialog::_instance().showCount();
        for (QObject* control : viewOf(view).second) {
            QCOMPARE(control->property("enabled").toBool(), rights);
            QCOMPARE(control->property("toolTip") == AlarmOperator::watchOnlyText(), !rights);
        }
        QMetaObject::invokeMethod(viewOf(view).second.at(1), view == "table" ? "trigger" : "click");
        const bool sent = log == QStringList{"take"};
        QCOMPARE(VIG_BASE_MODULE::WaitDialog::_instance().showCount() - waits, int(sent));
        QCOMPARE(moduletest::messages().value(0).startsWith("Chen Hao is handling this alarm."), taken);
        QCOMPARE(presence.log.replaceInStrings(" " + alarm.alarmUid, ""), log);
        if (!sent)
            retire();
        QTRY_VERIFY(table->getAlarmInfo(alarm.alarmUid).state != AlarmNew);
    }
};

VIG_TEST(tst_operator_marks, TstOperatorMarks)
#include "tst_operator_marks.moc"
