// The skinned video window: its place on screen between runs, its hot spots,
// its open dialog and its drag.
#include "DragWindow.h"
#include "TestEnvironment.h"
#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "PictureBox.h"
#include "SettingsStore.h"
#include "support_video.h"
#include "video.h"
#include "videoGeometry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using PlayState = MediaPlayerControl::PlayState;

class TestVideo : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QString m_clip;   // 4 s video with sound
    QString m_other;  // 3 s video without sound
    QString m_broken; // a video name with no video inside
    std::unique_ptr<SinkProbe> m_probe; // what reaches the audio sinks

    static void store(const char *key, const QVariant &value)
    {
        if (value.isValid())
            SaveSetting(SettingsApplicationName(), "OrvaneVideo", key, value.toString());
        else
            DeleteSetting(SettingsApplicationName(), "OrvaneVideo", key);
    }
    static QString stored(const char *key) { return GetSetting(SettingsApplicationName(), "OrvaneVideo", key); }

    static video &shown()
    {
        video &v = video::instance();
        v.showModeless();
        if (!QTest::qWaitForWindowExposed(&v))
            qWarning("video window not exposed");
        return v;
    }

    // A left click on a hot spot through the window, as the user gives it.
    static void clickSpot(video &v, ImageControl *spot)
    {
        const QPoint at = spot->geometry().center();
        QTest::mouseClick(v.windowHandle(), Qt::LeftButton, {}, at);
    }

    static void open(video &v, const QString &path)
    {
        FileDialogSeam::queueAnswer(path);
        v.Image1_Click();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid() && m_media.isValid());
        setUpWindowTestEnvironment(m_settings.path(), SinkProbe::sinkDescription());
        m_probe = std::make_unique<SinkProbe>();
        m_clip = MediaFixtures::makeVideo(m_media.path(), "clip.avi", 4.0);
        m_other = MediaFixtures::makeVideo(m_media.path(), "other clip.avi", 3.0, QSize(160, 120), false);
        m_broken = MediaFixtures::makeNonMedia(m_media.path(), "broken.avi");
        QVERIFY(!m_clip.isEmpty() && !m_other.isEmpty() && !m_broken.isEmpty());
    }

    void cleanup()
    {
        video::discard();
        FileDialogSeam::clear();
    }

    void oneInstanceCreatedOnFirstUse()
    {
        QVERIFY(!video::loaded());
        video &v = video::instance();
        QCOMPARE(video::loaded(), &v);
        QCOMPARE(&video::instance(), &v);
        QVERIFY(v.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(v.size(), QSize(381, 254));
        QCOMPARE(v.controls().Label1->Caption(), QString());
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
        QCOMPARE(v.controls().MediaPlayer1->Volume(), -780L);
        QCOMPARE(v.controls().MediaPlayer1->Balance(), 30L);
        QVERIFY(v.controls().Timer1->isActive());
        QVERIFY(v.controls().Timer55->isActive());
    }

    void controlsSitOnTheirTwips_data()
    {
        namespace G = videoGeometry;
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("MediaPlayer1") << "MediaPlayer1" << QRect(15, 21, 347, 198);
        QTest::newRow("Image1 open") << "Image1" << QRect(15, 237, 41, 16);
        QTest::newRow("Image2 play") << "Image2" << QRect(131, 238, 24, 14);
        QTest::newRow("Image3 pause") << "Image3" << QRect(163, 236, 34, 16);
        QTest::newRow("Image4 stop") << "Image4" << QRect(203, 237, 32, 15);
        QTest::newRow("Image5 close") << "Image5" << QRect(366, 0, 16, 12);
        QTest::newRow("islider") << "islider" << QRect(16, 223, 29, 6);
        QTest::newRow("PicDisplay") << "PicDisplay" << QRect(267, 221, 94, 9);
    }
    void controlsSitOnTheirTwips()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QWidget *w = video::instance().findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), pixels);
    }

    // Holding a hot spot sinks its painted button: what changes lies wholly
    // under the hot spot, so the button drawn there is the one it takes.
    void everyPaintedButtonLiesUnderItsHotSpot_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"Image1", "Image2", "Image3", "Image4", "Image5"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void everyPaintedButtonLiesUnderItsHotSpot()
    {
        QFETCH(QString, name);
        video &v = shown();
        auto *spot = v.findChild<ImageControl *>(name);
        QVERIFY(spot);
        // The player builds its own small controls on its first paint; let
        // that settle so only the pressed button differs between the grabs.
        v.grab();
        QCoreApplication::processEvents();
        const QImage raised = v.grab().toImage();
        QTest::mousePress(v.windowHandle(), Qt::LeftButton, {}, spot->geometry().center());
        const QImage pressed = v.grab().toImage();
        QRect changed;
        for (int y = 0; y < raised.height(); ++y)
            for (int x = 0; x < raised.width(); ++x)
                if (raised.pixel(x, y) != pressed.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
        // Release outside, so nothing is clicked.
        QTest::mouseMove(v.windowHandle(), QPoint(200, 100));
        QTest::mouseRelease(v.windowHandle(), Qt::LeftButton, {}, QPoint(200, 100));
        QVERIFY2(!changed.isEmpty(), "pressing shows no pressed button");
        QVERIFY2(spot->geometry().contains(changed),
                 qPrintable(QStringLiteral("changed %1,%2 %3x%4").arg(changed.x()).arg(changed.y())
                                .arg(changed.width()).arg(changed.height())));
        QVERIFY(video::loaded());
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
    }

    void positionIsRestored_data()
    {
        // An invalid QVariant: the key was never written.
        QTest::addColumn<QVariant>("top");
        QTest::addColumn<QVariant>("left");
        QTest::addColumn<bool>("topRestored");
        QTest::addColumn<bool>("leftRestored");
        QTest::newRow("nothing saved") << QVariant() << QVariant() << false << false;
        QTest::newRow("both") << QVariant("1500") << QVariant("3000") << true << true;
        QTest::newRow("only MAINLEFT") << QVariant() << QVariant("3000") << false << true;
        QTest::newRow("only MAINTOP") << QVariant("1500") << QVariant() << true << false;
        QTest::newRow("top not a number") << QVariant("abc") << QVariant("3000") << false << true;
        QTest::newRow("left empty") << QVariant("1500") << QVariant("") << true << false;
        // A place that leaves the window's top strip off every screen keeps
        // the default for the coordinate at fault.
        QTest::newRow("off screen") << QVariant("-4500") << QVariant("60000") << false << false;
        QTest::newRow("left off screen") << QVariant("1500") << QVariant("60000") << true << false;
    }
    void positionIsRestored()
    {
        QFETCH(QVariant, top);
        QFETCH(QVariant, left);
        QFETCH(bool, topRestored);
        QFETCH(bool, leftRestored);
        store("MAINTOP", QVariant());
        store("MAINLEFT", QVariant());
        const QPoint systemPlace = video::instance().pos();
        // With nothing saved the window stands centred, not at the screen's corner.
        QVERIFY(systemPlace != QPoint(0, 0));
        video::discard();

        store("MAINTOP", top);
        store("MAINLEFT", left);
        video &v = video::instance();
        QCOMPARE(v.Top(), topRestored ? top.toString().toDouble() : systemPlace.y() * 15.0);
        QCOMPARE(v.Left(), leftRestored ? left.toString().toDouble() : systemPlace.x() * 15.0);
    }

    // Closing saves the place in the window's own section and unloads it, which
    // ends its playback; the next use creates it anew at that place, with
    // nothing open.
    void closeMarkSavesAndUnloads()
    {
        store("MAINTOP", QVariant());
        store("MAINLEFT", QVariant());
        SaveSetting(SettingsApplicationName(), "Orvane", "MAINTOP", "99");
        video &v = shown();
        open(v, m_clip);
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Playing);
        m_probe->reset();
        QTRY_VERIFY(m_probe->buffers() > 0); // heard
        v.move(40, 70);
        clickSpot(v, v.controls().Image5);
        QVERIFY(!video::loaded());
        QVERIFY2(staysSilent(*m_probe), "the closed window still plays");
        QCOMPARE(stored("MAINTOP"), QStringLiteral("1050"));
        QCOMPARE(stored("MAINLEFT"), QStringLiteral("600"));
        // The main window's own values are not touched.
        QCOMPARE(GetSetting(SettingsApplicationName(), "Orvane", "MAINTOP"), QStringLiteral("99"));

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        video &again = video::instance();
        QCOMPARE(again.pos(), QPoint(40, 70));
        QCOMPARE(again.controls().Label1->Caption(), QString());
        QCOMPARE(again.controls().MediaPlayer1->playState(), PlayState::Closed);
    }

    // The program's end from another window takes this one without saving.
    void programEndDoesNotSave()
    {
        store("MAINTOP", QVariant());
        store("MAINLEFT", QVariant());
        video &v = shown();
        v.move(30, 30);
        video::discard();
        QVERIFY(!video::loaded());
        QCOMPARE(stored("MAINTOP"), QString());
        QCOMPARE(stored("MAINLEFT"), QString());
    }

    void openPlaysAndShowsTheName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("with sound") << QStringLiteral("clip.avi");
        QTest::newRow("space in name, no sound") << QStringLiteral("other clip.avi");
    }
    void openPlaysAndShowsTheName()
    {
        QFETCH(QString, file);
        video &v = shown();
        open(v, QDir(m_media.path()).filePath(file));
        const auto shownDialogs = FileDialogSeam::shown();
        QCOMPARE(shownDialogs.size(), 1);
        QCOMPARE(shownDialogs[0].filter,
                 QStringLiteral("All Supported Files|*.avi;*.mpeg;*.mpg;*.mpe;*.mpv;*.m1v;*.mp2;*.mpv2;*.mp2v;"
                                "*.mpa;*.ivf;*.mov;*.qt;*.dat;*.rm"));
        QCOMPARE(shownDialogs[0].title, QString());
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Playing);
        QCOMPARE(v.controls().Label1->Caption(), file);
        QCOMPARE(v.controls().CommonDialog1->FileName(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(v.controls().MediaPlayer1->CurrentPosition() > 0.2, 5000);
    }

    // A cancel changes nothing: what plays goes on, the title stays.
    void cancelChangesNothing()
    {
        video &v = shown();
        FileDialogSeam::queueAnswer(std::nullopt);
        v.Image1_Click();
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
        QCOMPARE(v.controls().Label1->Caption(), QString());

        open(v, m_clip);
        FileDialogSeam::queueAnswer(std::nullopt);
        clickSpot(v, v.controls().Image1);
        QCOMPARE(FileDialogSeam::shown().size(), 3);
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Playing);
        QCOMPARE(v.controls().MediaPlayer1->FileName(), m_clip);
        QCOMPARE(v.controls().Label1->Caption(), QStringLiteral("clip.avi"));
    }

    // A file the player refuses stops what played, and the title says it
    // could not be opened instead of going on with the old name; the window
    // keeps working.
    void unplayableFileIsPassedOver()
    {
        video &v = shown();
        open(v, m_clip);
        QCOMPARE(v.controls().Label1->Caption(), QStringLiteral("clip.avi"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("video: opening .*broken.avi.* failed"));
        open(v, m_broken);
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
        const QString title = v.controls().Label1->Caption();
        QVERIFY2(title.startsWith(QStringLiteral("Cannot play broken.avi (")), qPrintable(title));
        QVERIFY(video::loaded());
        open(v, m_clip);
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Playing);
    }

    void stopThenPlayStartsOverPauseThenPlayResumes()
    {
        video &v = shown();
        MediaPlayerControl *mp = v.controls().MediaPlayer1;
        open(v, m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() > 1.0, 6000);
        clickSpot(v, v.controls().Image3); // Pause
        QCOMPARE(mp->playState(), PlayState::Paused);
        const double paused = mp->CurrentPosition();
        clickSpot(v, v.controls().Image2); // Play
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY2(mp->CurrentPosition() >= paused - 0.05, qPrintable(QString::number(mp->CurrentPosition())));

        clickSpot(v, v.controls().Image4); // Stop
        QCOMPARE(mp->playState(), PlayState::Stopped);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() < 0.05, 3000);
        clickSpot(v, v.controls().Image2);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY2(mp->CurrentPosition() < 0.9, qPrintable(QString::number(mp->CurrentPosition())));
    }

    void hotSpotsWithNothingOpenKeepTheWindow()
    {
        video &v = shown();
        for (ImageControl *spot : {v.controls().Image2, v.controls().Image3, v.controls().Image4})
            clickSpot(v, spot);
        QVERIFY(video::loaded());
        QCOMPARE(v.controls().MediaPlayer1->playState(), PlayState::Closed);
    }

    // Only the bare skin drags, and only with neither the right nor the middle button.
    void dragFromTheSkinOnly_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("drags");
        const QPoint skin(100, 245); // the frame between Open and Play
        QTest::newRow("skin, left") << skin << Qt::LeftButton << true;
        QTest::newRow("title, left") << QPoint(60, 8) << Qt::LeftButton << true;
        QTest::newRow("skin, right") << skin << Qt::RightButton << false;
        QTest::newRow("skin, middle") << skin << Qt::MiddleButton << false;
        QTest::newRow("hot spot Open") << QPoint(30, 244) << Qt::LeftButton << false;
        QTest::newRow("close mark") << QPoint(372, 5) << Qt::RightButton << false;
        QTest::newRow("knob") << QPoint(30, 225) << Qt::LeftButton << false;
        QTest::newRow("display panel") << QPoint(300, 225) << Qt::LeftButton << false;
        QTest::newRow("player") << QPoint(180, 100) << Qt::LeftButton << false;
    }
    void dragFromTheSkinOnly()
    {
        QFETCH(QPoint, at);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, drags);
        video &v = shown();
        const QPoint start = v.pos();
        QTest::mousePress(v.windowHandle(), button, {}, at);
        QCOMPARE(v.lastDragOutcome() != DragOutcome::None, drags);
        QTest::mouseMove(v.windowHandle(), at + QPoint(3, 2));
        QTest::mouseRelease(v.windowHandle(), button, {}, at + QPoint(3, 2));
        if (!drags)
            QCOMPARE(v.pos(), start);
        QVERIFY(video::loaded());
    }
};

QTEST_MAIN(TestVideo)
#include "tst_video.moc"
