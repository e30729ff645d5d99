#include "video/WaitAlarmWidget.h"

#include "ui_WaitAlarmWidget.h"

#include <QPainter>

namespace VIG_ALARM_MOUDLE {

WaitAlarmWidget::WaitAlarmWidget(QWidget* parent) : ColouredWidget(parent), ui(new Ui::WaitAlarmWidget)
{
    ui->setupUi(this);
    setColor("#23262f");
}

WaitAlarmWidget::~WaitAlarmWidget() = default;

void WaitAlarmWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The background first: the frame is drawn over it.
    painter.fillRect(rect(), color());
    QPen pen(QColor(QStringLiteral("#555c73")));
    pen.setWidth(4);
    pen.setStyle(Qt::DotLine);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::BevelJoin);
    painter.setPen(pen);
    const int w = width();
    const int h = height();
    painter.drawLine(0, 0, w, 0);
    painter.drawLine(w, 0, w, h);
    painter.drawLine(0, h, w, h);
    painter.drawLine(0, 0, 0, h);
    painter.end();
    QWidget::paintEvent(event);
}

} // namespace VIG_ALARM_MOUDLE
