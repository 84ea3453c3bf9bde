#include "Twips.h"

#include <QtTest>

class TestTwips : public QObject {
    Q_OBJECT
private slots:
    void toPixels_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("one pixel") << 15.0 << 1;
        QTest::newRow("below half") << 7.0 << 0;
        QTest::newRow("above half") << 8.0 << 1;
        QTest::newRow("half rounds away") << 7.5 << 1;
        QTest::newRow("strip height") << 230.0 << 15;
        QTest::newRow("player height") << 1725.0 << 115;
        QTest::newRow("panel height") << 5640.0 << 376;
        QTest::newRow("window width") << 4110.0 << 274;
        QTest::newRow("negative") << -150.0 << -10;
        QTest::newRow("negative half") << -7.5 << -1;
        QTest::newRow("fraction of a knob drag") << 3541.4 << 236;
    }
    void toPixels()
    {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips), pixels);
    }

    void rectangles_data()
    {
        QTest::addColumn<QRectF>("twips");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("strip previous") << QRectF(1530, 0, 165, 165) << QRect(102, 0, 11, 11);
        QTest::newRow("close") << QRectF(3975, 30, 105, 165) << QRect(265, 2, 7, 11);
        QTest::newRow("compact toggle") << QRectF(3825, 15, 150, 195) << QRect(255, 1, 10, 13);
        QTest::newRow("playlist") << QRectF(195, 2025, 3585, 2910) << QRect(13, 135, 239, 194);
        // Edges round on their own, so two spots that meet in twips meet in pixels.
        QTest::newRow("stop") << QRectF(1275, 1320, 315, 375) << QRect(85, 88, 21, 25);
        QTest::newRow("next, meeting stop") << QRectF(1590, 1320, 420, 390) << QRect(106, 88, 28, 26);
    }
    void rectangles()
    {
        QFETCH(QRectF, twips);
        QFETCH(QRect, pixels);
        QCOMPARE(Twips::toPixels(twips), pixels);
    }

    void fromPixels()
    {
        QCOMPARE(Twips::fromPixels(20), 300.0);
        QCOMPARE(Twips::fromPixels(QRect(1, 2, 3, 4)), QRectF(15, 30, 45, 60));
    }
};

QTEST_APPLESS_MAIN(TestTwips)
#include "tst_twips.moc"
