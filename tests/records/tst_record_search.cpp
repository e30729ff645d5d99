// The record search and its page against a scripted alarm service: the two-phase search, paging, the
// filters and the silent default search.
#include "FakeAlarmService.h"

#include "frame/AlarmSignals.h"
#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordSearchWt.h"
#include "records/AlarmRecordTable.h"
#include "service/AlarmBusiness.h"

#include "BusinessConfig.h"
#include "DataCache.h"
#include "MessageBoxW.h"
#include "ModuleAccessSignals.h"
#include "PageTurningWidget.h"
#include "StoreData.h"
#include "WaitDialog.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::PageTurningWidget;
using VIG_BASE_MODULE::WaitDialog;

namespace {

FakeAlarmService& service()
{
    static FakeAlarmService fake;
    return fake;
}

void flush()
{
    service().waitForDelivery();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QList<FakeAlarmService::Call> takeCalls(const QString& operation)
{
    QList<FakeAlarmService::Call> taken;
    for (const FakeAlarmService::Call& call : service().takeCalls()) {
        if (call.operation == operation)
            taken.append(call);
    }
    return taken;
}

QList<FakeAlarmService::Call> countRequests()
{
    return takeCalls("RequestAlarmRecordsCount");
}

QList<FakeAlarmService::Call> pageRequests()
{
    return takeCalls("RequestAlarmRecords");
}

void answerCount(int count, int result = 0)
{
    service().deliver([count, result](IAlarmEvent* handler) {
        handler->OnAlarmRecordsCount(count, "", result, result == 0 ? "" : "server down");
    });
    flush();
}

AlarmData record(const QString& uid, int state)
{
    AlarmData alarm;
    alarm.alarmUid = uid.toStdString();
    alarm.storeUid = "S001";
    alarm.deviceId = "D0101";
    alarm.probeId = "P0101";
    alarm.alarmTime = "2026-03-01 10:00:00";
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
    explicit Form(AlarmRecordSearchWt* search)
        : start(search->findChild<QDateEdit*>("startTimeEdit"))
        , end(search->findChild<QDateEdit*>("endTimeEdit"))
        , stores(search->findChild<QComboBox*>("storeComBx"))
        , states(search->findChild<QComboBox*>("alarmStateComBx"))
        , searchBt(search->findChild<QPushButton*>("searchBt"))
        , table(search->findChild<AlarmRecordTable*>("alarmRecordTab"))
        , pages(search->findChild<PageTurningWidget*>("pageTurningWt"))
    {
    }

    bool complete() const { return start && end && stores && states && searchBt && table && pages; }
    QString description() const { return table->horizontalHeaderItem(20)->text(); }
    void search() const { QTest::mouseClick(searchBt, Qt::LeftButton); }

    QDateEdit* start;
    QDateEdit* end;
    QComboBox* stores;
    QComboBox* states;
    QPushButton* searchBt;
    AlarmRecordTable* table;
    PageTurningWidget* pages;
};

} // namespace

class TestRecordSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void defaultSearchIsSilent();
    void filterItems();
    void pageCounts_data();
    void pageCounts();
    void countPerPageKeepsTheLastCriteria();
    void failuresAreShownToTheOperatorOnly();
    void datesNeverRunBackwards();
    void storeTextLeftBehind();
    void descriptionHeaderByState_data();
    void descriptionHeaderByState();
    void recordsInOrderAndUntouchedByPushes();
    void finishedHandlingRepeatsTheSearch();
    void stateListOpensFromItsText();
    void lateMonthRequestReplacesTheResults();
};

void TestRecordSearch::initTestCase()
{
    QDir("AlarmLocalDB").removeRecursively();
    DataCache::Instance()->SetAlarmPtr(&service());
    AlarmBusiness::_instance();
    QVERIFY(service().handler() != nullptr);
    WaitDialog::_instance().setDisplayEnabled(false);
    QVERIFY(VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo().size() >= 3);
}

