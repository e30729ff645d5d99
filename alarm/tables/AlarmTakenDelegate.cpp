#include "tables/AlarmTakenDelegate.h"

#include "frame/AlarmOperator.h"
#include "tables/AlarmTable.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace VIG_ALARM_MOUDLE {

namespace {
const int TextMargin = 4;
const char* const TakerColour = "#f0b400";
} // namespace

AlarmTakenDelegate::AlarmTakenDelegate(AlarmTable* table) : QStyledItemDelegate(table), table(table) {}

void AlarmTakenDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QString taker = table->takenBy(index.row());
    if (taker.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QString time = cell.text;
    cell.text.clear();
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QRect room = cell.rect.adjusted(TextMargin, 0, -TextMargin, 0);
    const QRect upper(room.left(), room.top(), room.width(), room.height() / 2);
    const QRect lower(room.left(), upper.bottom() + 1, room.width(), room.height() - upper.height());
    painter->save();
    painter->setFont(cell.font);
    const QVariant colour = index.data(Qt::ForegroundRole);
    painter->setPen(colour.isValid() ? colour.value<QBrush>().color() : cell.palette.color(QPalette::Text));
    painter->drawText(upper, Qt::AlignLeft | Qt::AlignBottom,
                      cell.fontMetrics.elidedText(time, Qt::ElideRight, upper.width()));
    QFont small = cell.font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(qMax(6.0, small.pointSizeF() - 1));
    else
        small.setPixelSize(qMax(8, small.pixelSize() - 1));
    small.setBold(true);
    painter->setFont(small);
    painter->setPen(QColor(QLatin1String(TakerColour)));
    const QString line = AlarmOperator::handlingText({taker});
    painter->drawText(lower, Qt::AlignLeft | Qt::AlignTop,
                      QFontMetrics(small).elidedText(line, Qt::ElideRight, lower.width()));
    painter->restore();
}

bool AlarmTakenDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QString taker = event->type() == QEvent::ToolTip ? table->takenBy(index.row()) : QString();
    if (taker.isEmpty())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QToolTip::showText(event->globalPos(), QObject::tr("%1 has this alarm's handling open").arg(taker), view);
    return true;
}

} // namespace VIG_ALARM_MOUDLE
