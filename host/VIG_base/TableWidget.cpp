#include "TableWidget.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QTimer>

#include <algorithm>

namespace VIG_BASE_MODULE {

namespace {

// Marks our own row changes so that the model's notifications of them do not invalidate the key index.
class OwnChange
{
public:
    explicit OwnChange(bool& flag) : flag(flag), previous(flag) { flag = true; }
    ~OwnChange() { flag = previous; }

private:
    bool& flag;
    bool previous;
};

// While a burst is queued, rows go in by blocks for at most this long per event-loop pass, so that they
// show as they come without holding the event loop (and the operator's clicks) up.
const int RowsPerBlock = 256;
const qint64 PassBudgetNs = 4 * 1000 * 1000;
// A paint of a full view costs milliseconds; during a storm the event loop turns far more often than a
// screen shows a new frame.
const int FrameMs = 40;
// Work held for the next frame must leave room in its pass for the paint and the events.
const qint64 HeldWorkNs = 12 * 1000 * 1000;

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::ShortcutOverride:
        return true;
    default:
        return false;
    }
}

// Cell changes made in a batch are announced once for their whole range instead of once per cell.
class QuietModel
{
public:
    explicit QuietModel(QAbstractItemModel* model) : model(model), previous(model->blockSignals(true)) {}
    ~QuietModel() { model->blockSignals(previous); }

private:
    QAbstractItemModel* model;
    bool previous;
};

} // namespace

TableWidget::TableWidget(QWidget* parent) : QTableWidget(parent), paintTimer(new QTimer(this))
{
    keyIndex.clear();
    paintTimer->setSingleShot(true);
    connect(paintTimer, &QTimer::timeout, this, [this] {
        flushPass(HeldWorkNs);
        releasePaint();
    });
    QAbstractItemModel* itemModel = model();
    // Rows changed through QTableWidget's own operations (or sorted) invalidate the index; it is rebuilt at
    // the next lookup.
    connect(itemModel, &QAbstractItemModel::rowsInserted, this, &TableWidget::markIndexStale);
    connect(itemModel, &QAbstractItemModel::rowsRemoved, this, &TableWidget::markIndexStale);
    connect(itemModel, &QAbstractItemModel::rowsMoved, this, &TableWidget::markIndexStale);
    connect(itemModel, &QAbstractItemModel::modelReset, this, &TableWidget::markIndexStale);
    connect(itemModel, &QAbstractItemModel::layoutChanged, this, &TableWidget::markIndexStale);
    connect(itemModel, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        if (topLeft.column() == 0)
            markIndexStale();
    });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TableWidget::onSectionClicked);
    // Rows added or removed at the end leave every other item where it was put.
    connect(itemModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int, int last) { itemsMoved = itemsMoved || last + 1 < rowCount(); });
    connect(itemModel, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first) {
        itemsMoved = rowCount() > 0 && (itemsMoved || first < rowCount());
    });
    connect(itemModel, &QAbstractItemModel::rowsMoved, this, [this] { itemsMoved = true; });
    connect(itemModel, &QAbstractItemModel::layoutChanged, this, [this] { itemsMoved = true; });
}

TableWidget::~TableWidget()
{
    // QTableWidget empties its model after this destructor has run; those notifications are not ours.
    disconnect(model(), nullptr, this, nullptr);
    disconnect(horizontalHeader(), nullptr, this, nullptr);
}

void TableWidget::markIndexStale()
{
    if (!ownChange)
        indexStale = true;
}

void TableWidget::ensureIndex() const
{
    flushPending();
    refreshIndex();
}

void TableWidget::refreshIndex() const
{
    if (!indexStale && keyIndex.count() == rowCount())
        return;
    QStringList keys;
    const int rows = rowCount();
    keys.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QTableWidgetItem* first = item(row, 0);
        keys << (first ? first->data(Qt::UserRole).toString() : QString());
    }
    keyIndex.rebuild(keys);
    indexStale = false;
}

void TableWidget::setHeaderViewColumnName(const QStringList& names)
{
    OwnChange guard(ownChange);
    setColumnCount(names.size());
    setHorizontalHeaderLabels(names);
}

int TableWidget::insertFront(const QStringList& values, const QString& key, const QSet<int>& centredColumns)
{
    return insertRowAt(0, values, key, centredColumns);
}

int TableWidget::insertBack(const QStringList& values, const QString& key, const QSet<int>& centredColumns)
{
    return insertRowAt(-1, values, key, centredColumns);
}