void TestRecordSearch::init()
{
    flush();
    service().takeCalls();
    WaitDialog::_instance().hideWaitDialog();
    MessageBoxW::clearCalls();
    // A wrongly shown message box answers at once instead of hanging the test.
    MessageBoxW::clearQueuedAnswers();
    for (int i = 0; i < 4; ++i)
        MessageBoxW::queueAnswer(1);
}

void TestRecordSearch::cleanup()
{
    MessageBoxW::clearQueuedAnswers();
}

void TestRecordSearch::defaultSearchIsSilent()
{
    const int shows = WaitDialog::_instance().showCount();
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    QVERIFY(form.complete());

    const QDate today = QDate::currentDate();
    const QDate monthAgo = today.addMonths(-1);
    QList<FakeAlarmService::Call> counts = countRequests();
    QCOMPARE(counts.size(), 1);
    QCOMPARE(counts.at(0).texts.mid(0, 3),
             QStringList({"", day(monthAgo) + " 00:00:00", day(today) + " 23:59:59"}));
    QCOMPARE(counts.at(0).number, int(AlarmNew));
    QCOMPARE(form.states->currentIndex(), 1);
    QCOMPARE(form.stores->currentIndex(), 0);
    QCOMPARE(form.start->date(), monthAgo);
    QCOMPARE(form.end->date(), today);
    QCOMPARE(form.description(), QObject::tr("New Alarm Description"));
    QVERIFY(!form.pages->previousButton()->isEnabled());
    QVERIFY(!form.pages->nextButton()->isEnabled());

    // A failure says nothing and asks for nothing more.
    answerCount(0, 503);
    QVERIFY(pageRequests().isEmpty());

    answerCount(7);
    const QList<FakeAlarmService::Call> pages = pageRequests();
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).texts, counts.at(0).texts.mid(0, 3));
    QCOMPARE(pages.at(0).number, int(AlarmNew));
    QCOMPARE(pages.at(0).first, 0);
    QCOMPARE(pages.at(0).count, 20);
    answerRecords({}, 503);

    QCOMPARE(WaitDialog::_instance().showCount(), shows);
    QVERIFY(!WaitDialog::_instance().isShown());
    QVERIFY(MessageBoxW::calls().isEmpty());
}

void TestRecordSearch::filterItems()
{
    VIG_SYSTEM_MODULE::BusinessConfig& config = VIG_SYSTEM_MODULE::BusinessConfig::_instance();
    const QString storeWord = config.getSystemCustomizeInfoFromCache().storeWord;
    config.setStoreWord("Shop");
    AlarmRecordSearchWt search(nullptr);
    config.setStoreWord(storeWord);
    Form form(&search);

    const QVector<VIG_DATA_MODULE::VIG_StoreBriefInfo> stores =
        VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo();
    QCOMPARE(form.stores->count(), stores.size() + 1);
    QCOMPARE(form.stores->itemText(0), QObject::tr("_All") + "Shop");
    QCOMPARE(form.stores->itemData(0).toString(), QString());
    QCOMPARE(form.stores->itemText(stores.size()), stores.last().storeName);
    QCOMPARE(form.stores->itemData(stores.size()).toString(), stores.last().storeUid);
    QCOMPARE(search.findChild<QLabel*>("storeLabel")->text(), "Shop" + QObject::tr(":"));
    QCOMPARE(form.stores->completer()->filterMode(), Qt::MatchContains);

    QCOMPARE(form.states->count(), 5);
    QCOMPARE(form.states->itemText(3), QObject::tr("Mistaken"));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(form.states->itemData(i).toInt(), i);
}

void TestRecordSearch::pageCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::newRow("45 records") << 45 << 3;
    QTest::newRow("40 records") << 40 << 2;
    QTest::newRow("no record") << 0 << 0;
}

