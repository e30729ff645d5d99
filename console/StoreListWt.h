#pragma once

#include <QHash>
#include <QWidget>

class QTableWidget;

// The host's store list: every store with its unhandled alarms as the alarm module reports them. A double
// click opens that store's unhandled alarms in a view of their own.
class StoreListWt : public QWidget
{
    Q_OBJECT

public:
    explicit StoreListWt(QWidget* parent = nullptr);

    int rowOfStore(const QString& storeUid) const { return rows.value(storeUid, -1); }
    int shownCount(const QString& storeUid) const;

private:
    void slotStoreUnhandledAlarmsCount(const QString& storeUid, int count);
    void openStoreView(int row);

    QTableWidget* table;
    QHash<QString, int> rows;
};
