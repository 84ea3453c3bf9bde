#include "support_playerwindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <cmath>

#include "ImageControl.h"
#include "LabelControl.h"
#include "OrvaneSongFilters.h"

using PlayState = MediaPlayerControl::PlayState;
Q_DECLARE_METATYPE(MediaPlayerControl::PlayState)

class TestTransport : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;
    QTemporaryDir m_media;
    QString m_a, m_b;

    // Rows A and B, added like the dialog adds them: the path in List1, the
    // bare name on show.
    void addRows(Orvane &w)
    {
        w.playlist().append(m_a, QStringLiteral("a.wav"));
        w.playlist().append(m_b, QStringLiteral("b.wav"));
    }
    // One row per button, named after it.
    static void buttonRows(std::initializer_list<const char *> buttons)
    {
        QTest::addColumn<QByteArray>("button");
        for (const char *b : buttons)
            QTest::newRow(b) << QByteArray(b);
    }
    // The height where a button's row is on screen and enabled.
    static int heightFor(const QByteArray &button)
    {
        if (button.startsWith("Image7") || button.startsWith("Image8"))
            return OrvaneGeometry::HeightStrip;
        if (button.startsWith("Image1"))
            return OrvaneGeometry::HeightPanel;
        return OrvaneGeometry::HeightPlayer;
    }