void TestRecordSearch::pageCounts()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    service().takeCalls();
    WaitDialog& wait = WaitDialog::_instance();

    form.search();
    QCOMPARE(countRequests().size(), 1);
    QVERIFY(wait.isShown());
    QCOMPARE(wait.currentText(), QObject::tr("Getting the count of records."));

    answerCount(count);
    QCOMPARE(form.pages->recordsCount(), count);
    QVERIFY(wait.isShown());
    QCOMPARE(wait.currentText(), QObject::tr("Getting the records info, please wait."));
    QList<FakeAlarmService::Call> requests = pageRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.at(0).first, 0);
    QCOMPARE(requests.at(0).count, 20);

    answerPage(qMin(count, 20));
    QVERIFY(!wait.isShown());
    QCOMPARE(form.table->rowCount(), qMin(count, 20));
    QVERIFY(!form.pages->previousButton()->isEnabled());
    QCOMPARE(form.pages->nextButton()->isEnabled(), pages > 1);
    if (pages < 2)
        return;

    QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
    requests = pageRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.at(0).first, (pages - 1) * 20);
    QVERIFY(wait.isShown());
    QCOMPARE(form.table->rowCount(), 0);
    answerPage(count - (pages - 1) * 20);
    QVERIFY(form.pages->previousButton()->isEnabled());
    QVERIFY(!form.pages->nextButton()->isEnabled());

    QTest::mouseClick(form.pages->previousButton(), Qt::LeftButton);
    QCOMPARE(pageRequests().value(0).first, (pages - 2) * 20);
    answerPage(20);
    QCOMPARE(form.pages->previousButton()->isEnabled(), pages > 2);
    QVERIFY(form.pages->nextButton()->isEnabled());
}

void TestRecordSearch::countPerPageKeepsTheLastCriteria()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    const QDate day1(2025, 11, 3);
    form.end->setDate(day1.addDays(9));
    form.start->setDate(day1);
    form.stores->setCurrentIndex(2);
    const QString storeUid = form.stores->currentData().toString();
    form.states->setCurrentIndex(AlarmDealt);
    service().takeCalls();

    form.search();
    const QStringList criteria{storeUid, day(day1) + " 00:00:00", day(day1.addDays(9)) + " 23:59:59"};
    QCOMPARE(countRequests().value(0).texts.mid(0, 3), criteria);
    answerCount(130);
    pageRequests();
    answerPage(20, AlarmDealt);

    // What the widgets show now is not searched until the operator asks for it.
    form.stores->setCurrentIndex(0);
    form.states->setCurrentIndex(0);
    form.start->setDate(day1.addDays(-30));

    QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
    FakeAlarmService::Call last = pageRequests().value(0);
    QCOMPARE(last.first, 120);
    QCOMPARE(last.texts, criteria);
    QCOMPARE(last.number, int(AlarmDealt));
    answerPage(10, AlarmDealt);

    // 50 a page: back to page 1, and the 130 records of the last count make 3 pages.
    QComboBox* perPage = form.pages->numPerPageBox();
    perPage->setCurrentIndex(perPage->findData(50));
    last = pageRequests().value(0);
    QCOMPARE(last.first, 0);
    QCOMPARE(last.count, 50);
    QCOMPARE(last.texts, criteria);
    QVERIFY(countRequests().isEmpty());
    answerPage(50, AlarmDealt);
    QVERIFY(!form.pages->previousButton()->isEnabled());
    QVERIFY(form.pages->nextButton()->isEnabled());
    QTest::mouseClick(form.pages->lastButton(), Qt::LeftButton);
    QCOMPARE(pageRequests().value(0).first, 100);
    answerPage(30, AlarmDealt);
    QVERIFY(!form.pages->nextButton()->isEnabled());

    // A stray count per page of 0 is ignored: nothing is divided by it.
    search.slotCountPerPageChanged(0);
    QVERIFY(pageRequests().isEmpty());
}

