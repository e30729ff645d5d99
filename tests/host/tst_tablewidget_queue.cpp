// Rows queued for the top of a keyed table end exactly as if each had been inserted at the top on its own.
#include "TableWidget.h"

#include <QMouseEvent>
#include <QRandomGenerator>
#include <QtTest>

using VIG_BASE_MODULE::TableWidget;

namespace {

struct Snapshot
{
    QStringList keys;
    QStringList texts; // second column
    QStringList colours;

    bool operator==(const Snapshot& other) const
    {
        return keys == other.keys && texts == other.texts && colours == other.colours;
    }
};

Snapshot snapshot(const TableWidget& table)
{
    Snapshot shot;
    for (int row = 0; row < table.rowCount(); ++row) {
        shot.keys << table.getRowKeyValue(row);
        shot.texts << table.item(row, 1)->text();
        shot.colours << table.item(row, 1)->foreground().color().name();
    }
    return shot;
}

void twoColumns(TableWidget& table)
{
    table.setHeaderViewColumnName({"a", "b"});
}

} // namespace

class TstTableWidgetQueue : public QObject
{
    Q_OBJECT

private slots:
    void queuedRowsMatchRowsInsertedOneByOne()
    {
        // Mixed work on two tables: one queues its top rows, the other inserts them at once. Keys repeat
        // (within the queue and against rows already in), rows are deleted and changed in between.
        TableWidget queued;
        TableWidget direct;
        twoColumns(queued);
        twoColumns(direct);
        QRandomGenerator random(7);
        for (int step = 0; step < 3000; ++step) {
            const QString key = QString("k%1").arg(random.bounded(400));
            const QStringList values{key, QString("v%1").arg(step)};
            const QColor colour = step % 3 ? QColor("#ff6e89") : QColor("#49cc90");
            const int action = random.bounded(100);
            if (action < 80) {
                queued.queueFront(values, key, colour);
                direct.setRowTextColor(direct.insertFront(values, key, {}), colour);
            } else if (action < 88) {
                queued.insertBack(values, key, {});
                direct.insertBack(values, key, {});
            } else if (action < 95) {
                QCOMPARE(queued.deleteRowByKeyValue(key), direct.deleteRowByKeyValue(key));
            } else {
                const int row = direct.getRowIndexByKeyValue(key);
                QCOMPARE(queued.getRowIndexByKeyValue(key), row);
                queued.modifyRowValues({key, "changed"}, row);
                direct.modifyRowValues({key, "changed"}, row);
            }
            if (step % 500 == 0)
                QCoreApplication::processEvents(); // lets some blocks go in on their own
        }
        queued.flushPendingRows();
        QCOMPARE(queued.pendingRowCount(), 0);
        QVERIFY(snapshot(queued) == snapshot(direct));
        for (int row = 0; row < direct.rowCount(); ++row)
            QCOMPARE(queued.getRowIndexByKeyValue(direct.getRowKeyValue(row)), row);
    }

    void queueDrainsThroughTheEventLoopNewestOnTop()
    {
        TableWidget table;
        twoColumns(table);
        table.insertBack({"old", "old"}, "old", {});
        for (int i = 0; i < 1000; ++i)
            table.queueFront({QString::number(i), QString::number(i)}, QString("k%1").arg(i),
                             QColor("#ff6e89"));
        QCOMPARE(table.rowCount(), 1); // not in yet
        QTRY_COMPARE(table.pendingRowCount(), 0);
        QCOMPARE(table.rowCount(), 1001);
        QCOMPARE(table.getRowKeyValue(0), QString("k999"));
        QCOMPARE(table.getRowKeyValue(999), QString("k0"));
        QCOMPARE(table.getRowKeyValue(1000), QString("old"));
        QCOMPARE(table.item(500, 1)->foreground().color(), QColor("#ff6e89"));
        QCOMPARE(table.getRowIndexByKeyValue("k10"), 989);
    }

    void readersAndTheOperatorSeeQueuedRows()
    {
        TableWidget table;
        twoColumns(table);
        table.resize(400, 300);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));

        table.queueFront({"a", "1"}, "ka", QColor());
        QCOMPARE(table.getRowIndexByKeyValue("ka"), 0);
        QCOMPARE(table.pendingRowCount(), 0);

        table.queueFront({"b", "2"}, "kb", QColor());
        QCOMPARE(table.getRowKeyValue(0), QString("kb"));

        table.queueFront({"c", "3"}, "kc", QColor());
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(table.pendingRowCount(), 0);
        QCOMPARE(table.rowCount(), 3);

        table.queueFront({"d", "4"}, "kd", QColor());
        table.deleteAllRows();
        QCOMPARE(table.pendingRowCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(table.rowCount(), 0);
    }
};

QTEST_MAIN(TstTableWidgetQueue)
#include "tst_tablewidget_queue.moc"
