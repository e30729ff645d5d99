#pragma once

#include "RowKeyIndex.h"

#include <QColor>
#include <QElapsedTimer>
#include <QSet>
#include <QStringList>
#include <QTableWidget>
#include <QVector>

class QTimer;

namespace VIG_BASE_MODULE {

// A table whose rows carry a key text (kept in the first cell's Qt::UserRole). Keys are unique: inserting a
// key that a row already has removes that row first. Finding a row by key does not scan the table, and
// stays right after insertions at either end, deletions and sorting (also when rows are changed through
// QTableWidget's own operations).
class TableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit TableWidget(QWidget* parent = nullptr);
    ~TableWidget() override;

    void setHeaderViewColumnName(const QStringList& names);

    // A row of the values (one per column; missing values give empty cells, extra ones are dropped). The
    // cells of the columns in centredColumns are centred. Return the new row's number.
    int insertFront(const QStringList& values, const QString& key, const QSet<int>& centredColumns);
    int insertBack(const QStringList& values, const QString& key, const QSet<int>& centredColumns);
    // Replaces the texts of a row, and with a valid colour its text colour, as one change; false for a row
    // that does not exist.
    bool modifyRowValues(const QStringList& values, int row, const QColor& color = QColor());
    bool deleteRowByKeyValue(const QString& key);
    void deleteAllRows();

    QString getRowKeyValue(int row) const;               // empty for a row that does not exist
    int getRowIndexByKeyValue(const QString& key) const; // -1 when no row has the key

    void setRowTextColor(int row, const QColor& color);

    // A row for the top that may wait to go in with the rows queued after it: a burst of rows then costs one
    // insertion per block instead of one per row (each insertion moves every row below it). Queued rows go
    // in, the last queued on top and in the given text colour, by blocks when the event loop turns, or with
    // the view's next frame while it waits for one; any operation of this class and any input to the table
    // first puts all of them in. Until then rowCount() and item() do not count them.
    void queueFront(const QStringList& values, const QString& key, const QColor& color);
    void flushPendingRows();
    // Nothing more is coming for now: the queued rows go in by blocks from the next turn on, without
    // waiting for a frame.
    void flushPendingRowsSoon();
    int pendingRowCount() const;

    // Removes the row of the key together with the other rows queued for removal, in one pass when the event
    // loop next turns or the view's next frame comes (or at the next input to the table, selection read or
    // flushPendingRemovals()): removing rows one by one costs a pass over the table each. The row is gone
    // for every lookup by key at once, while rowCount(), item() and row numbers still count it until then.
    // False when no row has the key.
    bool removeRowLater(const QString& key);
    void flushPendingRemovals();
    int pendingRemovalCount() const;

    // A click on a header section sorts by that column, and a second click reverses the order. Rows
    // inserted later are not sorted in.
    void setOrderBySectionEnabled(bool enabled);
    bool isOrderBySectionEnabled() const;
    // Forgets the operator's sort and hides its arrow: for rows that were not sorted by it.
    void clearSortOrder();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    struct PendingRow
    {
        QStringList values;
        QString key;
        QColor color;
    };

    int insertRowAt(int row, const QStringList& values, const QString& key, const QSet<int>& centredColumns);
    void setRowValues(int row, const QStringList& values, const QSet<int>* centredColumns,
                      const QColor& color = QColor());
    // The item of a cell, ready to be changed without a search for its place.
    QTableWidgetItem* placedItem(int row, int column);
    // Applies the change to the item of a cell, if it has one.
    template <typename Change> void changeItem(int row, int column, const Change& change);
    void pauseSorting(bool sorting);
    void flushPending() const;
    void insertPendingRows(int maxRows);
    // The rows of the next block for what is left of a pass's budget.
    int blockRows(qint64 budgetNs) const;
    void removePendingRows();
    void postFlush();
    // Removals, then blocks of queued rows for at most the budget.
    void flushPass(qint64 budgetNs);
    // Whether what is queued may wait for the next frame and still go in within one pass.
    bool fitsHeldPass() const;
    // Row changes made within a frame of the last paint show with the next frame, together; true while the
    // view waits for that frame.
    bool holdPaint();
    void releasePaint();
    void emitRowsChanged(int firstRow, int lastRow);
    void onSectionClicked(int section);
    void markIndexStale();
    void ensureIndex() const;
    void refreshIndex() const;

    mutable RowKeyIndex keyIndex;
    QVector<PendingRow> pendingRows; // oldest first
    QSet<QString> pendingKeys;
    QSet<QString> leavingKeys; // rows queued for removal
    bool flushPosted = false;
    bool burstOver = false;
    QElapsedTimer lastPaint;
    QTimer* paintTimer = nullptr;
    // What the blocks put in so far cost: moving the rows below, and each row of its own.
    qint64 blockFixedNs = 0;
    qint64 rowNs = 0;
    mutable bool indexStale = false;
    bool itemsMoved = false; // rows went in or out above others since their items were put
    bool ownChange = false;
    bool orderBySection = false;
    int sortedSection = -1;
    Qt::SortOrder sortedOrder = Qt::AscendingOrder;
};

} // namespace VIG_BASE_MODULE
