#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace VIG_BASE_MODULE {

// Row numbers of keyed rows in a list that grows at both ends and shrinks anywhere: each row holds a slot;
// a row's number is the count of occupied slots before its own (a Fenwick tree), so that inserting at
// either end, removing and looking up cost O(log n) and no renumbering.
class RowKeyIndex
{
public:
    void clear();
    // Rebuilds from the keys in row order (an empty key marks a row without a key).
    void rebuild(const QStringList& keysInRowOrder);

    void pushFront(const QString& key);
    void pushBack(const QString& key);
    // Removes the row with this number; its key, if any, is forgotten.
    void removeRow(int row);

    int rowOf(const QString& key) const; // -1 when absent
    bool contains(const QString& key) const;
    int count() const;

private:
    void add(int slot, int delta);
    int prefixCount(int slot) const; // occupied slots in [0, slot]
    int slotOfRow(int row) const;
    void grow();

    QVector<int> tree;        // Fenwick tree over slots
    QVector<QString> slotKey; // key held by each slot (empty: none or free)
    QVector<quint8> used;     // whether a slot holds a row
    QHash<QString, int> keySlot;
    int frontSlot = -1; // next free slot at the front
    int backSlot = 0;   // next free slot at the back
    int rows = 0;
};

} // namespace VIG_BASE_MODULE
