// The playlist panel of the main window, driven with real mouse clicks on its
// hot spots and on the visible list at the playlist height: playlist files,
// the SAVE/LOAD and DIR/FILE pop-ups, the folder picker, the double click and
// the right-click menu.
#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "MsgBox.h"
#include "Orvane.h"
#include "ProgramEnd.h"
#include "add.h"
#include "dir.h"
#include "dirListBox.h"
#include "dirSkin.h"
#include "frmEditTags.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "support_rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using PlayState = MediaPlayerControl::PlayState;

namespace {
const QString FilterE = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wav;*.wma;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd");

using TestFiles::readFile;
using TestFiles::writeFile;

// The main window at the playlist height, shown, dialogs and messages scripted.
struct Window {
    Orvane w;
    Window()
    {
        FileDialogSeam::clear();
        MsgBoxSeam::clear();
        addSeam::clear();
        w.setHeight(5640);
        w.show();
    }
    ~Window() { dirSeam::setDriver(nullptr); }
    const OrvaneControls &c() const { return w.controls(); }
    QListWidget *list() const { return c().lstfavs; }

    // A click where the user would click: the spot must be what lies at that
    // point of the window, not hidden under another control.
    void click(ImageControl *spot)
    {
        const QPoint at = spot->geometry().center();
        QCOMPARE(w.childAt(at), static_cast<QWidget *>(spot));
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
    }
    QPoint rowPoint(int row) const { return list()->visualItemRect(list()->item(row)).center(); }
    void clickRow(int row) { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowPoint(row)); }
    void doubleClickAt(QPoint at)
    {
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    void rightClickAt(QPoint at) { QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, at); }
    // A point of the list below its last row.
    QPoint belowRows() const { return QPoint(20, list()->viewport()->height() - 5); }

    QStringList paths() const { return rowsOf(c().List1); }
    QStringList shown() const { return rowsOf(c().lstfavs); }
    bool sameLength() const { return c().List1->count() == c().lstfavs->count(); }

    // DIR of the add pop-up, with the picker opening `folder` and clicking SELECT.
    void addFolder(const QString &folder)
    {
        dirSeam::setDriver([folder](dir &d) {
            if (!d.Dir1->setPath(folder))
                qWarning("cannot open %s", qPrintable(folder));
            QTest::mouseClick(d.Image2, Qt::LeftButton, {}, d.Image2->rect().center());
        });
        click(c().directory);
        dirSeam::setDriver(nullptr);
    }
    void load(const QString &file)
    {
        FileDialogSeam::queueAnswer(file);
        click(c().LOADLIST);
    }
};
} // namespace