private Q_SLOTS:
    void initTestCase()
    {
        PlayerWindow::setUpEnvironment(m_settings);
        m_a = MediaFixtures::makeWav(m_media.path(), QStringLiteral("a.wav"), 4.0);
        m_b = MediaFixtures::makeWav(m_media.path(), QStringLiteral("b.wav"), 4.0, 660);
        QVERIFY(!m_a.isEmpty() && !m_b.isEmpty());
    }
    void init() { FileDialogSeam::clear(); }

    void buttonsLieAtTheirPlaces_data()
    {
        buttonRows({"play", "pause", "stop", "Image10", "Image11", "Image12", "Image7", "Image8"});
    }
    void buttonsLieAtTheirPlaces()
    {
        QFETCH(QByteArray, button);
        auto w = PlayerWindow::shown();
        w->setHeight(heightFor(button));
        QCOMPARE(PlayerWindow::reachedAt(*w, button.constData()), QString::fromLatin1(button));
    }

    // The pause state: what the press does follows what the control is
    // doing; the label tells what the next press will do.
    void pauseLabel_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<bool>("withRows");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<PlayState>("before");
        QTest::addColumn<QString>("captionAfter");
        QTest::addColumn<PlayState>("after");
        for (const char *b : {"pause", "Image11", "Image7"}) {
            const QByteArray button(b);
            auto row = [&](const char *what) -> QTestData & { return QTest::newRow((button + ": " + what).constData()) << button; };
            row("first press after start, playing") << true << "Label1" << PlayState::Playing << "Resume" << PlayState::Paused;
            row("playing pauses") << true << "Pause" << PlayState::Playing << "Resume" << PlayState::Paused;
            row("paused resumes") << true << "Resume" << PlayState::Paused << "Pause" << PlayState::Playing;
            row("stopped plays") << true << "Resume" << PlayState::Stopped << "Pause" << PlayState::Playing;
            row("nothing open stays") << true << "Label1" << PlayState::Closed << "Pause" << PlayState::Closed;
            row("empty list does nothing") << false << "Pause" << PlayState::Playing << "Pause" << PlayState::Playing;
        }
    }
    void pauseLabel()
    {
        QFETCH(QByteArray, button);
        QFETCH(bool, withRows);
        QFETCH(QString, caption);
        QFETCH(PlayState, before);
        QFETCH(QString, captionAfter);
        QFETCH(PlayState, after);

        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        if (withRows)
            addRows(*w);
        if (before != PlayState::Closed) {
            QVERIFY(!c.am1->setFileName(m_a));
            if (before == PlayState::Paused)
                QVERIFY(!c.am1->Pause());
            if (before == PlayState::Stopped)
                QVERIFY(!c.am1->Stop());
        }
        QCOMPARE(c.am1->playState(), before);
        c.Labelpause->setCaption(caption);
        w->setHeight(heightFor(button));

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(c.Labelpause->Caption(), captionAfter);
        QCOMPARE(c.am1->playState(), after);
    }

    // Pause, then Resume on the same button, carries on from where it
    // paused: the pause holds the place, the resume neither rewinds nor skips.
    void pauseThenResumeContinues_data()
    {
        buttonRows({"pause", "Image11", "Image7"});
    }
    void pauseThenResumeContinues()
    {
        QFETCH(QByteArray, button);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->playlist().setSelectedIndex(0);
        w->setHeight(heightFor(button));
        QVERIFY(!c.am1->setFileName(m_a));
        QTRY_VERIFY_WITH_TIMEOUT(c.am1->CurrentPosition() > 1.0, 5000);

        PlayerWindow::click(*w, button.constData());
        QCOMPARE(c.am1->playState(), PlayState::Paused);
        const double paused = c.am1->CurrentPosition();
        QVERIFY2(paused > 1.0, qPrintable(QString::number(paused)));
        QTest::qWait(400);
        QVERIFY(std::abs(c.am1->CurrentPosition() - paused) < 0.05); // held

        PlayerWindow::click(*w, button.constData());
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        const double resumed = c.am1->CurrentPosition();
        QVERIFY2(resumed >= paused - 0.05 && resumed < paused + 0.5,
                 qPrintable(QStringLiteral("paused at %1, resumed at %2").arg(paused).arg(resumed)));
        QTRY_VERIFY_WITH_TIMEOUT(c.am1->CurrentPosition() > paused + 0.2, 5000); // and plays on
        QCOMPARE(c.am1->FileName(), m_a);
    }

    void stopRewindsAndKeepsEverythingElse_data()
    {
        buttonRows({"stop", "Image12", "Image8"});
    }
    void stopRewindsAndKeepsEverythingElse()
    {
        QFETCH(QByteArray, button);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->playlist().setSelectedIndex(1);
        QVERIFY(!c.am1->setFileName(m_b));
        QTRY_VERIFY(c.am1->CurrentPosition() > 0.3);
        c.Labelpause->setCaption(QStringLiteral("Resume"));
        c.Label24->setCaption(QStringLiteral("b.wav"));
        w->setHeight(heightFor(button));

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(c.am1->playState(), PlayState::Stopped);
        QCOMPARE(c.am1->CurrentPosition(), 0.0);
        QCOMPARE(c.Labelpause->Caption(), QStringLiteral("Resume"));
        QCOMPARE(c.Label24->Caption(), QStringLiteral("b.wav"));
        QCOMPARE(w->playlist().selectedIndex(), 1);

        // A pause press now plays the song again from its start.
        w->pause_Click();
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(c.Labelpause->Caption(), QStringLiteral("Pause"));
        QVERIFY(c.am1->CurrentPosition() < 1.0);
    }

    void stopWithNothingOpen()
    {
        auto w = PlayerWindow::shown();
        w->stop_Click();
        QCOMPARE(w->controls().am1->playState(), PlayState::Closed);
        QCOMPARE(w->controls().am1->CurrentPosition(), 0.0);
    }

    // A selected row plays by its full path, though it shows a bare name;
    // the title and the pause state stay.
    void playSelectedRowByItsPath_data()
    {
        buttonRows({"play", "Image10"});
    }
    void playSelectedRowByItsPath()
    {
        QFETCH(QByteArray, button);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        addRows(*w);
        w->playlist().setSelectedIndex(1);
        w->setHeight(heightFor(button));

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(c.am1->FileName(), m_b);
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(c.Label24->Caption(), QStringLiteral("Orvane"));
        QCOMPARE(c.Labelpause->Caption(), QStringLiteral("Label1"));
        QVERIFY(FileDialogSeam::shown().isEmpty());
    }

    // No row selected: straight to the dialog, with the button's own filter.
    void playWithoutSelectionAsks_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("titleAfter");
        QTest::addColumn<QString>("extAfter");
        QTest::newRow("play") << QByteArray("play") << SongFilter::C << "b.wav" << "wav";
        QTest::newRow("Image10") << QByteArray("Image10") << SongFilter::D << "Orvane" << "";
    }
    void playWithoutSelectionAsks()
    {
        QFETCH(QByteArray, button);
        QFETCH(QString, filter);
        QFETCH(QString, titleAfter);
        QFETCH(QString, extAfter);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        w->playlist().append(m_a, QStringLiteral("a.wav")); // a row, but none selected
        w->setHeight(heightFor(button));
        FileDialogSeam::queueAnswer(m_b);

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().constFirst().filter, filter);
        QCOMPARE(c.am1->FileName(), m_b);
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(w->playlist().count(), 2);
        QCOMPARE(w->playlist().path(1), m_b);
        QCOMPARE(w->playlist().display(1), QStringLiteral("b.wav"));
        QCOMPARE(w->playlist().selectedIndex(), -1);
        QCOMPARE(c.Label24->Caption(), titleAfter);
        QCOMPARE(c.ext->text(), extAfter);
        QCOMPARE(c.cd1->FileName(), QString());
    }

    // A cancelled dialog changes nothing: what played plays on.
    void cancelledDialogChangesNothing_data()
    {
        buttonRows({"play", "Image10"});
    }
    void cancelledDialogChangesNothing()
    {
        QFETCH(QByteArray, button);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        QVERIFY(!c.am1->setFileName(m_a));
        c.Label24->setCaption(QStringLiteral("a.wav"));
        w->setHeight(heightFor(button));
        FileDialogSeam::queueAnswer(std::nullopt);

        PlayerWindow::click(*w, button.constData());

        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(c.am1->FileName(), m_a);
        QCOMPARE(c.am1->playState(), PlayState::Playing);
        QCOMPARE(w->playlist().count(), 0);
        QCOMPARE(c.Label24->Caption(), QStringLiteral("a.wav"));
    }

    // The player's Play takes a chosen CD track as the audio CD; only "cda"
    // in lower case marks one.
    void cdTrackTest_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<bool>("isCd");
        QTest::newRow("cda") << "/cd/Track01.cda" << "cda" << true;
        QTest::newRow("CDA is a file") << "/cd/Track01.CDA" << "CDA" << false;
    }
    void cdTrackTest()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, ext);
        QFETCH(bool, isCd);
        auto w = PlayerWindow::shown();
        const OrvaneControls &c = w->controls();
        c.Label24->setCaption(QStringLiteral("before"));
        FileDialogSeam::queueAnswer(chosen);

        PlayerWindow::click(*w, "play");

        QCOMPARE(c.ext->text(), ext);
        QCOMPARE(c.am1->FileName(), isCd ? QStringLiteral("CDAUDIO:") : chosen);
        QCOMPARE(w->playlist().path(0), chosen);
        QCOMPARE(w->playlist().display(0), QStringLiteral("Track01.") + ext);
        // Neither can be opened here (no CD, no such file): the title says so.
        const QString title = c.Label24->Caption();
        QVERIFY2(title.startsWith(isCd ? QStringLiteral("Cannot play CDAUDIO: (")
                                       : QStringLiteral("Cannot play Track01.CDA (File not found)")),
                 qPrintable(title));
    }
};

QTEST_MAIN(TestTransport)
#include "tst_transport.moc"
