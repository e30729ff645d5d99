// Texts over a video picture never cover one another, whatever the window's width.
#include "VideoOverlayLine.h"

#include <QtTest>

class TstVideoOverlay : public QObject
{
    Q_OBJECT

private slots:
    void textsStayApart()
    {
        const QStringList lines[] = {{"Sub stream", "", "2026-12-06 13:45:28"},
                                     {"HZ-008 Safe Room", "ALARM", "REC"},
                                     {"HZ-009 Sales Floor", "ALARM", ""},
                                     {QString(60, 'N'), "ALARM", ""}};
        for (const QStringList& texts : lines) {
            for (int width = 20; width <= 900; width += 7) {
                const QRect area(8, 6, width, 200);
                VIG_BASE_MODULE::VideoOverlayLine line(texts.at(0), texts.at(1), texts.at(2));
                line.fit(QFont(), area, 22);
                const QRect rects[] = {line.leftRect(), line.centreRect(), line.rightRect()};
                for (int i = 0; i < 3; ++i) {
                    QVERIFY(rects[i].isEmpty() || area.contains(rects[i]));
                    for (int j = i + 1; j < 3; ++j)
                        QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(QString::number(width)));
                }
                if (width >= 400 && texts.at(0).size() < 30) // what fits is not left out
                    QCOMPARE(line.leftText() + line.centreText(), texts.at(0) + texts.at(1));
                if (width >= 150 && texts.at(0).size() < 30) // a camera's name is read whole in a grid cell
                    QCOMPARE(line.leftText(), texts.at(0));
            }
        }
    }
};

QTEST_MAIN(TstVideoOverlay)
#include "tst_video_overlay.moc"
