#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "FileDialogControl.h"
#include "Module1.h"
#include "MsgBox.h"
#include "OrvanePlaylistFiles.h"
#include "PlaylistStore.h"
#include "TestFiles.h"
#include "support_rows.h"

namespace {
using TestFiles::readFile;
using TestFiles::writeFile;

} // namespace

class TestModule1 : public QObject {
    Q_OBJECT

    QListWidget *List1 = nullptr;
    QListWidget *lstfavs = nullptr;
    PlaylistStore *store = nullptr;
    FileDialogControl *cd1 = nullptr;
    QWidget *owner = nullptr;

    void checkInvariant()
    {
        QCOMPARE(List1->count(), lstfavs->count());
    }
    MsgBoxSeam::Shown onlyMessage()
    {
        const auto shown = MsgBoxSeam::shown();
        if (shown.size() != 1)
            qWarning() << "messages shown:" << shown.size();
        return shown.size() == 1 ? shown.first() : MsgBoxSeam::Shown{};
    }

private Q_SLOTS:
    void initTestCase()
    {
        MsgBoxSeam::setScripted(true);
        FileDialogSeam::setScripted(true);
    }
    void init()
    {
        owner = new QWidget;
        List1 = new QListWidget(owner);
        lstfavs = new QListWidget(owner);
        store = new PlaylistStore(List1, lstfavs);
        cd1 = new FileDialogControl(owner);
        MsgBoxSeam::clear();
        FileDialogSeam::clear();
    }
    void cleanup()
    {
        delete store;
        delete owner;
    }

    void readListReplacesOrAppends_data()
    {
        QTest::addColumn<bool>("clearFirst");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("clear first") << true << QStringList{"/m/x.mp3", "/m/y.wav"} << QStringList{"/m/x.mp3", "/m/y.wav"};
        QTest::newRow("append") << false << QStringList{"/old/a.mp3", "/m/x.mp3", "/m/y.wav"}
                                << QStringList{"a.mp3", "/m/x.mp3", "/m/y.wav"};
    }
    void readListReplacesOrAppends()
    {
        QFETCH(bool, clearFirst);
        QFETCH(QStringList, paths);
        QFETCH(QStringList, shown);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("l.m3u");
        QVERIFY(writeFile(name, "/m/x.mp3\r\n/m/y.wav\r\n"));
        store->append("/old/a.mp3", "a.mp3");
        store->setSelectedIndex(0);
        QVERIFY(ReadList(*store, name, clearFirst));
        QCOMPARE(rowsOf(*List1), paths);
        QCOMPARE(rowsOf(*lstfavs), shown);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        if (clearFirst)
            QCOMPARE(store->selectedIndex(), -1);
    }

