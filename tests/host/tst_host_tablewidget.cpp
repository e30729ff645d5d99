#include "TableWidget.h"

#include <QRandomGenerator>
#include <QtTest>

using VIG_BASE_MODULE::TableWidget;

namespace {

QStringList keysInOrder(const TableWidget& table)
{
    QStringList keys;
    for (int row = 0; row < table.rowCount(); ++row)
        keys << table.getRowKeyValue(row);
    return keys;
}

// Every row's key leads back to that row.
void verifyKeys(const TableWidget& table)
{
    for (int row = 0; row < table.rowCount(); ++row)
        QCOMPARE(table.getRowIndexByKeyValue(table.getRowKeyValue(row)), row);
}

// Keys, second-column texts and colours, row by row.
QStringList snapshot(const TableWidget& table)
{
    QStringList shot;
    for (int row = 0; row < table.rowCount(); ++row)
        shot << table.getRowKeyValue(row) + '|' + table.item(row, 1)->text() + '|' +
                    table.item(row, 1)->foreground().color().name();
    return shot;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TstHostTableWidget : public QObject
{
    Q_OBJECT

private slots:
    // Random insertions (of new and existing keys), deletions by key and by Qt's own removeRow, and sorts,
    // checked against a plain list.
    void randomOperationsMatchAPlainList()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"v"});
        QStringList expected;
        QRandomGenerator random(20260105);
        for (int step = 0, next = 0; step < 3000; ++step) {
            const int op = random.bounded(10);
            const bool again = !expected.isEmpty() && random.bounded(8) == 0;
            const QString key =
                again ? expected.at(random.bounded(expected.size())) : QString("k%1").arg(next++);
            if (op < 4) {
                table.insertFront({QString::number(random.bounded(1000))}, key, {});
                expected.removeOne(key);
                expected.prepend(key);
            } else if (op < 7 && !again) {
                table.insertBack({QString::number(random.bounded(1000))}, key, {});
                expected.append(key);
            } else if (op < 8 && !expected.isEmpty()) {
                QVERIFY(table.deleteRowByKeyValue(expected.takeAt(random.bounded(expected.size()))));
            } else if (op < 9 && !expected.isEmpty()) {
                const int row = random.bounded(expected.size());
                table.removeRow(row);
                expected.removeAt(row);
            } else if (step % 50 == 0) {
                table.sortByColumn(0, Qt::AscendingOrder);
                expected = keysInOrder(table);
            }
            const QString probe = expected.isEmpty() ? "none" : expected.at(random.bounded(expected.size()));
            QCOMPARE(table.getRowIndexByKeyValue(probe), expected.indexOf(probe));
        }
        QCOMPARE(keysInOrder(table), expected);
        verifyKeys(table);
        QVERIFY(!table.deleteRowByKeyValue("none"));
    }

    // Rows queued for the top end exactly as if each had been inserted at the top on its own, and rows queued
    // for removal as if each had been removed at once, with keys repeating (in the queue and against rows
    // already in) and rows deleted and changed in between.
    void queuedRowsMatchRowsInsertedOneByOne()
    {
        TableWidget queued;
        TableWidget direct;
        queued.setHeaderViewColumnName({"a", "b"});
        direct.setHeaderViewColumnName({"a", "b"});
        QRandomGenerator random(7);
        for (int step = 0; step < 3000; ++step) {
            const QString key = QString("k%1").arg(random.bounded(400));
            const QStringList values{key, QString("v%1").arg(step)};
            const QColor colour = step % 3 ? QColor("#ff6e89") : QColor("#49cc90");
            const int action = random.bounded(100);
            if (action < 70) {
                queued.queueFront(values, key, colour);
                direct.setRowTextColor(direct.insertFront(values, key, {}), colour);
            } else if (action < 80) {
                queued.insertBack(values, key, {});
                direct.insertBack(values, key, {});
            } else if (action < 85) {
                QCOMPARE(queued.deleteRowByKeyValue(key), direct.deleteRowByKeyValue(key));
            } else if (action < 95) {
                QCOMPARE(queued.removeRowLater(key), direct.deleteRowByKeyValue(key));
                QCOMPARE(queued.getRowIndexByKeyValue(key), -1);
            } else {
                // Rows queued for removal still hold their numbers: each table is asked for its own.
                const int row = queued.getRowIndexByKeyValue(key);
                QCOMPARE(row >= 0, direct.getRowIndexByKeyValue(key) >= 0);
                queued.modifyRowValues({key, "changed"}, row);
                direct.modifyRowValues({key, "changed"}, direct.getRowIndexByKeyValue(key));
            }
            if (step % 500 == 0)
                QCoreApplication::processEvents(); // lets some blocks go in on their own
        }
        queued.flushPendingRemovals();
        queued.flushPendingRows();
        QCOMPARE(queued.pendingRowCount(), 0);
        QCOMPARE(queued.pendingRemovalCount(), 0);
        QCOMPARE(snapshot(queued), snapshot(direct));
        verifyKeys(queued);
    }

    // Rows changed right after a paint show with the next frame, all of them; none waits for more input.
    void changesRightAfterAPaintAreAllPaintedSoon()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"a"});
        PaintCounter counter;
        table.viewport()->installEventFilter(&counter);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));
        QTRY_VERIFY(counter.paints > 0);
        const int painted = counter.paints;
        for (int n = 0; n < 50; ++n) {
            table.insertFront({QString("r%1").arg(n)}, QString("k%1").arg(n), {});
            table.setRowTextColor(0, Qt::red);
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(table.viewport()->updatesEnabled());
        QTRY_VERIFY(counter.paints > painted);
        QCOMPARE(table.getRowKeyValue(0), QString("k49"));
    }
};

QTEST_MAIN(TstHostTableWidget)
#include "tst_host_tablewidget.moc"