void TestRecordSearch::failuresAreShownToTheOperatorOnly()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    answerCount(3);
    answerPage(3);
    QCOMPARE(form.table->rowCount(), 3);
    service().takeCalls();

    form.search();
    answerCount(0, 503);
    QVERIFY(!WaitDialog::_instance().isShown());
    QVERIFY(pageRequests().isEmpty());
    QCOMPARE(form.table->rowCount(), 3); // the rows of the last good search stay
    QCOMPARE(MessageBoxW::calls().size(), 1);
    QCOMPARE(MessageBoxW::calls().at(0).title, QString());
    QCOMPARE(MessageBoxW::calls().at(0).text, QObject::tr("Get records count failed."));
    QCOMPARE(MessageBoxW::calls().at(0).buttons, 1);

    form.search();
    answerCount(45);
    answerPage(20);
    QVERIFY(form.pages->nextButton()->isEnabled());
    QTest::mouseClick(form.pages->nextButton(), Qt::LeftButton);
    answerRecords({}, 503);
    QVERIFY(!WaitDialog::_instance().isShown());
    QCOMPARE(form.table->rowCount(), 0);
    QCOMPARE(MessageBoxW::calls().size(), 2);
    QCOMPARE(MessageBoxW::calls().at(1).text, QObject::tr("Get records infomation failed."));
    // The buttons stay as they were for page 1.
    QVERIFY(!form.pages->previousButton()->isEnabled());
    QVERIFY(form.pages->nextButton()->isEnabled());
}

void TestRecordSearch::datesNeverRunBackwards()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    const QDate today = QDate::currentDate();

    form.start->setDate(today.addDays(5));
    QCOMPARE(form.end->date(), today.addDays(5));
    form.end->setDate(today.addDays(-40));
    QCOMPARE(form.start->date(), today.addDays(-40));
    QCOMPARE(form.end->date(), today.addDays(-40));
    // Moving them apart leaves the other alone: the period's length is not limited.
    form.start->setDate(today.addYears(-3));
    form.end->setDate(today.addDays(2));
    QCOMPARE(form.start->date(), today.addYears(-3));

    service().takeCalls();
    form.search();
    const FakeAlarmService::Call count = countRequests().value(0);
    QCOMPARE(count.texts.mid(1, 2),
             QStringList({day(today.addYears(-3)) + " 00:00:00", day(today.addDays(2)) + " 23:59:59"}));
}

void TestRecordSearch::storeTextLeftBehind()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    const QString name = form.stores->itemText(3);
    const auto leave = [&form](int index, const QString& text) {
        form.stores->setCurrentIndex(index);
        form.stores->lineEdit()->setText(text);
        emit form.stores->lineEdit()->editingFinished();
        return form.stores->currentIndex();
    };

    QCOMPARE(leave(2, "no such store"), 0);
    QCOMPARE(form.stores->currentText(), form.stores->itemText(0));
    QCOMPARE(leave(2, name.mid(1, 5)), 0); // part of a name
    QCOMPARE(leave(2, name.toUpper()), 0); // the case counts
    QCOMPARE(leave(2, name + " "), 0);
    QCOMPARE(leave(2, form.stores->itemText(2)), 2);
    QCOMPARE(leave(2, name), 3);

    leave(3, "somewhere else");
    service().takeCalls();
    form.search();
    QCOMPARE(countRequests().value(0).texts.value(0), QString());
}

void TestRecordSearch::descriptionHeaderByState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("header");
    QTest::newRow("all") << 0 << QObject::tr("New(Handled) Alarm Description");
    QTest::newRow("new") << 1 << QObject::tr("New Alarm Description");
    QTest::newRow("dealt") << 2 << QObject::tr("Last Handled Alarm Description");
    QTest::newRow("mistaken") << 3 << QObject::tr("Last Handled Alarm Description");
    QTest::newRow("finished") << 4 << QObject::tr("Last Handled Alarm Description");
}

