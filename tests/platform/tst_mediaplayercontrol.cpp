#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "MediaFixtures.h"
#include "MediaPlayerControl.h"

#include <gst/gst.h>

// Succeeds, or fails the test with the control's own description.
#define VERIFY_OK(expr)                                                                  \
    do {                                                                                 \
        const Status s_ = (expr);                                                        \
        QVERIFY2(!s_, s_ ? qPrintable(s_->description) : "");                            \
    } while (0)

using PlayState = MediaPlayerControl::PlayState;

class TestMediaPlayerControl : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_wav;   // 1.5 s
    QString m_mp3;   // 2 s
    QString m_short; // 0.5 s

private Q_SLOTS:
    void initTestCase()
    {
        // Constructing a control must not bring GStreamer up.
        {
            MediaPlayerControl idle;
            QVERIFY(!gst_is_initialized());
            QCOMPARE(idle.Duration(), 0.0);
            QCOMPARE(idle.CurrentPosition(), 0.0);
            QCOMPARE(idle.playState(), PlayState::Closed);
        }
        MediaPlayerControl::setAudioSinkDescription(QStringLiteral("fakesink sync=true"));
        QVERIFY(m_dir.isValid());
        m_wav = MediaFixtures::makeWav(m_dir.path(), "tone.wav", 1.5);
        m_mp3 = MediaFixtures::makeMp3(m_dir.path(), "tone.mp3", 2.0);
        m_short = MediaFixtures::makeWav(m_dir.path(), "short.wav", 0.5);
        QVERIFY(!m_wav.isEmpty() && !m_mp3.isEmpty() && !m_short.isEmpty());
    }

    void writingFileNamePlays_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("length");
        QTest::newRow("wav") << QStringLiteral("tone.wav") << 1.5;
        QTest::newRow("mp3") << QStringLiteral("tone.mp3") << 2.0;
    }
    void writingFileNamePlays()
    {
        QFETCH(QString, file);
        QFETCH(double, length);
        MediaPlayerControl mp;
        mp.applyDesign(MediaPlayerControl::am1Design());
        const QString path = QDir(m_dir.path()).filePath(file);
        VERIFY_OK(mp.setFileName(path));
        QCOMPARE(mp.FileName(), path);
        QCOMPARE(mp.playState(), PlayState::Playing);
        QVERIFY2(std::abs(mp.Duration() - length) < 0.1, qPrintable(QString::number(mp.Duration())));
        QTRY_VERIFY_WITH_TIMEOUT(mp.CurrentPosition() > 0.3, 5000);
    }
};

QTEST_MAIN(TestMediaPlayerControl)
#include "tst_mediaplayercontrol.moc"
