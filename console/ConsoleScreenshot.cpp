#include "ConsoleScreenshot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace {

// The visible top-level windows: the main window first, pop-ups over it, and the windows that float over
// their pop-ups last, with the screen area they cover together.
QList<QWidget*> visibleWindows(QRect* area)
{
    QList<QWidget*> windows;
    QList<QWidget*> floating;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || widget->width() <= 1 || widget->height() <= 1)
            continue;
        if (qobject_cast<QMainWindow*>(widget))
            windows.prepend(widget);
        else if (widget->windowType() == Qt::Tool)
            floating.append(widget);
        else
            windows.append(widget);
        *area |= widget->frameGeometry();
    }
    return windows + floating;
}

// The offscreen platform has no screen picture: each window paints itself, in the order above. That order
// is a guess at the stacking, not the stacking itself.
QImage paintedWindows(const QList<QWidget*>& windows, const QRect& area)
{
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(QColor("#101216"));
    QPainter painter(&image);
    for (QWidget* window : windows)
        painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    return image;
}

} // namespace

bool ConsoleScreenshot::write(const QString& fileName, QString* error)
{
    QRect area;
    const QList<QWidget*> windows = visibleWindows(&area);
    if (windows.isEmpty()) {
        *error = QStringLiteral("no window is visible");
        return false;
    }
    QImage image;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !screen) {
        image = paintedWindows(windows, area);
    } else {
        // What the display shows, window manager and stacking included.
        area &= screen->geometry();
        image = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    }
    if (image.isNull() || !image.save(fileName, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(fileName);
        return false;
    }
    return true;
}
