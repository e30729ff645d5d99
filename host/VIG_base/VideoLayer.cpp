#include "VideoLayer.h"

#include "VideoWindow.h"

#include <QtMath>

namespace VIG_BASE_MODULE {

namespace {
const int WindowSpacing = 2;
}

VideoLayer::VideoLayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

VideoLayer::~VideoLayer() = default;

void VideoLayer::setWindows(const QVector<VideoWindow*>& windows)
{
    videoWindows = windows;
    if (single >= videoWindows.size())
        single = -1;
    relayout();
}

void VideoLayer::setSingleWindow(int window)
{
    single = window >= 0 && window < videoWindows.size() ? window : -1;
    relayout();
}

int VideoLayer::singleWindow() const
{
    return single;
}

int VideoLayer::windowAt(const QPoint& pos) const
{
    for (int i = 0; i < videoWindows.size(); ++i) {
        const VideoWindow* window = videoWindows.at(i);
        if (window->isVisibleTo(this) && window->geometry().contains(pos))
            return i;
    }
    return -1;
}

void VideoLayer::videoPanelDbClicked()
{
    ++dbClicks;
    emit signalVideoPanelDbClicked();
}

int VideoLayer::panelDbClickCount() const
{
    return dbClicks;
}

void VideoLayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void VideoLayer::relayout()
{
    const int count = videoWindows.size();
    if (single >= 0) {
        for (int i = 0; i < count; ++i) {
            videoWindows.at(i)->setGeometry(rect());
            videoWindows.at(i)->setVisible(i == single);
        }
        return;
    }
    // The smallest square split that holds every window: 1, 4, 9, 16...
    const int columns = qMax(1, qCeil(qSqrt(double(count))));
    const int rows = qMax(1, (count + columns - 1) / columns);
    const int cellWidth = (width() - WindowSpacing * (columns - 1)) / columns;
    const int cellHeight = (height() - WindowSpacing * (rows - 1)) / rows;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        videoWindows.at(i)->setGeometry(column * (cellWidth + WindowSpacing),
                                        row * (cellHeight + WindowSpacing), cellWidth, cellHeight);
        videoWindows.at(i)->setVisible(true);
    }
}

} // namespace VIG_BASE_MODULE
