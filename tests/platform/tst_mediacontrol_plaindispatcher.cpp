// The control's bus messages must arrive whichever event dispatcher Qt runs
// on; the other suite runs on GLib's, this one on Qt's own.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "MediaFixtures.h"
#include "MediaPlayerControl.h"

class TestPlainDispatcher : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        const QByteArray dispatcher = QAbstractEventDispatcher::instance()->metaObject()->className();
        QVERIFY2(!dispatcher.contains("Glib"), dispatcher.constData());
        MediaPlayerControl::setAudioSinkDescription(QStringLiteral("fakesink sync=true"));
    }

    void endOfStreamOncePerMedia()
    {
        const QString a = MediaFixtures::makeWav(m_dir.path(), "a.wav", 0.3);
        const QString b = MediaFixtures::makeMp3(m_dir.path(), "b.mp3", 0.3);
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        MediaPlayerControl mp;
        QStringList ended;
        connect(&mp, &MediaPlayerControl::EndOfStream, this, [&] {
            ended << mp.FileName();
            if (ended.size() == 1)
                QVERIFY(!mp.setFileName(b));
        });
        QVERIFY(!mp.setFileName(a));
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 2, 5000);
        QTest::qWait(300);
        QCOMPARE(ended, (QStringList{a, b}));
    }

    void decodeFailureIsReported()
    {
        const QString junk = MediaFixtures::makeNonMedia(m_dir.path(), "junk.wma");
        MediaPlayerControl mp;
        QSignalSpy errors(&mp, &MediaPlayerControl::MediaError);
        const Status s = mp.setFileName(junk);
        if (!s)
            QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, 5000);
        QCOMPARE(mp.playState(), MediaPlayerControl::PlayState::Closed);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    TestPlainDispatcher test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mediacontrol_plaindispatcher.moc"