int TableWidget::insertRowAt(int row, const QStringList& values, const QString& key,
                             const QSet<int>& centredColumns)
{
    ensureIndex();
    holdPaint();
    const bool sorting = isSortingEnabled();
    {
        OwnChange guard(ownChange);
        pauseSorting(sorting);
        if (!key.isEmpty()) {
            const int old = keyIndex.rowOf(key);
            if (old >= 0) {
                removeRow(old);
                keyIndex.removeRow(old);
                leavingKeys.remove(key);
            }
        }
        if (columnCount() == 0)
            setColumnCount(qMax(1, values.size()));

        if (row < 0)
            row = rowCount();
        insertRow(row);
        {
            QuietModel quiet(model());
            auto* first = new QTableWidgetItem(values.value(0));
            first->setData(Qt::UserRole, key);
            setItem(row, 0, first);
            setRowValues(row, values, &centredColumns);
        }
        emitRowsChanged(row, row);
        if (row == 0)
            keyIndex.pushFront(key);
        else
            keyIndex.pushBack(key);
    }
    // Turning sorting back on sorts at once; the index then goes stale as after any sort.
    if (sorting) {
        setSortingEnabled(true);
        ensureIndex();
        return keyIndex.rowOf(key);
    }
    return row;
}

void TableWidget::pauseSorting(bool sorting)
{
    // Turning sorting off when it is already off costs string-based connections on every row and would
    // hide the indicator of the operator's last sort.
    if (sorting)
        setSortingEnabled(false);
}

void TableWidget::setRowValues(int row, const QStringList& values, const QSet<int>* centredColumns,
                               const QColor& color)
{
    const QBrush brush(color);
    const int columns = columnCount();
    for (int column = 0; column < columns; ++column) {
        const QString text = values.value(column);
        const bool centred = centredColumns && centredColumns->contains(column);
        QTableWidgetItem* cell = item(row, column);
        if (!cell) {
            cell = new QTableWidgetItem(text);
            if (centred)
                cell->setTextAlignment(Qt::AlignCenter);
            if (color.isValid())
                cell->setForeground(brush);
            setItem(row, column, cell);
        } else if (centred || color.isValid() || cell->text() != text) {
            changeItem(row, column, [&](QTableWidgetItem* changed) {
                if (changed->text() != text)
                    changed->setText(text);
                if (centred)
                    changed->setTextAlignment(Qt::AlignCenter);
                if (color.isValid())
                    changed->setForeground(brush);
            });
        }
    }
}

template <typename Change> void TableWidget::changeItem(int row, int column, const Change& change)
{
    // An item in the table tells the model of every role it changes, and looks for its cell to do so: taken
    // out, it changes alone and goes back in one step. A sort on change would move the row as it goes back,
    // so then it is changed in place.
    if (isSortingEnabled()) {
        if (QTableWidgetItem* cell = placedItem(row, column))
            change(cell);
        return;
    }
    if (QTableWidgetItem* cell = takeItem(row, column)) {
        change(cell);
        setItem(row, column, cell);
    }
}

QTableWidgetItem* TableWidget::placedItem(int row, int column)
{
    // An item finds its own cell, for every change made to it, by the place it was put at, and searches the
    // whole table when rows have moved since. Put back, it is found at once. A sort on change could move the
    // row meanwhile: then it is left as it is.
    QTableWidgetItem* cell = item(row, column);
    if (!cell || !itemsMoved || isSortingEnabled())
        return cell;
    takeItem(row, column);
    setItem(row, column, cell);
    return cell;
}

bool TableWidget::modifyRowValues(const QStringList& values, int row, const QColor& color)
{
    flushPending();
    if (row < 0 || row >= rowCount())
        return false;
    holdPaint();
    OwnChange guard(ownChange);
    {
        QuietModel quiet(model());
        setRowValues(row, values, nullptr, color);
    }
    emitRowsChanged(row, row);
    return true;
}

void TableWidget::emitRowsChanged(int firstRow, int lastRow)
{
    const int columns = columnCount();
    if (columns == 0 || firstRow > lastRow)
        return;
    QAbstractItemModel* itemModel = model();
    emit itemModel->dataChanged(itemModel->index(firstRow, 0), itemModel->index(lastRow, columns - 1));
}

bool TableWidget::deleteRowByKeyValue(const QString& key)
{
    const int row = getRowIndexByKeyValue(key);
    if (row < 0)
        return false;
    holdPaint();
    OwnChange guard(ownChange);
    removeRow(row);
    keyIndex.removeRow(row);
    return true;
}

void TableWidget::deleteAllRows()
{
    pendingRows.clear();
    pendingKeys.clear();
    leavingKeys.clear();
    OwnChange guard(ownChange);
    clearContents();
    setRowCount(0);
    keyIndex.clear();
    indexStale = false;
}

QString TableWidget::getRowKeyValue(int row) const
{
    flushPending();
    const QTableWidgetItem* first = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    return first ? first->data(Qt::UserRole).toString() : QString();
}

