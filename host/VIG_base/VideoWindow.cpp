#include "VideoWindow.h"

#include "VideoOverlayLine.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QVector>
#include <QtMath>

namespace VIG_BASE_MODULE {

namespace {

const QSize FallbackPictureSize(640, 360);

// A number per channel, well spread even for ids that differ in one character only.
uint channelSeed(const QString& channelId)
{
    return (qHash(channelId) * 2654435761u) >> 8;
}

// A colour of its own per channel, so that neighbouring windows are told apart at a glance.
QColor channelHue(const QString& channelId)
{
    return QColor::fromHsv(int(channelSeed(channelId) % 360), 120, 150);
}

} // namespace

VideoWindow::VideoWindow(int index, QWidget* parent) : QWidget(parent), windowIndex(index)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    clock.start();
}

VideoWindow::~VideoWindow() = default;

int VideoWindow::index() const
{
    return windowIndex;
}

void VideoWindow::openChannel(const VIG_DATA_MODULE::VIG_ChannelInfo& channel)
{
    channelInfo = channel;
    title.clear();
    windowState = channel.channelId.isEmpty() ? Failed : Playing;
    clock.restart();
    update();
}

void VideoWindow::openPlayback(const QString& playbackTitle, int durationMs, bool ok)
{
    channelInfo = VIG_DATA_MODULE::VIG_ChannelInfo();
    title = playbackTitle;
    clipMs = qMax(1, durationMs);
    windowState = ok ? PlaybackPlaying : PlaybackFailed;
    clock.restart();
    update();
}

void VideoWindow::close()
{
    channelInfo = VIG_DATA_MODULE::VIG_ChannelInfo();
    title.clear();
    windowState = Idle;
    recording = false;
    update();
}

const VIG_DATA_MODULE::VIG_ChannelInfo& VideoWindow::channel() const
{
    return channelInfo;
}

VideoWindow::State VideoWindow::state() const
{
    return windowState;
}

void VideoWindow::setState(State state)
{
    windowState = state;
    update();
}

QString VideoWindow::playbackTitle() const
{
    return title;
}

double VideoWindow::playbackProgress() const
{
    if (windowState == PlaybackFinished)
        return 1.0;
    if (windowState != PlaybackPlaying)
        return 0.0;
    return qBound(0.0, double(clock.elapsed()) / clipMs, 1.0);
}

void VideoWindow::setSelected(bool isSelected)
{
    selected = isSelected;
    update();
}

void VideoWindow::setRecording(bool isRecording)
{
    recording = isRecording;
    update();
}

void VideoWindow::setAlarmMode(bool isAlarmMode)
{
    alarmMode = isAlarmMode;
    update();
}

void VideoWindow::setStreamText(const QString& text)
{
    streamText = text;
    update();
}

QImage VideoWindow::currentPicture() const
{
    const QSize size = width() >= 32 && height() >= 32 ? this->size() : FallbackPictureSize;
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    paintPicture(painter, QRect(QPoint(0, 0), size));
    return picture;
}

namespace {

// Draws the texts of a laid-out line, moved down by dy, each in its colour (left, centre, right).
void drawOverlayLine(QPainter& painter, const VideoOverlayLine& line, int dy, const QVector<QColor>& colours)
{
    const QFont previous = painter.font();
    painter.setFont(line.font());
    const QRect rects[] = {line.leftRect(), line.centreRect(), line.rightRect()};
    const QString texts[] = {line.leftText(), line.centreText(), line.rightText()};
    for (int i = 0; i < 3; ++i) {
        if (rects[i].isEmpty())
            continue;
        painter.setPen(colours.value(i));
        painter.drawText(rects[i].translated(0, dy), Qt::AlignLeft | Qt::AlignTop, texts[i]);
    }
    painter.setFont(previous);
}

} // namespace

void VideoWindow::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    paintPicture(painter, rect());
}

