#include "ColouredWidget.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace VIG_BASE_MODULE {

ColouredWidget::ColouredWidget(QWidget* parent) : QWidget(parent), backgroundColor(QStringLiteral("#2b2f3a"))
{
}

ColouredWidget::~ColouredWidget() = default;

void ColouredWidget::setColor(const char* color)
{
    const QColor parsed(QLatin1String(color ? color : ""));
    if (!parsed.isValid())
        return;
    backgroundColor = parsed;
    update();
}

QColor ColouredWidget::color() const
{
    return backgroundColor;
}

void ColouredWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

} // namespace VIG_BASE_MODULE
