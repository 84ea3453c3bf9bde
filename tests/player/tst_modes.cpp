#include "support_playerwindow.h"

#include <QDir>
#include <QImage>

#include "ImageControl.h"
#include "LabelControl.h"
#include "Twips.h"

using OrvaneGeometry::HeightPanel;
using OrvaneGeometry::HeightPlayer;
using OrvaneGeometry::HeightStrip;

namespace {
// What the compact strip shows: its time, its picture, its five buttons.
struct Strip {
    bool time, picture, buttons;
};
Strip stripOf(const OrvaneControls &c)
{
    const bool on = c.Image5->isEnabled();
    for (ImageControl *b : {c.Image6, c.Image7, c.Image8, c.Image16})
        if (b->isEnabled() != on)
            qWarning("the strip's buttons disagree");
    return {!c.toptime->isHidden(), !c.toppic->isHidden(), on};
}
} // namespace

class TestModes : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;

private Q_SLOTS:
    void initTestCase() { PlayerWindow::setUpEnvironment(m_settings); }

    void startsAsThePlayer()
    {
        auto w = PlayerWindow::shown();
        QCOMPARE(w->Height(), HeightPlayer);
        const Strip s = stripOf(w->controls());
        QVERIFY(!s.time && !s.picture && !s.buttons);
    }

    // The mode switches, clicked with the mouse where they lie.
    void switches_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("stripShown");
        QTest::newRow("player, Image4: strip") << HeightPlayer << QByteArray("Image4") << HeightStrip << true;
        QTest::newRow("panel, Image4: strip") << HeightPanel << QByteArray("Image4") << HeightStrip << true;
        QTest::newRow("strip, Image4: player") << HeightStrip << QByteArray("Image4") << HeightPlayer << false;
        QTest::newRow("other height, Image4: strip") << 1000 << QByteArray("Image4") << HeightStrip << true;
        QTest::newRow("player, plup: panel") << HeightPlayer << QByteArray("plup") << HeightPanel << false;
        QTest::newRow("panel, plup: player") << HeightPanel << QByteArray("plup") << HeightPlayer << false;
        QTest::newRow("other height, plup: panel") << 1000 << QByteArray("plup") << HeightPanel << false;
        QTest::newRow("panel, Image15: player") << HeightPanel << QByteArray("Image15") << HeightPlayer << false;
    }
    void switches()
    {
        QFETCH(int, from);
        QFETCH(QByteArray, action);
        QFETCH(int, to);
        QFETCH(bool, stripShown);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->setHeight(from);
        QCOMPARE(PlayerWindow::reachedAt(*w, action.constData()), QString::fromLatin1(action));

        if (action == "plup") {
            const QPoint at = PlayerWindow::centre("plup");
            QTest::mousePress(w.get(), Qt::LeftButton, {}, at);
            // The pressed look covers the button; nothing opens yet.
            QVERIFY(c.plup->isHidden());
            QVERIFY(c.pldown->isVisible());
            QCOMPARE(c.pldown->Left(), 3480.0);
            QCOMPARE(c.pldown->Top(), 810.0);
            QCOMPARE(w->Height(), from);
            // The first move over the pressed look, the button still held.
            QTest::mouseMove(w.get(), at + QPoint(1, 0));
            QVERIFY(c.plup->isVisible());
            QVERIFY(c.pldown->isHidden());
            QTest::mouseRelease(w.get(), Qt::LeftButton, {}, at + QPoint(1, 0));
        } else {
            PlayerWindow::click(*w, action.constData());
        }

        QCOMPARE(w->Height(), to);
        QCOMPARE(w->height(), Twips::toPixels(to));
        const Strip s = stripOf(c);
        QCOMPARE(s.time, stripShown);
        QCOMPARE(s.picture, stripShown);
        QCOMPARE(s.buttons, stripShown);
    }

    // The followers: 1725 hides and disables, 230 shows and enables, any
    // other height leaves what was there.
    void followers_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("shown");
        QTest::newRow("player to strip") << HeightPlayer << HeightStrip << true;
        QTest::newRow("strip to player") << HeightStrip << HeightPlayer << false;
        QTest::newRow("player to panel") << HeightPlayer << HeightPanel << false;
        QTest::newRow("strip to panel keeps the strip items") << HeightStrip << HeightPanel << true;
        QTest::newRow("strip to other height") << HeightStrip << 1000 << true;
        QTest::newRow("player to other height") << HeightPlayer << 1000 << false;
        QTest::newRow("strip to 231") << HeightStrip << 231 << true;
    }
    void followers()
    {
        QFETCH(int, before);
        QFETCH(int, height);
        QFETCH(bool, shown);
        auto w = PlayerWindow::shown();
        w->setHeight(before);
        w->setHeight(height);
        QCOMPARE(w->Height(), height);
        const Strip s = stripOf(w->controls());
        QCOMPARE(s.time, shown);
        QCOMPARE(s.picture, shown);
        QCOMPARE(s.buttons, shown);
    }

    // In the player the strip's buttons take no clicks; in the strip they do.
    void stripButtonsWorkOnlyInTheStrip()
    {
        QTemporaryDir dir;
        const QString song = MediaFixtures::makeWav(dir.path(), QStringLiteral("s.wav"), 3.0);
        QVERIFY(!song.isEmpty());
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->playlist().append(song, QStringLiteral("s.wav"));
        QVERIFY(!c.am1->setFileName(song));

        PlayerWindow::click(*w, "Image8"); // Stop, disabled here
        QCOMPARE(c.am1->playState(), MediaPlayerControl::PlayState::Playing);

        PlayerWindow::click(*w, "Image4");
        QCOMPARE(w->Height(), HeightStrip);
        PlayerWindow::click(*w, "Image8");
        QCOMPARE(c.am1->playState(), MediaPlayerControl::PlayState::Stopped);
        PlayerWindow::click(*w, "Image7"); // Pause/Resume: plays again
        QCOMPARE(c.am1->playState(), MediaPlayerControl::PlayState::Playing);
        PlayerWindow::click(*w, "Image16"); // Next: the only row again
        QCOMPARE(w->playlist().selectedIndex(), 0);
        QCOMPARE(c.am1->FileName(), song);
    }

    // Each mode as the user sees it. With ORVANE_SCREENSHOT_DIR set, the
    // three pictures are saved there as PNG files.
    void modePictures_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("file");
        QTest::newRow("strip") << HeightStrip << "mode-strip.png";
        QTest::newRow("player") << HeightPlayer << "mode-player.png";
        QTest::newRow("panel") << HeightPanel << "mode-panel.png";
    }
    void modePictures()
    {
        QFETCH(int, height);
        QFETCH(QString, file);
        auto w = PlayerWindow::shown();
        w->playlist().append(QStringLiteral("/music/First song.mp3"), QStringLiteral("First song.mp3"));
        w->playlist().append(QStringLiteral("/music/Second song.mp3"), QStringLiteral("Second song.mp3"));
        w->setHeight(height);
        const QImage shot = w->grab().toImage();
        QCOMPARE(shot.height(), Twips::toPixels(height));
        QCOMPARE(shot.width(), Twips::toPixels(OrvaneGeometry::WindowWidth));
        // The strip's time shows in the strip only.
        QCOMPARE(w->controls().toptime->isVisible(), height == HeightStrip);
        const QString dir = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(shot.save(QDir(dir).filePath(file)));
    }
};

QTEST_MAIN(TestModes)
#include "tst_modes.moc"
