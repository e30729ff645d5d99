#pragma once

#include <QVector>
#include <QWidget>

namespace VIG_BASE_MODULE {

class VideoWindow;

// The surface of a video panel: lays its video windows out in a split grid, or shows one window alone.
// Mouse events pass through it to the panel.
class VideoLayer : public QWidget
{
    Q_OBJECT

public:
    explicit VideoLayer(QWidget* parent = nullptr);
    ~VideoLayer() override;

    void setWindows(const QVector<VideoWindow*>& windows);
    // Shows only this window (-1: the whole grid again).
    void setSingleWindow(int window);
    int singleWindow() const;
    // The window under a point of the layer, -1 for none.
    int windowAt(const QPoint& pos) const;

    // The panel was double-clicked (whatever the button): the layer forgets its pointer state.
    void videoPanelDbClicked();
    int panelDbClickCount() const;

signals:
    void signalVideoPanelDbClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();

    QVector<VideoWindow*> videoWindows;
    int single = -1;
    int dbClicks = 0;
};

} // namespace VIG_BASE_MODULE
