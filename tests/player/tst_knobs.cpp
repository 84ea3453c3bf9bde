// The position and balance knobs of the main window: the mappings onto the
// media control, the zones in the title line, the drag itself through the
// window's own mouse routing, and a seek by dragging during real playback.
#define QTEST_QPA_MOUSE_HANDLING // mouse events go through the window: implicit grab, as for a user
#include <QApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ImageControl.h"
#include "TestEnvironment.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "Orvane.h"
#include "SinkProbe.h"
#include "Twips.h"

#include <memory>

using PlayState = MediaPlayerControl::PlayState;

namespace {
// The press point of a knob (its centre) in window pixels.
QPoint knobCentre(const ImageControl *knob) { return knob->geometry().center(); }
} // namespace

class TestKnobs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_song; // 4 s
    std::unique_ptr<Orvane> w;

    const OrvaneControls &c() const { return w->controls(); }

    void showWindow()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The sink is timed and silent, and it measures what reaches it.
        setUpWindowTestEnvironment(m_dir.filePath("settings"), SinkProbe::sinkDescription());
        QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
        m_song = MediaFixtures::makeWav(m_dir.path(), "four.wav", 4.0);
        QVERIFY(!m_song.isEmpty());
    }

    void init() { w = std::make_unique<Orvane>(); }
    void cleanup() { w.reset(); }

    void knobsStartAtTheirDesignPlaces()
    {
        QCOMPARE(c().islider->Left(), 120.0);
        QCOMPARE(c().balance->Left(), 1350.0);
        QVERIFY(!w->sliderDragging());
        // The knob follows playback on the window's shared one-second tick.
        QVERIFY(c().Timer4->isActive());
        QCOMPARE(c().Timer4->interval(), 1000);
    }

    // Releasing the balance knob maps its place onto the control's full range.
    void balanceRelease_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<long>("balance");
        QTest::newRow("full left") << 900.0 << -10000L;
        QTest::newRow("half left") << 1125.0 << -5000L;
        QTest::newRow("design place: centre") << 1350.0 << 0L;
        QTest::newRow("half right") << 1545.0 << 5000L;
        QTest::newRow("full right") << 1740.0 << 10000L;
        QTest::newRow("one twip left of centre") << 1349.0 << -22L;
    }
    void balanceRelease()
    {
        QFETCH(double, left);
        QFETCH(long, balance);
        QVERIFY(c().am1->setBalance(1234) == std::nullopt);
        c().balance->setLeft(left);
        w->balance_MouseUp(1, 0, 0, 0);
        QCOMPARE(c().am1->Balance(), balance);
        QVERIFY(!w->sliderDragging());
    }

    // A move over the balance knob names its zone and never touches Balance.
    void balanceZones_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<QString>("title");
        QTest::newRow("900") << 900.0 << "Left";
        QTest::newRow("1199") << 1199.0 << "Left";
        QTest::newRow("1200") << 1200.0 << "Center";
        QTest::newRow("1334") << 1334.0 << "Center";
        QTest::newRow("1335 unchanged") << 1335.0 << "song.wav";
        QTest::newRow("design place unchanged") << 1350.0 << "song.wav";
        QTest::newRow("1620 unchanged") << 1620.0 << "song.wav";
        QTest::newRow("1621") << 1621.0 << "Right";
        QTest::newRow("1740") << 1740.0 << "Right";
    }
    void balanceZones()
    {
        QFETCH(double, left);
        QFETCH(QString, title);
        c().Label24->setCaption(QStringLiteral("song.wav"));
        QVERIFY(c().am1->setBalance(321) == std::nullopt);
        c().balance->setLeft(left);
        w->balance_MouseMove(0, 0, 30, 30); // a hover: no press
        QCOMPARE(c().Label24->Caption(), title);
        QCOMPARE(c().am1->Balance(), 321L);
        QCOMPARE(c().balance->Left(), left); // a hover does not drag
    }

    void seekSeconds_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("seconds");
        QTest::newRow("start") << 120.0 << 300.0 << 0.0;
        QTest::newRow("middle of 4 s") << 1890.0 << 4.0 << 2.0;
        QTest::newRow("just before the middle") << 1889.0 << 4.0 << 1.0;
        QTest::newRow("3540 of 300 s") << 3540.0 << 300.0 << 289.0;
        QTest::newRow("end of the track") << 3660.0 << 300.0 << 300.0;
        QTest::newRow("a twip before the end") << 3659.0 << 300.0 << 299.0;
        QTest::newRow("nothing open") << 2000.0 << 0.0 << 0.0;
        QTest::newRow("long song, no 16-bit wrap") << 3660.0 << 40000.0 << 40000.0;
    }
    void seekSeconds()
    {
        QFETCH(double, left);
        QFETCH(double, duration);
        QFETCH(double, seconds);
        QCOMPARE(Orvane::SeekSeconds(left, duration), seconds);
    }

    // Nothing loaded: playback does not move the knob, and a release on it
    // leaves it where it was dropped.
    void withoutMediaTheKnobStays()
    {
        c().islider->setLeft(2000);
        w->Timer55_Timer();
        QCOMPARE(c().islider->Left(), 2000.0);
        w->islider_MouseDown(1, 0, 200, 40);
        QVERIFY(w->sliderDragging());
        w->islider_MouseUp(1, 0, 200, 40);
        QVERIFY(!w->sliderDragging());
        QCOMPARE(c().islider->Left(), 2000.0);
        QCOMPARE(c().am1->Duration(), 0.0);
        w->Timer55_Timer();
        QCOMPARE(c().islider->Left(), 2000.0);
    }

    // Playback maps position p of duration d to floor(p/d * 3540) + 120.
    void timerFollowsPlayback()
    {
        QVERIFY(c().am1->setFileName(m_song) == std::nullopt);
        QVERIFY(c().am1->Stop() == std::nullopt);
        QVERIFY(c().am1->setCurrentPosition(3.0) == std::nullopt);
        w->Timer55_Timer();
        QCOMPARE(c().islider->Left(), 120.0 + 2655.0);
        // A knob held: the timer leaves the position knob alone.
        w->balance_MouseDown(1, 0, 90, 30);
        QVERIFY(c().am1->setCurrentPosition(1.0) == std::nullopt);
        w->Timer55_Timer();
        QCOMPARE(c().islider->Left(), 2775.0);
        w->balance_MouseUp(1, 0, 90, 30);
        w->Timer55_Timer();
        QCOMPARE(c().islider->Left(), 120.0 + 885.0);
    }

    // Real pointer: a move that does not move the pointer leaves the knob
    // exactly where it is; the knob follows the pointer pixel for pixel and
    // comes back to its place when the pointer does.
    void knobFollowsThePointerExactly()
    {
        showWindow();
        ImageControl *k = c().islider;
        k->setLeft(1000); // not on a pixel boundary of the press
        const QPoint p0 = knobCentre(k);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p0);
        QVERIFY(w->sliderDragging());
        for (int i = 0; i < 20; ++i)
            QTest::mouseMove(w.get(), p0);
        QCOMPARE(k->Left(), 1000.0);
        QTest::mouseMove(w.get(), p0 + QPoint(30, 0));
        QCOMPARE(k->Left(), 1000.0 + 30 * 15);
        QTest::mouseMove(w.get(), p0 + QPoint(30, 9)); // off the knob, still dragged
        QCOMPARE(k->Left(), 1450.0);
        QTest::mouseMove(w.get(), p0 + QPoint(-7, 0));
        QCOMPARE(k->Left(), 1000.0 - 7 * 15);
        QTest::mouseMove(w.get(), p0);
        QCOMPARE(k->Left(), 1000.0);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p0);
        QVERIFY(!w->sliderDragging());
        QCOMPARE(k->Left(), 1000.0);
    }

    // Dragged past either end a knob stops at its track's end.
    void dragStopsAtTheEnds_data()
    {
        QTest::addColumn<QString>("knob");
        QTest::addColumn<int>("dx");
        QTest::addColumn<double>("left");
        QTest::newRow("position, far right") << "islider" << 260 << 3660.0;
        QTest::newRow("position, far left") << "islider" << -200 << 120.0;
        QTest::newRow("balance, far left") << "balance" << -80 << 900.0;
        QTest::newRow("balance, far right") << "balance" << 150 << 1740.0;
    }
    void dragStopsAtTheEnds()
    {
        QFETCH(QString, knob);
        QFETCH(int, dx);
        QFETCH(double, left);
        showWindow();
        ImageControl *k = knob == "islider" ? c().islider : c().balance;
        if (k == c().islider)
            k->setLeft(1500);
        const QPoint p0 = knobCentre(k);
        const QPoint p1(std::clamp(p0.x() + dx, 0, w->width() - 1), p0.y());
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p0);
        QTest::mouseMove(w.get(), QPoint((p0.x() + p1.x()) / 2, p0.y()));
        QTest::mouseMove(w.get(), p1);
        QCOMPARE(k->Left(), left);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p1);
        QCOMPARE(k->Left(), left);
    }

    // A second button pressed during a drag keeps the first press's anchor;
    // its release ends the drag.
    void secondPressKeepsTheFirstAnchor()
    {
        showWindow();
        ImageControl *k = c().balance;
        const QPoint p0 = knobCentre(k);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p0);
        QTest::mouseMove(w.get(), p0 + QPoint(-10, 0));
        QCOMPARE(k->Left(), 1200.0);
        QTest::mousePress(w.get(), Qt::RightButton, {}, p0 + QPoint(-10, 0));
        QTest::mouseMove(w.get(), p0 + QPoint(-20, 0));
        QCOMPARE(k->Left(), 1050.0); // measured from the first press, not the second
        QCOMPARE(c().Label24->Caption(), QStringLiteral("Left"));
        QTest::mouseRelease(w.get(), Qt::RightButton, {}, p0 + QPoint(-20, 0));
        QVERIFY(!w->sliderDragging());
        QCOMPARE(c().am1->Balance(), Orvane::BalanceFromKnob(1050));
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p0 + QPoint(-20, 0));
    }

    // A click on the balance knob at its design place centres the balance;
    // a hover there leaves the title alone.
    void clickAndHoverOnTheBalanceKnob()
    {
        showWindow();
        QVERIFY(c().am1->setBalance(-4000) == std::nullopt);
        c().Label24->setCaption(QStringLiteral("tune"));
        const QPoint p0 = knobCentre(c().balance);
        QTest::mouseMove(w.get(), p0);
        QCOMPARE(c().Label24->Caption(), QStringLiteral("tune"));
        QTest::mouseClick(w.get(), Qt::LeftButton, {}, p0);
        QCOMPARE(c().am1->Balance(), 0L);
        QCOMPARE(c().balance->Left(), 1350.0);
    }

    // The whole path as a user takes it: a 4 s song plays through the fake
    // sink and is paused early; the knob is dragged past the middle
    // and released, and playback goes on from 2 s; then the knob follows
    // playback again.
    void dragSeeksDuringPlayback()
    {
        showWindow();
        QVERIFY(c().am1->setFileName(m_song) == std::nullopt);
        QCOMPARE(c().am1->Duration(), 4.0);
        QVERIFY(c().am1->Play() == std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(c().am1->CurrentPosition() > 0.2, 3000);
        // Paused early on: the release must play on from the knob's place.
        QVERIFY(c().am1->Pause() == std::nullopt);
        QVERIFY(c().am1->CurrentPosition() < 1.0);
        ImageControl *k = c().islider;
        const QPoint p0 = knobCentre(k);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p0);
        const double pressLeft = k->Left();
        // Aim well past the middle (1890) but short of 3 s (2775), to the
        // nearest pixel.
        const int dx = qRound((2300.0 - pressLeft) / 15);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(w.get(), p0 + QPoint(dx * step / 4, 0), 20);
        const double dropped = k->Left();
        QCOMPARE(dropped, pressLeft + dx * 15);
        QTest::qWait(1200); // a tick of the follow timer while held
        QCOMPARE(k->Left(), dropped);
        QVERIFY(c().Label20->Caption() != QStringLiteral("00:02"));
        QSignalSpy landed(c().am1, &MediaPlayerControl::SeekLanded);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p0 + QPoint(dx, 0));
        QCOMPARE(c().am1->playState(), PlayState::Playing);
        // Once the seek lands both time displays show its second and the
        // knob its place, without waiting for the next tick.
        QVERIFY(!landed.isEmpty() || landed.wait(5000));
        QCOMPARE(c().Label20->Caption(), QStringLiteral("00:02"));
        QCOMPARE(c().toptime->Caption(), QStringLiteral("00:02"));
        QVERIFY2(k->Left() >= 1890 && k->Left() < dropped, qPrintable(QString::number(k->Left())));
        // Without the seek, playing on from below 1 s could not reach 2 s
        // within the wait. (The control may read 0 for a moment while it goes
        // back to playing.)
        QTRY_VERIFY_WITH_TIMEOUT(c().am1->CurrentPosition() >= 2.0, 900);
        QVERIFY2(c().am1->CurrentPosition() < 2.5, qPrintable(QString::number(c().am1->CurrentPosition())));
        // Playback goes on from there and the knob follows it again.
        QTRY_VERIFY_WITH_TIMEOUT(c().am1->CurrentPosition() > 2.3, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(k->Left() != dropped && k->Left() > 1890, 3000);
    }

    // What is heard: the balance knob dragged to its left end sends the song
    // to the left channel only; back at its design place both sound alike.
    void balanceKnobPansWhatIsHeard()
    {
        showWindow();
        SinkProbe probe;
        // A song that outlasts every wait below, on a loaded machine too.
        const QString song = MediaFixtures::makeWav(m_dir.path(), "long.wav", 90.0);
        QVERIFY(!song.isEmpty());
        QVERIFY(c().am1->setFileName(song) == std::nullopt);
        QVERIFY(c().am1->Play() == std::nullopt);
        const QPoint p0 = knobCentre(c().balance);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p0);
        QTest::mouseMove(w.get(), p0 + QPoint(-15, 0));
        QTest::mouseMove(w.get(), p0 + QPoint(-40, 0));
        QCOMPARE(c().balance->Left(), 900.0);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p0 + QPoint(-40, 0));
        QCOMPARE(c().am1->Balance(), -10000L);
        // Sound queued before the turn is still on its way: judge fresh
        // stretches of sound until it has drained.
        QVERIFY2(probe.waitUntilHeard(5, 20000, [&] { return probe.rmsRight() < probe.rmsLeft() * 0.02; }),
                 qPrintable(QStringLiteral("left %1, right %2").arg(probe.rmsLeft()).arg(probe.rmsRight())));
        QVERIFY2(probe.rmsLeft() > 0.05, qPrintable(QString::number(probe.rmsLeft())));

        // Back to the middle of the track by hand: both channels again.
        const QPoint p1 = knobCentre(c().balance);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p1);
        QTest::mouseMove(w.get(), p1 + QPoint(30, 0));
        QCOMPARE(c().balance->Left(), 1350.0);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, p1 + QPoint(30, 0));
        QCOMPARE(c().am1->Balance(), 0L);
        QVERIFY2(probe.waitUntilHeard(
                     5, 20000, [&] { return probe.rmsRight() > probe.rmsLeft() * 0.9 && probe.rmsRight() < probe.rmsLeft() * 1.1; }),
                 qPrintable(QStringLiteral("left %1, right %2").arg(probe.rmsLeft()).arg(probe.rmsRight())));
    }

    // While the balance knob is held, playback does not move the position knob.
    void heldBalanceKnobFreezesThePositionKnob()
    {
        showWindow();
        QVERIFY(c().am1->setFileName(m_song) == std::nullopt);
        QVERIFY(c().am1->Play() == std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(c().islider->Left() > 120, 3000);
        const QPoint b = knobCentre(c().balance);
        QTest::mousePress(w.get(), Qt::LeftButton, {}, b);
        const double held = c().islider->Left();
        QTest::qWait(1300);
        QCOMPARE(c().islider->Left(), held);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, b);
        QTRY_VERIFY_WITH_TIMEOUT(c().islider->Left() > held, 3000);
    }
};

QTEST_MAIN(TestKnobs)
#include "tst_knobs.moc"
