// The video window's seek knob and scrolling title, with real playback of
// generated videos through a silent, timed audio sink and real mouse events.
#include "FileDialogControl.h"
#include "TestEnvironment.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "PictureBox.h"
#include "support_video.h"
#include "video.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using PlayState = MediaPlayerControl::PlayState;

class TestVideoSlider : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QString m_clip;  // 4 s
    QString m_short; // 1.5 s

    static video &shown()
    {
        video &v = video::instance();
        v.show();
        if (!QTest::qWaitForWindowExposed(&v))
            qWarning("video window not exposed");
        return v;
    }
    static void open(video &v, const QString &path)
    {
        FileDialogSeam::queueAnswer(path);
        v.Image1_Click();
    }
    static QPoint knobCentre(video &v) { return v.controls().islider->geometry().center(); }

    // Grabs the knob at its centre and moves the pointer by dx pixels; returns
    // where the pointer is.
    static QPoint dragKnob(video &v, int dx, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint from = knobCentre(v);
        QTest::mousePress(v.windowHandle(), button, {}, from);
        QTest::mouseMove(v.windowHandle(), from + QPoint(dx, 0));
        return from + QPoint(dx, 0);
    }
    // Releases where the pointer is (a release elsewhere would move it first).
    static void releaseKnob(video &v, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(v.windowHandle(), button, {}, at);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid() && m_media.isValid());
        setUpWindowTestEnvironment(m_settings.path());
        m_clip = MediaFixtures::makeVideo(m_media.path(), "clip.avi", 4.0);
        m_short = MediaFixtures::makeVideo(m_media.path(), "short.avi", 1.5);
        QVERIFY(!m_clip.isEmpty() && !m_short.isEmpty());
    }

    void cleanup()
    {
        video::discard();
        FileDialogSeam::clear();
    }

    // The knob follows the pointer one to one from its grab point and stops
    // at both ends of the track.
    void knobFollowsThePointer_data()
    {
        QTest::addColumn<QList<int>>("moves"); // pointer offsets from the press, pixels
        QTest::addColumn<double>("left");      // the knob's Left after the last, twips
        QTest::newRow("100 px right") << QList<int>{100} << 1740.0;
        QTest::newRow("in small steps") << QList<int>{1, 2, 3, 5, 8, 13, 21} << 555.0;
        QTest::newRow("there and back") << QList<int>{150, 40} << 840.0;
        QTest::newRow("to the right stop") << QList<int>{214} << 3450.0;
        QTest::newRow("beyond the right end") << QList<int>{400} << 3450.0;
        QTest::newRow("beyond the left end") << QList<int>{-30} << 240.0;
        QTest::newRow("beyond, then back") << QList<int>{500, 100} << 1740.0;
    }
    void knobFollowsThePointer()
    {
        QFETCH(QList<int>, moves);
        QFETCH(double, left);
        video &v = shown();
        const QPoint from = knobCentre(v);
        QTest::mousePress(v.windowHandle(), Qt::LeftButton, {}, from);
        QVERIFY(v.sliderDragging());
        for (int dx : moves)
            QTest::mouseMove(v.windowHandle(), from + QPoint(dx, 3)); // a little off the track too
        QCOMPARE(v.controls().islider->Left(), left);
        QCOMPARE(v.controls().islider->Top(), 3345.0);
        QTest::mouseRelease(v.windowHandle(), Qt::LeftButton, {}, from + QPoint(moves.last(), 3));
        QVERIFY(!v.sliderDragging());
    }

    // From a place playback gave it (not a whole pixel), the knob still keeps
    // the grab point under the pointer.
    void knobFromAnOddPlaceStaysUnderThePointer()
    {
        video &v = shown();
        v.controls().islider->setLeft(1000); // 66.7 px: shown at 67
        const QPoint from = knobCentre(v);
        QTest::mousePress(v.windowHandle(), Qt::LeftButton, {}, from);
        QTest::mouseMove(v.windowHandle(), from + QPoint(20, 0));
        QCOMPARE(v.controls().islider->Left(), 1300.0);
        QTest::mouseMove(v.windowHandle(), from + QPoint(-2, 0));
        QCOMPARE(v.controls().islider->Left(), 970.0);
        releaseKnob(v, from + QPoint(-2, 0));
    }

    // A second button while the knob is held keeps the first grab.
    void secondButtonChangesNothing()
    {
        video &v = shown();
        const QPoint from = knobCentre(v);
        QTest::mousePress(v.windowHandle(), Qt::LeftButton, {}, from);
        QTest::mouseMove(v.windowHandle(), from + QPoint(50, 0));
        v.islider_MouseDown(2, 0, 0, 0); // the right button, at the knob's left edge
        QTest::mouseMove(v.windowHandle(), from + QPoint(60, 0));
        QCOMPARE(v.controls().islider->Left(), 240.0 + 60 * 15);
        releaseKnob(v, from + QPoint(60, 0));
    }

    // Releasing seeks at once to the whole second the knob's place stands for
    // and plays from there, also from a pause; the whole track is the whole
    // media.
    void releaseSeeks_data()
    {
        QTest::addColumn<int>("dx");
        QTest::addColumn<bool>("pausedFirst");
        QTest::addColumn<double>("fraction"); // of the duration the knob stands for
        QTest::newRow("click without a move") << 0 << false << 0.0;
        QTest::newRow("middle") << 107 << false << 0.5;
        QTest::newRow("middle, from a pause") << 107 << true << 0.5;
        QTest::newRow("near the end") << 200 << false << 3000.0 / 3210.0;
        QTest::newRow("right button") << 150 << false << 2250.0 / 3210.0;
    }
    void releaseSeeks()
    {
        QFETCH(int, dx);
        QFETCH(bool, pausedFirst);
        QFETCH(double, fraction);
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        open(v, m_clip);
        // The knob stays at the start while playback gets going: on a busy
        // machine the one-second tick could otherwise move it first.
        v.controls().Timer55->stop();
        QCOMPARE(v.controls().islider->Left(), 240.0);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() > 0.3, 5000);
        if (pausedFirst) {
            v.Image3_Click();
            QCOMPARE(mp->playState(), PlayState::Paused);
        }
        const Qt::MouseButton button = QTest::currentDataTag() == QByteArray("right button") ? Qt::RightButton
                                                                                            : Qt::LeftButton;
        const QPoint at0 = dragKnob(v, dx, button);
        QCOMPARE((v.controls().islider->Left() - 240) / 3210, fraction);
        const double before = mp->CurrentPosition();
        QSignalSpy landed(mp, &MediaPlayerControl::SeekLanded);
        releaseKnob(v, at0, button);
        const double target = std::floor(mp->Duration() * fraction);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(!v.sliderDragging());
        // The release itself seeks: right after it the position is the
        // target, not where playback had got to (at least 0.3 s, and far
        // from the targets ahead).
        QVERIFY2(std::abs(mp->CurrentPosition() - target) < 0.2,
                 qPrintable(QStringLiteral("at %1 (was %2), target %3").arg(mp->CurrentPosition()).arg(before).arg(target)));
        // Once the seek lands the knob stands for the target at once, and
        // its tick (stopped above) runs again, in step with the new place.
        QVERIFY(!landed.isEmpty() || landed.wait(5000));
        QVERIFY(v.controls().Timer55->isActive());
        const double shown = 240 + std::floor(target / mp->Duration() * 3210);
        QVERIFY2(v.controls().islider->Left() >= shown && v.controls().islider->Left() < shown + 3210 * 0.3 / mp->Duration(),
                 qPrintable(QString::number(v.controls().islider->Left())));
        // The seek settles within a moment; then playback runs on from the target.
        QTRY_VERIFY2_WITH_TIMEOUT(mp->CurrentPosition() >= target - 0.05 && mp->CurrentPosition() < target + 0.8,
                                  qPrintable(QStringLiteral("at %1, target %2").arg(mp->CurrentPosition()).arg(target)),
                                  3000);
    }

    // Dropped on the right stop the knob stands for the end of the media; the
    // seek there ends the media and the window stays usable.
    void releaseAtTheRightStopReachesTheEnd()
    {
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        open(v, m_clip);
        QSignalSpy ended(mp, &MediaPlayerControl::EndOfStream);
        QPoint at = dragKnob(v, 1000);
        QCOMPARE(v.controls().islider->Left(), 3450.0);
        releaseKnob(v, at);
        QTRY_VERIFY_WITH_TIMEOUT(ended.count() == 1 || mp->CurrentPosition() >= std::floor(mp->Duration()) - 0.05,
                                 5000);
        QVERIFY(video::loaded());
        at = dragKnob(v, -1000);
        releaseKnob(v, at);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(mp->CurrentPosition() < 1.0);
    }

    // Nothing open: the timer leaves the knob alone; a drag and release still
    // work, seek to 0 and play nothing.
    void nothingOpen()
    {
        video &v = shown();
        v.Timer55_Timer();
        QCOMPARE(v.controls().islider->Left(), 240.0);
        releaseKnob(v, dragKnob(v, 80));
        QCOMPARE(v.controls().islider->Left(), 240.0 + 80 * 15);
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
        v.Timer55_Timer();
        QCOMPARE(v.controls().islider->Left(), 240.0 + 80 * 15);
    }

    // Playback moves the knob once a second, on the same scale the drag uses.
    void knobFollowsPlayback_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::newRow("start") << 0.0;
        QTest::newRow("1 s") << 1.0;
        QTest::newRow("2.5 s") << 2.5;
        QTest::newRow("3.5 s") << 3.5;
    }
    void knobFollowsPlayback()
    {
        QFETCH(double, seconds);
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        open(v, m_clip);
        QVERIFY(!mp->Pause());
        QVERIFY(!mp->setCurrentPosition(seconds));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(mp->CurrentPosition() - seconds) < 0.05, 3000);
        v.Timer55_Timer();
        const double left = v.controls().islider->Left();
        const double expected = 240 + std::floor(mp->CurrentPosition() / mp->Duration() * 3210);
        QCOMPARE(left, expected);
        QVERIFY(left >= 240 && left <= 3450);
    }

    // At the end of the media the knob stands at the right stop, wholly on the
    // painted track and clear of the display panel.
    void knobAtTheEndStaysOnTheTrack()
    {
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        QSignalSpy ended(mp, &MediaPlayerControl::EndOfStream);
        open(v, m_short);
        QVERIFY(ended.wait(6000));
        v.Timer55_Timer();
        const QRect knob = v.controls().islider->geometry();
        QVERIFY2(v.controls().islider->Left() > 3300, qPrintable(QString::number(v.controls().islider->Left())));
        QVERIFY(v.controls().islider->Left() <= 3450);
        QVERIFY(knob.right() <= 260);
        QVERIFY(!knob.intersects(v.controls().PicDisplay->geometry()));
    }

    // Held, the knob stays where the user put it, however long and whatever
    // plays.
    void heldKnobIsNotMovedByPlayback()
    {
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        open(v, m_clip);
        const QPoint at = dragKnob(v, 120);
        const double held = v.controls().islider->Left();
        QTest::qWait(1300); // a real tick of the 1000 ms timer passes
        v.Timer55_Timer();
        QCOMPARE(v.controls().islider->Left(), held);
        QVERIFY(mp->CurrentPosition() > 0.5);
        releaseKnob(v, at);
    }

    // Real playback: frames reach the player's picture and the knob moves on
    // its own. A screenshot of the window playing is kept.
    void playsAVideo()
    {
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        const QRect player = mp->geometry();
        QCOMPARE(distinctColours(v.grab().toImage(), player.adjusted(4, 4, -4, -40)) <= 3, true);
        open(v, m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(distinctColours(v.grab().toImage(), player.adjusted(4, 4, -4, -40)) > 6, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(v.controls().islider->Left() > 240, 4000);
        v.controls().Label1->setLeft(300);
        const QString shot = screenshotPath(m_media.path(), QStringLiteral("video-playing.png"));
        QVERIFY(v.grab().save(shot));
        qInfo("screenshot: %s", qPrintable(shot));
    }

    // The title slides 50 twips a tick and comes in again at the panel's right
    // edge once its Left is below minus its width, strictly.
    void titleMarquee_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << QString();
        QTest::newRow("short") << QStringLiteral("a.avi");
        QTest::newRow("long") << QStringLiteral("a rather long name of a video file.mpeg");
    }
    void titleMarquee()
    {
        QFETCH(QString, title);
        video &v = video::instance();
        LabelControl *label = v.controls().Label1;
        v.controls().Timer1->stop();
        label->setCaption(title);
        label->setLeft(0);
        const double width = label->Width();
        QVERIFY(width > 0);
        const int wrapTick = int(std::floor(width / 50)) + 1;
        for (int tick = 1; tick < wrapTick; ++tick) {
            v.Timer1_Timer();
            QCOMPARE(label->Left(), -50.0 * tick);
        }
        v.Timer1_Timer();
        QCOMPARE(label->Left(), 1410.0);
        QCOMPARE(label->Top(), 0.0);
        v.Timer1_Timer();
        QCOMPARE(label->Left(), 1360.0);
    }

    void titleAtExactlyMinusItsWidthStaysOneMoreTick()
    {
        video &v = video::instance();
        LabelControl *label = v.controls().Label1;
        v.controls().Timer1->stop();
        label->setCaption(QStringLiteral("clip.avi"));
        const double width = label->Width();
        label->setLeft(-width + 50);
        v.Timer1_Timer();
        QCOMPARE(label->Left(), -width);
        v.Timer1_Timer();
        QCOMPARE(label->Left(), 1410.0);
    }

    // Opening a file changes the title's text, not its place.
    void openingKeepsTheTitlesPlace()
    {
        video &v = shown();
        v.controls().Timer1->stop();
        v.controls().Label1->setLeft(-300);
        open(v, m_short);
        QCOMPARE(v.controls().Label1->Caption(), QStringLiteral("short.avi"));
        QCOMPARE(v.controls().Label1->Left(), -300.0);
    }
};

QTEST_MAIN(TestVideoSlider)
#include "tst_videoslider.moc"
