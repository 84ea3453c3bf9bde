#include <QTest>
#include <limits>

#include "TimeFormat.h"

class TestTimeFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("0.4") << 0.4 << qint64(0);
        QTest::newRow("0.5 to even 0") << 0.5 << qint64(0);
        QTest::newRow("1.5 to even 2") << 1.5 << qint64(2);
        QTest::newRow("2.5 to even 2") << 2.5 << qint64(2);
        QTest::newRow("2.51") << 2.51 << qint64(3);
        QTest::newRow("-0.5 to even 0") << -0.5 << qint64(0);
        QTest::newRow("-1.5 to even -2") << -1.5 << qint64(-2);
        QTest::newRow("-2.5 to even -2") << -2.5 << qint64(-2);
        QTest::newRow("-1.6") << -1.6 << qint64(-2);
        QTest::newRow("large tie") << 4294967296.5 << qint64(4294967296);
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(qint64, rounded);
        QCOMPARE(qint64(RoundHalfEven(value)), rounded);
    }

    void formatElapsed_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing loaded") << 0.0 << "00:00";
        QTest::newRow("minus one counts as zero") << -1.0 << "00:00";
        QTest::newRow("0.4") << 0.4 << "00:00";
        QTest::newRow("0.5 tie to even") << 0.5 << "00:00";
        QTest::newRow("1.5 tie to even") << 1.5 << "00:02";
        QTest::newRow("59.4") << 59.4 << "00:59";
        QTest::newRow("59.5") << 59.5 << "01:00";
        QTest::newRow("60.5") << 60.5 << "01:00";
        QTest::newRow("61.5") << 61.5 << "01:02";
        QTest::newRow("65.5") << 65.5 << "01:06";
        QTest::newRow("66.5") << 66.5 << "01:06";
        QTest::newRow("3599.5") << 3599.5 << "60:00";
        QTest::newRow("3600") << 3600.0 << "60:00";
        QTest::newRow("6000") << 6000.0 << "100:00";
        // Around 32767 seconds (546 minutes), where 60 times the minutes no
        // longer fits 16 bits: the minutes and the seconds left stay right.
        QTest::newRow("546:59 just before") << (547 * 60 - 0.6) << "546:59";
        QTest::newRow("547 minutes, half a second early") << (547 * 60 - 0.5) << "547:00";
        QTest::newRow("inside the 548th minute") << (547 * 60 + 30.0) << "547:30";
        QTest::newRow("548th minute end") << (547 * 60 + 59.4) << "547:59";
        QTest::newRow("past 32767 minutes") << (40000 * 60 + 7.0) << "40000:07";
        QTest::newRow("past 16-bit seconds") << 70000.0 << "1166:40";
        QTest::newRow("-1.5") << -1.5 << "00:-02";
        QTest::newRow("-1.6") << -1.6 << "00:-02";
        QTest::newRow("-100") << -100.0 << "-01:-40";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "00:00";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "00:00";
        QTest::newRow("absurdly large") << 1e300 << "00:00";
    }
    void formatElapsed()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(FormatElapsed(seconds), text);
    }

    // The time displays' tick fires this long after reading a playing
    // position, so the next read lands just past the next whole second.
    void msToNextWholeSecond_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("start") << 0.0 << 1025;
        QTest::newRow("on a whole second") << 7.0 << 1025;
        QTest::newRow("just past one") << 7.025 << 1000;
        QTest::newRow("middle") << 12.3 << 725;
        QTest::newRow("just before one") << 12.999 << 26;
        QTest::newRow("past an hour") << 3725.75 << 275;
        QTest::newRow("negative") << -0.4 << 425;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1025;
    }
    void msToNextWholeSecond()
    {
        QFETCH(double, seconds);
        QFETCH(int, ms);
        QCOMPARE(MsToNextWholeSecond(seconds, 25), ms);
    }
};

QTEST_APPLESS_MAIN(TestTimeFormat)
#include "tst_timeformat.moc"
