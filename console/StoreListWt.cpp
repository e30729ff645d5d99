#include "StoreListWt.h"

#include "frame/AlarmModuleAccess.h"
#include "tables/StoreUnhadledAlarmsTable.h"

#include "ModuleAccessSignals.h"
#include "StoreData.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const int nameColumn = 0;
const int countColumn = 1;
const int storeUidRole = Qt::UserRole + 1;
} // namespace

StoreListWt::StoreListWt(QWidget* parent) : QWidget(parent), table(new QTableWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table);
    table->setColumnCount(2);
    table->setHorizontalHeaderLabels({tr("Store"), tr("Unhandled")});
    table->horizontalHeader()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);

    const auto stores = VIG_DATA_MODULE::StoreData::_instance().getAllOpenedStoresBriefInfo();
    table->setRowCount(stores.size());
    for (int row = 0; row < stores.size(); ++row) {
        auto* name = new QTableWidgetItem(stores.at(row).storeName);
        name->setData(storeUidRole, stores.at(row).storeUid);
        table->setItem(row, nameColumn, name);
        const int count = VIG_ALARM_MOUDLE::AlarmModuleAccess::_instance().getStoreUnhandledAlarmsCount(
            stores.at(row).storeUid);
        table->setItem(row, countColumn, new QTableWidgetItem(QString::number(count)));
        rows.insert(stores.at(row).storeUid, row);
    }
    connect(&VIG_CONTACT_MODULE::ModuleAccessSignals::_instance(),
            &VIG_CONTACT_MODULE::ModuleAccessSignals::signalStoreUnhandledAlarmsCount, this,
            &StoreListWt::slotStoreUnhandledAlarmsCount);
    connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openStoreView(row); });
}

int StoreListWt::shownCount(const QString& storeUid) const
{
    const int row = rowOfStore(storeUid);
    return row < 0 ? -1 : table->item(row, countColumn)->text().toInt();
}

void StoreListWt::slotStoreUnhandledAlarmsCount(const QString& storeUid, int count)
{
    const int row = rowOfStore(storeUid);
    if (row < 0)
        return;
    QTableWidgetItem* item = table->item(row, countColumn);
    item->setText(QString::number(count));
    item->setForeground(count > 0 ? QColor("#ff6e89") : palette().text().color());
}

void StoreListWt::openStoreView(int row)
{
    const QString storeUid = table->item(row, nameColumn)->data(storeUidRole).toString();
    const QString storeName = table->item(row, nameColumn)->text();
    auto* view = new QDialog(window());
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->resize(900, 360);
    auto* layout = new QVBoxLayout(view);
    auto* title = new QLabel(view);
    auto* alarms = new VIG_ALARM_MOUDLE::StoreUnhadledAlarmsTable(view);
    layout->addWidget(title);
    layout->addWidget(alarms);
    auto showCount = [view, title, storeName](int count) {
        view->setWindowTitle(tr("%1: unhandled alarms").arg(storeName));
        title->setText(tr("%1 unhandled alarm(s)").arg(count));
    };
    connect(alarms, &VIG_ALARM_MOUDLE::StoreUnhadledAlarmsTable::signalStoreUnhandledAlarmsCount, view,
            showCount);
    showCount(alarms->updateData(storeUid));
    view->show();
}
