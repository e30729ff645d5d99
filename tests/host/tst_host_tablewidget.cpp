#include "TableWidget.h"

#include <QRandomGenerator>
#include <QtTest>

using VIG_BASE_MODULE::TableWidget;

class TstHostTableWidget : public QObject
{
    Q_OBJECT

private:
    // Every row's key must lead back to that row, and absent keys nowhere.
    static void verifyKeys(const TableWidget& table)
    {
        for (int row = 0; row < table.rowCount(); ++row) {
            const QString key = table.getRowKeyValue(row);
            QVERIFY2(!key.isEmpty(), qPrintable(QString::number(row)));
            QCOMPARE(table.getRowIndexByKeyValue(key), row);
        }
    }

    static QStringList keysInOrder(const TableWidget& table)
    {
        QStringList keys;
        for (int row = 0; row < table.rowCount(); ++row)
            keys << table.getRowKeyValue(row);
        return keys;
    }

private slots:
    void frontBackInsertionsAndDeletes()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"name", "value"});
        QCOMPARE(table.insertBack({"b", "2"}, "kb", {}), 0);
        QCOMPARE(table.insertFront({"a", "1"}, "ka", {}), 0);
        QCOMPARE(table.insertBack({"c", "3"}, "kc", {1}), 2);
        table.insertFront({"z", "0"}, "kz", {});
        QCOMPARE(keysInOrder(table), QStringList({"kz", "ka", "kb", "kc"}));
        QVERIFY(table.item(2, 1)->textAlignment() != int(Qt::AlignCenter));
        QCOMPARE(table.item(3, 1)->textAlignment(), int(Qt::AlignCenter));
        verifyKeys(table);

        QVERIFY(table.deleteRowByKeyValue("ka"));
        QVERIFY(!table.deleteRowByKeyValue("ka"));
        QCOMPARE(table.getRowIndexByKeyValue("ka"), -1);
        QCOMPARE(table.getRowIndexByKeyValue("kc"), 2);
        verifyKeys(table);

        // A key inserted again replaces its old row.
        table.insertFront({"c2", "33"}, "kc", {});
        QCOMPARE(table.rowCount(), 3);
        QCOMPARE(keysInOrder(table), QStringList({"kc", "kz", "kb"}));
        QCOMPARE(table.item(0, 0)->text(), QString("c2"));

        QVERIFY(table.modifyRowValues({"B", "22"}, 2));
        QVERIFY(!table.modifyRowValues({"x"}, 3));
        QCOMPARE(table.item(2, 1)->text(), QString("22"));
        QCOMPARE(table.getRowKeyValue(2), QString("kb"));

        table.setRowTextColor(1, QColor("#ff6e89"));
        QCOMPARE(table.item(1, 1)->foreground().color(), QColor("#ff6e89"));

        QCOMPARE(table.getRowKeyValue(-1), QString());
        QCOMPARE(table.getRowKeyValue(3), QString());
        QCOMPARE(table.getRowIndexByKeyValue(QString()), -1);

        table.deleteAllRows();
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.getRowIndexByKeyValue("kb"), -1);
        table.insertBack({"n"}, "kn", {});
        QCOMPARE(table.getRowIndexByKeyValue("kn"), 0);
    }

    void changesThroughQtOwnOperations()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"v"});
        for (int i = 0; i < 6; ++i)
            table.insertBack({QString::number(5 - i)}, QString("k%1").arg(i), {});
        table.removeRow(1);
        QCOMPARE(table.getRowIndexByKeyValue("k1"), -1);
        QCOMPARE(table.getRowIndexByKeyValue("k2"), 1);
        table.sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(table.getRowIndexByKeyValue("k5"), 0);
        verifyKeys(table);
        table.setRowCount(0);
        QCOMPARE(table.getRowIndexByKeyValue("k5"), -1);
    }

    // Random front and back insertions, deletions and sorts, checked against a plain list.
    void randomOperationsMatchAPlainList()
    {
        TableWidget table;
        table.setHeaderViewColumnName({"v"});
        QStringList expected;
        QRandomGenerator random(20260105);
        int next = 0;
        for (int step = 0; step < 3000; ++step) {
            const int op = random.bounded(10);
            if (op < 4) {
                const QString key = QString("k%1").arg(next++);
                table.insertFront({QString::number(random.bounded(1000))}, key, {});
                expected.prepend(key);
            } else if (op < 7) {
                const QString key = QString("k%1").arg(next++);
                table.insertBack({QString::number(random.bounded(1000))}, key, {});
                expected.append(key);
            } else if (op < 9 && !expected.isEmpty()) {
                const QString key = expected.takeAt(random.bounded(expected.size()));
                QVERIFY(table.deleteRowByKeyValue(key));
            } else if (step % 50 == 0) {
                table.sortByColumn(0, Qt::AscendingOrder);
                expected = keysInOrder(table);
            }
            const QString probe =
                expected.isEmpty() ? QString("none") : expected.at(random.bounded(expected.size()));
            QCOMPARE(table.getRowIndexByKeyValue(probe), expected.indexOf(probe));
        }
        QCOMPARE(keysInOrder(table), expected);
        verifyKeys(table);
    }
};

QTEST_MAIN(TstHostTableWidget)
#include "tst_host_tablewidget.moc"
