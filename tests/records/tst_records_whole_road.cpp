// The record page against the embedded simulated alarm server: raised alarms are found page by page, one is
// marked as false from the record table's menu, and the repeated search finds it in its new state.
#include "ModuleTestSupport.h"

#include "frame/AlarmSignals.h"
#include "records/AlarmRecordPage.h"
#include "records/AlarmRecordSearchWt.h"
#include "records/AlarmRecordTable.h"

#include "PageTurningWidget.h"

#include <QAction>
#include <QComboBox>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using namespace VIG_ALARM_MOUDLE;
using VIG_BASE_MODULE::MessageBoxW;
using VIG_BASE_MODULE::PageTurningWidget;
using VIG_BASE_MODULE::WaitDialog;

namespace {

QStringList rowKeys(const AlarmRecordTable& table)
{
    QStringList keys;
    for (int row = 0; row < table.rowCount(); ++row)
        keys.append(table.getRowKeyValue(row));
    return keys;
}

QAction* menuAction(const AlarmRecordTable& table, const QString& text)
{
    for (QAction* action : table.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TstRecordsWholeRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(moduletest::startSimulatedServer()); }

    void handledAlarmIsFoundInTheRecords()
    {
        SimAlarmServer* server = DataCache::Instance()->GetSimulator();
        AlarmRecordPage page(nullptr);
        // Counted on the main thread, after the search has taken each answer (a spy counts on the
        // service's thread, before the search has seen it).
        int answered = 0;
        QObject counter;
        connect(&AlarmSignals::_instance(), &AlarmSignals::signalAlarmRecordsInfo, &counter,
                [&answered] { ++answered; });
        auto* search = page.findChild<AlarmRecordSearchWt*>();
        QVERIFY(search);
        auto* table = search->findChild<AlarmRecordTable*>("alarmRecordTab");
        auto* turner = search->findChild<PageTurningWidget*>("pageTurningWt");
        auto* stores = search->findChild<QComboBox*>("storeComBx");
        auto* states = search->findChild<QComboBox*>("alarmStateComBx");
        auto* searchBt = search->findChild<QPushButton*>("searchBt");
        QVERIFY(table && turner && stores && states && searchBt);
        // The silent default search of a fresh server finds nothing.
        QTRY_COMPARE(answered, 1);
        QCOMPARE(table->rowCount(), 0);

        QStringList raised;
        const QStringList probes{"P0101", "P0102", "P0103"};
        for (int i = 0; i < 23; ++i) {
            QString error;
            raised.append(server->raiseAlarm(probes.at(i % probes.size()), QString(), &error));
            QVERIFY2(!raised.last().isEmpty(), qPrintable(error));
        }
        // A second store's alarm stays out of the first store's records.
        QString error;
        const QString otherStore = server->raiseAlarm("P0201", QString(), &error);
        QVERIFY2(!otherStore.isEmpty(), qPrintable(error));

        stores->setCurrentIndex(stores->findData("S001"));
        states->setCurrentIndex(0);
        QTest::mouseClick(searchBt, Qt::LeftButton);
        QVERIFY(WaitDialog::_instance().isShown());
        QTRY_COMPARE(answered, 2);
        QVERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(turner->recordsCount(), 23);
        QCOMPARE(table->rowCount(), 20);
        QVERIFY(turner->nextButton()->isEnabled());

        // The server lists the newest first: the alarm raised twelfth is on page 1.
        const QString chosen = raised.at(11);
        const int row = table->getRowIndexByKeyValue(chosen);
        QVERIFY(row >= 0);
        QCOMPARE(table->getAlarmInfo(row).state, int(AlarmNew));
        table->clearSelection();
        table->selectRow(row);
        QAction* mistaken = menuAction(*table, QObject::tr("Mistaken Alarm"));
        QVERIFY(mistaken);
        MessageBoxW::clearCalls();
        MessageBoxW::queueAnswer(1);
        QSignalSpy completed(table, &AlarmTable::signalHandleAlarmFromTableWtCompleted);
        mistaken->trigger();
        QTRY_COMPARE(completed.count(), 1);
        // The finished batch searched again: page 1 of the same criteria, the chosen alarm now false.
        QTRY_COMPARE(answered, 3);
        QTRY_VERIFY(!WaitDialog::_instance().isShown());
        QCOMPARE(MessageBoxW::calls().size(), 1);
        QCOMPARE(table->rowCount(), 20);
        const int handledRow = table->getRowIndexByKeyValue(chosen);
        QVERIFY(handledRow >= 0);
        QCOMPARE(table->getAlarmInfo(handledRow).state, int(AlarmMistaken));
        QCOMPARE(table->item(handledRow, 20)->text(), QObject::tr("False alarm"));
        QCOMPARE(table->item(handledRow, 12)->foreground().color(), QColor("#5d657e"));

        // Turning to page 2 brings the three oldest; together the pages hold exactly the store's alarms.
        QSet<QString> found;
        for (const QString& key : rowKeys(*table))
            found.insert(key);
        QTest::mouseClick(turner->nextButton(), Qt::LeftButton);
        QTRY_COMPARE(answered, 4);
        QCOMPARE(table->rowCount(), 3);
        QVERIFY(turner->previousButton()->isEnabled());
        QVERIFY(!turner->nextButton()->isEnabled());
        for (const QString& key : rowKeys(*table))
            found.insert(key);
        QCOMPARE(found, QSet<QString>(raised.begin(), raised.end()));

        // The false alarms of all stores: only the chosen one.
        stores->setCurrentIndex(0);
        states->setCurrentIndex(AlarmMistaken);
        QTest::mouseClick(searchBt, Qt::LeftButton);
        QTRY_COMPARE(answered, 5);
        QCOMPARE(rowKeys(*table), QStringList{chosen});
        QCOMPARE(table->horizontalHeaderItem(20)->text(), QObject::tr("Last Handled Alarm Description"));
    }
};

QTEST_MAIN(TstRecordsWholeRoad)
#include "tst_records_whole_road.moc"
