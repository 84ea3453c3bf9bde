// The main window's shell: its controls, start-up, saved position, close,
// caption, drag and modes.
#include "DragWindow.h"
#include "TestEnvironment.h"
#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "LineControl.h"
#include "MediaPlayerControl.h"
#include "Orvane.h"
#include "OrvaneGeometry.h"
#include "OrvaneSkin.h"
#include "ProgramEnd.h"
#include "SettingsStore.h"
#include "PictureBox.h"
#include "SkinPainter.h"
#include "Twips.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestOrvane : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static void clearPosition()
    {
        DeleteSetting(SettingsApplicationName(), "Orvane", "MAINTOP");
        DeleteSetting(SettingsApplicationName(), "Orvane", "MAINLEFT");
    }
    static QString stored(const char *key) { return GetSetting(SettingsApplicationName(), "Orvane", key); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setUpWindowTestEnvironment(m_dir.path()); // a click on Play may open the dialog
        ProgramEndSeam::setScripted(true);
    }
    void init()
    {
        clearPosition();
        ProgramEndSeam::clear();
    }

    // ---- the inventory ------------------------------------------------------

    void controlsByNameInTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("toolTip");
        auto row = [](const char *n, int l, int t, int w, int h, const QString &tip = QString()) {
            QTest::newRow(n) << QString::fromLatin1(n) << QRect(l, t, w, h) << tip;
        };
        row("toppic", 1455, 0, 1095, 225);
        row("Image5", 1530, 0, 165, 165);
        row("Image6", 1740, 0, 135, 165);
        row("Image7", 1905, 0, 180, 180);
        row("Image8", 2130, 0, 120, 180);
        row("Image16", 2310, 0, 210, 165);
        row("toptime", 975, 15, 435, 135);
        row("Image4", 3825, 15, 150, 195, QStringLiteral("小窗体"));
        row("Image2", 3645, 30, 165, 135, QStringLiteral("最小化"));
        row("Image1", 3975, 30, 105, 165, QStringLiteral("关闭"));
        row("Image9", 3735, 255, 255, 195, "On Top");
        row("balance", 1350, 330, 195, 75, "Balance");
        row("PicDisplay", 1470, 420, 2325, 345);
        row("Label20", 885, 435, 510, 180);
        row("pluss", 450, 540, 90, 90, "Increase Vloume");
        row("minus", 450, 750, 75, 60, "Decrease Vloume");
        row("kbps", 1380, 735, 570, 180);
        row("Khs", 2340, 735, 660, 195);
        row("plup", 3480, 810, 195, 165, QStringLiteral("播放列表"));
        row("vidup", 3075, 840, 360, 165, QStringLiteral("视频播放器"));
        row("islider", 120, 1080, 435, 90);
        row("openfile", 2070, 1290, 285, 375, "Add Songs");
        row("repeaton", 3345, 1305, 240, 135);
        row("play", 510, 1320, 375, 390, "Play");
        row("pause", 915, 1320, 315, 405, "Pause");
        row("stop", 1275, 1320, 315, 375, "Stop");
        row("next", 1590, 1320, 420, 390, "Next");
        row("previous", 195, 1320, 285, 405, "Previous");
        row("shuffle", 2490, 1320, 330, 345, "Shuffle Songs");
        row("shuffleon", 2775, 1335, 225, 105);
        row("repeat", 3060, 1335, 360, 330, "Repeat Song");
        row("Image15", 3870, 1755, 240, 180);
        row("lstfavs", 195, 2025, 3585, 2910);
        row("savelist", 1065, 5085, 360, 210, QStringLiteral("保存播放列表"));
        row("listbar", 1095, 5100, 345, 525);
        row("filebar", 705, 5100, 315, 540, QStringLiteral("添加目录"));
        row("directory", 720, 5130, 285, 195, QStringLiteral("添加目录"));
        row("list", 1515, 5265, 300, 255, QStringLiteral("播放列表"));
        row("addfile", 315, 5280, 345, 255, QStringLiteral("添加文件"));
        row("Image14", 2145, 5295, 240, 180);
        row("Image10", 2355, 5295, 165, 195);
        row("Image11", 2535, 5310, 195, 165);
        row("Image12", 2745, 5310, 165, 165);
        row("Image13", 2940, 5295, 240, 180);
        row("LOADLIST", 1095, 5400, 330, 240, QStringLiteral("打开播放列表"));
        row("Image3", 720, 5415, 315, 240, QStringLiteral("添加文件"));
        row("viddown", 600, 5805, 360, 165);
        row("pldown", 195, 5850, 210, 195);
        row("am1", 75, 6120, 3375, 435);
        row("optrnd", 0, 6600, 285, 195);
        row("optnon", 720, 6600, 195, 195);
        row("optres", 345, 6615, 285, 180);
        row("VolumInd", 960, 6630, 1095, 225);
        row("List1", 660, 6915, 2085, 240);
        row("Labelpause", 120, 6930, 540, 195);
        row("ext", 2910, 6975, 870, 270);
    }
    void controlsByNameInTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, toolTip);
        Orvane w;
        auto *control = w.findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), Twips::toPixels(QRectF(twips)));
        QCOMPARE(control->toolTip(), toolTip);
        if (auto *image = qobject_cast<ImageControl *>(control))
            QCOMPARE(image->twipsGeometry(), QRectF(twips));
    }

    void picturesAtTheirPixelSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("toppic") << "toppic" << QSize(73, 15);
        QTest::newRow("balance") << "balance" << QSize(13, 5);
        QTest::newRow("pluss") << "pluss" << QSize(6, 6);
        QTest::newRow("minus") << "minus" << QSize(5, 4);
        QTest::newRow("plup") << "plup" << QSize(13, 11);
        QTest::newRow("vidup") << "vidup" << QSize(24, 11);
        QTest::newRow("islider") << "islider" << QSize(29, 6);
        QTest::newRow("repeaton") << "repeaton" << QSize(16, 9);
        QTest::newRow("shuffleon") << "shuffleon" << QSize(15, 7);
        QTest::newRow("listbar") << "listbar" << QSize(23, 35);
        QTest::newRow("filebar") << "filebar" << QSize(21, 36);
        QTest::newRow("viddown") << "viddown" << QSize(24, 11);
        QTest::newRow("pldown") << "pldown" << QSize(14, 13);
    }
    void picturesAtTheirPixelSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        Orvane w;
        auto *image = w.findChild<ImageControl *>(name);
        QVERIFY(image);
        QPixmap pic = image->picture();
        QVERIFY(!pic.isNull());
        QCOMPARE(pic.deviceIndependentSize().toSize(), size);
        // Something is drawn: not a transparent hot spot.
        const QImage img = pic.toImage();
        bool opaque = false;
        for (int y = 0; y < img.height() && !opaque; ++y)
            for (int x = 0; x < img.width() && !opaque; ++x)
                opaque = qAlpha(img.pixel(x, y)) > 0;
        QVERIFY(opaque);
    }

    void hotSpotsHaveNoPicture()
    {
        Orvane w;
        for (const char *n : {"Image1", "Image2", "Image4", "play", "pause", "stop", "next", "previous", "openfile",
                              "shuffle", "repeat", "addfile", "Image3", "directory", "list", "savelist", "LOADLIST"})
            QVERIFY2(w.findChild<ImageControl *>(n)->picture().isNull(), n);
    }

    void meterLines()
    {
        Orvane w;
        const int y1[] = {0, 915, 795, 675, 555, 435, 315};
        const int x2[] = {0, 182, 210, 255, 330, 405, 480};
        for (int i = 1; i <= 6; ++i) {
            LineControl *line = w.controls().LVol[i];
            QVERIFY(line);
            QCOMPARE(line->X1(), 180.0);
            QCOMPARE(line->Y1(), double(y1[i]));
            QCOMPARE(line->X2(), double(x2[i]));
            QVERIFY(!line->isHidden());
        }
    }

    void timers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("running");
        // The strip followers run on each change of height, Timer4 carries
        // both time displays and the position knob, and the title scroll
        // waits for a shown window.
        QTest::newRow("Timer1") << "Timer1" << 400 << true;
        QTest::newRow("Timer3") << "Timer3" << 60 << false;
        QTest::newRow("Timer6") << "Timer6" << 50 << false;
        QTest::newRow("toppicture") << "toppicture" << 60 << false;
        QTest::newRow("Timer4") << "Timer4" << 1000 << true;
        QTest::newRow("Timer5") << "Timer5" << 1000 << false;
        QTest::newRow("Timer7") << "Timer7" << 100 << false;
        QTest::newRow("Timer55") << "Timer55" << 1000 << false;
        QTest::newRow("TVolum") << "TVolum" << 50 << false;
    }
    void timers()
    {
        QFETCH(QString, name);
        QFETCH(int, interval);
        QFETCH(bool, running);
        Orvane w;
        auto *t = w.findChild<QTimer *>(name);
        QVERIFY(t);
        QCOMPARE(t->interval(), interval);
        QCOMPARE(t->isActive(), running);
    }

    void designTexts()
    {
        Orvane w;
        const OrvaneControls &c = w.controls();
        QCOMPARE(c.toptime->text(), QStringLiteral("00.00"));
        QCOMPARE(c.Label20->text(), QStringLiteral("00:00"));
        QCOMPARE(c.Label24->Caption(), QStringLiteral("Orvane"));
        QCOMPARE(c.Label24->Left(), 90.0);
        QCOMPARE(c.Label24->parentWidget(), c.PicDisplay);
        QCOMPARE(c.kbps->text(), QString());
        QCOMPARE(c.Khs->text(), QString());
        QCOMPARE(c.optnon->text(), QStringLiteral("Option1"));
        QCOMPARE(c.optres->text(), QStringLiteral("Norm"));
        QCOMPARE(c.cd1->DialogTitle(), QStringLiteral("Select A Song"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvane"));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.width(), 274);
        QCOMPARE(c.am1->design().Volume, MediaPlayerControl::am1Design().Volume);
        QCOMPARE(c.am1->playState(), MediaPlayerControl::PlayState::Closed);
        QCOMPARE(Orvane::instance(), &w);
    }

    // Every painted button of the skin lies under its hot spot: at the
    // centre of each spot the skin differs from the bare body.
    void skinButtonsUnderTheirSpots()
    {
        const QImage skin = OrvaneSkin::background(1.0).toImage();
        QCOMPARE(skin.size(), QSize(274, 377));
        QPixmap bodyOnly = Skin::makePixmap(274, 377, 1.0);
        {
            QPainter p(&bodyOnly);
            Skin::drawBody(p, QRectF(0, 0, 274, 377));
        }
        const QImage body = bodyOnly.toImage();
        for (const char *n : {"play", "pause", "stop", "next", "previous", "openfile", "shuffle", "repeat",
                              "Image1", "Image2", "Image4", "Image9", "Image15", "addfile", "list", "Image10",
                              "Image11", "Image12", "Image13", "Image14", "directory", "Image3", "savelist",
                              "LOADLIST"}) {
            const QPoint centre = OrvaneGeometry::px(n).center();
            QVERIFY2(skin.pixel(centre) != body.pixel(centre), n);
        }
    }

    // ---- start-up -----------------------------------------------------------

    void firstStartState()
    {
        Orvane w;
        const OrvaneControls &c = w.controls();
        for (ImageControl *spot : {c.Image5, c.Image6, c.Image7, c.Image8, c.Image16})
            QVERIFY2(!spot->isEnabled(), qPrintable(spot->objectName()));
        for (QWidget *hidden : std::initializer_list<QWidget *>{c.toptime, c.toppic, c.filebar, c.listbar,
                                                                c.shuffleon, c.repeaton, c.pldown})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QVERIFY(!c.vidup->isHidden());
        QVERIFY(!c.plup->isHidden());
        QVERIFY(c.optres->isChecked());
        QVERIFY(!c.optrnd->isChecked());
        QVERIFY(!c.optnon->isChecked());
        QCOMPARE(c.Labelpause->text(), QStringLiteral("Label1"));
        QCOMPARE(c.Label24->Caption(), QStringLiteral("Orvane"));
        QCOMPARE(w.Height(), 1725);
        QCOMPARE(w.height(), 115);
        QCOMPARE(w.pos(), QPoint(0, 0));
        QCOMPARE(w.playlist().count(), 0);
        QCOMPARE(c.List1->count(), 0);
        QCOMPARE(c.ext->text(), QString());
        QCOMPARE(stored("MAINTOP"), QString()); // loading writes nothing
    }

    void storedPositionRestored_data()
    {
        QTest::addColumn<QVariant>("top");
        QTest::addColumn<QVariant>("left");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("both") << QVariant("1500") << QVariant("2340") << QPoint(156, 100);
        QTest::newRow("only MAINTOP") << QVariant("1500") << QVariant() << QPoint(0, 100);
        QTest::newRow("only MAINLEFT") << QVariant() << QVariant("2340") << QPoint(156, 0);
        QTest::newRow("MAINTOP abc") << QVariant("abc") << QVariant("2340") << QPoint(156, 0);
        QTest::newRow("MAINLEFT abc") << QVariant("1500") << QVariant("abc") << QPoint(0, 100);
        QTest::newRow("empty texts") << QVariant("") << QVariant("") << QPoint(0, 0);
        // The title strip would be off every screen: the design place stands.
        QTest::newRow("off screen") << QVariant("-3000") << QVariant("300000") << QPoint(0, 0);
        QTest::newRow("left beyond 16 bits") << QVariant("1500") << QVariant("-900000") << QPoint(0, 100);
    }
    void storedPositionRestored()
    {
        QFETCH(QVariant, top);
        QFETCH(QVariant, left);
        QFETCH(QPoint, expected);
        if (top.isValid())
            SaveSetting(SettingsApplicationName(), "Orvane", "MAINTOP", top.toString());
        if (left.isValid())
            SaveSetting(SettingsApplicationName(), "Orvane", "MAINLEFT", left.toString());
        Orvane w;
        QCOMPARE(w.pos(), expected);
        QCOMPARE(w.Height(), 1725); // the height is not part of what is stored
    }

    // ---- closing --------------------------------------------------------------

    void closeSpotStoresPositionAndEndsTheProgram()
    {
        Orvane w;
        w.move(156, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.controls().Image1->toolTip(), QStringLiteral("关闭"));
        QTest::mouseClick(w.controls().Image1, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(ProgramEndSeam::calls(), 1);
        QCOMPARE(stored("MAINTOP"), QStringLiteral("1500"));
        QCOMPARE(stored("MAINLEFT"), QStringLiteral("2340"));
        QVERIFY(!w.isVisible());
        // And the next start comes back there.
        Orvane again;
        QCOMPARE(again.pos(), QPoint(156, 100));
    }

    void closeFromOutsideStoresPositionOnly()
    {
        Orvane w;
        w.move(30, 45);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.close());
        QCOMPARE(stored("MAINTOP"), QStringLiteral("675"));
        QCOMPARE(stored("MAINLEFT"), QStringLiteral("450"));
        QCOMPARE(ProgramEndSeam::calls(), 0);
    }

    void closingWhileMinimisedStoresThePosition()
    {
        Orvane w;
        w.move(60, 15);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showMinimized();
        QVERIFY(w.close());
        QCOMPARE(stored("MAINTOP"), QString::number(w.y() * 15));
        QCOMPARE(stored("MAINLEFT"), QString::number(w.x() * 15));
    }

    // ---- caption and minimise -----------------------------------------------------

    void minimiseSpot()
    {
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.controls().Image2, Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(w.isMinimized());
    }

    void captionFollowsTheWindowState()
    {
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.controls().Label24->setCaption("a.wav");
        w.setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE_WITH_TIMEOUT(w.windowTitle(), QStringLiteral("Orvane...a.wav"), 2000);
        w.controls().Label24->setCaption("Right");
        QTRY_COMPARE_WITH_TIMEOUT(w.windowTitle(), QStringLiteral("Orvane...Right"), 2000);
        // A song's name shows as it is, with what looks like markup or like
        // the placeholder of a modified window.
        w.controls().Label24->setCaption("Live [*] <b>take</b> &amp; co.mp3");
        QTRY_COMPARE_WITH_TIMEOUT(w.windowHandle()->title(), QStringLiteral("Orvane...Live [*] <b>take</b> &amp; co.mp3"),
                                  2000);
        w.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE_WITH_TIMEOUT(w.windowTitle(), QStringLiteral("Orvane"), 2000);
        w.setWindowState(Qt::WindowMaximized);
        w.GetWindowSize();
        QCOMPARE(w.windowTitle(), QStringLiteral("Orvane"));
    }

    // ---- drag ---------------------------------------------------------------

    void pressOnTheSkin_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("drags");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
        QTest::newRow("middle") << Qt::MiddleButton << false;
    }
    void pressOnTheSkin()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, drags);
        Orvane w;
        w.move(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Between the position track and the big buttons: bare skin.
        const QPoint bare(150, 82);
        QVERIFY(w.childAt(bare) == nullptr);
        QTest::mousePress(&w, button, {}, bare);
        QCOMPARE(w.lastDragOutcome() != DragOutcome::None, drags);
        // Without a window manager the window follows the pointer itself.
        if (drags && QGuiApplication::platformName() == QLatin1String("offscreen"))
            QCOMPARE(w.lastDragOutcome(), DragOutcome::ManualMove);
        QTest::mouseMove(&w, bare + QPoint(25, 10));
        QTest::mouseRelease(&w, button, {}, bare + QPoint(25, 10));
        if (w.lastDragOutcome() == DragOutcome::ManualMove)
            QCOMPARE(w.pos(), QPoint(125, 110));
        else if (!drags)
            QCOMPARE(w.pos(), QPoint(100, 100));
    }

    void pressOnAControlDoesNotDrag()
    {
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (QWidget *target : std::initializer_list<QWidget *>{w.controls().play, w.controls().Label20,
                                                                w.controls().PicDisplay, w.controls().Label24}) {
            QTest::mousePress(target, Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(w.lastDragOutcome(), DragOutcome::None);
            QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(2, 2));
        }
        // A disabled strip spot leaves the press to the window, which drags.
        QTest::mousePress(w.controls().Image5, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(w.lastDragOutcome() != DragOutcome::None);
        QTest::mouseRelease(w.controls().Image5, Qt::LeftButton, {}, QPoint(2, 2));
    }

    // ---- modes and the video buttons -----------------------------------------------

    void heightIsKeptExactlyInTwips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("strip") << 230 << 15;
        QTest::newRow("player") << 1725 << 115;
        QTest::newRow("panel") << 5640 << 376;
        QTest::newRow("odd") << 1000 << 67;
    }
    void heightIsKeptExactlyInTwips()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.setHeight(twips);
        QCOMPARE(w.Height(), twips);
        QCOMPARE(w.height(), pixels);
        QCOMPARE(w.width(), 274);
    }

    void controlsBelowTheHeightAreClipped()
    {
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.controls().lstfavs->visibleRegion().isEmpty());
        QVERIFY(!w.controls().play->visibleRegion().isEmpty());
        w.setHeight(5640);
        QTRY_VERIFY(!w.controls().lstfavs->visibleRegion().isEmpty());
        QVERIFY(w.controls().List1->visibleRegion().isEmpty());
        QVERIFY(w.controls().am1->visibleRegion().isEmpty());
        w.setHeight(230);
        QTRY_VERIFY(w.controls().play->visibleRegion().isEmpty());
        QVERIFY(!w.controls().Image1->visibleRegion().isEmpty());
    }

    void videoButtons()
    {
        Orvane w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy menuPlayer(&w, &Orvane::menuPlayerRequested);
        QSignalSpy skinned(&w, &Orvane::skinnedVideoRequested);
        // Any button opens the menu player; main playback is not touched.
        QTest::mousePress(w.controls().vidup, Qt::RightButton, {}, QPoint(3, 3));
        QTest::mouseRelease(w.controls().vidup, Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(menuPlayer.count(), 1);
        QCOMPARE(w.controls().am1->playState(), MediaPlayerControl::PlayState::Closed);
        // The pressed video button is out of reach; called directly it swaps
        // the buttons back and asks for the skinned window.
        w.controls().viddown->show();
        w.controls().vidup->hide();
        w.viddown_MouseMove(0, 0, 10, 10);
        QVERIFY(!w.controls().vidup->isHidden());
        QVERIFY(w.controls().viddown->isHidden());
        QCOMPARE(skinned.count(), 1);
    }
};

QTEST_MAIN(TestOrvane)
#include "tst_orvane.moc"