class TestOrvanePlaylist : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_music;        // b.wav, a.wav, c.mp3 (tagged): the folder the picker adds
    QStringList m_inFolder; // their full paths, in the picker's order

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setUpWindowTestEnvironment(m_dir.path());
        ProgramEndSeam::setScripted(true);
        MsgBoxSeam::setScripted(true);
        addSeam::setScripted(true);
        m_music = QFileInfo(m_dir.path()).canonicalFilePath() + "/music";
        QVERIFY(QDir().mkpath(m_music));
        const QString a = MediaFixtures::makeWav(m_music, "a.wav", 3.0);
        const QString b = MediaFixtures::makeWav(m_music, "b.wav", 3.0, 660);
        const QString c = MediaFixtures::makeMp3(m_music, "c.mp3", 1.0);
        QVERIFY(!a.isEmpty() && !b.isEmpty() && !c.isEmpty());
        QVERIFY(TestFiles::appendFile(c, TestFiles::id3Tag("Blue Train", "John Coltrane", "", "1957", "", 8)));
        m_inFolder = QStringList{a, b, c};
    }
    void init()
    {
        ProgramEndSeam::clear();
        frmEditTags::setModalHook({});
    }

    // ---- playlist files ------------------------------------------------

    void saveThenLoad()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        QCOMPARE(win.paths(), m_inFolder);
        QCOMPARE(win.shown(), (QStringList{"a.wav", "b.wav", "c.mp3"}));

        const QString file = m_dir.filePath("saved.m3u");
        FileDialogSeam::queueAnswer(file);
        win.click(win.c().savelist);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().at(0).save, true);
        QCOMPARE(FileDialogSeam::shown().at(0).title, QStringLiteral("Save Playlist"));
        QCOMPARE(FileDialogSeam::shown().at(0).filter, QStringLiteral("Playlist(*.M3u)|*.m3u"));
        QCOMPARE(win.c().cd1->FileName(), QString());
        // The full paths, never the names shown; CR LF after every line.
        QCOMPARE(readFile(file), (m_inFolder.join("\r\n") + "\r\n").toUtf8());

        // Something else in the list first: a load replaces it.
        FileDialogSeam::queueAnswer(m_inFolder.at(0));
        win.click(win.c().openfile);
        QCOMPARE(win.w.playlist().count(), 4);

        FileDialogSeam::clear();
        win.load(file);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().at(0).save, false);
        QCOMPARE(FileDialogSeam::shown().at(0).title, QStringLiteral("Load Playlist"));
        QCOMPARE(FileDialogSeam::shown().at(0).filter, QStringLiteral("Playlist(*.M3u)|*.M3u"));
        QCOMPARE(win.paths(), m_inFolder);
        QCOMPARE(win.shown(), m_inFolder); // loaded rows show their full paths
        QCOMPARE(win.w.playlist().selectedIndex(), -1);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(win.c().cd1->FileName(), QString());
    }

    void cancelledLoadAndSaveChangeNothing()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        const QString file = m_dir.filePath("kept.m3u");
        QVERIFY(writeFile(file, "/x/kept.mp3\r\n"));
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.c().savelist);
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.c().LOADLIST);
        QCOMPARE(FileDialogSeam::shown().size(), 2);
        QCOMPARE(readFile(file), QByteArray("/x/kept.mp3\r\n"));
        QCOMPARE(win.paths(), m_inFolder);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void emptyPlaylistIsNotSavedAndTheProgramGoesOn()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const QString file = m_dir.filePath("never.m3u");
        FileDialogSeam::queueAnswer(file);
        win.click(win.c().savelist);
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("Listbox is empty - cannot write to file!"));
        QCOMPARE(shown.first().style, 16);
        QCOMPARE(shown.first().title, QStringLiteral("Error"));
        QVERIFY(!QFile::exists(file));
        QCOMPARE(ProgramEndSeam::calls(), 0);
        QVERIFY(win.w.isVisible());
        // ...and the window still works.
        win.addFolder(m_music);
        QCOMPARE(win.w.playlist().count(), 3);
    }

    void loadFailureKeepsThePlaylist()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.load(m_dir.filePath("missing.m3u"));
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QVERIFY(MsgBoxSeam::shown().first().text.startsWith("Error in ReadList\r\r"));
        QCOMPARE(win.paths(), m_inFolder);
        QVERIFY(win.sameLength());
        // A pipe chosen as the list is refused at once, never waited on.
        const TestFiles::PipeWatchdog pipe(m_dir.filePath("pipe.m3u"));
        QVERIFY(pipe.made());
        win.load(m_dir.filePath("pipe.m3u"));
        QVERIFY(!pipe.hadToUnblock());
        QCOMPARE(MsgBoxSeam::shown().size(), 2);
        QVERIFY(MsgBoxSeam::shown().last().text.startsWith("Error in ReadList\r\r"));
        QCOMPARE(win.paths(), m_inFolder);
    }

    // ---- the pop-ups of the panel -------------------------------------

    void popupsToggle_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picture");
        QTest::newRow("LIST: SAVE/LOAD") << "list" << "listbar";
        QTest::newRow("+: DIR/FILE") << "addfile" << "filebar";
    }
    void popupsToggle()
    {
        QFETCH(QString, button);
        QFETCH(QString, picture);
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        auto *spot = win.w.findChild<ImageControl *>(button);
        auto *pic = win.w.findChild<ImageControl *>(picture);
        QVERIFY(spot && pic);
        QVERIFY(pic->isHidden());
        for (bool expected : {true, false, true}) {
            win.click(spot);
            QCOMPARE(pic->isVisible(), expected);
        }
        QCOMPARE(win.w.playlist().count(), 0);
    }

    // The hot spots over a pop-up take their clicks whether it shows or not.
    void spotsOverShownPopupsStillClick()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.click(win.c().list);
        win.click(win.c().addfile);
        QVERIFY(win.c().listbar->isVisible() && win.c().filebar->isVisible());
        win.addFolder(m_music); // DIR
        QCOMPARE(win.w.playlist().count(), 3);
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.c().savelist);
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.c().LOADLIST);
        QCOMPARE(FileDialogSeam::shown().size(), 2);
    }

    // ---- double click ---------------------------------------------------

    // A row of the folder picker shows the bare name; the full path plays.
    void doubleClickPlaysTheFullPath()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.c().Label24->setCaption("old title");
        win.doubleClickAt(win.rowPoint(1));
        QCOMPARE(win.w.playlist().selectedIndex(), 1);
        QCOMPARE(win.c().List1->currentRow(), 1);
        QVERIFY(win.c().List1->item(1)->isSelected());
        QCOMPARE(win.c().am1->FileName(), m_inFolder.at(1));
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("b.wav"));
        QCOMPARE(win.c().ext->text(), QStringLiteral("wav"));
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        QVERIFY(FileDialogSeam::shown().isEmpty());
        QCOMPARE(win.w.playlist().count(), 3);
    }

    void singleClickOnlySelects()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.clickRow(2);
        QCOMPARE(win.w.playlist().selectedIndex(), 2);
        QCOMPARE(win.c().am1->FileName(), QString());
        QCOMPARE(win.c().am1->playState(), PlayState::Closed);
    }

    // Rows read from a file: "cda" at the end (by character code) is a CD
    // track, anything else a file, whether or not the media can be opened.
    void doubleClickOnLoadedRows_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("title"); // how it starts: none of them can be opened here
        QTest::addColumn<QString>("ext");
        QTest::newRow("cda") << "/cd/Track01.cda" << "CDAUDIO:" << "Cannot play CDAUDIO: (" << "cda";
        QTest::newRow("CDA") << "/cd/TRACK01.CDA" << "/cd/TRACK01.CDA" << "Cannot play TRACK01.CDA (File not found)"
                             << "CDA";
        QTest::newRow("missing file") << "/gone/song.mp3" << "/gone/song.mp3"
                                      << "Cannot play song.mp3 (File not found)" << "mp3";
    }
    void doubleClickOnLoadedRows()
    {
        QFETCH(QString, row);
        QFETCH(QString, media);
        QFETCH(QString, title);
        QFETCH(QString, ext);
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const QString file = m_dir.filePath("rows.m3u");
        QVERIFY(writeFile(file, (m_inFolder.at(0) + "\r\n" + row + "\r\n").toUtf8()));
        win.load(file);
        QCOMPARE(win.shown(), (QStringList{m_inFolder.at(0), row}));
        win.c().Label24->setCaption("old title");
        FileDialogSeam::clear();
        win.doubleClickAt(win.rowPoint(1));
        QCOMPARE(win.c().ext->text(), ext);
        QCOMPARE(win.c().am1->FileName(), media);
        QVERIFY2(win.c().Label24->Caption().startsWith(title), qPrintable(win.c().Label24->Caption()));
        QVERIFY(FileDialogSeam::shown().isEmpty());
        QCOMPARE(win.paths(), win.shown());
        QVERIFY(win.w.isVisible()); // no CD drive, no such file: the window goes on
    }

    // With no row selected, or on an empty row, the dialog asks for a song.
    void doubleClickWithoutAnEntryOpensTheDialog_data()
    {
        QTest::addColumn<bool>("emptyRow");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("no row selected") << false << false;
        QTest::newRow("empty row") << true << false;
        QTest::newRow("no row selected, cancelled") << false << true;
    }
    void doubleClickWithoutAnEntryOpensTheDialog()
    {
        QFETCH(bool, emptyRow);
        QFETCH(bool, cancel);
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const QString file = m_dir.filePath("gap.m3u");
        QVERIFY(writeFile(file, (m_inFolder.at(0) + "\r\n\r\n").toUtf8()));
        win.load(file);
        QCOMPARE(win.paths(), (QStringList{m_inFolder.at(0), QString()}));
        FileDialogSeam::clear();
        if (cancel)
            FileDialogSeam::queueAnswer(std::nullopt);
        else
            FileDialogSeam::queueAnswer(m_inFolder.at(1));
        win.c().Label24->setCaption("old title");
        win.doubleClickAt(emptyRow ? win.rowPoint(1) : win.belowRows());
        QCOMPARE(win.w.playlist().selectedIndex(), emptyRow ? 1 : -1);
        const auto dialogs = FileDialogSeam::shown();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs.at(0).save, false);
        QCOMPARE(dialogs.at(0).filter, FilterE);
        QCOMPARE(win.c().ext->text(), QString()); // no CD test at this site
        if (cancel) {
            QCOMPARE(win.paths(), (QStringList{m_inFolder.at(0), QString()}));
            // A cancel changes nothing: the player and the title stay.
            QCOMPARE(win.c().am1->FileName(), QString());
            QCOMPARE(win.c().Label24->Caption(), QStringLiteral("old title"));
            return;
        }
        QCOMPARE(win.c().Label24->Caption(), QString()); // this site names no title
        QCOMPARE(win.paths(), (QStringList{m_inFolder.at(0), QString(), m_inFolder.at(1)}));
        QCOMPARE(win.shown(), (QStringList{m_inFolder.at(0), QString(), "b.wav"}));
        QCOMPARE(win.c().am1->FileName(), m_inFolder.at(1));
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
    }

    // ---- the right-click menu -------------------------------------------

    // The right button pops the menu at the pointer without selecting the
    // row under it: "Remove File" takes the row selected before.
    void removeThroughTheMenu()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        QVERIFY(!win.w.menuWindow());
        win.clickRow(0);
        addSeam::queueChoice(QStringLiteral("delfile"));
        const QPoint at = win.rowPoint(2);
        win.rightClickAt(at);
        QCOMPARE(addSeam::popups(), QList<QPoint>{win.list()->viewport()->mapToGlobal(at)});
        QCOMPARE(win.paths(), m_inFolder.mid(1));
        QCOMPARE(win.shown(), (QStringList{"b.wav", "c.mp3"}));
        QCOMPARE(win.w.playlist().selectedIndex(), -1);

        // The menu window is kept, hidden, for the next right click; a
        // right click with no row selected removes nothing.
        add *menus = win.w.menuWindow();
        QVERIFY(menus);
        QVERIFY(!menus->isVisible());
        addSeam::queueChoice(QStringLiteral("delfile"));
        win.rightClickAt(win.rowPoint(0));
        QCOMPARE(win.w.menuWindow(), menus);
        QCOMPARE(addSeam::popups().size(), 2);
        QCOMPARE(win.paths(), m_inFolder.mid(1));
        QVERIFY(win.sameLength());
    }

    // A quick second right press (a double click of the right button)
    // selects nothing either.
    void rightDoubleClickSelectsNothing()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.clickRow(0);
        win.rightClickAt(win.rowPoint(2));
        QTest::mouseDClick(win.list()->viewport(), Qt::RightButton, {}, win.rowPoint(2));
        QTest::mouseRelease(win.list()->viewport(), Qt::RightButton, {}, win.rowPoint(2));
        QCOMPARE(win.w.playlist().selectedIndex(), 0);
        QCOMPARE(addSeam::popups().size(), 1); // one per press
        QCOMPARE(win.w.playlist().count(), 3);
    }

    // Removing what plays leaves it playing.
    void removingThePlayingEntryKeepsPlaying()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.doubleClickAt(win.rowPoint(0));
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        addSeam::queueChoice(QStringLiteral("delfile"));
        win.rightClickAt(win.rowPoint(0));
        QCOMPARE(win.paths(), m_inFolder.mid(1));
        QCOMPARE(win.c().am1->playState(), PlayState::Playing);
        QCOMPARE(win.c().am1->FileName(), m_inFolder.at(0));
    }

    void informationWithoutAnEntry_data()
    {
        QTest::addColumn<bool>("emptyRow");
        QTest::newRow("no row selected") << false;
        QTest::newRow("empty row") << true;
    }
    void informationWithoutAnEntry()
    {
        QFETCH(bool, emptyRow);
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const QString file = m_dir.filePath("gap2.m3u");
        QVERIFY(writeFile(file, (m_inFolder.at(2) + "\r\n\r\n").toUtf8()));
        win.load(file);
        if (emptyRow)
            win.clickRow(1);
        int opened = 0;
        frmEditTags::setModalHook([&](frmEditTags &) { ++opened; });
        addSeam::queueChoice(QStringLiteral("information"));
        win.rightClickAt(win.rowPoint(0));
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("No Media Loaded"));
        QCOMPARE(shown.first().style, 48);
        QCOMPARE(shown.first().title, QStringLiteral("Orvane"));
        QCOMPARE(opened, 0);
    }

    // "Information" on a row that shows the bare name: the editor opens once,
    // on the full path, with the file's own tag.
    void informationOpensTheEditorOnTheFullPath()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.addFolder(m_music);
        win.clickRow(2);
        QCOMPARE(win.w.playlist().selectedText(), QStringLiteral("c.mp3"));
        QStringList opened, titles;
        frmEditTags::setModalHook([&](frmEditTags &ed) {
            opened.append(ed.editPath());
            titles.append(ed.txtEditTags[0]->text());
        });
        const QByteArray before = readFile(m_inFolder.at(2));
        addSeam::queueChoice(QStringLiteral("information"));
        win.rightClickAt(win.rowPoint(0));
        frmEditTags::setModalHook({});
        QCOMPARE(opened, QStringList{m_inFolder.at(2)});
        QCOMPARE(titles, QStringList{"Blue Train"});
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(readFile(m_inFolder.at(2)), before); // cancelled: untouched
        QCOMPARE(win.w.playlist().selectedIndex(), 2);
    }

    // The menu window stays loaded but hidden: closing the last visible
    // window still ends the application's event loop.
    void menuWindowKeepsNothingAlive()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        addSeam::queueChoice(std::nullopt);
        win.rightClickAt(win.belowRows());
        QVERIFY(win.w.menuWindow());
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QTimer::singleShot(0, &win.w, [&win] { win.w.close(); });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0); // 1: something kept the loop running
        QVERIFY(!win.w.menuWindow()->isVisible());
    }

    // ---- the two lists stay one playlist ---------------------------------

    void listsStayAtOneIndexThroughEverything()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        const QString file = m_dir.filePath("all.m3u");
        auto check = [&](const char *step) {
            QVERIFY2(win.sameLength(), step);
            for (int i = 0; i < win.w.playlist().count(); ++i)
                QVERIFY2(win.paths().at(i).endsWith(win.shown().at(i)), step);
        };
        win.addFolder(m_music);
        check("folder added");
        FileDialogSeam::queueAnswer(m_inFolder.at(0));
        win.click(win.c().Image3); // FILE of the pop-up
        check("file added");
        FileDialogSeam::queueAnswer(file);
        win.click(win.c().savelist);
        check("saved");
        win.clickRow(1);
        addSeam::queueChoice(QStringLiteral("delfile"));
        win.rightClickAt(win.rowPoint(3));
        check("removed");
        QCOMPARE(win.w.playlist().count(), 3);
        win.load(file);
        check("loaded");
        QCOMPARE(win.w.playlist().count(), 4);
        FileDialogSeam::queueAnswer(m_inFolder.at(1));
        win.doubleClickAt(win.belowRows());
        check("double click added");
        win.addFolder(m_music);
        check("folder added twice");
        QCOMPARE(win.w.playlist().count(), 8);
    }

    // ---- the look ---------------------------------------------------------

    // The panel with a loaded list and one row selected, and the folder
    // picker over it. ORVANE_SCREENSHOT_DIR keeps the pictures.
    void screenshots()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        QStringList rows;
        const char *names[] = {"Blue in Green", "So What", "Freddie Freeloader", "All Blues", "Flamenco Sketches",
                               "Naima", "Giant Steps", "Cousin Mary", "Countdown", "Spiral",
                               "Syeeda's Song Flute", "Mr. P.C.", "Moanin'", "Take Five", "Blue Rondo",
                               "Strange Meadow Lark", "Three to Get Ready", "Kathy's Waltz", "Everybody's Jumpin'",
                               "Pick Up Sticks"};
        for (const char *n : names)
            rows.append(QStringLiteral("/home/anna/Music/Jazz/%1.mp3").arg(QLatin1String(n)));
        const QString file = m_dir.filePath("jazz.m3u");
        QVERIFY(writeFile(file, (rows.join("\r\n") + "\r\n").toUtf8()));
        win.load(file);
        QCOMPARE(win.w.playlist().count(), 20);
        win.clickRow(6);
        win.click(win.c().list);
        QTest::qWait(50);
        const QImage panel = win.w.grab().toImage();
        QCOMPARE(panel.size(), win.w.size());
        // The selected row stands out from the list's dark blue, the others
        // do not: compare a point near the right end of each (past the text).
        const QColor listBlue(0, 0, 0x80);
        auto rowEnd = [&](int row) {
            const QRect r = win.list()->visualItemRect(win.list()->item(row));
            const int x = win.list()->viewport()->width() - 3;
            return panel.pixelColor(win.list()->viewport()->mapTo(&win.w, QPoint(x, r.top() + 1)));
        };
        QCOMPARE(rowEnd(5), listBlue);
        QCOMPARE(rowEnd(7), listBlue);
        QVERIFY(rowEnd(6) != listBlue);
        // The selected row's text starts where the others' does: the first
        // column that is nearly white, across the row's height.
        auto textLeft = [&](int row) {
            const QRect r = win.list()->visualItemRect(win.list()->item(row));
            for (int x = 0; x < win.list()->viewport()->width(); ++x)
                for (int y = r.top(); y <= r.bottom(); ++y) {
                    const QColor c = panel.pixelColor(win.list()->viewport()->mapTo(&win.w, QPoint(x, y)));
                    if (c.red() > 200 && c.green() > 200)
                        return x;
                }
            return -1;
        };
        QVERIFY(textLeft(5) > 0);
        QVERIFY(qAbs(textLeft(6) - textLeft(5)) <= 1);
        QVERIFY(qAbs(textLeft(6) - textLeft(7)) <= 1);

        QImage picker;
        dirSeam::setDriver([&](dir &d) {
            d.Dir1->setPath(m_music);
            picker = d.grab().toImage();
        });
        win.click(win.c().directory);
        dirSeam::setDriver(nullptr);
        QCOMPARE(picker.size(), QSize(274, 209));

        const QString out = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
        if (!out.isEmpty()) {
            QVERIFY(panel.save(out + "/playlist-panel.png"));
            QVERIFY(picker.save(out + "/folder-picker.png"));
        }
    }
};

QTEST_MAIN(TestOrvanePlaylist)
#include "tst_orvane_playlist.moc"
