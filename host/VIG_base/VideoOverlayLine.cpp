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
    for (int size = qMax(MinPixelSize, maxPixelSize);; --size) {
        fitted.setPixelSize(size);
        const QFontMetrics metrics(fitted);
        if (fitsAround(area.width(), widthOf(metrics, leftSource), widthOf(metrics, centreSource),
                       widthOf(metrics, rightSource), Gap))
            break;
        if (size > MinPixelSize)
            continue;
        // At the smallest size the least needed text goes, then the left one is cut.
        const int rightWidth = widthOf(metrics, rightSource);
        withCentre =
            withCentre && fitsAround(area.width(), 0, widthOf(metrics, centreSource), rightWidth, Gap);
        int room = area.width() - rightWidth - (rightWidth ? Gap : 0);
        if (withCentre)
            room = (area.width() - widthOf(metrics, centreSource)) / 2 - Gap;
        shownLeft = room > 0 ? metrics.elidedText(leftSource, Qt::ElideRight, room) : QString();
        break;
    }

    const QFontMetrics metrics(fitted);
    const int height = metrics.height();
    const int leftWidth = widthOf(metrics, shownLeft);
    const int centreWidth = withCentre ? widthOf(metrics, centreSource) : 0;
    const int rightWidth = widthOf(metrics, rightSource);
    left = leftWidth ? QRect(area.left(), area.top(), leftWidth, height) : QRect();
    centre = centreWidth
                 ? QRect(area.left() + (area.width() - centreWidth) / 2, area.top(), centreWidth, height)
                 : QRect();
    right =
        rightWidth ? QRect(area.left() + area.width() - rightWidth, area.top(), rightWidth, height) : QRect();
    if (right.isValid() && right.left() < area.left())
        right = QRect(); // not even the right text fits: nothing is drawn over another
}

} // namespace VIG_BASE_MODULE
