#include "support_playerwindow.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QListWidget>
#include <QRadioButton>
#include <QTimer>
#include <set>

#include "ImageControl.h"
#include "LabelControl.h"

using PlayState = MediaPlayerControl::PlayState;

class TestSongOrder : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QStringList m_paths; // rows A, B, C
    QString m_short;     // ends soon after it starts

    void addRows(Orvane &w, int n = 3)
    {
        for (int i = 0; i < n; ++i)
            w.playlist().append(m_paths.at(i), QFileInfo(m_paths.at(i)).fileName());
    }
    static int heightFor(const QByteArray &button)
    {
        if (button == "Image5" || button == "Image16")
            return OrvaneGeometry::HeightStrip;
        if (button == "Image13" || button == "Image14")
            return OrvaneGeometry::HeightPanel;
        return OrvaneGeometry::HeightPlayer;
    }

private Q_SLOTS:
    void initTestCase()
    {
        PlayerWindow::setUpEnvironment(m_settings);
        int freq = 440;
        for (const char *n : {"a.wav", "b.wav", "c.wav"}) {
            m_paths << MediaFixtures::makeWav(m_media.path(), QLatin1String(n), 3.0, freq);
            QVERIFY(!m_paths.constLast().isEmpty());
            freq += 110;
        }
        m_short = MediaFixtures::makeWav(m_media.path(), QStringLiteral("short.wav"), 0.3);
        QVERIFY(!m_short.isEmpty());
    }

    // Next and Previous on all three rows of buttons, with A, B and C.
    void nextAndPrevious_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expected");
        for (const char *b : {"next", "Image13", "Image16"}) {
            const QByteArray button(b);
            QTest::newRow(button + " from B") << button << 1 << 2;
            QTest::newRow(button + " from C wraps") << button << 2 << 0;
            QTest::newRow(button + " from none") << button << -1 << 0;
        }
        for (const char *b : {"previous", "Image14", "Image5"}) {
            const QByteArray button(b);
            QTest::newRow(button + " from B") << button << 1 << 0;
            QTest::newRow(button + " from A wraps") << button << 0 << 2;
            QTest::newRow(button + " from none") << button << -1 << 2;
        }
    }
    void nextAndPrevious()
    {
        QFETCH(QByteArray, button);
        QFETCH(int, selected);
        QFETCH(int, expected);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->playlist().setSelectedIndex(selected);
        c.Label24->setCaption(QStringLiteral("old song"));
        w->setHeight(heightFor(button));
        QCOMPARE(PlayerWindow::reachedAt(*w, button.constData()), QString::fromLatin1(button));

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(w->playlist().selectedIndex(), expected);
        QCOMPARE(c.am1->FileName(), m_paths.at(expected)); // the full path, not the shown name
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(c.Label24->Caption(), QStringLiteral("old song"));
    }

    // An entry that fails leaves its report in the title, and so does one
    // that the end-of-media advance passed over; the next entry that plays,
    // however the user reaches it, puts its own name there instead. The
    // list: a file that has gone, a.wav, b.wav.
    void titleFollowsWhatPlaysAfterAFailure_data()
    {
        QTest::addColumn<bool>("skipped"); // gone.wav passed over by the advance, not opened by Next
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<int>("expected");
        QTest::newRow("next") << false << QByteArray("next") << 1;
        QTest::newRow("panel next") << false << QByteArray("Image13") << 1;
        QTest::newRow("previous wraps") << false << QByteArray("previous") << 2;
        QTest::newRow("play the clicked row") << false << QByteArray("play") << 1;
        QTest::newRow("next after a skip") << true << QByteArray("next") << 2;
    }
    void titleFollowsWhatPlaysAfterAFailure()
    {
        QFETCH(bool, skipped);
        QFETCH(QByteArray, action);
        QFETCH(int, expected);
        QTemporaryDir dir;
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->setHeight(OrvaneGeometry::HeightPanel);
        w->playlist().append(dir.filePath("gone.wav"), QStringLiteral("gone.wav"));
        addRows(*w, 2);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Orvane: opening .*gone\\.wav.*failed")));
        if (skipped) {
            w->am1_EndOfStream(0);
            QCOMPARE(c.Label24->Caption(), QStringLiteral("a.wav (could not play gone.wav)"));
        } else {
            PlayerWindow::click(*w, "next");
            QCOMPARE(c.Label24->Caption(), QStringLiteral("Cannot play gone.wav (File not found)"));
        }

        if (action == "play") {
            const QPoint row = c.lstfavs->visualItemRect(c.lstfavs->item(expected)).center();
            QTest::mouseClick(c.lstfavs->viewport(), Qt::LeftButton, {}, row);
        }
        PlayerWindow::click(*w, action.constData());

        QCOMPARE(w->playlist().selectedIndex(), expected);
        QCOMPARE(c.am1->FileName(), m_paths.at(expected - 1));
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(c.Label24->Caption(), QFileInfo(m_paths.at(expected - 1)).fileName());
    }

    void nextAndPreviousOnAnEmptyList()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QVERIFY(!c.am1->setFileName(m_paths.at(0)));
        for (auto handler : {&Orvane::next_Click, &Orvane::previous_Click}) {
            (w.get()->*handler)();
            QCOMPARE(c.am1->FileName(), m_paths.at(0));
            QCOMPARE(c.am1->playState(), PlayState::Playing);
            QCOMPARE(w->playlist().selectedIndex(), -1);
        }
    }

    // The end of a song in Normal order: the next row plays and becomes the
    // title; after the last row playback stops and rewinds.
    void endOfMediaNormal_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expected");
        QTest::newRow("B selected: C") << 3 << 1 << 2;
        QTest::newRow("A selected: B") << 3 << 0 << 1;
        QTest::newRow("none selected: A") << 3 << -1 << 0;
        QTest::newRow("C, the last: stop") << 3 << 2 << -1;
        QTest::newRow("empty list: stop") << 0 << -1 << -1;
    }
    void endOfMediaNormal()
    {
        QFETCH(int, rows);
        QFETCH(int, selected);
        QFETCH(int, expected);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w, rows);
        w->playlist().setSelectedIndex(selected);
        QVERIFY(!c.am1->setFileName(m_paths.at(2)));
        QTRY_VERIFY(c.am1->CurrentPosition() > 0.2);
        c.Label24->setCaption(QStringLiteral("c.wav"));

        w->am1_EndOfStream(0);

        if (expected >= 0) {
            QTRY_COMPARE(w->playlist().selectedIndex(), expected); // a failure found while playing comes later
            QTRY_COMPARE(c.am1->FileName(), w->playlist().path(expected));
            QCOMPARE(c.am1->FileName(), m_paths.at(expected));
            QCOMPARE(c.am1->playState(), PlayState::Playing);
            QCOMPARE(c.Label24->Caption(), QFileInfo(m_paths.at(expected)).fileName());
        } else {
            QCOMPARE(w->playlist().selectedIndex(), selected);
            QCOMPARE(c.am1->FileName(), m_paths.at(2));
            QCOMPARE(c.am1->playState(), PlayState::Stopped);
            QCOMPARE(c.am1->CurrentPosition(), 0.0);
            QCOMPARE(c.Label24->Caption(), QStringLiteral("c.wav"));
        }
    }

    // Entries that cannot be opened (gone, a folder) are passed over: the
    // advance goes on to the next one, the title names what plays and what was
    // passed over, or what failed last when nothing plays, and it never goes
    // more than once round the list. "a", "b", "c" play; "gone" and "folder"
    // do not. Expected -1: nothing plays in the end.
    void endOfMediaPassesOverEntriesThatFail_data()
    {
        QTest::addColumn<bool>("random");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("failures"); // opens that fail; -1: depends on the draw
        QTest::addColumn<QString>("title"); // a pattern
        QTest::newRow("Normal: one gone") << false << QStringList{"a", "gone", "c"} << 0 << 2 << 1
                                          << "c\\.wav \\(could not play gone\\.wav\\)";
        QTest::newRow("Normal: two in a row") << false << QStringList{"a", "gone", "folder", "b"} << 0 << 3 << 2
                                              << "b\\.wav \\(could not play gone\\.wav, folder\\.wav\\)";
        QTest::newRow("Normal: four in a row") << false << QStringList{"a", "gone", "folder", "gone", "folder", "b"} << 0
                                               << 5 << 4
                                               << "b\\.wav \\(could not play gone\\.wav, folder\\.wav, gone\\.wav and 1 more\\)";
        // Found out when opened or only once playing: the advance goes on either way.
        QTest::newRow("Normal: cut short") << false << QStringList{"a", "cut", "c"} << 0 << 2 << -1
                                           << "c\\.wav \\(could not play cut\\.mp3\\)";
        QTest::newRow("Normal: none fails") << false << QStringList{"a", "b"} << 0 << 1 << 0 << "b\\.wav";
        QTest::newRow("Normal: the last fails, stop") << false << QStringList{"a", "gone"} << 0 << -1 << 1
                                                      << "Cannot play gone\\.wav \\(File not found\\)";
        QTest::newRow("Normal: all fail") << false << QStringList{"gone", "folder", "gone"} << -1 << -1 << 3
                                          << "Cannot play gone\\.wav \\(File not found\\)";
        QTest::newRow("Random: all fail, once round") << true << QStringList{"gone", "folder", "gone"} << -1 << -1 << 3
                                                      << "Cannot play (gone|folder)\\.wav \\(.*\\)";
        // Drawn at once the title stays; reached past a failure it names both.
        QTest::newRow("Random: the good one plays") << true << QStringList{"gone", "folder", "b"} << -1 << 2 << -1
                                                    << "short\\.wav|b\\.wav \\(could not play .*\\)";
    }
    void endOfMediaPassesOverEntriesThatFail()
    {
        QFETCH(bool, random);
        QFETCH(QStringList, rows);
        QFETCH(int, selected);
        QFETCH(int, expected);
        QFETCH(int, failures);
        QFETCH(QString, title);
        QTemporaryDir dir;
        const QString folder = MediaFixtures::makeFolderNamedLikeMedia(dir.path(), "folder.wav");
        const QString cut = MediaFixtures::makeTruncatedMp3(dir.path(), "cut.mp3", 1.0, 300);
        QVERIFY(!folder.isEmpty() && !cut.isEmpty());
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        for (const QString &r : rows) {
            const QString path = r == "gone"     ? dir.filePath("gone.wav")
                                 : r == "folder" ? folder
                                 : r == "cut"    ? cut
                                                 : m_paths.at(r.at(0).unicode() - 'a');
            w->playlist().append(path, QFileInfo(path).fileName());
        }
        if (random)
            PlayerWindow::click(*w, "shuffle");
        w->playlist().setSelectedIndex(selected);
        const QRegularExpression failed(QStringLiteral("^Orvane: opening .*failed"));
        for (int i = 0; i < failures; ++i)
            QTest::ignoreMessage(QtWarningMsg, failed);
        if (failures >= 0)
            QTest::failOnWarning(failed); // one more would be a second round
        // A short song plays to its end: the advance follows.
        QSignalSpy ends(c.am1, &MediaPlayerControl::EndOfStream);
        QVERIFY(!c.am1->setFileName(m_short));
        c.Label24->setCaption(QStringLiteral("short.wav"));
        QVERIFY(ends.wait(10000));

        if (expected >= 0) {
            QTRY_COMPARE(w->playlist().selectedIndex(), expected); // a failure found while playing comes later
            QTRY_COMPARE(c.am1->FileName(), w->playlist().path(expected));
            QCOMPARE(c.am1->FileName(), w->playlist().path(expected));
            QCOMPARE(c.am1->playState(), PlayState::Playing);
        } else {
            QCOMPARE(c.am1->playState(), PlayState::Closed);
        }
        const QRegularExpression titlePattern(QRegularExpression::anchoredPattern(title));
        QVERIFY2(titlePattern.match(c.Label24->Caption()).hasMatch(), qPrintable(c.Label24->Caption()));
    }

    void endOfMediaRandomWithOneRow()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w, 1);
        w->shuffle_Click();
        QVERIFY(c.optrnd->isChecked());
        for (int i = 0; i < 3; ++i) {
            w->am1_EndOfStream(0);
            QCOMPARE(w->playlist().selectedIndex(), 0);
            QCOMPARE(c.am1->FileName(), m_paths.at(0));
            QCOMPARE(c.am1->playState(), PlayState::Playing);
        }
        QCOMPARE(c.Label24->Caption(), QStringLiteral("Orvane"));
    }

    void endOfMediaRandomPlaysTheDrawnRow()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->shuffle_Click();
        w->am1_EndOfStream(0);
        const int row = w->playlist().selectedIndex();
        QVERIFY(row >= 0 && row < 3);
        QCOMPARE(c.am1->FileName(), m_paths.at(row));
        QCOMPARE(c.Label24->Caption(), QStringLiteral("Orvane"));
    }

    void endOfMediaRandomWithEmptyListPlaysNothing()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->shuffle_Click();
        w->am1_EndOfStream(0);
        QCOMPARE(c.am1->playState(), PlayState::Closed);
        QCOMPARE(w->playlist().selectedIndex(), -1);
    }

    // k = floor(count x r) from a generator seeded by the time of day: always
    // a row of the list, the same for the same seed, and every row reachable.
    void randomRow()
    {
        QCOMPARE(Orvane::RandomRow(0, 1234.5f), -1);
        QCOMPARE(Orvane::RandomRow(1, 1234.5f), 0);
        QCOMPARE(Orvane::RandomRow(7, 50000.25f), Orvane::RandomRow(7, 50000.25f));
        std::set<int> seen;
        for (int s = 0; s < 2000; ++s) {
            const int k = Orvane::RandomRow(5, float(s) * 43.2f);
            QVERIFY(k >= 0 && k < 5);
            seen.insert(k);
        }
        QCOMPARE(int(seen.size()), 5);
        // A list longer than any 16-bit count.
        const int big = Orvane::RandomRow(100000, 86399.99f);
        QVERIFY(big >= 0 && big < 100000);
    }

    void endOfMediaStopAtEnd()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->playlist().setSelectedIndex(0);
        QVERIFY(!c.am1->setFileName(m_paths.at(0)));
        QTRY_VERIFY(c.am1->CurrentPosition() > 0.3);
        c.optnon->setChecked(true);
        QVERIFY(!c.optrnd->isChecked() && !c.optres->isChecked());

        w->am1_EndOfStream(0);

        QCOMPARE(c.am1->playState(), PlayState::Stopped);
        QCOMPARE(c.am1->FileName(), m_paths.at(0));
        QCOMPARE(w->playlist().selectedIndex(), 0);
        QVERIFY(c.am1->CurrentPosition() > 0.3); // not rewound
    }

    void shuffleTogglesTheOrderAndLamp_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("random");
        QTest::newRow("once: Random") << 1 << true;
        QTest::newRow("twice: Normal again") << 2 << false;
        QTest::newRow("three times: Random") << 3 << true;
    }
    void shuffleTogglesTheOrderAndLamp()
    {
        QFETCH(int, clicks);
        QFETCH(bool, random);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QVERIFY(c.optres->isChecked());
        QVERIFY(c.shuffleon->isHidden());
        for (int i = 0; i < clicks; ++i)
            PlayerWindow::click(*w, "shuffle");
        QCOMPARE(c.optrnd->isChecked(), random);
        QCOMPARE(c.optres->isChecked(), !random);
        QVERIFY(!c.optnon->isChecked());
        QCOMPARE(c.shuffleon->isVisible(), random);
    }

    void shuffleFromStopAtEndGoesRandom()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.optnon->setChecked(true);
        w->shuffle_Click();
        QVERIFY(c.optrnd->isChecked());
        QVERIFY(!c.optnon->isChecked());
        QVERIFY(c.shuffleon->isVisible());
    }

    void cdplayer_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<bool>("opensCd");
        QTest::newRow("cda") << "cda" << true;
        QTest::newRow("CDA") << "CDA" << false;
        QTest::newRow("mp3") << "mp3" << false;
    }
    void cdplayer()
    {
        QFETCH(QString, ext);
        QFETCH(bool, opensCd);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.ext->setText(ext);
        w->cdplayer();
        QCOMPARE(c.am1->FileName(), opensCd ? QStringLiteral("CDAUDIO:") : QString());
    }

    void list1DoubleClickPlaysItsRow()
    {
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        c.List1->setCurrentRow(1);
        w->List1_DblClick();
        QCOMPARE(c.am1->FileName(), m_paths.at(1));
        QCOMPARE(c.am1->playState(), PlayState::Playing);
    }

    // Real playback: A plays to its end, B starts by itself and becomes the
    // title; at the end of B, the last row, playback stops at its start.
    void songsFollowEachOther()
    {
        QTemporaryDir dir;
        const QString first = MediaFixtures::makeMp3(dir.path(), QStringLiteral("first.mp3"), 0.8);
        const QString second = MediaFixtures::makeWav(dir.path(), QStringLiteral("second.wav"), 0.8);
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->playlist().append(first, QStringLiteral("first.mp3"));
        w->playlist().append(second, QStringLiteral("second.wav"));
        QSignalSpy ends(c.am1, &MediaPlayerControl::EndOfStream);
        w->playlist().setSelectedIndex(0);

        PlayerWindow::click(*w, "play");
        QCOMPARE(c.am1->FileName(), first);

        QTRY_COMPARE_WITH_TIMEOUT(c.am1->FileName(), second, 10000);
        QCOMPARE(w->playlist().selectedIndex(), 1);
        QCOMPARE(c.Label24->Caption(), QStringLiteral("second.wav"));
        QCOMPARE(c.am1->playState(), PlayState::Playing);

        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), 2, 10000);
        QCOMPARE(c.am1->playState(), PlayState::Stopped);
        QCOMPARE(c.am1->CurrentPosition(), 0.0);
        QCOMPARE(c.am1->FileName(), second);
    }

    // A song started while another plays shows its own start at once, on
    // both time displays, and its seconds from then on, whichever way it was
    // started: the time shown just after the switch, and the next time the
    // display changes to, with where the new song was when it did. The first
    // song plays to 00:02; the switch comes a little after that tick, so the
    // old song's tick, were it kept, would fall in the second half of the new
    // song's first second.
    void timeFollowsTheNewSong_data()
    {
        QTest::addColumn<QByteArray>("action"); // the button clicked; "lstfavs": a double click on a row
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("double click on another row") << QByteArray("lstfavs") << 0 << 2;
        QTest::newRow("next") << QByteArray("next") << 0 << 1;
        QTest::newRow("previous") << QByteArray("previous") << 1 << 0;
        QTest::newRow("end of media") << QByteArray() << 0 << 1;
    }
    void timeFollowsTheNewSong()
    {
        QFETCH(QByteArray, action);
        QFETCH(int, from);
        QFETCH(int, to);
        QStringList atSwitch; // Label20 and toptime just after the switch
        QString next;         // what the display shows next
        double nextAt = -1;   // the new song's position then
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->setHeight(OrvaneGeometry::HeightPanel);
        addRows(*w);
        const auto doubleClickRow = [&](int row) {
            const QPoint at = c.lstfavs->visualItemRect(c.lstfavs->item(row)).center();
            QTest::mouseDClick(c.lstfavs->viewport(), Qt::LeftButton, {}, at);
        };
        const auto noteSwitch = [&] {
            if (atSwitch.isEmpty())
                atSwitch = QStringList{c.Label20->Caption(), c.toptime->Caption()};
        };
        // After the window's own tick handler: what it has just shown.
        connect(c.Timer4, &QTimer::timeout, w.get(), [&] {
            if (!atSwitch.isEmpty() && nextAt < 0 && c.Label20->Caption() != atSwitch.first()) {
                next = c.Label20->Caption();
                nextAt = c.am1->CurrentPosition();
            }
        });
        connect(c.am1, &MediaPlayerControl::EndOfStream, w.get(), noteSwitch);

        doubleClickRow(from);
        QCOMPARE(c.am1->FileName(), m_paths.at(from));
        QTRY_COMPARE_WITH_TIMEOUT(c.Label20->Caption(), QStringLiteral("00:02"), 5000);
        if (action.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(!atSwitch.isEmpty(), 5000);
        } else {
            QTest::qWait(100);
            QVERIFY(atSwitch.isEmpty());
            if (action == "lstfavs")
                doubleClickRow(to);
            else
                PlayerWindow::click(*w, action.constData());
            noteSwitch();
        }

        QCOMPARE(c.am1->FileName(), m_paths.at(to));
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(atSwitch, (QStringList{"00:00", "00:00"}));
        QTRY_VERIFY_WITH_TIMEOUT(nextAt >= 0, 5000);
        QCOMPARE(next, QStringLiteral("00:01"));
        QVERIFY2(nextAt >= 1.0, qPrintable(QString::number(nextAt)));
        QCOMPARE(c.toptime->Caption(), next);
    }
};

QTEST_MAIN(TestSongOrder)
#include "tst_songorder.moc"