int TableWidget::getRowIndexByKeyValue(const QString& key) const
{
    if (key.isEmpty() || leavingKeys.contains(key))
        return -1;
    ensureIndex();
    return keyIndex.rowOf(key);
}

void TableWidget::setRowTextColor(int row, const QColor& color)
{
    flushPending();
    if (row < 0 || row >= rowCount())
        return;
    holdPaint();
    OwnChange guard(ownChange);
    {
        QuietModel quiet(model());
        const QBrush brush(color);
        const int columns = columnCount();
        for (int column = 0; column < columns; ++column)
            changeItem(row, column, [&brush](QTableWidgetItem* changed) { changed->setForeground(brush); });
    }
    emitRowsChanged(row, row);
}

void TableWidget::queueFront(const QStringList& values, const QString& key, const QColor& color)
{
    // A key queued twice: the first row must go in before the second can replace it.
    if (!key.isEmpty() && pendingKeys.contains(key))
        insertPendingRows(pendingRows.size());
    burstOver = false;
    pendingRows.append({values, key, color});
    if (!key.isEmpty())
        pendingKeys.insert(key);
    postFlush();
}

void TableWidget::postFlush()
{
    if (flushPosted)
        return;
    flushPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            flushPosted = false;
            // Nothing would show before the frame's paint: the frame's pass does it, with whatever comes
            // meanwhile, in fewer block moves and removals.
            if (burstOver || !fitsHeldPass() || !holdPaint())
                flushPass(PassBudgetNs);
        },
        Qt::QueuedConnection);
}

void TableWidget::flushPass(qint64 budgetNs)
{
    removePendingRows();
    QElapsedTimer pass;
    pass.start();
    bool first = true;
    while (!pendingRows.isEmpty()) {
        const qint64 left = budgetNs - pass.nsecsElapsed();
        if (!first && left < blockFixedNs + RowsPerBlock * rowNs)
            break;
        first = false;
        insertPendingRows(blockRows(left));
    }
    if (!pendingRows.isEmpty())
        postFlush();
}

bool TableWidget::fitsHeldPass() const
{
    // Before the first block nothing tells what one costs.
    return pendingRows.isEmpty() || (rowNs > 0 && blockFixedNs + pendingRows.size() * rowNs <= HeldWorkNs);
}

int TableWidget::blockRows(qint64 budgetNs) const
{
    if (rowNs <= 0)
        return RowsPerBlock;
    // A block costs a move of every row below it, then its own rows; and each block makes the view walk
    // its rows again when it lays them out. It takes what fits in the budget, but at least as many rows as
    // make the move a seventh of its cost: in a big table many small blocks would spend the storm moving
    // rows.
    const qint64 fitting = (budgetNs - blockFixedNs) / rowNs;
    const qint64 worthwhile = 6 * blockFixedNs / rowNs;
    return int(qBound<qint64>(RowsPerBlock, qMax(fitting, worthwhile), pendingRows.size()));
}

void TableWidget::flushPendingRows()
{
    flushPending();
}

void TableWidget::flushPendingRowsSoon()
{
    burstOver = true;
    postFlush();
}

int TableWidget::pendingRowCount() const
{
    return pendingRows.size();
}

void TableWidget::flushPending() const
{
    if (!pendingRows.isEmpty())
        const_cast<TableWidget*>(this)->insertPendingRows(pendingRows.size());
}

void TableWidget::insertPendingRows(int maxRows)
{
    if (pendingRows.isEmpty() || maxRows <= 0)
        return;
    // The oldest go first: later blocks go in above them.
    const int taken = qMin(maxRows, pendingRows.size());
    const QVector<PendingRow> rows = pendingRows.mid(0, taken);
    pendingRows.remove(0, taken);
    for (const PendingRow& pending : rows)
        pendingKeys.remove(pending.key);
    refreshIndex(); // not ensureIndex(): the rest of the queue stays queued
    holdPaint();
    const bool sorting = isSortingEnabled();
    {
        OwnChange guard(ownChange);
        pauseSorting(sorting);
        // Unique keys: a queued row replaces the row that has its key.
        for (const PendingRow& pending : rows) {
            const int old = pending.key.isEmpty() ? -1 : keyIndex.rowOf(pending.key);
            if (old >= 0) {
                removeRow(old);
                keyIndex.removeRow(old);
                leavingKeys.remove(pending.key);
            }
        }
        if (columnCount() == 0)
            setColumnCount(qMax(1, rows.first().values.size()));

        const int count = rows.size();
        const int columns = columnCount();
        QElapsedTimer clock;
        clock.start();
        model()->insertRows(0, count);
        const qint64 moved = clock.nsecsElapsed();
        {
            QuietModel quiet(model());
            for (int row = 0; row < count; ++row) {
                const PendingRow& pending = rows.at(count - 1 - row);
                const QBrush brush(pending.color);
                for (int column = 0; column < columns; ++column) {
                    auto* cell = new QTableWidgetItem(pending.values.value(column));
                    if (column == 0)
                        cell->setData(Qt::UserRole, pending.key);
                    if (pending.color.isValid())
                        cell->setForeground(brush);
                    setItem(row, column, cell);
                }
            }
        }
        // Halfway to the last measure: one slow block does not make the next one twice as large.
        blockFixedNs = (blockFixedNs + moved) / 2;
        rowNs = qMax<qint64>(1, (rowNs + (clock.nsecsElapsed() - moved) / count) / 2);
        for (const PendingRow& pending : rows)
            keyIndex.pushFront(pending.key);
        emitRowsChanged(0, count - 1);
    }
    if (sorting)
        setSortingEnabled(true);
}

