#include "VideoOverlayLine.h"

#include <QFontMetrics>

namespace VIG_BASE_MODULE {

namespace {

int widthOf(const QFontMetrics& metrics, const QString& text)
{
    return text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
}

// The centre text sits in the middle; the side texts must each stay clear of it.
bool fitsAround(int width, int leftWidth, int centreWidth, int rightWidth, int gap)
{
    if (centreWidth == 0)
        return leftWidth + rightWidth + (leftWidth && rightWidth ? gap : 0) <= width;
    const int side = (width - centreWidth) / 2 - gap;
    return leftWidth <= side && rightWidth <= side;
}

} // namespace

VideoOverlayLine::VideoOverlayLine(const QString& leftText, const QString& centreText,
                                   const QString& rightText)
    : leftSource(leftText), centreSource(centreText), rightSource(rightText)
{
}

void VideoOverlayLine::fit(const QFont& baseFont, const QRect& area, int maxPixelSize)
{
    fitted = baseFont;
    shownLeft = leftSource;
    bool withCentre = !centreSource.isEmpty();
    bool centreAtRight = false;
    for (int size = qMax(MinPixelSize, maxPixelSize);; --size) {
        fitted.setPixelSize(size);
        const QFontMetrics metrics(fitted);
        const int leftWidth = widthOf(metrics, leftSource);
        const int centreWidth = widthOf(metrics, centreSource);
        const int rightWidth = widthOf(metrics, rightSource);
        if (fitsAround(area.width(), leftWidth, centreWidth, rightWidth, Gap))
            break;
        if (withCentre && size <= ReadablePixelSize) {
            centreAtRight = rightWidth == 0 && fitsAround(area.width(), leftWidth, 0, centreWidth, Gap);
            if (centreAtRight || fitsAround(area.width(), leftWidth, 0, rightWidth, Gap)) {
                withCentre = centreAtRight;
                break;
            }
        }
        if (size > MinPixelSize)
            continue;
        // At the smallest size the least needed text goes, then the left one is cut.
        withCentre = withCentre && fitsAround(area.width(), 0, centreWidth, rightWidth, Gap);
        int room = area.width() - rightWidth - (rightWidth ? Gap : 0);
        if (withCentre)
            room = (area.width() - centreWidth) / 2 - Gap;
        shownLeft = room > 0 ? metrics.elidedText(leftSource, Qt::ElideRight, room) : QString();
        break;
    }

    const QFontMetrics metrics(fitted);
    const int height = metrics.height();
    const int leftWidth = widthOf(metrics, shownLeft);
    const int centreWidth = withCentre ? widthOf(metrics, centreSource) : 0;
    const int rightWidth = widthOf(metrics, rightSource);
    left = leftWidth ? QRect(area.left(), area.top(), leftWidth, height) : QRect();
    const int centreLeft = centreAtRight ? area.left() + area.width() - centreWidth
                                         : area.left() + (area.width() - centreWidth) / 2;
    centre = centreWidth ? QRect(centreLeft, area.top(), centreWidth, height) : QRect();
    right =
        rightWidth ? QRect(area.left() + area.width() - rightWidth, area.top(), rightWidth, height) : QRect();
    if (right.isValid() && right.left() < area.left())
        right = QRect(); // not even the right text fits: nothing is drawn over another
}

} // namespace VIG_BASE_MODULE
