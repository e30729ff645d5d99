#pragma once

#include <QDialog>
#include <QPoint>

namespace VIG_BASE_MODULE {

// A frameless dialog that the operator drags by any point of its body. Widgets floating over it can pass
// their mouse events on through mousePress, mouseMove and mouseRelease (global positions).
class MoveableDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MoveableDialog(QWidget* parent = nullptr, bool moveable = true);
    ~MoveableDialog() override;

    void setMoveable(bool moveable);
    bool isMoveable() const;

    void mousePress(const QPoint& globalPos);
    void mouseMove(const QPoint& globalPos);
    void mouseRelease();
    bool isDragging() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool moveable = true;
    bool dragging = false;
    QPoint dragOffset; // from the pointer to the dialog's top-left corner
};

} // namespace VIG_BASE_MODULE