    void emptyFileEmptiesBothLists()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("empty.m3u");
        QVERIFY(writeFile(name, QByteArray()));
        store->appendMany({"/a", "/b"}, {"a", "b"});
        QVERIFY(ReadList(*store, name, true));
        QCOMPARE(List1->count(), 0);
        QCOMPARE(lstfavs->count(), 0);
    }

    void readFailureShowsMessageAndKeepsLists_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file") << "gone.m3u" << "Error in ReadList\r\r53 - File not found";
        QTest::newRow("missing folder") << "gone/l.m3u" << "Error in ReadList\r\r76 - Path not found";
        QTest::newRow("denied: a folder in place of the file") << "sub" << "Error in ReadList\r\r75 - Path/File access error";
        QTest::newRow("a pipe in place of the file") << "pipe.m3u" << "Error in ReadList\r\r75 - Path/File access error";
        QTest::newRow("far too large")
            << "huge.m3u" << "Error in ReadList\r\r7 - Out of memory: the file is too large for a playlist";
        QTest::newRow("more entries than a playlist holds")
            << "many.m3u"
            << "Error in ReadList\r\r7 - Out of memory: the file holds more than 32,767 entries, the most a playlist "
               "can hold";
        QTest::newRow("a line longer than any path")
            << "long.m3u"
            << "Error in ReadList\r\r64 - Bad file name: line 2 is longer than 4,096 bytes, longer than any path can be";
    }
    void readFailureShowsMessageAndKeepsLists()
    {
        QFETCH(QString, relative);
        QFETCH(QString, text);
        QTemporaryDir tmp;
        QVERIFY(QDir(tmp.path()).mkdir("sub"));
        const TestFiles::PipeWatchdog pipe(tmp.filePath("pipe.m3u"));
        QFile huge(tmp.filePath("huge.m3u"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(100) << 20)); // sparse
        huge.close();
        QVERIFY(writeFile(tmp.filePath("many.m3u"), QByteArray("/m.mp3\r\n").repeated(32768)));
        QVERIFY(writeFile(tmp.filePath("long.m3u"), "/m.mp3\r\n" + QByteArray(1 << 20, 'a') + "\r\n/n.mp3\r\n"));
        store->appendMany({"/a", "/b"}, {"a", "b"});
        QVERIFY(!ReadList(*store, tmp.filePath(relative), true));
        const MsgBoxSeam::Shown m = onlyMessage();
        QCOMPARE(m.text, text);
        QCOMPARE(m.style, 16);
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(rowsOf(*List1), (QStringList{"/a", "/b"}));
        QCOMPARE(rowsOf(*lstfavs), (QStringList{"a", "b"}));
    }

    void deniedFileWhenNotRoot()
    {
        if (geteuid() == 0)
            QSKIP("running as root: chmod 000 does not deny root; a folder in place of the file is tested instead");
        QTemporaryDir tmp;
        const QString name = tmp.filePath("locked.m3u");
        QVERIFY(writeFile(name, "/a\r\n"));
        QFile::setPermissions(name, QFileDevice::Permissions());
        store->append("/keep", "keep");
        QVERIFY(!ReadList(*store, name, true));
        QCOMPARE(onlyMessage().text, QStringLiteral("Error in ReadList\r\r70 - Permission denied"));
        QCOMPARE(store->count(), 1);
    }

    void readErrorAfterOpenKeepsListsEqual()
    {
        // Opens, then fails to read: the rows read so far (none) stand in both lists.
        if (!QFile("/proc/self/mem").open(QIODevice::ReadOnly))
            QSKIP("/proc/self/mem cannot be opened here");
        store->appendMany({"/a", "/b"}, {"a", "b"});
        QVERIFY(!ReadList(*store, "/proc/self/mem", false));
        QCOMPARE(onlyMessage().text, QStringLiteral("Error in ReadList\r\r57 - Device I/O error"));
        QCOMPARE(store->count(), 2);
        checkInvariant();
    }

    void hostileFilesKeepListsEqual_data()
    {
        QTest::addColumn<QByteArray>("data");
        QByteArray binary;
        for (int i = 0; i < 65536; ++i)
            binary.append(char((i * 7919 + 13) & 0xFF));
        QTest::newRow("binary") << binary;
        QTest::newRow("invalid utf-8") << QByteArray("/\xC0\xAF\xFF.mp3\r\n/ok.mp3\r\n");
    }
    void hostileFilesKeepListsEqual()
    {
        QFETCH(QByteArray, data);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("x.m3u");
        QVERIFY(writeFile(name, data));
        store->append("/keep.mp3", "keep.mp3");
        QVERIFY(ReadList(*store, name, false));
        checkInvariant();
        QVERIFY(store->count() > 1);
        QCOMPARE(store->path(0), QStringLiteral("/keep.mp3"));
        for (int i = 1; i < store->count(); ++i)
            QCOMPARE(store->display(i), store->path(i));
    }

    // Extending the playlist with a file may fill it, never pass 32,767: the
    // load is refused and every row kept.
    void extendingStopsAtTheBound_data()
    {
        QTest::addColumn<int>("held");
        QTest::addColumn<bool>("clearFirst");
        QTest::addColumn<QString>("message"); // "" when the load goes through
        QTest::newRow("fills it") << 32765 << false << "";
        QTest::newRow("would pass it")
            << 32766 << false
            << "Error in ReadList\r\r7 - Out of memory: 2 more entries would take the playlist's 32,766 past 32,767, "
               "the most it can hold";
        QTest::newRow("replaces a full one") << 32767 << true << "";
    }
    void extendingStopsAtTheBound()
    {
        QFETCH(int, held);
        QFETCH(bool, clearFirst);
        QFETCH(QString, message);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("two.m3u");
        QVERIFY(writeFile(name, "/m/x.mp3\r\n/m/y.wav\r\n"));
        const QStringList rows = QString("/old.mp3\n").repeated(held).split('\n', Qt::SkipEmptyParts);
        QVERIFY(store->appendMany(rows, rows));
        QCOMPARE(ReadList(*store, name, clearFirst), message.isEmpty());
        checkInvariant();
        if (!message.isEmpty()) {
            QCOMPARE(onlyMessage().text, message);
            QCOMPARE(store->count(), held);
            QCOMPARE(store->path(held - 1), QStringLiteral("/old.mp3"));
            return;
        }
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(store->count(), clearFirst ? 2 : held + 2);
        QCOMPARE(store->path(store->count() - 1), QStringLiteral("/m/y.wav"));
    }

    void writeListWritesFullPaths()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("out.m3u");
        store->appendMany({"/m/a.mp3", "", "/m/b,c.mp3"}, {"a.mp3", "", "b,c.mp3"});
        QVERIFY(WriteList(*store, name));
        QCOMPARE(readFile(name), QByteArray("/m/a.mp3\r\n\r\n/m/b,c.mp3\r\n"));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void writeEmptyListIsRefused()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("out.m3u");
        QVERIFY(writeFile(name, "/old.mp3\r\n"));
        QVERIFY(!WriteList(*store, name));
        const MsgBoxSeam::Shown m = onlyMessage();
        QCOMPARE(m.text, QStringLiteral("Listbox is empty - cannot write to file!"));
        QCOMPARE(m.style, 16);
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(readFile(name), QByteArray("/old.mp3\r\n"));
    }

    void writeFailureShowsMessage()
    {
        QTemporaryDir tmp;
        store->append("/m/a.mp3", "a.mp3");
        QVERIFY(!WriteList(*store, tmp.filePath("no/such/folder/out.m3u")));
        const MsgBoxSeam::Shown m = onlyMessage();
        QCOMPARE(m.text, QStringLiteral("Error in WriteList\r\r76 - Path not found"));
        QCOMPARE(m.style, 16);
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(store->count(), 1);
    }

    void saveThenLoadThroughTheDialog_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("plain") << QStringList{"/m/a.mp3", "/m/b.wav"};
        QTest::newRow("commas and quotes") << QStringList{"/m/a,b.mp3", "/m/say \"x\".mp3"};
        QTest::newRow("spaces and non-ascii") << QStringList{"/my music/a b .mp3", QString::fromUtf8("/歌/Grüße.mp3")};
        QTest::newRow("empty row") << QStringList{"/m/a.mp3", "", "/m/c.mp3"};
    }
    void saveThenLoadThroughTheDialog()
    {
        QFETCH(QStringList, paths);
        QTemporaryDir tmp;
        const QString name = tmp.filePath("mine.m3u");
        QStringList names;
        for (const QString &p : paths)
            names.append(p.mid(p.lastIndexOf('/') + 1));
        store->appendMany(paths, names);

        FileDialogSeam::queueAnswer(name);
        PlaylistActions::saveList(*cd1, *store);
        QCOMPARE(cd1->FileName(), QString());
        FileDialogSeam::queueAnswer(name);
        PlaylistActions::loadList(*cd1, *store);
        QCOMPARE(cd1->FileName(), QString());

        QCOMPARE(rowsOf(*List1), paths);
        QCOMPARE(rowsOf(*lstfavs), paths); // loaded rows show full paths
        const auto shows = FileDialogSeam::shown();
        QCOMPARE(shows.size(), 2);
        QVERIFY(shows[0].save);
        QCOMPARE(shows[0].title, QStringLiteral("Save Playlist"));
        QCOMPARE(shows[0].filter, QStringLiteral("Playlist(*.M3u)|*.m3u"));
        QCOMPARE(shows[0].flags, 0);
        QVERIFY(!shows[1].save);
        QCOMPARE(shows[1].title, QStringLiteral("Load Playlist"));
        QCOMPARE(shows[1].filter, QStringLiteral("Playlist(*.M3u)|*.M3u"));
        QCOMPARE(cd1->DialogTitle(), QStringLiteral("Load Playlist")); // stays on the dialog
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void cancelledDialogsDoNothing()
    {
        QTemporaryDir tmp;
        const QString name = tmp.filePath("mine.m3u");
        store->append("/m/a.mp3", "a.mp3");
        FileDialogSeam::queueAnswer(name);
        PlaylistActions::saveList(*cd1, *store);
        QVERIFY(QFile::remove(name));

        FileDialogSeam::queueAnswer(std::nullopt);
        PlaylistActions::saveList(*cd1, *store);
        FileDialogSeam::queueAnswer(std::nullopt);
        PlaylistActions::loadList(*cd1, *store);
        QVERIFY(!QFile::exists(name));
        QCOMPARE(store->count(), 1);
        QCOMPARE(store->display(0), QStringLiteral("a.mp3"));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    void emptyPlaylistSaveGoesOn()
    {
        QTemporaryDir tmp;
        FileDialogSeam::queueAnswer(tmp.filePath("x.m3u"));
        PlaylistActions::saveList(*cd1, *store);
        QCOMPARE(onlyMessage().text, QStringLiteral("Listbox is empty - cannot write to file!"));
        QVERIFY(!QFile::exists(tmp.filePath("x.m3u")));
        QCOMPARE(cd1->FileName(), QString());
    }

    void largePlaylistsLoadShowAndSave_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("32767") << 32767;
    }
    void largePlaylistsLoadShowAndSave()
    {
        QFETCH(int, n);
        QTemporaryDir tmp;
        QByteArray data;
        for (int i = 0; i < n; ++i)
            data += "/music/" + QByteArray::number(i) + ".mp3\r\n";
        const QString in = tmp.filePath("in.m3u"), out = tmp.filePath("out.m3u");
        QVERIFY(writeFile(in, data));

        lstfavs->resize(240, 200);
        owner->show();
        QVERIFY(ReadList(*store, in, true));
        QCOMPARE(List1->count(), n);
        QCOMPARE(lstfavs->count(), n);
        QVERIFY(store->setSelectedIndex(n - 1));
        QCOMPARE(store->selectedIndex(), n - 1);
        QCOMPARE(store->selectedText(), QStringLiteral("/music/%1.mp3").arg(n - 1));
        lstfavs->scrollToItem(lstfavs->item(n - 1));
        QVERIFY(lstfavs->visualItemRect(lstfavs->item(n - 1)).intersects(lstfavs->viewport()->rect()));
        QVERIFY(WriteList(*store, out));
        QCOMPARE(readFile(out), data);
    }
};

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