void TestRecordSearch::descriptionHeaderByState()
{
    QFETCH(int, state);
    QFETCH(QString, header);
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    service().takeCalls();

    form.states->setCurrentIndex(state);
    // The header follows the search, not the filter's current choice.
    QCOMPARE(form.description(), QObject::tr("New Alarm Description"));
    form.search();
    QCOMPARE(form.description(), header);
    QCOMPARE(countRequests().value(0).number, state);
}

void TestRecordSearch::recordsInOrderAndUntouchedByPushes()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    const QString storeWord =
        VIG_SYSTEM_MODULE::BusinessConfig::_instance().getSystemCustomizeInfoFromCache().storeWord;
    QCOMPARE(form.table->horizontalHeaderItem(12)->text(), QObject::tr("New Alarm Time"));
    QCOMPARE(form.table->horizontalHeaderItem(17)->text(), storeWord + QObject::tr("_Principal"));
    QCOMPARE(form.table->horizontalHeaderItem(18)->text(), storeWord + QObject::tr("_Principal Tel"));

    answerCount(3);
    answerRecords({record("A", AlarmNew), record("B", AlarmDealt), record("C", AlarmFinished)});
    QCOMPARE(form.table->rowCount(), 3);
    const QStringList colours{"#ff6e89", "#49cc90", "#5d657e"};
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(form.table->getRowKeyValue(row), QString(QChar('A' + row)));
        QCOMPARE(form.table->item(row, 12)->foreground().color(), QColor(colours.at(row)));
    }
    QCOMPARE(form.table->item(0, 20)->text(), QString("door open"));
    QCOMPARE(form.table->item(1, 20)->text(), QString("checked"));

    // The service's handled push of a shown alarm changes nothing.
    AlarmProcessData handled;
    handled.alarmUid = "A";
    handled.storeUid = "S001";
    handled.deviceId = "D0101";
    handled.probeId = "P0101";
    AlarmHandlerData handler;
    handler.handleNote = "done";
    handler.state = AlarmFinished;
    handled.handlers.push_back(handler);
    service().deliver([handled](IAlarmEvent* h) { h->OnAlarmHandled(handled); });
    flush();
    QCOMPARE(form.table->getAlarmInfo("A").state, int(AlarmNew));
    QCOMPARE(form.table->item(0, 20)->text(), QString("door open"));
    QCOMPARE(form.table->item(0, 12)->foreground().color(), QColor("#ff6e89"));

    // A double click opens the alarm with the cloud recordings first.
    QSignalSpy opened(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmTableRecordDoubleClicked);
    QSignalSpy sound(&AlarmSignals::_instance(), &AlarmSignals::signalCloseAlarmSound);
    emit form.table->doubleClicked(form.table->model()->index(1, 12));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).at(0).value<VIG_AlarmInfo>().alarmUid, QString("B"));
    QCOMPARE(opened.at(0).at(0).value<VIG_AlarmInfo>().state, int(AlarmDealt));
    QCOMPARE(opened.at(0).at(1).value<AlarmRelationType>(), IcloudRecordingRelation);
    QCOMPARE(sound.size(), 0);
}

