#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace VIG_BASE_MODULE {

// One line of texts over a video picture, at its left, centre and right (any may be empty), placed so that
// none covers another: the font shrinks first; below ReadablePixelSize the left text (a camera's name) is
// kept whole before the centre text, which moves to the right end when that is free, or is left out; at
// MinPixelSize the left text is elided.
class VideoOverlayLine
{
public:
    static constexpr int MinPixelSize = 8;
    static constexpr int ReadablePixelSize = 11;
    static constexpr int Gap = 8;

    VideoOverlayLine(const QString& left, const QString& centre, const QString& right);

    // Lays the texts out along area, with a font of baseFont's family at most maxPixelSize pixels high.
    void fit(const QFont& baseFont, const QRect& area, int maxPixelSize);

    QFont font() const { return fitted; }
    // The texts as shown (the left one elided when needed); a text left out is empty, its rectangle too.
    QRect leftRect() const { return left; }
    QRect centreRect() const { return centre; }
    QRect rightRect() const { return right; }
    QString leftText() const { return shownLeft; }
    QString centreText() const { return centre.isEmpty() ? QString() : centreSource; }
    QString rightText() const { return right.isEmpty() ? QString() : rightSource; }

private:
    QString leftSource;
    QString centreSource;
    QString rightSource;
    QString shownLeft;
    QFont fitted;
    QRect left;
    QRect centre;
    QRect right;
};

} // namespace VIG_BASE_MODULE
