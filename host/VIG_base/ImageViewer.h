#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

namespace VIG_BASE_MODULE {

// Shows one image file scaled to fit, or a waiting animation while the image is being fetched.
class ImageViewer : public QWidget
{
    Q_OBJECT

public:
    explicit ImageViewer(QWidget* parent = nullptr);
    ~ImageViewer() override;

    // Loads and shows the image; a file that cannot be read shows a notice instead. Returns whether an
    // image is shown.
    bool setImagePath(const QString& path);
    void setWaitingVisible(bool visible);

    QString imagePath() const;
    bool hasImage() const;
    bool isWaitingVisible() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString path;
    QImage image;
    bool waiting = false;
    int waitingStep = 0;
    QTimer* waitingTimer = nullptr;
};

} // namespace VIG_BASE_MODULE
