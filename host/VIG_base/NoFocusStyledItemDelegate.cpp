#include "NoFocusStyledItemDelegate.h"

namespace VIG_BASE_MODULE {

NoFocusStyledItemDelegate::NoFocusStyledItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

NoFocusStyledItemDelegate::~NoFocusStyledItemDelegate() = default;

void NoFocusStyledItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
}

} // namespace VIG_BASE_MODULE
