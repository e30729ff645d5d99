#pragma once

#include <QColor>
#include <QWidget>

namespace VIG_BASE_MODULE {

// A widget that paints its whole area in one colour before its children. Style sheet backgrounds, when
// set, are painted over it.
class ColouredWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColouredWidget(QWidget* parent = nullptr);
    ~ColouredWidget() override;

    // A colour text such as "#23262f"; an invalid text leaves the colour as it was.
    void setColor(const char* color);
    QColor color() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor backgroundColor;
};

} // namespace VIG_BASE_MODULE
