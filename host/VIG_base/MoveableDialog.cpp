#include "MoveableDialog.h"

#include <QMouseEvent>

namespace VIG_BASE_MODULE {

MoveableDialog::MoveableDialog(QWidget* parent, bool moveable) : QDialog(parent), moveable(moveable)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0x2b, 0x2f, 0x3a));
    colours.setColor(QPalette::WindowText, QColor(0xdf, 0xe1, 0xe8));
    setPalette(colours);
    setAutoFillBackground(true);
}

MoveableDialog::~MoveableDialog() = default;

void MoveableDialog::setMoveable(bool isMoveable)
{
    moveable = isMoveable;
    if (!moveable)
        dragging = false;
}

bool MoveableDialog::isMoveable() const
{
    return moveable;
}

void MoveableDialog::mousePress(const QPoint& globalPos)
{
    if (!moveable)
        return;
    dragging = true;
    dragOffset = globalPos - frameGeometry().topLeft();
}

void MoveableDialog::mouseMove(const QPoint& globalPos)
{
    if (dragging)
        move(globalPos - dragOffset);
}

void MoveableDialog::mouseRelease()
{
    dragging = false;
}

bool MoveableDialog::isDragging() const
{
    return dragging;
}

void MoveableDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mousePress(event->globalPos());
    QDialog::mousePressEvent(event);
}

void MoveableDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging && (event->buttons() & Qt::LeftButton))
        mouseMove(event->globalPos());
    QDialog::mouseMoveEvent(event);
}

void MoveableDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mouseRelease();
    QDialog::mouseReleaseEvent(event);
}

} // namespace VIG_BASE_MODULE