void TestRecordSearch::finishedHandlingRepeatsTheSearch()
{
    AlarmRecordSearchWt search(nullptr);
    Form form(&search);
    answerCount(2);
    answerRecords({record("A", AlarmNew), record("B", AlarmNew)});
    form.stores->setCurrentIndex(1);
    form.states->setCurrentIndex(0);
    service().takeCalls();

    // "Mistaken Alarm" on the first row from the table's own menu.
    form.table->selectRow(0);
    QAction* mistaken = nullptr;
    for (QAction* action : form.table->findChildren<QAction*>()) {
        if (action->text() == QObject::tr("Mistaken Alarm"))
            mistaken = action;
    }
    QVERIFY(mistaken);
    mistaken->trigger();
    const QList<FakeAlarmService::Call> handles = takeCalls("RequestHandleAlarms");
    QCOMPARE(handles.size(), 1);
    QCOMPARE(handles.at(0).uids, QStringList{"A"});
    const std::string requester = handles.at(0).texts.value(1).toStdString();
    service().deliver(
        [requester](IAlarmEvent* h) { h->OnHandleAlarmsResult({"A"}, 0, "", requester.c_str()); });
    flush();

    // The batch's end searches again with what the widgets show, from page 1 and with a wait dialog.
    const QList<FakeAlarmService::Call> counts = countRequests();
    QCOMPARE(counts.size(), 1);
    QCOMPARE(counts.at(0).texts.value(0), form.stores->itemData(1).toString());
    QCOMPARE(counts.at(0).number, 0);
    QVERIFY(WaitDialog::_instance().isShown());
    QCOMPARE(WaitDialog::_instance().currentText(), QObject::tr("Getting the count of records."));
    answerCount(2);
    answerRecords({record("A", AlarmMistaken), record("B", AlarmNew)});
    QCOMPARE(form.table->getAlarmInfo("A").state, int(AlarmMistaken));
    QCOMPARE(form.table->item(0, 12)->foreground().color(), QColor("#5d657e"));
}

void TestRecordSearch::stateListOpensFromItsText()
{
    AlarmRecordSearchWt search(nullptr);
    search.show();
    QVERIFY(QTest::qWaitForWindowExposed(&search));
    Form form(&search);
    QVERIFY(!form.states->view()->isVisible());
    QTest::mouseClick(form.states->lineEdit(), Qt::LeftButton);
    QVERIFY(form.states->view()->isVisible());
    form.states->hidePopup();
    QCOMPARE(form.states->currentIndex(), 1);
}

void TestRecordSearch::lateMonthRequestReplacesTheResults()
{
    const int shows = WaitDialog::_instance().showCount();
    AlarmRecordPage page(nullptr);
    QCOMPARE(page.findChild<QStackedWidget*>("recordsView")->count(), 1);
    auto* search = page.findChild<AlarmRecordSearchWt*>();
    QVERIFY(search);
    Form form(search);
    answerCount(0);
    answerPage(0);

    form.stores->setCurrentIndex(2);
    form.states->setCurrentIndex(AlarmDealt);
    form.start->setDate(QDate(2024, 1, 1));
    form.search();
    answerCount(2);
    answerPage(2, AlarmDealt);
    QCOMPARE(form.table->rowCount(), 2);
    service().takeCalls();
    const int searchShows = WaitDialog::_instance().showCount();
    QVERIFY(searchShows > shows);

    emit VIG_CONTACT_MODULE::ModuleAccessSignals::_instance().signalCheckLateMonthUnhandledAlarms();
    const QDate today = QDate::currentDate();
    const FakeAlarmService::Call count = countRequests().value(0);
    QCOMPARE(count.texts.mid(0, 3),
             QStringList({"", day(today.addMonths(-1)) + " 00:00:00", day(today) + " 23:59:59"}));
    QCOMPARE(count.number, int(AlarmNew));
    QCOMPARE(form.stores->currentIndex(), 0);
    QCOMPARE(form.states->currentIndex(), 1);
    QCOMPARE(form.start->date(), today.addMonths(-1));
    QCOMPARE(form.description(), QObject::tr("New Alarm Description"));

    answerCount(1);
    QCOMPARE(pageRequests().value(0).first, 0);
    answerRecords({record("N", AlarmNew)});
    QCOMPARE(form.table->rowCount(), 1);
    QCOMPARE(form.table->getRowKeyValue(0), QString("N"));
    QCOMPARE(WaitDialog::_instance().showCount(), searchShows);
    QVERIFY(!WaitDialog::_instance().isShown());
}

QTEST_MAIN(TestRecordSearch)
#include "tst_record_search.moc"
