// Adding songs through the open dialog, clicked on the window's own hot spots.
#include "FileDialogControl.h"
#include "TestEnvironment.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "MsgBox.h"
#include "Orvane.h"
#include "ProgramEnd.h"

#include <QDir>
#include <QRegularExpression>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using PlayState = MediaPlayerControl::PlayState;

namespace {
const QString FilterA = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd;*.wmv");
const QString FilterB = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd");

// A window at the playlist height, shown, with the dialog scripted.
struct Window {
    Orvane w;
    Window()
    {
        FileDialogSeam::clear();
        w.setHeight(5640);
        w.show();
    }
    const OrvaneControls &c() const { return w.controls(); }
    void click(ImageControl *spot) { QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center()); }
    QStringList paths() const
    {
        QStringList out;
        for (int i = 0; i < c().List1->count(); ++i)
            out << c().List1->item(i)->text();
        return out;
    }
    QStringList shown() const
    {
        QStringList out;
        for (int i = 0; i < c().lstfavs->count(); ++i)
            out << c().lstfavs->item(i)->text();
        return out;
    }
};
} // namespace

class TestOrvaneAddSongs : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_a, m_b; // two short WAV songs

    // a.wav added through Add Songs and playing, under a title of our own.
    void playAWithTitle(Window &win)
    {
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        win.c().Label24->setCaption("kept title");
    }
    // The strip's Play is live only in the compact strip, where its timer
    // enables it.
    static void reach(Window &win, const QString &spot)
    {
        if (spot == "Image6") {
            win.w.setHeight(230);
            win.c().Image6->setEnabled(true);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setUpWindowTestEnvironment(m_dir.path());
        ProgramEndSeam::setScripted(true);
        MsgBoxSeam::setScripted(true);
        m_a = MediaFixtures::makeWav(m_dir.path(), "a.wav", 3.0);
        m_b = MediaFixtures::makeWav(m_dir.path(), "b.wav", 3.0, 660);
        QVERIFY(!m_a.isEmpty() && !m_b.isEmpty());
    }

    void addSongsPlaysAndAppends()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);

        const auto shown = FileDialogSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).save, false);
        QCOMPARE(shown.at(0).filter, FilterA);
        QCOMPARE(shown.at(0).title, QStringLiteral("Select A Song"));
        QCOMPARE(win.paths(), QStringList{m_a});
        QCOMPARE(win.shown(), QStringList{"a.wav"});
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("a.wav"));
        QCOMPARE(win.c().ext->text(), QStringLiteral("wav"));
        QCOMPARE(win.w.playlist().selectedIndex(), -1);
        QCOMPARE(win.c().cd1->FileName(), QString());
        QCOMPARE(win.c().am1->FileName(), m_a);
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        QTRY_VERIFY_WITH_TIMEOUT(win.c().am1->CurrentPosition() > 0.2, 5000);
    }

    void rowsStayAtOneIndexAndTheSelectionStays()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);
        QVERIFY(win.w.playlist().setSelectedIndex(0));
        FileDialogSeam::queueAnswer(m_b);
        win.click(win.c().openfile);
        FileDialogSeam::queueAnswer(m_a); // the same file twice is two entries
        win.click(win.c().openfile);
        QCOMPARE(win.paths(), (QStringList{m_a, m_b, m_a}));
        QCOMPARE(win.shown(), (QStringList{"a.wav", "b.wav", "a.wav"}));
        QCOMPARE(win.w.playlist().selectedIndex(), 0);
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("a.wav"));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<QString>("spot");
        QTest::newRow("Add Songs") << "openfile";
        QTest::newRow("FILE of the pop-up") << "Image3";
        QTest::newRow("strip Play") << "Image6";
    }
    void cancelChangesNothing()
    {
        QFETCH(QString, spot);
        Window win;
        playAWithTitle(win);
        if (QTest::currentTestFailed())
            return;
        win.c().ext->setText("mp3");
        reach(win, spot);

        FileDialogSeam::clear();
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.w.findChild<ImageControl *>(spot));

        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(win.paths(), QStringList{m_a});
        QCOMPARE(win.shown(), QStringList{"a.wav"});
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("kept title"));
        QCOMPARE(win.c().ext->text(), QStringLiteral("mp3"));
        QCOMPARE(win.c().am1->FileName(), m_a);
        QCOMPARE(win.c().am1->playState(), PlayState::Playing);
    }

    // A full playlist (32,767 entries) takes no song: it says so before the
    // dialog opens, and what plays, the title and the rows stay.
    void fullPlaylistTakesNoSong_data() { cancelChangesNothing_data(); }
    void fullPlaylistTakesNoSong()
    {
        QFETCH(QString, spot);
        Window win;
        playAWithTitle(win);
        if (QTest::currentTestFailed())
            return;
        const QStringList rows = QString("/old.mp3\n").repeated(32766).split('\n', Qt::SkipEmptyParts);
        QVERIFY(win.w.playlist().appendMany(rows, rows));
        reach(win, spot);

        FileDialogSeam::clear();
        MsgBoxSeam::clear();
        FileDialogSeam::queueAnswer(m_b);
        win.click(win.w.findChild<ImageControl *>(spot));

        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text,
                 QStringLiteral("Error in AddSongFromDialog\r\r7 - Out of memory: the playlist is full; it holds "
                                "32,767 entries, the most it can hold"));
        QCOMPARE(shown.first().style, 16);
        QCOMPARE(shown.first().title, QStringLiteral("Error"));
        QCOMPARE(FileDialogSeam::shown().size(), 0);
        QCOMPARE(win.w.playlist().count(), 32767);
        QCOMPARE(win.c().List1->count(), 32767);
        QCOMPARE(win.paths().constLast(), QStringLiteral("/old.mp3"));
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("kept title"));
        QCOMPARE(win.c().am1->FileName(), m_a);
        QCOMPARE(win.c().am1->playState(), PlayState::Playing);
    }

    // "cda" marks an audio-CD track, compared by character code.
    void cdTracks_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("title"); // how it starts: none of them can be opened here
        QTest::newRow("cda") << "/music/Track01.cda" << "cda" << "CDAUDIO:" << "Cannot play CDAUDIO: (";
        QTest::newRow("CDA") << "/music/TRACK01.CDA" << "CDA" << "/music/TRACK01.CDA"
                             << "Cannot play TRACK01.CDA (File not found)";
        QTest::newRow("name ending in cda") << "/music/Picda" << "cda" << "CDAUDIO:" << "Cannot play CDAUDIO: (";
        QTest::newRow("short name") << "ab" << "ab" << "ab" << "Cannot play ab (File not found)";
    }
    void cdTracks()
    {
        QFETCH(QString, path);
        QFETCH(QString, ext);
        QFETCH(QString, media);
        QFETCH(QString, title);
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.c().Label24->setCaption("old title");
        FileDialogSeam::queueAnswer(path);
        win.click(win.c().openfile);
        QCOMPARE(win.c().ext->text(), ext);
        QCOMPARE(win.c().am1->FileName(), media);
        QVERIFY2(win.c().Label24->Caption().startsWith(title), qPrintable(win.c().Label24->Caption()));
        QCOMPARE(win.paths(), QStringList{path});
        QCOMPARE(win.shown(), QStringList{path.section('/', -1)});
        // No CD drive and no such file here: the window keeps working.
        QVERIFY(win.c().openfile->isEnabled());
    }

    void fileOfThePopupDoesNotOpenTheFile()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        FileDialogSeam::clear();
        FileDialogSeam::queueAnswer(m_b);
        // The pop-up is hidden: its FILE spot still takes the click.
        QVERIFY(win.c().filebar->isHidden());
        win.click(win.c().Image3);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().at(0).filter, FilterB);
        QCOMPARE(win.paths(), (QStringList{m_a, m_b}));
        QCOMPARE(win.shown(), (QStringList{"a.wav", "b.wav"}));
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("b.wav"));
        QCOMPARE(win.c().ext->text(), QStringLiteral("wav"));
        QCOMPARE(win.c().am1->FileName(), m_a);
        QCOMPARE(win.c().am1->playState(), PlayState::Playing);
    }

    void fileOfThePopupWithACdTrackStartsTheCd()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(QStringLiteral("/cd/Track02.cda"));
        win.click(win.c().Image3);
        QCOMPARE(win.c().am1->FileName(), QStringLiteral("CDAUDIO:"));
        // No CD here: the title says so rather than keep what it showed.
        QVERIFY2(win.c().Label24->Caption().startsWith(QStringLiteral("Cannot play CDAUDIO: (")),
                 qPrintable(win.c().Label24->Caption()));
        QCOMPARE(win.shown(), QStringList{"Track02.cda"});
    }

    void addButtonTogglesThePopup()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        QVERIFY(win.c().filebar->isHidden());
        win.click(win.c().addfile);
        QVERIFY(!win.c().filebar->isHidden());
        win.click(win.c().addfile);
        QVERIFY(win.c().filebar->isHidden());
        QCOMPARE(FileDialogSeam::shown().size(), 0);
        // The DIR and FILE spots lie above the pop-up picture.
        win.click(win.c().addfile);
        QCOMPARE(win.w.childAt(win.c().Image3->geometry().center()), win.c().Image3);
        QCOMPARE(win.w.childAt(win.c().directory->geometry().center()), win.c().directory);
        FileDialogSeam::queueAnswer(std::nullopt);
        win.click(win.c().Image3);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
    }

    void stripPlayWithASelectedRowHandsItsFullPath()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().Image3); // added, not opened
        FileDialogSeam::queueAnswer(m_b);
        win.click(win.c().Image3);
        QCOMPARE(win.c().am1->playState(), PlayState::Closed);
        QVERIFY(win.w.playlist().setSelectedIndex(0));
        win.c().Label24->setCaption("kept");
        win.w.setHeight(230);
        win.c().Image6->setEnabled(true); // the strip enables it (timer of the strip)
        FileDialogSeam::clear();
        win.click(win.c().Image6);
        QCOMPARE(FileDialogSeam::shown().size(), 0);
        QCOMPARE(win.c().am1->FileName(), m_a); // the full path, not "a.wav"
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("kept"));
        QCOMPARE(win.shown().size(), 2);
    }

    void stripPlayWithNoSelectedRowGoesToTheDialog()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
        win.w.setHeight(230);
        win.c().Image6->setEnabled(true);
        FileDialogSeam::clear();
        FileDialogSeam::queueAnswer(m_b);
        win.click(win.c().Image6);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().at(0).filter, FilterB);
        QCOMPARE(win.shown(), (QStringList{"a.wav", "b.wav"})); // the first row was not played
        QCOMPARE(win.c().am1->FileName(), m_b);
        QCOMPARE(win.c().Label24->Caption(), QStringLiteral("b.wav"));
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
    }

    void disabledStripPlayDoesNothingOfItsOwn()
    {
        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        win.click(win.c().Image6);
        QCOMPARE(FileDialogSeam::shown().size(), 0);
    }

    void badFilesAreAddedAndTheWindowGoesOn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not media") << "text";
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("folder named like a song") << "folder";
        QTest::newRow("missing") << "missing";
    }
    void badFilesAreAddedAndTheWindowGoesOn()
    {
        QFETCH(QString, kind);
        QString bad;
        if (kind == "text")
            bad = MediaFixtures::makeNonMedia(m_dir.path(), "notes.mp3");
        else if (kind == "truncated")
            bad = MediaFixtures::makeTruncatedMp3(m_dir.path(), "broken.mp3", 2.0, 300);
        else if (kind == "folder")
            bad = MediaFixtures::makeFolderNamedLikeMedia(m_dir.path(), "folder.mp3");
        else
            bad = QDir(m_dir.path()).filePath("gone.mp3");
        QVERIFY(!bad.isEmpty());

        Window win;
        QVERIFY(QTest::qWaitForWindowExposed(&win.w));
        // The failure is logged, never shown in a dialog.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Orvane: (opening|playback) .*failed"));
        FileDialogSeam::queueAnswer(bad);
        win.click(win.c().openfile);
        QCOMPARE(win.paths(), QStringList{bad});
        QVERIFY(win.c().am1->playState() != PlayState::Playing);
        QTest::qWait(100); // let a late decoding failure arrive
        // The title does not pass the file off as playing: it says it failed.
        const QString title = win.c().Label24->Caption();
        QVERIFY2(title.startsWith(QStringLiteral("Cannot play ") + bad.section('/', -1) + QStringLiteral(" (")),
                 qPrintable(title));

        // Still working: the next good song plays.
        FileDialogSeam::queueAnswer(m_a);
        win.click(win.c().openfile);
        QCOMPARE(win.paths(), (QStringList{bad, m_a}));
        QTRY_COMPARE(win.c().am1->playState(), PlayState::Playing);
    }
};

QTEST_MAIN(TestOrvaneAddSongs)
#include "tst_orvane_addsongs.moc"
