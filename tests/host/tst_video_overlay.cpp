// Texts over a video picture never cover one another, whatever the window's width.
#include "VideoOverlayLine.h"

#include <QtTest>

using VIG_BASE_MODULE::VideoOverlayLine;

class TstVideoOverlay : public QObject
{
    Q_OBJECT

private slots:
    void textsStayApart_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("centre");
        QTest::addColumn<QString>("right");
        QTest::newRow("stream and clock") << "Sub stream"
                                          << ""
                                          << "2026-12-06 13:45:28";
        QTest::newRow("name, alarm, recording") << "HZ-008 Safe Room"
                                                << "ALARM"
                                                << "REC";
        QTest::newRow("long name and alarm") << QString(60, 'N') << "ALARM"
                                             << "";
    }

    void textsStayApart()
    {
        QFETCH(QString, left);
        QFETCH(QString, centre);
        QFETCH(QString, right);
        for (int width = 20; width <= 900; width += 7) {
            const QRect area(8, 6, width, 200);
            VideoOverlayLine line(left, centre, right);
            line.fit(QFont(), area, 22);
            const QRect rects[] = {line.leftRect(), line.centreRect(), line.rightRect()};
            for (int i = 0; i < 3; ++i) {
                if (rects[i].isEmpty())
                    continue;
                QVERIFY2(area.contains(rects[i]), qPrintable(QString::number(width)));
                for (int j = i + 1; j < 3; ++j)
                    QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(QString::number(width)));
            }
            // The clock stays once there is room for it; a short left text is not cut where it fits.
            if (width >= 200)
                QCOMPARE(line.rightRect().isEmpty(), right.isEmpty());
            if (width >= 400 && left.size() < 30) {
                QCOMPARE(line.leftText(), left);
                QCOMPARE(line.centreRect().isEmpty(), centre.isEmpty());
            }
        }
    }
};

QTEST_MAIN(TstVideoOverlay)
#include "tst_video_overlay.moc"