bool TableWidget::removeRowLater(const QString& key)
{
    // A row still queued for the top goes in first, so that the removal finds it.
    if (pendingKeys.contains(key))
        flushPending();
    if (getRowIndexByKeyValue(key) < 0)
        return false;
    leavingKeys.insert(key);
    postFlush();
    return true;
}

void TableWidget::flushPendingRemovals()
{
    removePendingRows();
}

int TableWidget::pendingRemovalCount() const
{
    return leavingKeys.size();
}

void TableWidget::removePendingRows()
{
    if (leavingKeys.isEmpty())
        return;
    refreshIndex();
    QVector<int> rows;
    rows.reserve(leavingKeys.size());
    for (const QString& key : qAsConst(leavingKeys)) {
        const int row = keyIndex.rowOf(key);
        if (row >= 0)
            rows.append(row);
    }
    leavingKeys.clear();
    std::sort(rows.begin(), rows.end());
    holdPaint();
    const bool sorting = isSortingEnabled();
    {
        OwnChange guard(ownChange);
        pauseSorting(sorting);
        // Each removal is a pass over the table (the header walks all its sections), whatever its length:
        // adjacent rows leave together, from the bottom up so that the rows above keep their numbers.
        int end = rows.size();
        while (end > 0) {
            int begin = end - 1;
            while (begin > 0 && rows.at(begin - 1) == rows.at(begin) - 1)
                --begin;
            const int first = rows.at(begin);
            const int count = end - begin;
            model()->removeRows(first, count);
            for (int n = 0; n < count; ++n)
                keyIndex.removeRow(first);
            end = begin;
        }
    }
    if (sorting)
        setSortingEnabled(true);
}

bool TableWidget::event(QEvent* event)
{
    // The operator acts on every row, and sees what the input does at once; painting may show the rows
    // that are in so far.
    if (isInputEvent(event->type())) {
        removePendingRows();
        flushPending();
        releasePaint();
    }
    return QTableWidget::event(event);
}

bool TableWidget::viewportEvent(QEvent* event)
{
    if (isInputEvent(event->type())) {
        removePendingRows();
        flushPending();
        releasePaint();
    } else if (event->type() == QEvent::Paint) {
        lastPaint.start();
    }
    return QTableWidget::viewportEvent(event);
}

bool TableWidget::holdPaint()
{
    // A change long after the last paint shows with the next one, at once.
    if (paintTimer->isActive())
        return true;
    if (!lastPaint.isValid() || lastPaint.elapsed() >= FrameMs)
        return false;
    viewport()->setUpdatesEnabled(false);
    paintTimer->start(int(FrameMs - lastPaint.elapsed()));
    return true;
}

void TableWidget::releasePaint()
{
    paintTimer->stop();
    // Turned back on, the view is painted anew with everything changed meanwhile.
    if (!viewport()->updatesEnabled())
        viewport()->setUpdatesEnabled(true);
}

void TableWidget::setOrderBySectionEnabled(bool enabled)
{
    orderBySection = enabled;
    horizontalHeader()->setSectionsClickable(enabled);
    // Nothing is sorted yet: the indicator appears with the first sort.
    horizontalHeader()->setSortIndicatorShown(enabled && sortedSection >= 0);
}

bool TableWidget::isOrderBySectionEnabled() const
{
    return orderBySection;
}

void TableWidget::clearSortOrder()
{
    sortedSection = -1;
    sortedOrder = Qt::AscendingOrder;
    horizontalHeader()->setSortIndicatorShown(false);
}

void TableWidget::onSectionClicked(int section)
{
    if (!orderBySection || section < 0)
        return;
    sortedOrder = section == sortedSection && sortedOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                : Qt::AscendingOrder;
    sortedSection = section;
    sortByColumn(section, sortedOrder);
    horizontalHeader()->setSortIndicator(section, sortedOrder);
    horizontalHeader()->setSortIndicatorShown(true);
}

} // namespace VIG_BASE_MODULE
