#pragma once

#include <QStyledItemDelegate>

namespace VIG_ALARM_MOUDLE {

class AlarmTable;

// The time cell of a row whose alarm another operator has open: the time, and under it who has it.
class AlarmTakenDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit AlarmTakenDelegate(AlarmTable* table);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    AlarmTable* table;
};

} // namespace VIG_ALARM_MOUDLE