void VideoWindow::paintPicture(QPainter& painter, const QRect& rect) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, QColor(0x14, 0x16, 0x1c));

    QFont font = painter.font();
    font.setPixelSize(qBound(10, rect.height() / 16, 22));
    painter.setFont(font);

    switch (windowState) {
    case Playing:
        paintLive(painter, rect);
        break;
    case PlaybackPlaying:
    case PlaybackFinished:
        paintPlayback(painter, rect);
        break;
    case Idle:
        painter.setPen(QColor(0x55, 0x5c, 0x73));
        painter.drawText(rect, Qt::AlignCenter, QObject::tr("No video"));
        break;
    case Connecting:
        painter.setPen(QColor(0x8a, 0xa2, 0xee));
        painter.drawText(rect, Qt::AlignCenter, QObject::tr("Connecting %1...").arg(channelInfo.channelName));
        break;
    case Failed:
        painter.setPen(QColor(0xff, 0x6e, 0x89));
        painter.drawText(rect, Qt::AlignCenter | Qt::TextWordWrap,
                         QObject::tr("%1\nconnection failed").arg(channelInfo.channelName));
        break;
    case PlaybackFailed:
        painter.setPen(QColor(0xff, 0x6e, 0x89));
        painter.drawText(rect.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         QObject::tr("Playback failed\n%1").arg(title));
        break;
    }

    if (selected) {
        painter.setPen(QPen(QColor(0x79, 0x94, 0xeb), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
    }
}

void VideoWindow::paintLive(QPainter& painter, const QRect& rect) const
{
    const double t = clock.elapsed() / 1000.0 + channelSeed(channelInfo.channelId) % 100;
    const QColor hue = channelHue(channelInfo.channelId);

    // A scene: sky gradient, a floor, and stripes and a ball that move with time.
    QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
    sky.setColorAt(0, hue.darker(220));
    sky.setColorAt(1, hue.darker(130));
    painter.fillRect(rect, sky);

    const int floorTop = rect.top() + rect.height() * 2 / 3;
    painter.fillRect(QRect(rect.left(), floorTop, rect.width(), rect.bottom() - floorTop + 1),
                     hue.darker(300));
    painter.setPen(QPen(hue.lighter(130), 1));
    const int stripe = qMax(12, rect.width() / 12);
    const int shift = int(t * 40) % stripe;
    for (int x = rect.left() - stripe + shift; x < rect.right() + stripe; x += stripe)
        painter.drawLine(x, floorTop, x - stripe, rect.bottom());

    const double radius = qMax(6, rect.height() / 12);
    const double bx = rect.left() + radius + (rect.width() - 2 * radius) * (0.5 + 0.5 * qSin(t * 1.3));
    const double by = floorTop - radius - qAbs(qSin(t * 2.6)) * rect.height() / 3;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf5, 0xc5, 0x42));
    painter.drawEllipse(QPointF(bx, by), radius, radius);

    const QRect textArea = rect.adjusted(8, 6, -8, -6);
    const int maxPixelSize = painter.font().pixelSize();
    VideoOverlayLine top(channelInfo.channelName, alarmMode ? QObject::tr("ALARM") : QString(),
                         recording ? QObject::tr("REC") : QString());
    top.fit(painter.font(), textArea, maxPixelSize);
    drawOverlayLine(painter, top, 0, {Qt::white, QColor(0xff, 0x6e, 0x89), QColor(0xe0, 0x30, 0x30)});
    VideoOverlayLine bottom(streamText, QString(),
                            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    bottom.fit(painter.font(), textArea, maxPixelSize);
    drawOverlayLine(painter, bottom, textArea.height() - QFontMetrics(bottom.font()).height(),
                    {QColor(0xdf, 0xe1, 0xe8), Qt::white, Qt::white});

    if (alarmMode) {
        painter.setPen(QPen(QColor(0xff, 0x6e, 0x89), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(2, 2, -2, -2));
    }
}

void VideoWindow::paintPlayback(QPainter& painter, const QRect& rect) const
{
    const double progress = playbackProgress();
    QLinearGradient background(rect.topLeft(), rect.bottomRight());
    background.setColorAt(0, QColor(0x23, 0x26, 0x2f));
    background.setColorAt(1, QColor(0x2b, 0x2f, 0x3a));
    painter.fillRect(rect, background);

    // A slowly turning fan shows the clip is running.
    const QPointF centre = rect.center();
    const double radius = qMin(rect.width(), rect.height()) / 6.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x79, 0x94, 0xeb));
    const int startAngle = int(progress * 360 * 8) % 360;
    painter.drawPie(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), startAngle * 16,
                    90 * 16);

    const QRect textArea = rect.adjusted(8, 6, -8, -6);
    painter.setPen(Qt::white);
    painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, title);
    const QString status = windowState == PlaybackFinished
                               ? QObject::tr("Playback finished")
                               : QObject::tr("Playback %1%").arg(int(progress * 100));
    painter.drawText(textArea.adjusted(0, 0, 0, -14), Qt::AlignHCenter | Qt::AlignBottom, status);

    const QRect bar(textArea.left(), textArea.bottom() - 6, textArea.width(), 6);
    painter.fillRect(bar, QColor(0x55, 0x5c, 0x73));
    painter.fillRect(QRect(bar.left(), bar.top(), int(bar.width() * progress), bar.height()),
                     QColor(0x49, 0xcc, 0x90));
}

} // namespace VIG_BASE_MODULE
