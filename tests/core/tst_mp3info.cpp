#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Id3v1.h"
#include "clsMP3Info.h"
#include "TestFiles.h"

#include <sys/stat.h>

namespace {
bool makeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray sound(int size)
{
    return QByteArray(size, char(0xFB));
}

QByteArray tag(const QByteArray &title, const QByteArray &year, quint8 genre)
{
    return TestFiles::id3Tag(title, "  Some Artist", "Album", year, "Comment ", genre);
}
} // namespace

class TestMp3Info : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The guessing table. `real` marks the rows whose guess does not climb
    // above the table's own folders, so that a real file at the same path
    // under a temporary folder must give the same answer through Filename.
    void guessFromName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("album");
        QTest::addColumn<bool>("real");
        QTest::newRow("underscores") << "/music/Some_Song.mp3" << "Some Song" << "" << "" << true;
        QTest::newRow("artist album track title")
            << "/music/Artist - Album - 01 - Title.mp3" << "Title" << "Artist" << "Album" << true;
        QTest::newRow("bracketed artist, dash") << "/music/(Artist) - Title.mp3" << "Title" << "Artist" << "" << true;
        QTest::newRow("bracketed artist, title-album")
            << "/music/(Artist) Title-Album.mp3" << "Title" << "Artist" << "Album" << true;
        QTest::newRow("folder as artist") << "/Band/01 - Title.mp3" << "Title" << "Band" << "" << true;
        QTest::newRow("at the root") << "/Song.mp3" << "Song" << "" << "" << true;
        // One retry, on "/music - Artist - Title", still gives no title, and
        // stands because only one "/" remains. Under a temporary folder the
        // retries would go on climbing, so this row is checked by name only.
        QTest::newRow("no title after one retry") << "/music/Artist - Title.mp3" << "" << "music" << "Artist" << false;
        QTest::newRow("underscores with spaces") << "/music/My_Band - Big_Song.mp3" << "" << "music" << "My Band" << false;
        QTest::newRow("track then title") << "/m/07 - Song Name.mp3" << "Song Name" << "m" << "" << true;
        QTest::newRow("capitals") << "/music/SONG.MP3" << "SONG" << "" << "" << true;
        QTest::newRow("mp2") << "/music/A - B.mp2" << "" << "music" << "A" << false;
        QTest::newRow("brackets removed from artist")
            << "/x/Artist (Live) - 01 - T.mp3" << "T" << "Artist Live" << "" << true;
        QTest::newRow("doubled brackets") << "/x/((Art)) - 01 - T.mp3" << ")" << "Art" << "01 - T" << true;
        QTest::newRow("relative, no folder") << "Artist - Title.mp3" << "" << "Artist" << "Title" << false;
    }
    void guessFromName()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(QString, album);
        QFETCH(bool, real);

        clsMP3Info::TagRecord t;
        t.Comment = QStringLiteral("stale");
        QVERIFY(!clsMP3Info::TagFromFileName(path, t));
        QCOMPARE(Id3Module::TrimSpaces(t.Title), title);
        QCOMPARE(Id3Module::TrimSpaces(t.Artist), artist);
        QCOMPARE(Id3Module::TrimSpaces(t.Album), album);
        QCOMPARE(t.Comment, QString());
        QCOMPARE(t.Year, QString());
        QCOMPARE(t.Genre, QString());

        if (!real)
            return;
        QTemporaryDir dir;
        const QString file = dir.path() + path;
        QVERIFY(makeFile(file, sound(300)));
        clsMP3Info info;
        QVERIFY(!info.setFilename(file));
        QCOMPARE(info.Filename(), file);
        QCOMPARE(info.Title(), title);
        QCOMPARE(info.Artist(), artist);
        QCOMPARE(info.Album(), album);
        QCOMPARE(info.Year(), QString());
        QCOMPARE(info.Comment(), QString());
        QCOMPARE(info.Genre(), QString());
    }

    void nameErrors_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no dot in the name part") << "/music.mp3/song";
        QTest::newRow("bracket never closed") << "/music/(Artist - Title.mp3";
    }
    void nameErrors()
    {
        QFETCH(QString, path);
        clsMP3Info::TagRecord t;
        const Status s = clsMP3Info::TagFromFileName(path, t);
        QVERIFY(s);
        QCOMPARE(s->number, int(ErrorNumber::InvalidProcedureCall));

        // Through Filename on a real file: the error reaches the caller and
        // no field keeps an earlier value.
        QTemporaryDir dir;
        QVERIFY(makeFile(dir.path() + "/Good.mp3", sound(200) + tag("Old", "1999", 1)));
        QVERIFY(makeFile(dir.path() + path, sound(200)));
        clsMP3Info info;
        QVERIFY(!info.setFilename(dir.path() + "/Good.mp3"));
        QCOMPARE(info.Title(), QLatin1String("Old"));
        QVERIFY(info.setFilename(dir.path() + path));
        QCOMPARE(info.Title(), QString());
        QCOMPARE(info.Year(), QString());
    }

    // Each retry joins one folder into the name; a deep path ends.
    void deepPathEnds()
    {
        QString path;
        for (int i = 0; i < 2000; ++i) // about the longest path the system takes
            path += QStringLiteral("/d");
        path += QStringLiteral("/A - B.mp3");
        clsMP3Info::TagRecord t;
        QVERIFY(!clsMP3Info::TagFromFileName(path, t));
        QCOMPARE(Id3Module::TrimSpaces(t.Artist), QLatin1String("d"));
        QCOMPARE(t.Title, QString());
    }

    void taggedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("genre");
        QTest::newRow("rock") << sound(1000) + tag(" Song ", "2001", 17) << "Song" << "2001" << "Rock";
        QTest::newRow("own copy at 117") << sound(1000) + tag("S", "", 117) << "S" << "" << "power Ballad";
        QTest::newRow("genre 147") << sound(1000) + tag("S", "", 147) << "S" << "" << "Synth Pop";
        QTest::newRow("genre 148 names nothing") << sound(1000) + tag("S", "", 148) << "S" << "" << "";
        QTest::newRow("genre 200") << sound(1000) + tag("S", "", 200) << "S" << "" << "";
        QTest::newRow("128 bytes, all tag") << tag("Only", "1980", 0) << "Only" << "1980" << "Blues";
        QTest::newRow("127 bytes: untagged") << sound(127) << "Named File" << "" << "";
        QTest::newRow("lower-case tag: untagged") << sound(100) + "tag" + tag("X", "", 1).mid(3) << "Named File" << ""
                                                  << "";
        QTest::newRow("latin-1 bytes, no shift") << sound(10) + tag("Caf\xE9 \xFF", "19\xB2\xB3", 2)
                                                  << QString::fromUtf8("Café ÿ") << QString::fromUtf8("19²³")
                                                  << "Country";
    }
    void taggedFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, title);
        QFETCH(QString, year);
        QFETCH(QString, genre);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Named_File.mp3"));
        QVERIFY(makeFile(file, data));
        clsMP3Info info;
        QVERIFY(!info.setFilename(file));
        QCOMPARE(info.Title(), title);
        QCOMPARE(info.Year(), year);
        QCOMPARE(info.Genre(), genre);
        if (title != QLatin1String("Named File")) {
            QCOMPARE(info.Artist(), QLatin1String("Some Artist"));
            QCOMPARE(info.Album(), QLatin1String("Album"));
            QCOMPARE(info.Comment(), QLatin1String("Comment"));
        }
    }

    void notAnMp3GivesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("create");
        QTest::newRow("wav") << "song.wav" << true;
        QTest::newRow("missing mp3") << "gone.mp3" << false;
        QTest::newRow("folder named .mp3") << "folder.mp3" << false;
        QTest::newRow("pipe named .mp3") << "pipe.mp3" << false;
        QTest::newRow("empty name") << "" << false;
    }
    void notAnMp3GivesNothing()
    {
        QFETCH(QString, name);
        QFETCH(bool, create);
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.mp3"));
        QVERIFY(makeFile(good, sound(500) + tag("Before", "1999", 3)));
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("folder.mp3"))));
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        if (create)
            QVERIFY(makeFile(path, sound(500) + tag("Wave", "2000", 4)));
        if (name == QLatin1String("pipe.mp3"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);

        clsMP3Info info;
        QVERIFY(!info.setFilename(good));
        QCOMPARE(info.Genre(), QLatin1String("Dance"));
        QVERIFY(!info.setFilename(path));
        QCOMPARE(info.Filename(), path);
        QCOMPARE(info.Title(), QString());
        QCOMPARE(info.Artist(), QString());
        QCOMPARE(info.Album(), QString());
        QCOMPARE(info.Year(), QString());
        QCOMPARE(info.Comment(), QString());
        QCOMPARE(info.Genre(), QString());
    }

    void isMp3File_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("expected");
        QTest::newRow("mp3") << "a.mp3" << true;
        QTest::newRow("MP1") << "A.MP1" << true;
        QTest::newRow("mp2 inside the name") << "a.mp2.bak" << true;
        QTest::newRow("extension only in the folder") << "x.Mp3/readme.txt" << true;
        QTest::newRow("hidden file") << ".hidden.mp3" << true;
        QTest::newRow("ogg") << "a.ogg" << false;
        QTest::newRow("mp4") << "a.mp4" << false;
    }
    void isMp3File()
    {
        QFETCH(QString, relative);
        QFETCH(bool, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(relative);
        QVERIFY(makeFile(path, "x"));
        QCOMPARE(clsMP3Info::IsMp3File(path), expected);
        QVERIFY(QFile::remove(path));
        QVERIFY(!clsMP3Info::IsMp3File(path));
    }

    void countOccurrences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("count");
        QTest::newRow("empty text") << "" << " " << 0;
        QTest::newRow("none") << "abc" << " " << 0;
        QTest::newRow("spaces") << " a b " << " " << 3;
        QTest::newRow("dash space") << "A - B - C" << "- " << 2;
        QTest::newRow("case matters") << "aXbx" << "x" << 1;
        QTest::newRow("pieces, not overlaps") << "aaaa" << "aa" << 2;
        QTest::newRow("aaa") << "aaa" << "aa" << 1;
    }
    void countOccurrences()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(int, count);
        QCOMPARE(clsMP3Info::CountOccurrences(text, delimiter), count);
    }

    void joinFolderAndFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("joined");
        QTest::newRow("three levels") << "/music/Artist/Song.mp3" << "/music/Artist - Song.mp3";
        QTest::newRow("spaces trimmed") << "/a/b  /  c.mp3" << "/a/b - c.mp3";
        QTest::newRow("root") << "/Song.mp3" << " - Song.mp3";
    }
    void joinFolderAndFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, joined);
        QCOMPARE(clsMP3Info::JoinFolderAndFile(path), joined);
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("track and space") << "01 " << true;
        QTest::newRow("spaces around") << "  7  " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "   " << false;
        QTest::newRow("decimal") << "1.5" << true;
        QTest::newRow("signed") << "-3" << true;
        QTest::newRow("exponent") << "1e3" << true;
        QTest::newRow("hex") << "&H1F" << true;
        QTest::newRow("word") << "Title" << false;
        QTest::newRow("number then word") << "01 Intro" << false;
        QTest::newRow("dot alone") << "." << false;
        QTest::newRow("exponent without digits") << "1e" << false;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(clsMP3Info::IsNumeric(text), numeric);
    }
};

QTEST_APPLESS_MAIN(TestMp3Info)
#include "tst_mp3info.moc"
