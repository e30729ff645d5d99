#pragma once

#include <QStyledItemDelegate>

namespace VIG_BASE_MODULE {

// An item delegate that never draws the focus frame.
class NoFocusStyledItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit NoFocusStyledItemDelegate(QObject* parent = nullptr);
    ~NoFocusStyledItemDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace VIG_BASE_MODULE
