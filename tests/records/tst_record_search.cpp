#include "ModuleTestSupport.h"

#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordSearchWt.h"
#include "records/AlarmRecordTable.h"

#include "ModuleInitialization.h"
#include "PageTurningWidget.h"
#include "StoreData.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>

using namespace VIG_ALARM_MOUDLE;
using namespace moduletest;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::PageTurningWidget;
using VIG_BASE_MODULE::WaitDialog;

namespace {

// The last count request's requester, which its answer echoes.
QString countRequester;

QList<FakeAlarmService::Call> takeCalls(const QString& operation)
{
    QList<FakeAlarmService::Call> taken;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation == QLatin1String("RequestAlarmRecordsCount"))
            countRequester = call.texts.value(3);
        if (call.operation == operation)
            taken.append(call);
    }
    return taken;
}

// The page requests since the last look: how many, and the first one's first record and count.
QList<int> paging()
{
    const QList<FakeAlarmService::Call> requests = takeCalls("RequestAlarmRecords");
    return {requests.size(), requests.value(0).first, requests.value(0).count};
}

void answerCount(int count, int result = 0, QString requester = QString())
{
    takeCalls(QString());
    if (requester.isNull())
        requester = countRequester;
    service().deliver([count, result, requester](IAlarmEvent* handler) {
        handler->OnAlarmRecordsCount(count, requester.toUtf8().constData(), result,
                                     result == 0 ? "" : "server down");
    });
    flush();
}

AlarmData record(const QString& uid, int state)
{
    AlarmData alarm = recordOf(uid);
    alarm.describe = "door open";
    alarm.lastHandleNote = "checked";
    alarm.state = state;
    return alarm;
}

void answerRecords(const std::vector<AlarmData>& records, int result = 0)
{
    service().deliver([records, result](IAlarmEvent* handler) {
        handler->OnAlarmRecords(records, result, result == 0 ? "" : "server down");
    });
    flush();
}

// A page of count records in one state.
void answerPage(int count, int state = AlarmNew)
{
    std::vector<AlarmData> records;
    for (int i = 0; i < count; ++i)
        records.push_back(record(QStringLiteral("R%1").arg(i), state));
    answerRecords(records);
}

QString day(const QDate& date)
{
    return date.toString("yyyy-MM-dd");
}

// The widgets of a search form, by their object names.
struct Form
{
    AlarmRecordSearchWt* widget;
    QDateEdit* start = widget->findChild<QDateEdit*>("startTimeEdit");
    QDateEdit* end = widget->findChild<QDateEdit*>("endTimeEdit");
    QComboBox* stores = widget->findChild<QComboBox*>("storeComBx");
    QComboBox* states = widget->findChild<QComboBox*>("alarmStateComBx");
    AlarmRecordTable* table = widget->findChild<AlarmRecordTable*>("alarmRecordTab");
    PageTurningWidget* pages = widget->findChild<PageTurningWidget*>("pageTurningWt");

    void search() const { QTest::mouseClick(widget->findChild<QPushButton*>("searchBt"), Qt::LeftButton); }
    // Whether the previous and the next page can be asked for.
    QList<bool> turns() const
    {
        return {pages->previousButton()->isEnabled(), pages->nextButton()->isEnabled()};
    }
};

} // namespace

class TestRecordSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installFakeService();
        QVERIFY(VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo().size() >= 3);
    }

    void init()
    {
        resetCase();
        WaitDialog::_instance().hideWaitDialog();
        for (int i = 0; i < 4; ++i)
            MessageBoxW::queueAnswer(1);
    }

    void cleanup() { MessageBoxW::clearQueuedAnswers(); }

    void defaultSearchIsSilent()
    {
        const int shows = WaitDialog::_instance().showCount();
        AlarmRecordSearchWt search(nullptr);

        const QDate today = QDate::currentDate();
        const QDate monthAgo = today.addMonths(-1);
        QList<FakeAlarmService::Call> counts = takeCalls("RequestAlarmRecordsCount");
        QCOMPARE(counts.size(), 1);
        QCOMPARE(QVariantList({QStringList(counts.at(0).texts.mid(0, 3)), counts.at(0).number}),
                 QVariantList({QStringList({"", day(monthAgo) + " 00:00:00", day(today) + " 23:59:59"}),
                               int(AlarmNew)}));

        // A failure says nothing and asks for nothing more.
        answerCount(0, 503);
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty());

        search.searchDefaultUnhandled();
        answerCount(7);
        const QList<FakeAlarmService::Call> pages = takeCalls("RequestAlarmRecords");
        QCOMPARE(QVariantList({pages.size(), pages.value(0).texts, pages.value(0).number}),
                 QVariantList({1, QStringList(counts.at(0).texts.mid(0, 3)), int(AlarmNew)}));
        answerRecords({}, 503);

        QCOMPARE(WaitDialog::_instance().showCount(), shows);
        QVERIFY(!WaitDialog::_instance().isShown() && MessageBoxW::calls().isEmpty());
    }

    void pageCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("label");
        QTest::newRow("45 records") << 45 << 3 << "Page 1 of 3";
        QTest::newRow("40 records") << 40 << 2 << "Page 1 of 2";
        QTest::newRow("no record") << 0 << 0 << "No alarm matches the search.";
    }

    void pageCounts()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        QFETCH(QString, label);
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        service().takeCalls();
        WaitDialog& wait = WaitDialog::_instance();

        form.search();
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").size(), 1);
        QVERIFY(wait.isShown());
        answerCount(count);
        QCOMPARE(form.pages->recordsCount(), count);
        QVERIFY(wait.isShown());
        QCOMPARE(paging(), QList<int>({1, 0, 20}));

        answerPage(qMin(count, 20));
        QVERIFY(!wait.isShown());
        QCOMPARE(form.table->rowCount(), qMin(count, 20));
        QCOMPARE(form.turns(), QList<bool>({false, pages > 1}));
        QCOMPARE(search.findChild<QLabel*>("pageLabel")->text(), label);
        if (pages < 2)
            return;

        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, (pages - 1) * 20, 20}));
        QVERIFY(wait.isShown());
        QCOMPARE(form.table->rowCount(), 0);
        answerPage(count - (pages - 1) * 20);
        QCOMPARE(form.turns(), QList<bool>({true, false}));

        QTest::mouseClick(form.pages->previousButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, (pages - 2) * 20, 20}));
        answerPage(20);
        QCOMPARE(form.turns(), QList<bool>({pages > 2, true}));
    }

    void countPerPageKeepsTheLastCriteria()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        const QDate day1(2025, 11, 3);
        form.end->setDate(day1.addDays(9));
        form.start->setDate(day1);
        form.stores->setCurrentIndex(2);
        const QString storeUid = form.stores->currentData().toString();
        form.states->setCurrentIndex(AlarmDealt);
        service().takeCalls();

        form.search();
        const QStringList criteria{storeUid, day(day1) + " 00:00:00", day(day1.addDays(9)) + " 23:59:59"};
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3), criteria);
        answerCount(130);
        takeCalls("RequestAlarmRecords");
        answerPage(20, AlarmDealt);

        // What the widgets show now is not searched until the operator asks for it.
        form.stores->setCurrentIndex(0);
        form.states->setCurrentIndex(0);
        form.start->setDate(day1.addDays(-30));

        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        FakeAlarmService::Call last = takeCalls("RequestAlarmRecords").value(0);
        QCOMPARE(QVariantList({last.first, last.texts, last.number}),
                 QVariantList({120, criteria, int(AlarmDealt)}));
        answerPage(10, AlarmDealt);

        // 50 a page: back to page 1, and the 130 records of the last count make 3 pages.
        QComboBox* perPage = form.pages->numPerPageBox();
        perPage->setCurrentIndex(perPage->findData(50));
        last = takeCalls("RequestAlarmRecords").value(0);
        QCOMPARE(QVariantList({last.first, last.count, last.texts}), QVariantList({0, 50, criteria}));
        QVERIFY(takeCalls("RequestAlarmRecordsCount").isEmpty());
        answerPage(50, AlarmDealt);
        QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
        QCOMPARE(paging(), QList<int>({1, 100, 50}));

        // A stray count per page of 0 is ignored: nothing is divided by it.
        search.slotCountPerPageChanged(0);
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty());
    }

    void failuresAreShownToTheOperatorOnly()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        answerCount(3);
        answerPage(3);
        QCOMPARE(form.table->rowCount(), 3);
        service().takeCalls();

        form.search();
        answerCount(0, 503);
        QVERIFY(!WaitDialog::_instance().isShown() && takeCalls("RequestAlarmRecords").isEmpty());
        // The rows and pages of the last good search are not this search's.
        QCOMPARE(QVariantList({form.table->rowCount(), form.pages->recordsCount(),
                               form.pages->nextButton()->isEnabled()}),
                 QVariantList({0, 0, false}));
        QCOMPARE(messages(), QStringList({QObject::tr("Get records count failed.")}));

        form.search();
        answerCount(45);
        answerPage(20);
        QVERIFY(form.pages->nextButton()->isEnabled());
        QTest::mouseClick(form.pages->nextButton(), Qt::LeftButton);
        answerRecords({}, 503);
        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(form.table->rowCount(), 0);
        QCOMPARE(messages(), QStringList({QObject::tr("Get records infomation failed.")}));
        // The buttons stay as they were for page 1.
        QCOMPARE(form.turns(), QList<bool>({false, true}));
    }

    void recordsInOrderAndUntouchedByPushes()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        const QStringList criteria = takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3);
        answerCount(3);
        answerRecords({record("A", AlarmNew), record("B", AlarmDealt), record("C", AlarmFinished)});
        QCOMPARE(keys(*form.table), QStringList({"A", "B", "C"}));
        QCOMPARE(form.table->item(0, 12)->foreground().color(), QColor("#ff6e89"));
        // A handled alarm shows its last note, not its description.
        QCOMPARE(form.table->item(1, 20)->text(), QString("checked"));

        // The service's handled push of a shown alarm changes nothing.
        AlarmHandlerData finished;
        finished.state = AlarmFinished;
        deliverPush(handledRecord(record("A", AlarmNew), finished));
        flush();
        QCOMPARE(form.table->getAlarmInfo("A").state, int(AlarmNew));
        QCOMPARE(form.table->item(0, 20)->text(), QString("door open"));

        // Handled from the table's menu: once the batch ends, the last search runs again from page 1.
        form.table->selectRow(0);
        triggerAction(form.table, QObject::tr("Mistaken Alarm"));
        const QList<FakeAlarmService::Call> requests = handleRequests();
        QCOMPARE(requests.size(), 1);
        answer({"A"}, 0, requests.at(0).texts.value(1));
        QCOMPARE(takeCalls("RequestAlarmRecordsCount").value(0).texts.mid(0, 3), criteria);
    }

    // The host's late-month check replaces the operator's search, on criteria of its own and without a wait;
    // answers of the searches it replaced are dropped.
    void lateMonthCheckReplacesTheSearch()
    {
        AlarmRecordPage page(nullptr);
        Form form{page.findChild<AlarmRecordSearchWt*>()};
        const QString silent = (takeCalls(QString()), countRequester);
        form.stores->setCurrentIndex(2);
        form.states->setCurrentIndex(AlarmDealt);
        form.start->setDate(QDate(2024, 1, 1));
        form.search();
        const QString operatorSearch = (takeCalls(QString()), countRequester);
        answerCount(5, 0, silent); // the silent search's late count is not the operator's
        QVERIFY(takeCalls("RequestAlarmRecords").isEmpty() && WaitDialog::_instance().isShown());
        const int searchShows = WaitDialog::_instance().showCount();

        emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
        QVERIFY(!WaitDialog::_instance().isShown());
        const QDate today = QDate::currentDate();
        const FakeAlarmService::Call count = takeCalls("RequestAlarmRecordsCount").value(0);
        QCOMPARE(count.texts.mid(0, 3),
                 QStringList({"", day(today.addMonths(-1)) + " 00:00:00", day(today) + " 23:59:59"}));
        QCOMPARE(QList<int>({count.number, form.stores->currentIndex(), form.states->currentIndex()}),
                 QList<int>({AlarmNew, 0, 1}));
        QCOMPARE(form.start->date(), today.addMonths(-1));
        QCOMPARE(form.table->horizontalHeaderItem(20)->text(),
                 QObject::tr("New Alarm Description")); // the column follows the state
        answerCount(9, 0, operatorSearch);
        answerPage(9); // not asked for
        QCOMPARE(form.table->rowCount(), 0);

        answerCount(45);
        QCOMPARE(takeCalls("RequestAlarmRecords").value(0).first, 0);
        answerPage(20);
        QCOMPARE(form.table->rowCount(), 20);
        QCOMPARE(form.widget->findChild<QLabel*>("pageLabel")->text(), QString("Page 1 of 3"));
        QCOMPARE(WaitDialog::_instance().showCount(), searchShows);
    }

    void controlsAnswerTheOperator()
    {
        AlarmRecordSearchWt search(nullptr);
        Form form{&search};
        search.show();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        form.search();
        answerCount(45);
        answerPage(20);
        // The arrow of a sort does not stay over another page's rows, which are not sorted.
        QHeaderView* header = form.table->horizontalHeader();
        emit header->sectionClicked(12);
        QTest::mouseClick(form.pages->nextButton(), Qt::LeftButton);
        answerPage(20);
        QVERIFY(!header->isSortIndicatorShown());
        // The state box opens on a press on its frame too; the store list shows whole names.
        QTest::mouseClick(form.states, Qt::LeftButton, {}, QPoint(1, 1));
        QTRY_VERIFY(form.states->view()->isVisible());
        form.states->hidePopup();
        QVERIFY(form.stores->view()->minimumWidth() > form.stores->view()->sizeHintForColumn(0));
        // The calendars speak the host's language.
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
            VIG_BASE_MODULE::ModuleInitialization::setLanguage(language);
            AlarmRecordSearchWt other(nullptr);
            QCOMPARE(Form{&other}.end->calendarWidget()->locale().language(),
                     language == "en" ? QLocale::English : QLocale::Chinese);
        }
    }
};

QTEST_MAIN(TestRecordSearch)
#include "tst_record_search.moc"
