#include "TableWidget.h"

#include <QHeaderView>

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

} // namespace

TableWidget::TableWidget(QWidget* parent) : QTableWidget(parent)
{
    keyIndex.clear();
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
    if (!indexStale && keyIndex.count() == rowCount())
        return;
    QStringList keys;
    const int rows = rowCount();
    keys.reserve(rows);
    for (int row = 0; row < rows; ++row)
        keys << getRowKeyValue(row);
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
    const bool sorting = isSortingEnabled();
    {
        OwnChange guard(ownChange);
        setSortingEnabled(false);
        if (!key.isEmpty()) {
            const int old = keyIndex.rowOf(key);
            if (old >= 0) {
                removeRow(old);
                keyIndex.removeRow(old);
            }
        }
        if (columnCount() == 0)
            setColumnCount(qMax(1, values.size()));

        if (row < 0)
            row = rowCount();
        insertRow(row);
        auto* first = new QTableWidgetItem(values.value(0));
        first->setData(Qt::UserRole, key);
        setItem(row, 0, first);
        setRowValues(row, values, &centredColumns);
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

void TableWidget::setRowValues(int row, const QStringList& values, const QSet<int>* centredColumns)
{
    const int columns = columnCount();
    for (int column = 0; column < columns; ++column) {
        const QString text = values.value(column);
        QTableWidgetItem* cell = item(row, column);
        if (!cell) {
            cell = new QTableWidgetItem(text);
            setItem(row, column, cell);
        } else if (cell->text() != text) {
            cell->setText(text);
        }
        if (centredColumns && centredColumns->contains(column))
            cell->setTextAlignment(Qt::AlignCenter);
    }
}

bool TableWidget::modifyRowValues(const QStringList& values, int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    OwnChange guard(ownChange);
    setRowValues(row, values, nullptr);
    return true;
}

bool TableWidget::deleteRowByKeyValue(const QString& key)
{
    const int row = getRowIndexByKeyValue(key);
    if (row < 0)
        return false;
    OwnChange guard(ownChange);
    removeRow(row);
    keyIndex.removeRow(row);
    return true;
}

void TableWidget::deleteAllRows()
{
    OwnChange guard(ownChange);
    clearContents();
    setRowCount(0);
    keyIndex.clear();
    indexStale = false;
}

QString TableWidget::getRowKeyValue(int row) const
{
    const QTableWidgetItem* first = row >= 0 && row < rowCount() ? item(row, 0) : nullptr;
    return first ? first->data(Qt::UserRole).toString() : QString();
}

int TableWidget::getRowIndexByKeyValue(const QString& key) const
{
    if (key.isEmpty())
        return -1;
    ensureIndex();
    return keyIndex.rowOf(key);
}

void TableWidget::setRowTextColor(int row, const QColor& color)
{
    if (row < 0 || row >= rowCount())
        return;
    OwnChange guard(ownChange);
    const int columns = columnCount();
    for (int column = 0; column < columns; ++column) {
        if (QTableWidgetItem* cell = item(row, column))
            cell->setForeground(color);
    }
}

void TableWidget::setOrderBySectionEnabled(bool enabled)
{
    orderBySection = enabled;
    horizontalHeader()->setSectionsClickable(enabled);
    horizontalHeader()->setSortIndicatorShown(enabled);
}

bool TableWidget::isOrderBySectionEnabled() const
{
    return orderBySection;
}

void TableWidget::onSectionClicked(int section)
{
    if (!orderBySection || section < 0)
        return;
    sortedOrder = section == sortedSection && sortedOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                                : Qt::AscendingOrder;
    sortedSection = section;
    sortByColumn(section, sortedOrder);
}

} // namespace VIG_BASE_MODULE
