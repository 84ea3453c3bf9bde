#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Id3v1.h"
#include "ProgramStart.h"
#include "clsMP3Info.h"
#include "TestFiles.h"

#include <csignal>
#include <cstring>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Saves in a child process started as the program starts: SIGXFSZ at its
// default, then the program's own start-up step, then a file-size limit of
// `limit` bytes. Returns the save's result; a child that did not come back
// gives number -1 and says how it ended.
Status saveUnderSizeLimit(const QString &path, const QByteArray &tag, const FileSnapshot &seen, rlim_t limit)
{
    int out[2];
    if (::pipe(out) != 0)
        return Error{-1, QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    const pid_t child = ::fork();
    if (child < 0)
        return Error{-1, QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    if (child == 0) {
        ::close(out[0]);
        std::signal(SIGXFSZ, SIG_DFL);
        PrepareProcess();
        rlimit small{};
        ::getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = limit;
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0)
            ::_exit(2);
        const Status s = SaveTag(path, tag, seen);
        const QByteArray said = s ? QByteArray::number(s->number) + '\n' + s->description.toUtf8() : QByteArray();
        ::_exit(::write(out[1], said.constData(), size_t(said.size())) == said.size() ? 0 : 3);
    }
    ::close(out[1]);
    QByteArray said;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) != 0;) {
        if (n > 0)
            said.append(buf, n);
        else if (errno != EINTR)
            break;
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return Error{-1, QStringLiteral("the saving process was killed by %1")
                             .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))))};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Error{-1, QStringLiteral("the saving process failed (%1)").arg(WEXITSTATUS(status))};
    if (said.isEmpty())
        return std::nullopt;
    const qsizetype nl = said.indexOf('\n');
    return Error{said.left(nl).toInt(), QString::fromUtf8(said.mid(nl + 1))};
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
        QCOMPARE(st.Seen.Length, data.size());
        QCOMPARE(st.Tag, tagged ? data.right(128) : QByteArray());
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

    // Each box gets the text a user would see: no padding, whoever padded.
    void fieldsAsRead_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QStringList>("texts"); // Title, Artist, Album, Year, Comment
        QTest::addColumn<int>("track");
        QByteArray spaces = id3Tag("  Padded Title  ", "", "", "    ", "Tab\tand\xA0nbsp\xA0", 255);
        spaces.replace(ArtistOffset, 30, QByteArray(30, '\0'));
        spaces.replace(AlbumOffset, 30, id3Field(QByteArray("ab\0cd", 5), 30));
        // Only spaces and NULs are padding: the tab and the no-break spaces stay.
        QTest::newRow("spaces, NULs") << spaces
                                      << QStringList{"Padded Title", "", "ab cd", "", QString::fromLatin1("Tab\tand\xA0nbsp\xA0")}
                                      << 0;
        // As `id3v2 -1 -t Title -a Artist -y 1999 -c Comm -T 5` writes it.
        QByteArray v11 = id3Tag("Title", "Artist", "", "1999", "Comm", 17, '\0');
        v11[CommentOffset + 29] = char(5);
        QTest::newRow("NUL padding, track 5") << v11 << QStringList{"Title", "Artist", "", "1999", "Comm"} << 5;
        QByteArray noTrack = id3Tag("T", "", "", "", "", 1, '\0');
        QTest::newRow("bytes 125 and 126 both 0") << noTrack << QStringList{"T", "", "", "", ""} << 0;
        const QByteArray full = id3Tag("T", "", "", "", QByteArray(30, 'c'), 1);
        QTest::newRow("30-character comment") << full << QStringList{"T", "", "", "", QString(30, QLatin1Char('c'))} << 0;
    }
    void fieldsAsRead()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QStringList, texts);
        QFETCH(int, track);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.mp3"));
        QVERIFY(writeFile(path, audio(1000) + tag));

        TagFileState st;
        QVERIFY(!ReadTagFile(path, st));
        QVERIFY(st.HasTag);
        QCOMPARE((QStringList{st.Texts.Title, st.Texts.Artist, st.Texts.Album, st.Texts.Year, st.Texts.Comment}), texts);
        QCOMPARE(st.Track, track);
        QCOMPARE(st.Genre, int(quint8(tag.back())));
    }

    void yearWithLetters()
    {
        TagFileState st;
        ParseTag(QStringLiteral("/music/x.mp3"), id3Tag("", "", "", "19ab", "", 0), st);
        QCOMPARE(st.Texts.Year, QLatin1String("19ab"));
        QCOMPARE(st.Genre, 0);
    }

    // A tag this program wrote, saved unchanged, keeps every byte; its
    // visible text reads back as written.
    void everyByteRoundTrips_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<QByteArray>("edge"); // put around every text
        QTest::newRow("bytes 1-124") << 1 << QByteArray();
        QTest::newRow("bytes 125-248") << 125 << QByteArray();
        QTest::newRow("bytes 249-255") << 249 << QByteArray();
        QTest::newRow("spaces at the edges") << 65 << QByteArray(" ");
    }
    void everyByteRoundTrips()
    {
        QFETCH(int, first);
        QFETCH(QByteArray, edge);
        QByteArray bytes;
        for (int b = first; bytes.size() < 124; ++b)
            bytes.append(char(b > 255 ? 'x' : (b == ' ' ? '_' : b)));
        const auto text = [&](int from, int width) {
            return QString::fromLatin1(edge + bytes.mid(from, width - 2 * edge.size()) + edge);
        };
        const TagTexts typed{text(0, 30), text(30, 30), text(60, 30), text(90, 4), text(94, 30)};

        TagFileState untagged;
        ParseTag(QStringLiteral("/m/a.mp3"), audio(128), untagged);
        QByteArray written;
        QVERIFY(!MakeTag(untagged, typed, 42, written));

        TagFileState st;
        ParseTag(QStringLiteral("/m/a.mp3"), written, st);
        QVERIFY(st.HasTag);
        QCOMPARE(st.Texts.Title, TrimSpaces(typed.Title));
        QCOMPARE(st.Texts.Comment, TrimSpaces(typed.Comment));
        QByteArray again;
        QVERIFY(!MakeTag(st, st.Texts, st.Genre, again));
        QCOMPARE(again.toHex(), written.toHex());
        // Laid out afresh from the texts alone, the tag comes out the same
        // unless the texts had spaces at their edges.
        st.Tag.clear();
        QVERIFY(!MakeTag(st, st.Texts, st.Genre, again));
        QCOMPARE(again == written, edge.isEmpty());
    }

    // The exact 128 bytes that a first save appends.
    void untaggedGetsTagAppended()
    {
        TagFileState st;
        ParseTag(QStringLiteral("/music/song.mp3"), audio(128), st);
        QVERIFY(!st.HasTag);
        QCOMPARE(st.Texts.Title, QLatin1String("song.mp3"));
        QByteArray tag;
        QVERIFY(!MakeTag(st, st.Texts, OtherGenre, tag));

        QByteArray expected = "TAG";
        expected += "song.mp3" + QByteArray(22, ' ');
        expected += QByteArray(30 + 30 + 4 + 30, ' ');
        expected += char(12);
        QCOMPARE(tag.toHex(), expected.toHex());
    }

    // A tag with a track number keeps it whatever the comment becomes; the
    // fields left alone keep their bytes, NUL padding included.
    void trackNumberKept_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QByteArray>("commentBytes");
        QTest::newRow("comment unchanged") << "Comm" << id3Field("Comm", 28, '\0');
        QTest::newRow("comment changed") << "New" << id3Field("New", 28);
        QTest::newRow("comment too long") << QString(30, QLatin1Char('z')) << QByteArray(28, 'z');
    }
    void trackNumberKept()
    {
        QFETCH(QString, comment);
        QFETCH(QByteArray, commentBytes);
        QByteArray v11 = id3Tag("Title", "Artist", "", "", "Comm", 17, '\0');
        v11[CommentOffset + 29] = char(7);
        TagFileState st;
        ParseTag(QStringLiteral("/m/a.mp3"), v11, st);
        QCOMPARE(st.Track, 7);
        TagTexts texts = st.Texts;
        texts.Title = QStringLiteral("Title 2");
        texts.Comment = comment;
        QByteArray tag;
        QVERIFY(!MakeTag(st, texts, st.Genre, tag));
        const QByteArray expected = "TAG" + id3Field("Title 2", 30) + v11.mid(ArtistOffset, 64)
            + commentBytes + '\0' + char(7) + char(17);
        QCOMPARE(tag.toHex(), expected.toHex());
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

    // The save writes 128 bytes into the file itself: the same inode, owner,
    // group, mode and links, whatever the folder allows.
    void saveInPlace_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("tagged");
        QTest::newRow("untagged: appended") << "" << false;
        QTest::newRow("tagged: overwritten") << "" << true;
        QTest::newRow("another owner and group") << "chown" << true;
        QTest::newRow("read-only folder") << "folder555" << false;
        QTest::newRow("hard link") << "hardlink" << true;
        QTest::newRow("through a symbolic link") << "symlink" << false;
    }
    void saveInPlace()
    {
        QFETCH(QString, setup);
        QFETCH(bool, tagged);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                      | QFile::ExeOther));
        const QString folder = dir.filePath(QStringLiteral("music"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/p.mp3");
        const QByteArray sound = audio(5000);
        const QByteArray original = tagged ? sound + id3Tag("Old", "", "", "", "", 1) : sound;
        QVERIFY(writeFile(path, original));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                               | QFile::WriteGroup));
        const QByteArray cpath = QFile::encodeName(path);
        const bool root = ::geteuid() == 0;
        constexpr uid_t otherUid = 4242;
        constexpr gid_t otherGid = 4343;
        if (setup == QLatin1String("chown") || (setup == QLatin1String("folder555") && root)) {
            if (!root)
                QSKIP("giving a file away needs the superuser");
            QCOMPARE(::chown(cpath.constData(), otherUid, otherGid), 0);
        }
        QString savePath = path;
        if (setup == QLatin1String("hardlink"))
            QCOMPARE(::link(cpath.constData(), QFile::encodeName(folder + QStringLiteral("/second.mp3")).constData()), 0);
        if (setup == QLatin1String("symlink")) {
            savePath = dir.filePath(QStringLiteral("link.mp3"));
            QVERIFY(QFile::link(path, savePath));
        }
        struct stat before {};
        QCOMPARE(::stat(cpath.constData(), &before), 0);
        FileSnapshot seen;
        QVERIFY(!ReadFileTail(savePath, seen));

        const QByteArray tag = id3Tag("New", "Artist", "Album", "2001", "", 17);
        Status s;
        if (setup == QLatin1String("folder555")) {
            // No new file can be made in the folder: only a write into the
            // file itself can work. The superuser is let through anyway, so
            // it saves as the file's owner, another user.
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
            if (root) {
                ::setfsgid(otherGid);
                ::setfsuid(otherUid);
            }
            s = SaveTag(savePath, tag, seen);
            if (root) {
                ::setfsuid(0);
                ::setfsgid(0);
            }
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        } else {
            s = SaveTag(savePath, tag, seen);
        }
        QVERIFY2(!s, s ? qPrintable(s->description) : "");

        QCOMPARE(readFile(path).toHex(), (sound + tag).toHex());
        struct stat after {};
        QCOMPARE(::stat(cpath.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_nlink, before.st_nlink);
        QCOMPARE(entries(folder).size(), setup == QLatin1String("hardlink") ? 2 : 1);
        if (setup == QLatin1String("symlink"))
            QVERIFY(QFileInfo(savePath).isSymLink());
    }

    // A failed save says why in the system's words and leaves the file as it
    // was: an append that fails part-way is cut back to the old length. A
    // write past the file-size limit fails rather than ending the program.
    void saveFailures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("says");
        QTest::newRow("file-size limit") << "fsize" << int(ErrorNumber::DiskFull) << "File too large";
        // Nothing of the overwrite gets through, so there is nothing to put back.
        QTest::newRow("file-size limit below the tagged file's size")
            << "fsize-tagged" << int(ErrorNumber::DiskFull) << "File too large";
        // Half of the overwrite gets through; that half is put back.
        QTest::newRow("file-size limit inside the tag") << "fsize-inside" << int(ErrorNumber::DiskFull)
                                                        << "File too large";
        QTest::newRow("disk full") << "tmpfs" << int(ErrorNumber::DiskFull) << "No space left on device";
        QTest::newRow("read-only file") << "readonly" << int(ErrorNumber::PermissionDenied) << "read-only";
        QTest::newRow("deleted") << "deleted" << int(ErrorNumber::FileNotFound) << "no longer exists";
        QTest::newRow("folder moved away") << "moved" << int(ErrorNumber::FileNotFound) << "no longer exists";
        QTest::newRow("a pipe in its place") << "fifo" << int(ErrorNumber::BadFileName) << "not a regular file";
    }
    void saveFailures()
    {
        QFETCH(QString, failure);
        QFETCH(int, number);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("music"));
        QVERIFY(QDir().mkdir(folder));
        if (failure == QLatin1String("tmpfs")) {
            // A real full disk: a 64 KiB tmpfs, mounted where only this
            // process sees it.
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
                || ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("mounting a small tmpfs is not allowed here; the file-size limit row fails the append instead");
        }
        const QString path = folder + QStringLiteral("/big.mp3");
        // Whole pages, so that the tag needs a new one.
        QByteArray original = audio(failure == QLatin1String("tmpfs") ? 8192 : 300 * 1024);
        if (failure.startsWith(QLatin1String("fsize-")))
            original += id3Tag("Old", "", "", "", "", 1);
        QVERIFY(writeFile(path, original));
        FileSnapshot seen;
        QVERIFY(!ReadFileTail(path, seen));
        if (failure == QLatin1String("tmpfs")) {
            QFile filler(folder + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray page(4096, 'f');
            while (filler.write(page) == page.size() && filler.flush()) {
            }
        }
        if (failure == QLatin1String("readonly"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        if (failure == QLatin1String("deleted"))
            QVERIFY(QFile::remove(path));
        if (failure == QLatin1String("moved")) {
            QVERIFY(QDir().rename(folder, dir.filePath(QStringLiteral("moved"))));
            folder = dir.filePath(QStringLiteral("moved"));
        }
        if (failure == QLatin1String("fifo")) {
            QVERIFY(QFile::remove(path));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        }

        const QByteArray tag = id3Tag("t", "a", "b", "2000", "c", 1);
        Status s;
        if (failure == QLatin1String("fsize")) {
            // Room for half of the tag: the append comes up short, then fails.
            s = saveUnderSizeLimit(path, tag, seen, rlim_t(original.size() + 64));
        } else if (failure.startsWith(QLatin1String("fsize-"))) {
            // As under `ulimit -f 100`, or a limit 64 bytes into the tag.
            const rlim_t limit = failure == QLatin1String("fsize-tagged") ? 100 * 1024 : original.size() - 64;
            s = saveUnderSizeLimit(path, tag, seen, limit);
            QVERIFY(s);
            QCOMPARE(s->description,
                     QStringLiteral("Could not save %1: File too large. The file was left as it was.").arg(path));
        } else {
            s = SaveTag(path, tag, seen);
        }
        if (failure == QLatin1String("tmpfs"))
            QFile::remove(folder + QStringLiteral("/filler"));

        QVERIFY(s);
        QVERIFY2(s->description.contains(says), qPrintable(s->description));
        QCOMPARE(s->number, number);
        QVERIFY(s->description.contains(path));
        QVERIFY2(!s->description.contains(QLatin1String("Unknown error")), qPrintable(s->description));
        QVERIFY2(!s->description.contains(QLatin1String("failed too")), qPrintable(s->description));
        const QString kept = folder + QStringLiteral("/big.mp3");
        if (failure == QLatin1String("deleted") || failure == QLatin1String("moved")) {
            // Never made again where it was.
            QVERIFY(!QFileInfo::exists(path));
            QVERIFY(s->description.contains(QLatin1String("Nothing was written")));
        } else {
            QVERIFY2(s->description.contains(QLatin1String("left as it was")) || failure == QLatin1String("fifo"),
                     qPrintable(s->description));
        }
        if (failure != QLatin1String("deleted") && failure != QLatin1String("fifo")) {
            QCOMPARE(QFileInfo(kept).size(), original.size());
            QVERIFY(readFile(kept) == original);
        }
        if (failure == QLatin1String("tmpfs"))
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
};

QTEST_APPLESS_MAIN(TestId3v1)
#include "tst_id3v1.moc"
