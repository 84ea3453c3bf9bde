#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Id3v1.h"
#include "clsMP3Info.h"
#include "TestFiles.h"

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Id3Module;

namespace {
using TestFiles::id3Field;
using TestFiles::id3Tag;

// Sound-like filler that never spells "TAG" by accident.
QByteArray audio(int size)
{
    QByteArray a(size, '\0');
    for (int i = 0; i < size; ++i)
        a[i] = char(0xF0 | (i * 7 % 16));
    return a;
}

using TestFiles::readFile;
using TestFiles::writeFile;

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}
} // namespace

class TestId3v1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void genreTables()
    {
        const QStringList editor = GenreList();
        const QStringList info = QString::fromLatin1(clsMP3Info::GenreNames).split(QLatin1Char('|'));
        QCOMPARE(editor.size(), 148);
        QCOMPARE(info.size(), 148);
        for (int i = 0; i < 148; ++i) {
            if (i == 117)
                continue;
            QCOMPARE(editor.at(i), info.at(i));
        }
        QCOMPARE(editor.at(117), QLatin1String("Power Ballad"));
        QCOMPARE(info.at(117), QLatin1String("power Ballad"));
        QCOMPARE(editor.at(0), QLatin1String("Blues"));
        QCOMPARE(editor.at(OtherGenre), QLatin1String("Other"));
        QCOMPARE(editor.at(17), QLatin1String("Rock"));
        QCOMPARE(editor.at(67), QLatin1String("Phychedelic"));
        QCOMPARE(editor.at(131), QLatin1String("indie"));
        QCOMPARE(editor.at(147), QLatin1String("Synth Pop"));
    }

    void tagDetection_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("tagged");
        const QByteArray t = id3Tag("Title", "Artist", "Album", "1999", "Comment", 17);
        QTest::newRow("TAG") << audio(500) + t << true;
        QTest::newRow("tag lower case") << audio(500) + "tag" + t.mid(3) << false;
        QTest::newRow("Tag mixed case") << audio(500) + "Tag" + t.mid(3) << false;
        QTest::newRow("TAG not at L-128") << audio(500) + t + "x" << false;
        QTest::newRow("exactly 128 bytes, all tag") << t << true;
        QTest::newRow("128 bytes of sound") << audio(128) << false;
    }
    void tagDetection()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, tagged);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.mp3"));
        QVERIFY(writeFile(path, data));
        TagFileState st;
        QVERIFY(!ReadTagFile(path, st));
        QCOMPARE(st.HasTag, tagged);
        QCOMPARE(st.FileData, data);
        if (tagged) {
            QCOMPARE(st.Genre, 17);
            QCOMPARE(st.Texts.Title, QLatin1String("Title"));
        } else {
            QCOMPARE(st.Genre, -1);
            QCOMPARE(st.Texts.Title, QLatin1String("a.mp3"));
        }
    }

    void readFailures_data()
    {
        QTest::addColumn<int>("size"); // -1: no file, -2: a folder, -3: a pipe
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << -1 << 53 << "File not found";
        QTest::newRow("folder") << -2 << 53 << "is a folder";
        QTest::newRow("pipe") << -3 << 64 << "not a regular file";
        QTest::newRow("0 bytes") << 0 << NoDataError << " does not contain any data.";
        QTest::newRow("1 byte") << 1 << TooShortError << "too short to hold an ID3 tag";
        QTest::newRow("100 bytes") << 100 << TooShortError << "too short to hold an ID3 tag";
        QTest::newRow("127 bytes") << 127 << TooShortError << "too short to hold an ID3 tag";
    }
    void readFailures()
    {
        QFETCH(int, size);
        QFETCH(int, number);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.mp3"));
        if (size >= 0)
            QVERIFY(writeFile(path, audio(size)));
        if (size == -2)
            QVERIFY(QDir().mkdir(path));
        if (size == -3)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        TagFileState st;
        const Status s = ReadTagFile(path, st);
        QVERIFY(s);
        QCOMPARE(s->number, number);
        QVERIFY2(s->description.contains(says), qPrintable(s->description));
        QVERIFY(s->description.contains(path));
        if (size == 0)
            QCOMPARE(s->description, path + QLatin1String(" does not contain any data."));
    }

    void fieldsAsRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.mp3"));
        QByteArray t = id3Tag("  Padded Title  ", "", "", "    ", "Tab\tand\xA0nbsp\xA0", 255);
        // Artist all NUL, Album NUL in the middle.
        t.replace(ArtistOffset, 30, QByteArray(30, '\0'));
        t.replace(AlbumOffset, 30, id3Field(QByteArray("ab\0cd", 5), 30));
        QVERIFY(writeFile(path, audio(1000) + t));

        TagFileState st;
        QVERIFY(!ReadTagFile(path, st));
        QVERIFY(st.HasTag);
        QCOMPARE(st.Texts.Title, QLatin1String("Padded Title"));
        QCOMPARE(st.Texts.Artist, QString(30, QChar(0)));
        QCOMPARE(st.Texts.Album, QString::fromLatin1("ab\0cd", 5));
        QCOMPARE(st.Texts.Year, QString()); // four spaces
        // Only spaces are trimmed: the tab and the no-break spaces stay.
        QCOMPARE(st.Texts.Comment, QString::fromLatin1("Tab\tand\xA0nbsp\xA0"));
        QCOMPARE(st.Genre, 255);
    }

    void yearWithLetters()
    {
        TagFileState st;
        ParseFileData(QStringLiteral("/music/x.mp3"), audio(10) + id3Tag("", "", "", "19ab", "", 0), st);
        QCOMPARE(st.Texts.Year, QLatin1String("19ab"));
        QCOMPARE(st.Genre, 0);
    }

    // Every byte other than the space at a field's edges comes back as it was.
    void everyByteRoundTrips_data()
    {
        QTest::addColumn<int>("first");
        QTest::newRow("bytes 1-124") << 1;
        QTest::newRow("bytes 125-248") << 125;
        QTest::newRow("bytes 249-255") << 249;
    }
    void everyByteRoundTrips()
    {
        QFETCH(int, first);
        QByteArray fields;
        for (int b = first; fields.size() < 124; ++b)
            fields.append(char(b > 255 ? 'x' : (b == ' ' ? '_' : b)));
        QByteArray t = "TAG" + fields + char(42);
        const QByteArray before = audio(300) + t;

        TagFileState st;
        ParseFileData(QStringLiteral("/m/a.mp3"), before, st);
        QVERIFY(st.HasTag);
        Id3Fields f;
        QVERIFY(!MakeFields(st.Texts, st.Genre, f));
        QByteArray after = st.FileData;
        PutTag(after, st.HasTag, f);
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.toHex(), before.toHex());
    }

    // The exact 128 bytes that a first save appends.
    void untaggedGetsTagAppended()
    {
        const QByteArray sound = audio(777);
        TagFileState st;
        ParseFileData(QStringLiteral("/music/song.mp3"), sound, st);
        QVERIFY(!st.HasTag);
        QCOMPARE(st.Texts.Title, QLatin1String("song.mp3"));
        Id3Fields f;
        QVERIFY(!MakeFields(st.Texts, OtherGenre, f));
        QByteArray data = st.FileData;
        PutTag(data, st.HasTag, f);

        QByteArray expected = sound;
        expected += "TAG";
        expected += "song.mp3" + QByteArray(22, ' ');
        expected += QByteArray(30 + 30 + 4 + 30, ' ');
        expected += char(12);
        QCOMPARE(data.size(), 777 + 128);
        QCOMPARE(data.toHex(), expected.toHex());
    }

    void makeFields_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("says");
        QTest::newRow("latin-1 letters") << QString::fromUtf8("Café ÿ") << QString::fromUtf8("Ærø") << true << "";
        QTest::newRow("euro sign") << "ok" << QString::fromUtf8("Price €5") << false << "artist";
        QTest::newRow("cjk") << QString::fromUtf8("歌") << "" << false << "title";
        QTest::newRow("emoji") << QString::fromUtf8("x🎵") << "" << false << "🎵";
        QTest::newRow("longer than the field is cut") << QString(40, QLatin1Char('L')) << "" << true << "";
    }
    void makeFields()
    {
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(bool, ok);
        QFETCH(QString, says);
        Id3Fields f;
        std::memset(&f, 'Z', sizeof f);
        const Status s = MakeFields({title, artist, "", "", ""}, 3, f);
        QCOMPARE(!s, ok);
        if (!ok) {
            QCOMPARE(s->number, int(ErrorNumber::Overflow));
            QVERIFY2(s->description.contains(says), qPrintable(s->description));
            QCOMPARE(QByteArray(f.Title, 30), QByteArray(30, 'Z')); // untouched
            return;
        }
        QCOMPARE(QByteArray(f.Title, 30), id3Field(title.toLatin1(), 30));
        QCOMPARE(QByteArray(f.Artist, 30), id3Field(artist.toLatin1(), 30));
        QCOMPARE(f.Genre, quint8(3));
    }

    void saveKeepsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.mp3"));
        QVERIFY(writeFile(path, audio(500)));
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, perms));
        QVERIFY(!SaveFileData(path, audio(628)));
        QCOMPARE(readFile(path), audio(628));
        QCOMPARE(QFile::permissions(path) & 0x7077, perms); // owner, group, other
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("p.mp3")});
    }

    void saveThroughLinkWritesTarget()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("real.mp3"));
        const QString link = dir.filePath(QStringLiteral("link.mp3"));
        QVERIFY(writeFile(target, audio(300)));
        QVERIFY(QFile::link(target, link));
        QVERIFY(!SaveFileData(link, audio(428)));
        QCOMPARE(readFile(target), audio(428));
        QVERIFY(QFileInfo(link).isSymLink());
    }

    void readOnlyFileIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ro.mp3"));
        QVERIFY(writeFile(path, audio(500)));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const Status s = SaveFileData(path, audio(628));
        QVERIFY(s);
        QCOMPARE(s->number, int(ErrorNumber::PermissionDenied));
        QVERIFY2(s->description.contains(QLatin1String("read-only")), qPrintable(s->description));
        QVERIFY(s->description.contains(QLatin1String("left as it was")));
        QCOMPARE(readFile(path), audio(500));
    }

    void readOnlyFolderLeavesOriginal()
    {
        if (::geteuid() == 0)
            QSKIP("the superuser writes into read-only folders");
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("ro"));
        QVERIFY(QDir().mkdir(sub));
        const QString path = sub + QStringLiteral("/a.mp3");
        QVERIFY(writeFile(path, audio(500)));
        QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
        const Status s = SaveFileData(path, audio(628));
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(s);
        QCOMPARE(readFile(path), audio(500));
        QCOMPARE(entries(sub), QStringList{QStringLiteral("a.mp3")});
    }

    void vanishedFolderFails()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("music"));
        QVERIFY(QDir().mkdir(sub));
        const QString path = sub + QStringLiteral("/a.mp3");
        QVERIFY(writeFile(path, audio(500)));
        TagFileState st;
        QVERIFY(!ReadTagFile(path, st));
        // The folder is moved away (say, by a file manager) before the save.
        QVERIFY(QDir().rename(sub, dir.filePath(QStringLiteral("moved"))));
        const Status s = SaveFileData(path, audio(628));
        QVERIFY(s);
        QVERIFY(s->description.contains(path));
        QVERIFY(!QFileInfo::exists(sub));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("moved/a.mp3"))), audio(500));
    }

    // The disk gives out in the middle of the write (here a file-size limit
    // stands in for a full disk): the original stays whole, no stray file.
    void failurePartWayLeavesOriginal()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.mp3"));
        const QByteArray original = audio(300 * 1024);
        QVERIFY(writeFile(path, original));
        QByteArray bigger = original;
        bigger.append(id3Tag("t", "a", "b", "2000", "c", 1));

        rlimit old{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const Status s = SaveFileData(path, bigger);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(s);
        QVERIFY(s->description.contains(QLatin1String("left as it was")));
        QCOMPARE(readFile(path).size(), original.size());
        QVERIFY(readFile(path) == original);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("big.mp3")});
    }
};

QTEST_APPLESS_MAIN(TestId3v1)
#include "tst_id3v1.moc"
