#include "ImageViewer.h"

#include <QImageReader>
#include <QPainter>
#include <QTimer>

namespace VIG_BASE_MODULE {

ImageViewer::ImageViewer(QWidget* parent) : QWidget(parent), waitingTimer(new QTimer(this))
{
    waitingTimer->setInterval(120);
    connect(waitingTimer, &QTimer::timeout, this, [this] {
        waitingStep = (waitingStep + 1) % 12;
        update();
    });
    setMinimumSize(80, 60);
}

ImageViewer::~ImageViewer() = default;

bool ImageViewer::setImagePath(const QString& imagePath)
{
    path = imagePath;
    QImageReader reader(imagePath);
    reader.setAutoTransform(true);
    image = imagePath.isEmpty() ? QImage() : reader.read();
    update();
    return !image.isNull();
}

void ImageViewer::setWaitingVisible(bool visible)
{
    waiting = visible;
    if (visible)
        waitingTimer->start();
    else
        waitingTimer->stop();
    update();
}

QString ImageViewer::imagePath() const
{
    return path;
}

bool ImageViewer::hasImage() const
{
    return !image.isNull();
}

bool ImageViewer::isWaitingVisible() const
{
    return waiting;
}

void ImageViewer::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), QColor(0x1e, 0x21, 0x28));

    if (!image.isNull()) {
        const QSize fitted = image.size().scaled(size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(rect().center());
        painter.drawImage(target, image);
    } else if (!waiting) {
        painter.setPen(QColor(0x66, 0x6e, 0x89));
        painter.drawText(rect(), Qt::AlignCenter,
                         path.isEmpty() ? tr("No image") : tr("The image cannot be shown"));
    }

    if (waiting) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(0, 0, 0, 110));
        const QPointF centre = rect().center();
        for (int i = 0; i < 12; ++i) {
            const int age = (waitingStep - i + 12) % 12;
            QColor dot(0x79, 0x94, 0xeb);
            dot.setAlpha(255 - age * 18);
            painter.setPen(Qt::NoPen);
            painter.setBrush(dot);
            painter.save();
            painter.translate(centre);
            painter.rotate(i * 30.0);
            painter.drawEllipse(QPointF(0, -18), 3.5, 3.5);
            painter.restore();
        }
        painter.setPen(QColor(0xdf, 0xe1, 0xe8));
        painter.drawText(rect().adjusted(0, 60, 0, 0), Qt::AlignCenter, tr("Loading..."));
    }
}

} // namespace VIG_BASE_MODULE
