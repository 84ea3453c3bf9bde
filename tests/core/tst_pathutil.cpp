#include <QTest>
#include "PathUtil.h"

class TestPathUtil : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stripPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<QString>("folder");
        QTest::newRow("full") << "/music/a.mp3" << "a.mp3" << "/music/";
        QTest::newRow("bare") << "a.mp3" << "a.mp3" << "";
        QTest::newRow("root") << "/a.mp3" << "a.mp3" << "/";
        QTest::newRow("ends in separator") << "/music/" << "" << "/music/";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("backslash is a character") << "C:\\Music\\a.mp3" << "C:\\Music\\a.mp3" << "";
        QTest::newRow("colon is a character") << "C:a.mp3" << "C:a.mp3" << "";
        QTest::newRow("non-ascii") << QString::fromUtf8("/musik/Grüße 歌.mp3")
                                   << QString::fromUtf8("Grüße 歌.mp3") << "/musik/";
    }
    void stripPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, tail);
        QFETCH(QString, folder);
        QCOMPARE(StripPath(path), tail);
        QCOMPARE(StripFileName(path), folder);
        QCOMPARE(StripFileName(path) + StripPath(path), path);
    }
    // A path has no length limit: a separator beyond the 32767th character
    // (past any 16-bit count) splits it like any other.
    void stripPathHasNoLengthLimit()
    {
        const QString longFolder = QLatin1Char('/') + QString(40000, QLatin1Char('d'));
        QCOMPARE(StripPath(longFolder + QLatin1String("/song.mp3")), QLatin1String("song.mp3"));
        QCOMPARE(StripFileName(longFolder + QLatin1String("/x")).size(), longFolder.size() + 1);
    }
};

QTEST_APPLESS_MAIN(TestPathUtil)
#include "tst_pathutil.moc"
