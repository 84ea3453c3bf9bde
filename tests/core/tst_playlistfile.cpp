#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

#include "PathUtil.h"
#include "PlaylistFile.h"
#include "SystemSetups.h"
#include "TestFiles.h"

namespace {
using TestFiles::readFile;
using TestFiles::writeFile;

// The text of a failure, for test messages.
QByteArray describe(const Status &s)
{
    return s ? (QString::number(s->number) + " - " + s->description).toUtf8() : QByteArray("no error");
}

QStringList numberedRows(int n)
{
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows.append(QStringLiteral("/music/album %1/track %2.mp3").arg(i / 12).arg(i));
    return rows;
}
} // namespace

class TestPlaylistFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("one") << QStringList{"/music/a.mp3"};
        QTest::newRow("comma") << QStringList{"/music/a,b.mp3", "/m/x, y, z.wav"};
        QTest::newRow("quotes") << QStringList{"/m/say \"hi\".mp3", "/m/\"quoted\".mp3", "/m/a\"b"};
        QTest::newRow("spaces") << QStringList{"/my music/a song .mp3", "/m/ lead.mp3", "/m/trail.mp3  "};
        QTest::newRow("non-ascii") << QStringList{QString::fromUtf8("/musik/Grüße 歌.mp3"),
                                                  QString::fromUtf8("/музыка/песня.wav")};
        QTest::newRow("hash inside") << QStringList{"/m/#1 hit.mp3", "/m/b#.mp3"};
        QTest::newRow("empty rows") << QStringList{"/m/a.mp3", "", "/m/b.mp3", ""};
        QTest::newRow("only empty") << QStringList{""};
        QTest::newRow("4,096 bytes, the longest") << QStringList{"/" + QString(4091, QLatin1Char('x')) + ".mp3"};
        QTest::newRow("tab and semicolon") << QStringList{"/m/a\tb;c.mp3"};
    }
    void roundTrip()
    {
        QFETCH(QStringList, rows);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString name = tmp.filePath("list.m3u");
        { const Status written = PlaylistFile::write(name, rows); QVERIFY2(!written, describe(written).constData()); }

        QByteArray expected;
        for (const QString &r : rows)
            expected += r.toUtf8() + "\r\n";
        QCOMPARE(readFile(name), expected);

        const PlaylistFile::ReadResult back = PlaylistFile::read(name);
        QVERIFY(back.opened);
        QVERIFY(!back.error);
        QCOMPARE(back.entries, rows);
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("0 bytes") << QByteArray() << QStringList{};
        QTest::newRow("last line without end") << QByteArray("/a.mp3\r\n/b.mp3") << QStringList{"/a.mp3", "/b.mp3"};
        QTest::newRow("trailing empty line") << QByteArray("/a.mp3\r\n\r\n") << QStringList{"/a.mp3", ""};
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("LF only") << QByteArray("/a\n/b\n") << QStringList{"/a", "/b"};
        QTest::newRow("CR only") << QByteArray("/a\r/b\r") << QStringList{"/a", "/b"};
        QTest::newRow("LF CR is two ends") << QByteArray("/a\n\r/b") << QStringList{"/a", "", "/b"};
        QTest::newRow("comma stays") << QByteArray("/a,b.mp3\r\n") << QStringList{"/a,b.mp3"};
        QTest::newRow("wholly quoted") << QByteArray("\"/m/a,b.mp3\"\r\n") << QStringList{"/m/a,b.mp3"};
        QTest::newRow("one quote only") << QByteArray("\"/m/a.mp3\r\n") << QStringList{"/lists/\"/m/a.mp3"}; // relative, like any other
        QTest::newRow("blanks before") << QByteArray("  \t/m/a.mp3\r\n") << QStringList{"/m/a.mp3"};
        QTest::newRow("blank line of spaces") << QByteArray("   \r\n") << QStringList{""};
        QTest::newRow("other player")
            << QByteArray("#EXTM3U\r\n#EXTINF:215,Artist - Title\r\nsong.mp3\r\n"
                          "#EXTINF:-1,Other\r\n../other/b.mp3\r\nsub dir/c.wav\r\n/abs/d.mp3\r\n")
            << QStringList{"/lists/song.mp3", "/other/b.mp3", "/lists/sub dir/c.wav", "/abs/d.mp3"};
        QTest::newRow("indented comment") << QByteArray("  #EXTM3U\n/a\n") << QStringList{"/a"};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF/a.mp3\r\n") << QStringList{"/a.mp3"};
        QTest::newRow("file url") << QByteArray("file:///m/a%20b.mp3\n") << QStringList{"/m/a b.mp3"};
        QTest::newRow("stream url") << QByteArray("http://host/live\n") << QStringList{"http://host/live"};
        QTest::newRow("audio CD") << QByteArray("CDAUDIO:\r\ncdaudio:\r\n") << QStringList{"CDAUDIO:", "cdaudio:"};
        QTest::newRow("utf-8") << QByteArray("/m/Gr\xC3\xBC\xC3\x9F" "e.mp3\r\n")
                               << QStringList{QString::fromUtf8("/m/Grüße.mp3")};
    }
    void parse()
    {
        QFETCH(QByteArray, data);
        QFETCH(QStringList, entries);
        QCOMPARE(PlaylistFile::parse(data, "/lists"), entries);
    }

    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("lines");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 131 + 7) & 0xFF));
        QTest::newRow("binary") << binary << int(binary.count('\n') + binary.count('\r')); // upper bound
        QTest::newRow("invalid utf-8") << QByteArray("/m/\xFF\xFE\xC3(\x80.mp3\r\n/ok\r\n") << 2;
        QTest::newRow("nul bytes") << QByteArray("/m/a\0b.mp3\r\n", 12) << 1;
        QTest::newRow("4,096-byte line") << (QByteArray("/") + QByteArray(4095, 'x') + "\r\n/b") << 2;
    }
    void hostileInput()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, lines);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("bad.m3u");
        QVERIFY(writeFile(name, data));
        const PlaylistFile::ReadResult r = PlaylistFile::read(name);
        QVERIFY(r.opened);
        QVERIFY(!r.error);
        QVERIFY(r.entries.size() <= lines + 1);
        QVERIFY(!r.entries.isEmpty());
        if (QByteArray(QTest::currentDataTag()) != "binary")
            QCOMPARE(r.entries.size(), lines);
        if (QByteArray(QTest::currentDataTag()) == "4,096-byte line")
            QCOMPARE(r.entries.first().size(), 4096);
    }

    void readFailures_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("mentions"); // "" when any text will do
        QTest::newRow("missing file") << "nothing.m3u" << 53 << "";
        QTest::newRow("missing folder") << "no/such/folder/list.m3u" << 76 << "";
        QTest::newRow("directory in place of the file") << "adir" << 75 << "";
        QTest::newRow("empty name") << "" << 64 << "";
        // Each of these would hang or exhaust memory if it were read.
        QTest::newRow("pipe") << "fifo.m3u" << 75 << "";
        QTest::newRow("endless device") << "/dev/zero" << 75 << "";
        QTest::newRow("over 64 MB") << "huge.m3u" << 7 << "";
        // No path is this long; the lists would take seconds to lay it out.
        QTest::newRow("line of 4,097 bytes") << "long.m3u" << 64 << "line 3 is longer than 4,096 bytes";
    }
    void readFailures()
    {
        QFETCH(QString, relative);
        QFETCH(int, number);
        QFETCH(QString, mentions);
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir("adir"));
        // Line 3 (after a comment line) is one byte past the longest path.
        QVERIFY(writeFile(tmp.filePath("long.m3u"),
                          "/a.mp3\r\n#EXTINF:1,A\r\n/" + QByteArray(4096, 'x') + "\r\n/b.mp3\r\n"));
        const TestFiles::PipeWatchdog pipe(tmp.filePath("fifo.m3u"));
        QVERIFY(pipe.made());
        QFile huge(tmp.filePath("huge.m3u"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write("/a.mp3\r\n") > 0);
        QVERIFY(huge.resize((qint64(64) << 20) + 1)); // sparse: costs no disk
        huge.close();
        const QString name = relative.isEmpty() ? QString() : QDir(tmp.path()).absoluteFilePath(relative);
        const PlaylistFile::ReadResult r = PlaylistFile::read(name);
        QVERIFY(!pipe.hadToUnblock());
        QVERIFY(!r.opened);
        QVERIFY(r.entries.isEmpty());
        QVERIFY(r.error);
        QCOMPARE(r.error->number, number);
        QVERIFY(!r.error->description.isEmpty());
        QVERIFY2(r.error->description.contains(mentions), qPrintable(r.error->description));
    }

    void readDeniedWhenNotRoot()
    {
        if (geteuid() == 0)
            QSKIP("running as root: permission bits do not stop root; the directory case covers a denied open");
        QTemporaryDir tmp;
        const QString name = tmp.filePath("locked.m3u");
        QVERIFY(writeFile(name, "/a.mp3\r\n"));
        QVERIFY(QFile::setPermissions(name, QFileDevice::Permissions()));
        const PlaylistFile::ReadResult r = PlaylistFile::read(name);
        QVERIFY(!r.opened);
        QCOMPARE(r.error->number, 70);
    }

    void readErrorAfterOpenKeepsCompleteLines()
    {
        // Reading this file fails with an I/O error right after a successful open.
        const PlaylistFile::ReadResult r = PlaylistFile::read("/proc/self/mem");
        if (!r.opened)
            QSKIP("/proc/self/mem cannot be opened here");
        QVERIFY(r.error);
        QCOMPARE(r.error->number, 57);
        QVERIFY(r.entries.isEmpty());
    }

    void writeReplacesWithoutQuestion()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("list"); // typed without extension: used as typed
        QVERIFY(writeFile(name, "old contents that are longer than the new ones\r\n/x\r\n/y\r\n"));
        { const Status written = PlaylistFile::write(name, {"/new.mp3"}); QVERIFY2(!written, describe(written).constData()); }
        QCOMPARE(readFile(name), QByteArray("/new.mp3\r\n"));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList{"list"});
    }

    // A save puts a new file in the list's place: it must still be the
    // list the user had, with its permissions and behind its link.
    void replacedListKeepsModeAndLink_data()
    {
        QTest::addColumn<bool>("viaLink");
        QTest::newRow("shared list keeps its group's write") << false;
        QTest::newRow("list behind a link") << true;
    }
    void replacedListKeepsModeAndLink()
    {
        QFETCH(bool, viaLink);
        QTemporaryDir tmp;
        const QString list = tmp.filePath("list.m3u");
        QVERIFY(writeFile(list, "/old.mp3\r\n"));
        QVERIFY(::chmod(QFile::encodeName(list).constData(), 0664) == 0);
        const QString name = viaLink ? tmp.filePath("link.m3u") : list;
        if (viaLink)
            QVERIFY(QFile::link(list, name));
        { const Status written = PlaylistFile::write(name, {"/new.mp3"}); QVERIFY2(!written, describe(written).constData()); }
        QCOMPARE(readFile(list), QByteArray("/new.mp3\r\n"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(list).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0664));
        if (viaLink)
            QCOMPARE(QFileInfo(name).symLinkTarget(), list);
    }

    void writeFailures_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description"); // "" when any text will do
        QTest::newRow("missing folder") << "missing/list.m3u" << 2000 << 76 << "";
        QTest::newRow("directory as target") << "adir" << 2000 << 75 << "";
        QTest::newRow("empty name") << "" << 2000 << 64 << "";
        QTest::newRow("pipe as target") << "pipe" << 2000 << 75 << "pipe is not a regular file";
        // "small" holds 16 KiB, which some 70 KB of rows overrun; "full" has
        // no room left at all, so even a few rows, which never fill a write
        // buffer, fail.
        QTest::newRow("full disk") << "small/list.m3u" << 2000 << 61 << "No space left on device";
        QTest::newRow("full disk, a few rows") << "full/list.m3u" << 3 << 61 << "No space left on device";
    }
    void writeFailures()
    {
        QFETCH(QString, relative);
        QFETCH(int, rows);
        QFETCH(int, number);
        QFETCH(QString, description);
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir("adir"));
        QVERIFY(QDir(tmp.path()).mkdir("small"));
        QVERIFY(QDir(tmp.path()).mkdir("full"));
        QVERIFY(::mkfifo(QFile::encodeName(tmp.filePath("pipe")).constData(), 0644) == 0);
        std::optional<SystemSetups::SmallVolume> volume;
        const QString volumeDir = relative.section('/', 0, 0);
        const QString old = tmp.path() + "/" + volumeDir + "/list.m3u";
        if (volumeDir == "small" || volumeDir == "full") {
            volume.emplace(tmp.filePath(volumeDir), 16);
            if (!volume->isMounted())
                QSKIP(qPrintable(volume->why()));
            QVERIFY(writeFile(old, "/old.mp3\r\n"));
            if (volumeDir == "full")
                QVERIFY2(volume->fill(), qPrintable(volume->why()));
        }
        const QString name = relative.isEmpty() ? QString() : tmp.filePath(relative);
        const Status s = PlaylistFile::write(name, numberedRows(rows));
        QVERIFY(s);
        QCOMPARE(s->number, number);
        if (!description.isEmpty())
            QCOMPARE(s->description, description);
        QVERIFY(QDir(tmp.filePath("adir")).isEmpty());
        QCOMPARE(pathKind(tmp.filePath("pipe")), PathKind::SpecialFile);
        if (volume) {
            QCOMPARE(readFile(old), QByteArray("/old.mp3\r\n"));
            QCOMPARE(QDir(tmp.filePath(volumeDir)).entryList(QDir::Files | QDir::Hidden), QStringList{"list.m3u"});
        }
    }

    // A save killed part-way (a crash, kill -9) leaves the old list whole,
    // and what it left is gone after the next save. What a save still at
    // work holds, and files that only look like a save's, are kept.
    void killedSaveLeavesNothingAfterTheNextSave_data()
    {
        QTest::addColumn<QByteArray>("call"); // the save is killed as it calls this
        QTest::addColumn<bool>("saveWhileStopped");
        QTest::addColumn<int>("leftByKill");
        QTest::newRow("killed with all bytes written") << QByteArray("fsync") << false << 0;
        QTest::newRow("killed as it renames") << QByteArray("rename") << false << 1;
        QTest::newRow("another save while it is at work") << QByteArray("rename") << true << 1;
    }
    void killedSaveLeavesNothingAfterTheNextSave()
    {
        QFETCH(QByteArray, call);
        QFETCH(bool, saveWhileStopped);
        QFETCH(int, leftByKill);
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString name = tmp.filePath("list.m3u");
        const QByteArray old = "/old.mp3\r\n";
        QVERIFY(writeFile(name, old));
        for (const char *alike : {"list.m3u.abcdef", "list.m3u.orvane-abc12", "list.m3u.orvane-ABCDEF",
                                  "list.m3u.orvane-abcdefg", "other.m3u.orvane-abcdef", "list.m3u.orvane-"})
            QVERIFY(writeFile(tmp.filePath(alike), "mine\n"));
        QVERIFY(QFile::link(name, tmp.filePath("list.m3u.orvane-link00")));
        QVERIFY(::mkfifo(QFile::encodeName(tmp.filePath("list.m3u.orvane-fifo00")).constData(), 0644) == 0);
        QVERIFY(dir.mkpath("list.m3u.orvane-dir000/sub"));
        QVERIFY(writeFile(tmp.filePath("list.m3u.orvane-dir000/mine"), "mine\n"));
        if (geteuid() == 0) {
            QVERIFY(writeFile(tmp.filePath("list.m3u.orvane-nobody"), "not mine\n"));
            QVERIFY(::chown(QFile::encodeName(tmp.filePath("list.m3u.orvane-nobody")).constData(),
                            SystemSetups::NobodyId, SystemSetups::NobodyId) == 0);
        }
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        const QStringList before = dir.entryList(all);

        const QStringList rows = numberedRows(2000);
        Status meanwhile;
        QStringList whileStopped;
        auto saveMeanwhile = [&] {
            if (!saveWhileStopped)
                return;
            meanwhile = PlaylistFile::write(name, {"/meanwhile.mp3"});
            whileStopped = dir.entryList(all);
        };
        QString why;
        const int killed = SystemSetups::killAtCall(
            call, 1, [&] { return PlaylistFile::write(name, rows) ? 1 : 0; }, saveMeanwhile, &why);
        if (killed < 0)
            QSKIP(qPrintable(why));
        QCOMPARE(killed, 1);
        QVERIFY2(!meanwhile, describe(meanwhile).constData());
        QCOMPARE(readFile(name), saveWhileStopped ? QByteArray("/meanwhile.mp3\r\n") : old);
        if (saveWhileStopped)
            QCOMPARE(whileStopped.size(), before.size() + leftByKill);
        QCOMPARE(dir.entryList(all).size(), before.size() + leftByKill);

        { const Status written = PlaylistFile::write(name, {"/new.mp3"}); QVERIFY2(!written, describe(written).constData()); }
        QCOMPARE(readFile(name), QByteArray("/new.mp3\r\n"));
        QCOMPARE(dir.entryList(all), before);
        QCOMPARE(readFile(tmp.filePath("list.m3u.orvane-dir000/mine")), QByteArray("mine\n"));
    }

    void rowWithLineBreakIsRefusedAndFileKept()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("list.m3u");
        QVERIFY(writeFile(name, "/old.mp3\r\n"));
        const Status s = PlaylistFile::write(name, {"/a.mp3", "/b\nc.mp3"});
        QVERIFY(s);
        QCOMPARE(readFile(name), QByteArray("/old.mp3\r\n"));
    }

    // A list the user may write, in a folder where he may create nothing:
    // saved in place. A list he may not write stays as it was, and so does
    // one that would need more room than a full disk has. Root may write
    // anywhere, so as root the save runs in a child process as nobody.
    void listInReadOnlyFolder_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("full");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("number"); // 0 for a successful save
        QTest::newRow("writable list is saved") << true << false << 2 << 0;
        QTest::newRow("read-only list is kept") << false << false << 2 << 70;
        // Some 5 KB: more than the one page the old list takes.
        QTest::newRow("writable list on a full disk is kept") << true << true << 150 << 61;
        QTest::newRow("writable list on a full disk, fitting the old room, is saved") << true << true << 2 << 0;
    }
    void listInReadOnlyFolder()
    {
        QFETCH(bool, writable);
        QFETCH(bool, full);
        QFETCH(int, rows);
        QFETCH(int, number);
        QTemporaryDir tmp;
        QString folder = tmp.path();
        std::optional<SystemSetups::SmallVolume> volume;
        if (full) {
            folder = tmp.filePath("full");
            QVERIFY(QDir(tmp.path()).mkdir("full"));
            // The user the save runs as has to reach the folder.
            QVERIFY(QFile::setPermissions(tmp.path(), QFile::permissions(tmp.path()) | QFileDevice::ExeOther));
            volume.emplace(folder, 16);
            if (!volume->isMounted())
                QSKIP(qPrintable(volume->why()));
        }
        const QString name = folder + "/list.m3u";
        const QByteArray old = "/old.mp3\r\n";
        QVERIFY(writeFile(name, old));
        if (volume)
            QVERIFY2(volume->fill(), qPrintable(volume->why()));
        const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(name, writable ? readable | QFileDevice::WriteOwner : readable));
        const QStringList newRows = numberedRows(rows);
        auto save = [&] {
            const Status s = PlaylistFile::write(name, newRows);
            return s ? s->number : 0;
        };
        QString why;
        const int got = SystemSetups::runBesideUnwritableFolder(folder, name, save, &why);
        if (got < 0)
            QSKIP(qPrintable(why));
        QCOMPARE(got, number);
        QCOMPARE(readFile(name), number == 0 ? (newRows.join("\r\n") + "\r\n").toUtf8() : old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"list.m3u"});
    }

    void writeFailingPartWayKeepsOldFile()
    {
        // A file-size limit makes the kernel refuse the write after the first
        // 64 KiB, as a full disk would: the old playlist must stay whole and no
        // temporary file may be left behind.
        QTemporaryDir tmp;
        const QString name = tmp.filePath("list.m3u");
        const QByteArray old = "/old/one.mp3\r\n/old/two.mp3\r\n";
        QVERIFY(writeFile(name, old));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const Status s = PlaylistFile::write(name, numberedRows(20000));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(s);
        QVERIFY(s->number == 57 || s->number == 61);
        QCOMPARE(readFile(name), old);
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.m3u"});
    }

    // A playlist holds at most 32,767 entries. Comment lines are no entries;
    // a blank line is one. Past the bound the whole file is refused.
    void rowCountBound_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("after"); // lines after the n entries
        QTest::addColumn<bool>("loads");
        QTest::newRow("32,767") << 32767 << QByteArray() << true;
        QTest::newRow("32,767 and comment lines") << 32767 << QByteArray("#EXTINF:1,A\r\n  # end\r\n") << true;
        QTest::newRow("32,767 and a blank line") << 32767 << QByteArray("\r\n") << false;
        QTest::newRow("32,768") << 32768 << QByteArray() << false;
        QTest::newRow("70,000") << 70000 << QByteArray() << false;
    }
    void rowCountBound()
    {
        QFETCH(int, n);
        QFETCH(QByteArray, after);
        QFETCH(bool, loads);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("big.m3u");
        const QStringList rows = numberedRows(n);
        QVERIFY(writeFile(name, "#EXTM3U\r\n" + PlaylistFile::serialize(rows) + after));
        const PlaylistFile::ReadResult r = PlaylistFile::read(name);
        if (loads) {
            QVERIFY2(!r.error, describe(r.error).constData());
            QVERIFY(r.opened);
            QCOMPARE(r.entries, rows);
            return;
        }
        QVERIFY(!r.opened);
        QVERIFY(r.entries.isEmpty());
        QVERIFY(r.error);
        QCOMPARE(r.error->number, 7);
        QCOMPARE(r.error->description,
                 QStringLiteral("Out of memory: the file holds more than 32,767 entries, the most a playlist can hold"));
    }
};

QTEST_GUILESS_MAIN(TestPlaylistFile)
#include "tst_playlistfile.moc"
