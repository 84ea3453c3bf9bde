#include "support_playerwindow.h"

#include <QTimer>

#include "LabelControl.h"
#include "PictureBox.h"

class TestDisplays : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QString m_long;

private Q_SLOTS:
    void initTestCase()
    {
        PlayerWindow::setUpEnvironment(m_settings);
        m_long = MediaFixtures::makeWav(m_media.path(), QStringLiteral("long.wav"), 70.0);
        QVERIFY(!m_long.isEmpty());
    }

    // Both time displays come from one one-second tick; before it they show
    // their design texts.
    void timeDisplaysStartAndTick()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QCOMPARE(c.toptime->Caption(), QStringLiteral("00.00"));
        QCOMPARE(c.Label20->Caption(), QStringLiteral("00:00"));
        QVERIFY(c.Timer4->isActive());
        QCOMPARE(c.Timer4->interval(), 1000);
        // The hidden strip time is written too.
        QVERIFY(c.toptime->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(c.toptime->Caption(), QStringLiteral("00:00"), 3000);
        QCOMPARE(c.Label20->Caption(), QStringLiteral("00:00"));
    }

    // The position the control reports, as both displays show it.
    void timeDisplaysShowThePosition_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0.0 << "00:00";
        QTest::newRow("1.5 s") << 1.5 << "00:02";
        QTest::newRow("59.5 s") << 59.5 << "01:00";
        QTest::newRow("61.5 s") << 61.5 << "01:02";
        QTest::newRow("66.5 s") << 66.5 << "01:06";
    }
    void timeDisplaysShowThePosition()
    {
        QFETCH(double, position);
        QFETCH(QString, text);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QVERIFY(!c.am1->setFileName(m_long));
        QVERIFY(!c.am1->Pause());
        QVERIFY(!c.am1->setCurrentPosition(position));
        w->Timer4_Timer();
        w->Timer5_Timer();
        QCOMPARE(c.toptime->Caption(), text);
        QCOMPARE(c.Label20->Caption(), text);
    }

    void timeWhileNothingIsLoaded()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.Label20->setCaption(QStringLiteral("12:34"));
        w->Timer5_Timer();
        QCOMPARE(c.Label20->Caption(), QStringLiteral("00:00"));
    }

    // The title moves 50 twips a tick and re-enters from the panel's right
    // edge once it has passed the left edge completely (strictly).
    void titleWrap_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("left");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<double>("leftAfter");
        QTest::newRow("one tick") << 480.0 << 90.0 << 1 << 40.0;
        QTest::newRow("11 ticks from 90") << 480.0 << 90.0 << 11 << -460.0;
        QTest::newRow("12th tick wraps") << 480.0 << 90.0 << 12 << 2325.0;
        QTest::newRow("exactly -width stays") << 480.0 << -430.0 << 1 << -480.0;
        QTest::newRow("then wraps") << 480.0 << -430.0 << 2 << 2325.0;
        QTest::newRow("moves on after the wrap") << 480.0 << 90.0 << 13 << 2275.0;
        QTest::newRow("wide title") << 3000.0 << -2900.0 << 1 << -2950.0;
        QTest::newRow("wide title wraps") << 3000.0 << -2990.0 << 1 << 2325.0;
        QTest::newRow("zero width") << 0.0 << 60.0 << 1 << 10.0;
        QTest::newRow("zero width wraps below 0") << 0.0 << 60.0 << 2 << 2325.0;
    }
    void titleWrap()
    {
        QFETCH(double, width);
        QFETCH(double, left);
        QFETCH(int, ticks);
        QFETCH(double, leftAfter);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.Timer7->stop(); // ticks by hand only
        c.Label24->setAutoSize(false);
        c.Label24->setTwipsGeometry(left, 15, width, 165);
        for (int i = 0; i < ticks; ++i)
            w->Timer7_Timer();
        QCOMPARE(c.Label24->Left(), leftAfter);
        QCOMPARE(c.Label24->Top(), 15.0);
    }

    // A new title keeps the scroll's place; the width follows the text.
    void newTitleKeepsItsPlace()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.Timer7->stop();
        c.Label24->setLeft(-120);
        const double before = c.Label24->Width();
        c.Label24->setCaption(QStringLiteral("A much longer song title.mp3"));
        QCOMPARE(c.Label24->Left(), -120.0);
        QVERIFY(c.Label24->Width() > before);
    }

    // The scroll rests while the title cannot be seen and goes on from where
    // it was.
    void scrollRestsWhileUnseen()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QVERIFY(c.Timer7->isActive());
        QCOMPARE(c.Timer7->interval(), 100);
        QTRY_VERIFY(c.Label24->Left() < 90);

        w->setHeight(OrvaneGeometry::HeightStrip);
        QVERIFY(!c.Timer7->isActive());
        const double rest = c.Label24->Left();
        QTest::qWait(250);
        QCOMPARE(c.Label24->Left(), rest);
        w->setHeight(OrvaneGeometry::HeightPanel);
        QVERIFY(c.Timer7->isActive());
        QTRY_VERIFY(c.Label24->Left() != rest);

        w->showMinimized();
        QTRY_VERIFY(!c.Timer7->isActive());
        const double minimised = c.Label24->Left();
        QTest::qWait(250);
        QCOMPARE(c.Label24->Left(), minimised);
        w->showNormal();
        QTRY_VERIFY(c.Timer7->isActive());

        w->hide();
        QTRY_VERIFY(!c.Timer7->isActive());
    }

    // Idle, only the caption, the one-second tick and the title scroll (and
    // the position knob's tick) may run: no fast followers.
    void idleTimers()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        for (QTimer *t : {c.Timer3, c.Timer6, c.toppicture, c.Timer5})
            QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    }
};

QTEST_MAIN(TestDisplays)
#include "tst_displays.moc"
