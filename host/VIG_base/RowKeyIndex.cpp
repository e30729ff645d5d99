#include "RowKeyIndex.h"

#include <QStringList>

namespace VIG_BASE_MODULE {

void RowKeyIndex::clear()
{
    rebuild(QStringList());
}

void RowKeyIndex::rebuild(const QStringList& keysInRowOrder)
{
    const int n = keysInRowOrder.size();
    const int capacity = qMax(64, 4 * (n + 1));
    tree.fill(0, capacity + 1);
    slotKey = QVector<QString>(capacity);
    used.fill(0, capacity);
    keySlot.clear();
    keySlot.reserve(n);

    const int first = (capacity - n) / 2;
    for (int i = 0; i < n; ++i) {
        const int slot = first + i;
        used[slot] = 1;
        tree[slot + 1] = 1;
        const QString& key = keysInRowOrder.at(i);
        if (!key.isEmpty() && !keySlot.contains(key)) {
            slotKey[slot] = key;
            keySlot.insert(key, slot);
        }
    }
    // Linear Fenwick construction: push each node's sum to its parent.
    for (int i = 1; i <= capacity; ++i) {
        const int parent = i + (i & -i);
        if (parent <= capacity)
            tree[parent] += tree[i];
    }
    frontSlot = first - 1;
    backSlot = first + n;
    rows = n;
}

void RowKeyIndex::add(int slot, int delta)
{
    for (int i = slot + 1; i < tree.size(); i += i & -i)
        tree[i] += delta;
}

int RowKeyIndex::prefixCount(int slot) const
{
    int sum = 0;
    for (int i = slot + 1; i > 0; i -= i & -i)
        sum += tree.at(i);
    return sum;
}

int RowKeyIndex::slotOfRow(int row) const
{
    // The smallest slot whose prefix count reaches row + 1.
    const int capacity = tree.size() - 1;
    int position = 0;
    int remaining = row + 1;
    int step = 1;
    while (step * 2 <= capacity)
        step *= 2;
    for (; step > 0; step /= 2) {
        const int next = position + step;
        if (next <= capacity && tree.at(next) < remaining) {
            position = next;
            remaining -= tree.at(next);
        }
    }
    return position; // the 1-based index after position, as a 0-based slot
}

void RowKeyIndex::grow()
{
    QStringList keys;
    keys.reserve(rows);
    for (int slot = frontSlot + 1; slot < backSlot; ++slot) {
        if (used.at(slot))
            keys << slotKey.at(slot);
    }
    rebuild(keys);
}

void RowKeyIndex::pushFront(const QString& key)
{
    if (tree.isEmpty() || frontSlot < 0)
        grow();
    const int slot = frontSlot--;
    used[slot] = 1;
    add(slot, 1);
    if (!key.isEmpty()) {
        slotKey[slot] = key;
        keySlot.insert(key, slot);
    }
    ++rows;
}

void RowKeyIndex::pushBack(const QString& key)
{
    if (tree.isEmpty() || backSlot >= slotKey.size())
        grow();
    const int slot = backSlot++;
    used[slot] = 1;
    add(slot, 1);
    if (!key.isEmpty()) {
        slotKey[slot] = key;
        keySlot.insert(key, slot);
    }
    ++rows;
}

void RowKeyIndex::removeRow(int row)
{
    if (row < 0 || row >= rows)
        return;
    const int slot = slotOfRow(row);
    used[slot] = 0;
    add(slot, -1);
    if (!slotKey.at(slot).isEmpty()) {
        keySlot.remove(slotKey.at(slot));
        slotKey[slot].clear();
    }
    --rows;
}

int RowKeyIndex::rowOf(const QString& key) const
{
    const auto it = keySlot.constFind(key);
    if (it == keySlot.constEnd())
        return -1;
    return prefixCount(it.value()) - 1;
}

bool RowKeyIndex::contains(const QString& key) const
{
    return keySlot.contains(key);
}

int RowKeyIndex::count() const
{
    return rows;
}

} // namespace VIG_BASE_MODULE
