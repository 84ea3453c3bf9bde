// The hold-to-repeat volume buttons and the six-bar meter: the steps and
// bands tick by tick, the control's refusal at either end, quick clicks and
// releases off the button with real mouse events, and a look at the meter.
#define QTEST_QPA_MOUSE_HANDLING // mouse events go through the window: implicit grab, as for a user
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ImageControl.h"
#include "TestEnvironment.h"
#include "LabelControl.h"
#include "LineControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "Orvane.h"
#include "SinkProbe.h"

#include <cmath>
#include <memory>

class TestVolume : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_song; // 4 s
    std::unique_ptr<Orvane> w;

    const OrvaneControls &c() const { return w->controls(); }

    // How many bars are lit, and that they are lit from LVol(1) upward.
    int litBars() const
    {
        int lit = 0;
        for (int i = 1; i <= 6; ++i)
            if (!c().LVol[i]->isHidden())
                lit = i;
        for (int i = 1; i <= lit; ++i)
            if (c().LVol[i]->isHidden())
                return -1; // a gap: not a meter
        return lit;
    }

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

    void designState()
    {
        QCOMPARE(c().am1->Volume(), -360L);
        QCOMPARE(litBars(), 6);
        QVERIFY(!c().TVolum->isActive());
        QCOMPARE(c().TVolum->interval(), 50);
        QCOMPARE(c().VolumInd->Caption(), QString());
        QVERIFY(!w->volumeUpward().has_value());
    }

    // Held from the design volume, tick by tick (the test gives the beat).
    void ticks_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<long>("volume");
        QTest::addColumn<int>("bars");
        QTest::addColumn<QString>("indicator");
        QTest::newRow("up 1") << true << 1 << -230L << 6 << "";
        QTest::newRow("up 2") << true << 2 << -100L << 6 << "";
        QTest::newRow("up 3: refused") << true << 3 << -100L << 6 << "Max";
        QTest::newRow("up 9: still refused") << true << 9 << -100L << 6 << "Max";
        QTest::newRow("down 5") << false << 5 << -1010L << 5 << "";
        QTest::newRow("down 13") << false << 13 << -2050L << 3 << "";
        QTest::newRow("down 27") << false << 27 << -3870L << 3 << "";
        QTest::newRow("down 28: strict band") << false << 28 << -4000L << 2 << "";
        QTest::newRow("down 51") << false << 51 << -6990L << 0 << "";
        QTest::newRow("down 52: below the meter") << false << 52 << -7120L << 0 << "";
        QTest::newRow("down 74: quietest step") << false << 74 << -9980L << 0 << "";
        QTest::newRow("down 75: refused") << false << 75 << -9980L << 0 << "Min";
    }
    void ticks()
    {
        QFETCH(bool, up);
        QFETCH(int, ticks);
        QFETCH(long, volume);
        QFETCH(int, bars);
        QFETCH(QString, indicator);
        if (up)
            w->pluss_MouseDown(1, 0, 40, 40);
        else
            w->minus_MouseDown(1, 0, 30, 30);
        QVERIFY(c().TVolum->isActive());
        c().TVolum->stop(); // the test gives the beat
        for (int i = 0; i < ticks; ++i)
            w->TVolum_Timer();
        QCOMPARE(c().am1->Volume(), volume);
        QCOMPARE(litBars(), bars);
        QCOMPARE(c().VolumInd->Caption(), indicator);
        if (up)
            w->pluss_MouseUp(1, 0, 40, 40);
        else
            w->minus_MouseUp(1, 0, 40, 40);
        QCOMPARE(c().VolumInd->Caption(), QString());
    }

    // The meter's bands at their edges.
    void meterBands_data()
    {
        QTest::addColumn<long>("volume");
        QTest::addColumn<int>("bars"); // -1: the meter keeps what it showed
        const struct { long v; int bars; } rows[] = {
            {0, 6},        {-999, 6},     {-1000, 5},    {-1499, 5},    {-1500, 4},    {-1999, 4},
            {-2000, 3},    {-3000, 3},    {-3999, 3},    {-4000, 2},    {-4999, 2},    {-5000, 1},
            {-5999, 1},    {-6000, 0},    {-6999, 0},    {-7000, -1},   {-10000, -1},
        };
        for (const auto &r : rows)
            QTest::addRow("%ld", r.v) << r.v << r.bars;
    }
    void meterBands()
    {
        QFETCH(long, volume);
        QFETCH(int, bars);
        const std::optional<int> got = Orvane::VolumeMeterBars(volume);
        QCOMPARE(got.value_or(-1), bars);
    }

    // Stepping back up from below the meter lights it again.
    void meterComesBack()
    {
        w->minus_MouseDown(1, 0, 30, 30);
        c().TVolum->stop();
        for (int i = 0; i < 52; ++i)
            w->TVolum_Timer();
        QCOMPARE(litBars(), 0);
        w->minus_MouseUp(1, 0, 30, 30);
        w->pluss_MouseDown(1, 0, 30, 30);
        c().TVolum->stop();
        for (int i = 0; i < 30; ++i)
            w->TVolum_Timer();
        QCOMPARE(c().am1->Volume(), -3220L);
        QCOMPARE(litBars(), 3);
        w->pluss_MouseUp(1, 0, 30, 30);
    }

    // A quick click, released before the first tick, changes nothing.
    void quickClickChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("pluss") << "pluss";
        QTest::newRow("minus") << "minus";
    }
    void quickClickChangesNothing()
    {
        QFETCH(QString, button);
        showWindow();
        ImageControl *b = button == "pluss" ? c().pluss : c().minus;
        QTest::mousePress(b, Qt::LeftButton);
        QTest::mouseRelease(b, Qt::LeftButton);
        QVERIFY(!c().TVolum->isActive());
        QTest::qWait(200);
        QCOMPARE(c().am1->Volume(), -360L);
        QCOMPARE(litBars(), 6);
    }

    // Real mouse, real playback: minus held for several ticks lowers the
    // control's volume; let go off the button, the change stops all the same.
    void holdMinusWhilePlaying()
    {
        showWindow();
        SinkProbe probe;
        QVERIFY(c().am1->setFileName(m_song) == std::nullopt);
        QVERIFY(c().am1->Play() == std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(probe.buffers() >= 10, 3000);
        const double before = probe.rmsLeft();
        QVERIFY(before > 0.05);
        const QPoint p = c().minus->geometry().center();
        QTest::mousePress(w.get(), Qt::LeftButton, {}, p);
        QVERIFY(c().TVolum->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(c().am1->Volume() <= -1010, 5000); // five ticks at least
        QTRY_VERIFY_WITH_TIMEOUT(litBars() < 6, 2000);
        // Off the button, then let go there: the button still gets the release.
        const QPoint away(200, 100);
        QTest::mouseMove(w.get(), away);
        QTest::mouseRelease(w.get(), Qt::LeftButton, {}, away);
        QVERIFY(!c().TVolum->isActive());
        QCOMPARE(c().VolumInd->Caption(), QString());
        const long stopped = c().am1->Volume();
        QVERIFY(stopped < -360 && (-360 - stopped) % 130 == 0);
        QTest::qWait(200);
        QCOMPARE(c().am1->Volume(), stopped);
        QCOMPARE(c().am1->playState(), MediaPlayerControl::PlayState::Playing);
        // And it is heard: the level falls by the decibels stepped down
        // (amplitude 10^(volume / 2000)).
        probe.reset();
        QTRY_VERIFY_WITH_TIMEOUT(probe.buffers() >= 10, 3000);
        const double expected = before * std::pow(10.0, double(stopped + 360) / 2000.0);
        QVERIFY2(std::abs(probe.rmsLeft() - expected) < expected * 0.1,
                 qPrintable(QStringLiteral("level %1, expected %2").arg(probe.rmsLeft()).arg(expected)));
    }

    // Held up from the design volume: two steps, then "Max" while held,
    // cleared by the release.
    void holdPlussToTheTop()
    {
        showWindow();
        const QPoint p = c().pluss->geometry().center();
        QTest::mousePress(w.get(), Qt::RightButton, {}, p); // any button works
        QTRY_COMPARE_WITH_TIMEOUT(c().VolumInd->Caption(), QStringLiteral("Max"), 3000);
        QCOMPARE(c().am1->Volume(), -100L);
        QCOMPARE(litBars(), 6);
        QTest::qWait(120); // further ticks fail the same way
        QCOMPARE(c().VolumInd->Caption(), QStringLiteral("Max"));
        QTest::mouseRelease(w.get(), Qt::RightButton, {}, p);
        QCOMPARE(c().VolumInd->Caption(), QString());
        QVERIFY(!c().TVolum->isActive());
    }

    // A picture of the player after some steps, to look at: the knobs and a
    // three-bar meter. ORVANE_GRAB_DIR keeps it; otherwise it goes with the
    // temporary folder.
    void grabThePlayer()
    {
        showWindow();
        w->minus_MouseDown(1, 0, 30, 30);
        c().TVolum->stop();
        for (int i = 0; i < 13; ++i)
            w->TVolum_Timer();
        w->minus_MouseUp(1, 0, 30, 30);
        QCOMPARE(litBars(), 3);
        c().islider->setLeft(1890);
        c().balance->setLeft(1125);
        w->balance_MouseMove(0, 0, 30, 30);
        QCOMPARE(w->Height(), 1725);
        const QPixmap shot = w->grab();
        QCOMPARE(shot.height(), 115);
        const QString dir = qEnvironmentVariableIsSet("ORVANE_GRAB_DIR")
            ? qEnvironmentVariable("ORVANE_GRAB_DIR") : m_dir.path();
        const QString file = QDir(dir).filePath(QStringLiteral("player-volume.png"));
        QVERIFY(shot.save(file));
        qInfo("player picture: %s", qPrintable(file));
        // The lit bars are drawn; the dark ones are not.
        const QImage img = shot.toImage();
        const QColor lit = img.pixelColor(c().LVol[3]->geometry().topLeft());
        const QColor dark = img.pixelColor(c().LVol[6]->geometry().topLeft() + QPoint(5, 0));
        QCOMPARE(lit, QColor(Qt::white));
        QVERIFY(dark != QColor(Qt::white));
    }
};

QTEST_MAIN(TestVolume)
#include "tst_volume.moc"
