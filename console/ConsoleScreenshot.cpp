#include "ConsoleScreenshot.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

bool ConsoleScreenshot::write(const QString& fileName, QString* error)
{
    QList<QWidget*> windows;
    QList<QWidget*> floating;
    QRect area;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->width() <= 1 || widget->height() <= 1)
            continue;
        // The main window first, pop-ups over it, and the windows that float over their pop-ups last.
        if (qobject_cast<QMainWindow*>(widget))
            windows.prepend(widget);
        else if (widget->windowType() == Qt::Tool)
            floating.append(widget);
        else
            windows.append(widget);
        area |= widget->geometry();
    }
    windows += floating;
    if (windows.isEmpty()) {
        *error = QStringLiteral("no window is visible");
        return false;
    }
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(QColor("#101216"));
    QPainter painter(&image);
    for (QWidget* window : qAsConst(windows))
        painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    painter.end();
    if (!image.save(fileName, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(fileName);
        return false;
    }
    return true;
}
