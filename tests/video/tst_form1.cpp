// The menu-driven player window: its menus, its layout rule, and real
// playback through its menu items.
#include "FileDialogControl.h"
#include "TestEnvironment.h"
#include "Form1.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "ProgramEnd.h"
#include "SettingsStore.h"
#include "TestFiles.h"
#include "Twips.h"
#include "support_video.h"
#include "video.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using PlayState = MediaPlayerControl::PlayState;

class TestForm1 : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QString m_clip; // 4 s video with sound
    QString m_song; // 3 s WAV
    QString m_broken;
    std::unique_ptr<SinkProbe> m_probe; // what reaches the audio sinks

    static Form1 &shown()
    {
        Form1 &f = Form1::instance();
        f.setVisible(true);
        if (!QTest::qWaitForWindowExposed(&f))
            qWarning("Form1 not exposed");
        return f;
    }
    static void choose(Form1 &f, std::optional<QString> answer)
    {
        FileDialogSeam::queueAnswer(std::move(answer));
        f.controls().openfile->trigger();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid() && m_media.isValid());
        setUpWindowTestEnvironment(m_settings.path(), SinkProbe::sinkDescription());
        m_probe = std::make_unique<SinkProbe>();
        ProgramEndSeam::setScripted(true);
        m_clip = MediaFixtures::makeVideo(m_media.path(), "clip.avi", 4.0);
        m_song = MediaFixtures::makeWav(m_media.path(), "song.wav", 3.0);
        m_broken = MediaFixtures::makeNonMedia(m_media.path(), "broken.mp3");
        QVERIFY(!m_clip.isEmpty() && !m_song.isEmpty() && !m_broken.isEmpty());
    }

    void cleanup()
    {
        Form1::discard();
        video::discard();
        FileDialogSeam::clear();
        ProgramEndSeam::clear();
    }

    void menus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QStringList>("items");    // object names, in order
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("shortcuts");
        QTest::newRow("file") << "file" << QStringLiteral("文件(&F)")
                              << QStringList{"openfile", "opendvd", "close", "dfdf", "exit"}
                              << QStringList{QStringLiteral("打开文件(&O)..."), QStringLiteral("打开(&D)VD"),
                                             QStringLiteral("关闭(&C)"), QString(), QStringLiteral("退出(&E)")}
                              << QStringList{"Ctrl+O", "Ctrl+D", "Ctrl+C", "", "Ctrl+F4"};
        QTest::newRow("men_play") << "men_play" << QStringLiteral("播放(&U)")
                                  << QStringList{"play", "pause", "fast_f", "fast_t", "stop"}
                                  << QStringList{QStringLiteral("播放(&P)..."), QStringLiteral("暂停(&E)..."),
                                                 QStringLiteral("快进(&F)..."), QStringLiteral("快退(&T)..."),
                                                 QStringLiteral("停止(&S)...")}
                                  << QStringList{"Ctrl+P", "Ctrl+E", "Ctrl+F", "Ctrl+T", "Ctrl+S"};
        QTest::newRow("navi") << "navi" << QStringLiteral("导航(&N)") << QStringList{"pre", "next"}
                              << QStringList{QStringLiteral("上一段(&U)"), QStringLiteral("下一段(&N)")}
                              << QStringList{"Ctrl+U", "Ctrl+N"};
    }
    void menus()
    {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, shortcuts);
        Form1 &f = Form1::instance();
        QCOMPARE(f.windowTitle(), QStringLiteral("媒体播放器"));
        auto *m = f.findChild<QMenu *>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), menuCaption);
        const QList<QAction *> actions = m->actions();
        QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), items[i]);
            QVERIFY(actions[i]->isEnabled() && actions[i]->isVisible());
            if (items[i] == QLatin1String("dfdf")) {
                QVERIFY(actions[i]->isSeparator());
                continue;
            }
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->shortcut().toString(QKeySequence::PortableText), shortcuts[i]);
        }
    }

    void menuBarOrder()
    {
        Form1 &f = Form1::instance();
        QStringList order;
        for (QAction *a : f.menuBar()->actions())
            order << a->menu()->objectName();
        QCOMPARE(order, (QStringList{"file", "men_play", "navi"}));
    }

    // Created: centred on the screen; the player starts at the top, as wide as
    // the window less 100 twips; Timer1 stays off.
    void loadCentresAndPlaces()
    {
        Form1 &f = Form1::instance();
        QCOMPARE(Form1::loaded(), &f);
        const QRect screen = f.screen()->availableGeometry();
        QVERIFY2((f.frameGeometry().center() - screen.center()).manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(f.frameGeometry().center().x()).arg(f.frameGeometry().center().y())));
        QCOMPARE(f.ScaleWidth(), 5475.0);
        QCOMPARE(f.mmplayTwips().top(), 0.0);
        QCOMPARE(f.mmplayTwips().left(), 0.0);
        QCOMPARE(f.mmplayTwips().width(), 5475.0 - 100);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.centralWidget()->size(), QSize(365, 310)); // 5475 x 4650 twips
        // The first show already follows the resize rule, from the outer size,
        // which holds the menu bar and the frame besides the client area.
        const QSizeF outer = QSizeF(f.frameGeometry().size()) * Twips::PerPixel;
        QVERIFY(outer.height() >= 4650 + Twips::fromPixels(f.menuBar()->height()));
        QCOMPARE(f.mmplayTwips(), QRectF(0, 0, outer.width() - 100, outer.height() - 900));
        QCOMPARE(f.Picture1Twips().topLeft(),
                 QPointF(outer.width() / 2 - 5535 / 2.0, outer.height() / 2 - 3375 / 2.0 - 900));
        QVERIFY(!f.controls().Timer1->isActive());
        QCOMPARE(f.controls().mmplay->Volume(), -600L);
        QCOMPARE(f.controls().mmplay->Balance(), 0L);
        QCOMPARE(f.controls().mmplay->playState(), PlayState::Closed);
    }

    // The player takes the window's outer size (frame and menu bar included)
    // less 100 and 900 twips, from the top of the area below the menu bar; the
    // logo keeps its 5535 x 3375 twips, centred across, its centre 900 twips
    // above the middle of the outer height. A window too small for the
    // allowances gives the player no room.
    void resizeRule_data()
    {
        QTest::addColumn<QSize>("outer");      // frame geometry, pixels
        QTest::addColumn<QRectF>("player");    // twips
        QTest::addColumn<QPointF>("logo");     // Left, Top in twips
        QTest::newRow("600 x 400") << QSize(600, 400) << QRectF(0, 0, 8900, 5100) << QPointF(1732.5, 412.5);
        QTest::newRow("800 x 600") << QSize(800, 600) << QRectF(0, 0, 11900, 8100) << QPointF(3232.5, 1912.5);
        QTest::newRow("narrow and tall") << QSize(200, 700) << QRectF(0, 0, 2900, 9600) << QPointF(-1267.5, 2662.5);
        // The menu bar and the frame take most of the height: the player
        // still gets what the outer height leaves, more than the client area.
        QTest::newRow("frame bigger than the client area") << QSize(300, 70) << QRectF(0, 0, 4400, 150)
                                                           << QPointF(-517.5, -2062.5);
        QTest::newRow("too low") << QSize(300, 50) << QRectF(0, 0, 4400, 0) << QPointF(-517.5, -2212.5);
        QTest::newRow("tiny") << QSize(90, 26) << QRectF(0, 0, 1250, 0) << QPointF(-2092.5, -2392.5);
    }
    void resizeRule()
    {
        QFETCH(QSize, outer);
        QFETCH(QRectF, player);
        QFETCH(QPointF, logo);
        Form1 &f = shown();
        f.setMinimumSize(1, 1);
        // Sized so that the whole window, frame included, is the given size.
        f.resize(outer - (f.frameGeometry().size() - f.size()));
        QTRY_COMPARE(f.frameGeometry().size(), outer);
        // The menu bar lies inside the outer size and outside the client area.
        QVERIFY2(f.frameGeometry().height() >= f.centralWidget()->height() + f.menuBar()->height(),
                 qPrintable(QStringLiteral("%1 < %2 + %3").arg(f.frameGeometry().height())
                                .arg(f.centralWidget()->height()).arg(f.menuBar()->height())));
        QCOMPARE(f.mmplayTwips(), player);
        QCOMPARE(f.Picture1Twips(), QRectF(logo, QSizeF(5535, 3375)));
        QCOMPARE(f.controls().mmplay->geometry(), Twips::toPixels(player));
        QCOMPARE(f.controls().Picture1->geometry(), Twips::toPixels(QRectF(logo, QSizeF(5535, 3375))));
        // The logo lies above the player.
        const QWidgetList kids = f.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QVERIFY(kids.indexOf(f.controls().Picture1) > kids.indexOf(f.controls().mmplay));
    }

    void maximisedFollowsTheSameRule()
    {
        Form1 &f = shown();
        f.showMaximized();
        QTRY_VERIFY(f.isMaximized());
        // The state changes at once, the size when the window system answers.
        QTRY_COMPARE(f.frameGeometry().size(), f.screen()->availableGeometry().size());
        const QSizeF outer = QSizeF(f.frameGeometry().size()) * Twips::PerPixel;
        QCOMPARE(f.mmplayTwips().width(), outer.width() - 100);
        QCOMPARE(f.mmplayTwips().height(), outer.height() - 900);
        QCOMPARE(f.Picture1Twips().center(), QPointF(outer.width() / 2, outer.height() / 2 - 900));
    }

    void minimisingKeepsTheLayout()
    {
        Form1 &f = shown();
        f.resize(500, 400);
        const QRectF player = f.mmplayTwips(), logo = f.Picture1Twips();
        f.setWindowState(Qt::WindowMinimized);
        f.resize(640, 480); // whatever the system reports for a minimised window
        QCOMPARE(f.mmplayTwips(), player);
        QCOMPARE(f.Picture1Twips(), logo);
        f.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(f.mmplayTwips().width(), Twips::fromPixels(f.frameGeometry().width()) - 100);
        QCOMPARE(f.mmplayTwips().height(), Twips::fromPixels(f.frameGeometry().height()) - 900);
    }

    void openPlaysWhileAnotherPlayerPlays_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("video") << QStringLiteral("clip.avi");
        QTest::newRow("sound") << QStringLiteral("song.wav");
    }
    void openPlaysWhileAnotherPlayerPlays()
    {
        QFETCH(QString, file);
        // Stands for the main window's own player.
        MediaPlayerControl other;
        other.applyDesign(MediaPlayerControl::am1Design());
        QVERIFY(!other.setFileName(m_song));
        Form1 &f = shown();
        choose(f, QDir(m_media.path()).filePath(file));
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown()[0].filter,
                 QStringLiteral("All Supported Formats|*.mp3;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;"
                                "*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd;*.avi;*.mpeg;*.dat;*.mov;*.rm"));
        QCOMPARE(f.controls().mmplay->playState(), PlayState::Playing);
        QCOMPARE(f.controls().mmplay->FileName(), QDir(m_media.path()).filePath(file));
        QTRY_VERIFY_WITH_TIMEOUT(f.controls().mmplay->CurrentPosition() > 0.3, 5000);
        QCOMPARE(other.playState(), PlayState::Playing);
        QVERIFY(other.CurrentPosition() > 0.3);
    }

    // A cancel changes nothing: before any choice, and after one (the last
    // file is not started again).
    void cancelChangesNothing()
    {
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        choose(f, std::nullopt);
        QCOMPARE(mp->playState(), PlayState::Closed);

        choose(f, m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() > 1.0, 5000);
        choose(f, std::nullopt);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QCOMPARE(mp->FileName(), m_clip);
        QVERIFY2(mp->CurrentPosition() > 0.9, qPrintable(QString::number(mp->CurrentPosition())));
        QCOMPARE(f.controls().cd1->FileName(), m_clip);
    }

    void unplayableFileIsPassedOver()
    {
        Form1 &f = shown();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Form1: opening .*broken.mp3.* failed"));
        choose(f, m_broken);
        QVERIFY(Form1::loaded());
        choose(f, m_song);
        QCOMPARE(f.controls().mmplay->playState(), PlayState::Playing);
    }

    void stopThenPlayStartsOverPauseThenPlayResumes()
    {
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        choose(f, m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() > 1.0, 5000);
        f.controls().pause->trigger();
        QCOMPARE(mp->playState(), PlayState::Paused);
        const double paused = mp->CurrentPosition();
        f.controls().play->trigger();
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(mp->CurrentPosition() >= paused - 0.05);
        f.controls().stop->trigger();
        QCOMPARE(mp->playState(), PlayState::Stopped);
        QTRY_VERIFY_WITH_TIMEOUT(mp->CurrentPosition() < 0.05, 3000);
        f.controls().play->trigger();
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(mp->CurrentPosition() < 0.9);
    }

    // Offered and inert, from the menu and from the keyboard.
    void inertItemsDoNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("key");
        QTest::newRow("快进") << "fast_f" << int(Qt::Key_F);
        QTest::newRow("快退") << "fast_t" << int(Qt::Key_T);
        QTest::newRow("上一段") << "pre" << int(Qt::Key_U);
        QTest::newRow("打开DVD") << "opendvd" << int(Qt::Key_D);
    }
    void inertItemsDoNothing()
    {
        QFETCH(QString, item);
        QFETCH(int, key);
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        choose(f, m_clip);
        f.controls().pause->trigger();
        QVERIFY(!mp->setCurrentPosition(1.5));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(mp->CurrentPosition() - 1.5) < 0.05, 3000);
        auto *action = f.findChild<QAction *>(item);
        QVERIFY(action);
        action->trigger();
        f.activateWindow();
        QTest::keyClick(&f, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(mp->playState(), PlayState::Paused);
        QVERIFY(std::abs(mp->CurrentPosition() - 1.5) < 0.05);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
    }

    void shortcutsReachTheirItems()
    {
        Form1 &f = shown();
        f.activateWindow();
        if (!QTest::qWaitForWindowActive(&f))
            QSKIP("the window cannot be made active here");
        QSignalSpy stop(f.controls().stop, &QAction::triggered);
        QSignalSpy next(f.controls().next, &QAction::triggered);
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(stop.count(), 1);
        QCOMPARE(next.count(), 1);
    }

    void closeAndNextEntry()
    {
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        choose(f, m_clip);
        f.controls().next->trigger();
        QVERIFY(mp->playState() != PlayState::Closed);
        f.controls().close->trigger();
        QCOMPARE(mp->playState(), PlayState::Closed);
        QCOMPARE(mp->Duration(), 0.0);
        f.controls().play->trigger(); // nothing to play: the window goes on
        QVERIFY(Form1::loaded());
    }

    // Exit ends the program at once: no window saves its position.
    void exitEndsTheProgramWithoutSaving()
    {
        DeleteSetting(SettingsApplicationName(), "OrvaneVideo", "MAINTOP");
        video::instance().move(30, 45);
        Form1 &f = shown();
        choose(f, m_song);
        f.controls().exit->trigger();
        QCOMPARE(ProgramEndSeam::calls(), 1);
        QCOMPARE(GetSetting(SettingsApplicationName(), "OrvaneVideo", "MAINTOP"), QString());
    }

    // For real: the event loop ends and both video windows go with it, the
    // skinned one without saving its position, while media plays in each.
    void exitEndsTheEventLoopAndTakesTheWindows()
    {
        DeleteSetting(SettingsApplicationName(), "OrvaneVideo", "MAINTOP");
        DeleteSetting(SettingsApplicationName(), "OrvaneVideo", "MAINLEFT");
        video &v = video::instance();
        v.show();
        FileDialogSeam::queueAnswer(m_clip);
        v.Image1_Click();
        Form1 &f = shown();
        choose(f, m_song);
        QPointer<QWidget> skinned(&v), menu(&f);
        ProgramEndSeam::setScripted(false);
        QTimer::singleShot(300, &f, [&f] { f.controls().exit->trigger(); });
        const int code = QCoreApplication::exec();
        ProgramEndSeam::setScripted(true);
        QCOMPARE(code, 0);
        QVERIFY(!skinned && !menu);
        QVERIFY(!video::loaded() && !Form1::loaded());
        QCOMPARE(GetSetting(SettingsApplicationName(), "OrvaneVideo", "MAINTOP"), QString());
        QCOMPARE(GetSetting(SettingsApplicationName(), "OrvaneVideo", "MAINLEFT"), QString());
    }

    // Closed through its title bar it goes with its player, whose playback
    // ends; the next use creates it anew, centred, with nothing open.
    void closingUnloads()
    {
        Form1 &f = shown();
        choose(f, m_clip);
        m_probe->reset();
        QTRY_VERIFY(m_probe->buffers() > 0); // heard
        f.move(5, 5);
        QVERIFY(f.close());
        QVERIFY(!Form1::loaded());
        QVERIFY2(staysSilent(*m_probe), "the closed window still plays");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Form1 &again = Form1::instance();
        QCOMPARE(again.controls().mmplay->playState(), PlayState::Closed);
        QVERIFY((again.frameGeometry().center() - again.screen()->availableGeometry().center()).manhattanLength() <= 1);
        QCOMPARE(ProgramEndSeam::calls(), 0);
    }

    void timerComposesTheTimes()
    {
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        f.Timer1_Timer();
        QCOMPARE(f.timeText(), QStringLiteral("00:00/00:00"));
        choose(f, m_clip);
        f.controls().pause->trigger();
        QVERIFY(!mp->setCurrentPosition(2.2));
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(mp->CurrentPosition() - 2.2) < 0.05, 3000);
        f.Timer1_Timer();
        QCOMPARE(f.timeText().left(6), QStringLiteral("00:02/"));
        QVERIFY(f.timeText() == QStringLiteral("00:02/00:04") || f.timeText() == QStringLiteral("00:02/00:03"));
    }

    // Real playback: frames reach the player below the logo's edge. A
    // screenshot of the window playing is kept.
    // The logo follows what is open, also when a film follows a song (or
    // a song a film) without the player ever stopping.
    void logoFollowsEachNewMedia()
    {
        Form1 &f = shown();
        choose(f, m_song);
        QTRY_COMPARE(f.controls().mmplay->playState(), MediaPlayerControl::PlayState::Playing);
        QVERIFY(f.controls().Picture1->isVisible());
        choose(f, m_clip);
        QVERIFY(!f.controls().Picture1->isVisible());
        choose(f, m_song);
        QVERIFY(f.controls().Picture1->isVisible());
    }

    // A list opened as one media: the logo follows its entries, when the
    // next one is asked for and when one plays on into the next.
    void logoFollowsTheEntriesOfAList()
    {
        const QString shortClip = MediaFixtures::makeVideo(m_media.path(), "short clip.avi", 1.0);
        const QString list = QDir(m_media.path()).filePath("film then songs.m3u");
        QVERIFY(!shortClip.isEmpty());
        QVERIFY(TestFiles::writeFile(list, (m_clip + "\n" + m_song + "\n" + shortClip + "\n" + m_song + "\n").toUtf8()));
        Form1 &f = shown();
        MediaPlayerControl *mp = f.controls().mmplay;
        choose(f, list);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(!f.controls().Picture1->isVisible());
        f.controls().next->trigger(); // next entry: the song
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(f.controls().Picture1->isVisible());
        f.controls().next->trigger(); // the short film
        QVERIFY(!f.controls().Picture1->isVisible());
        // It ends, and the song after it plays on with the logo back.
        QTRY_VERIFY_WITH_TIMEOUT(f.controls().Picture1->isVisible(), 10000);
        QCOMPARE(mp->playState(), PlayState::Playing);
        QVERIFY(!mp->HasVideo());
    }

    void playsAVideo()
    {
        Form1 &f = shown();
        QVERIFY(f.controls().Picture1->isVisible());
        // As on a screen: the window painted, the player's own controls made,
        // and the logo over the picture area when the film is opened.
        f.grab();
        QCoreApplication::processEvents();
        QVERIFY(f.controls().mmplay->findChild<QWidget *>());
        choose(f, m_clip);
        QTRY_VERIFY_WITH_TIMEOUT(f.controls().mmplay->CurrentPosition() > 0.5, 5000);
        // The logo gives way to the film, so the whole picture can be seen.
        QVERIFY(!f.controls().Picture1->isVisible());
        const QRect player = f.controls().mmplay->geometry();
        const QRect picture(player.left() + 4, player.top() + 4, player.width() - 8, player.height() - 80);
        QTRY_VERIFY_WITH_TIMEOUT(distinctColours(f.centralWidget()->grab().toImage(), picture) > 6, 5000);
        const QString shot = screenshotPath(m_media.path(), QStringLiteral("form1-playing.png"));
        QVERIFY(f.grab().save(shot));
        qInfo("screenshot: %s", qPrintable(shot));
        // Closing the media brings the logo back.
        f.close_Click();
        QTRY_VERIFY(f.controls().Picture1->isVisible());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
