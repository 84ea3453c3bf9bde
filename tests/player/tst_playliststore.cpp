#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "PlaylistStore.h"

class TestPlaylistStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void appendKeepsIndexesAndSelection()
    {
        QListWidget paths, shown;
        PlaylistStore store(&paths, &shown);
        store.append("/m/a.mp3", "a.mp3");
        QVERIFY(store.setSelectedIndex(0));
        store.append("/m/b.mp3", "b.mp3");
        QCOMPARE(store.count(), 2);
        QCOMPARE(paths.count(), 2);
        QCOMPARE(store.path(1), QStringLiteral("/m/b.mp3"));
        QCOMPARE(store.display(1), QStringLiteral("b.mp3"));
        QCOMPARE(store.selectedIndex(), 0);
        QCOMPARE(store.selectedPath(), QStringLiteral("/m/a.mp3"));
    }
    void selectionBeyondTheListIsRefused()
    {
        QListWidget paths, shown;
        PlaylistStore store(&paths, &shown);
        store.appendMany({"/x/1", "/x/2"}, {"1", "2"});
        QVERIFY(store.setSelectedIndex(1));
        QVERIFY(!store.setSelectedIndex(2));
        QCOMPARE(store.selectedIndex(), 1);
        QVERIFY(store.setSelectedIndex(-1));
        QCOMPARE(store.selectedIndex(), -1);
        QCOMPARE(store.selectedText(), QString());
    }
    void removeTakesTheSameRowFromBoth()
    {
        QListWidget paths, shown;
        PlaylistStore store(&paths, &shown);
        store.appendMany({"/x/1", "/x/2", "/x/3"}, {"1", "2", "3"});
        store.removeAt(1);
        QCOMPARE(paths.count(), 2);
        QCOMPARE(store.path(1), QStringLiteral("/x/3"));
        QCOMPARE(store.display(1), QStringLiteral("3"));
        store.removeAt(7); // out of range: nothing
        QCOMPARE(store.count(), 2);
        store.clear();
        QCOMPARE(paths.count(), 0);
        QCOMPARE(shown.count(), 0);
    }
    // The last guard of the bound: past 32,767 nothing is added to either list.
    void appendsStopAtTheBound()
    {
        QListWidget paths, shown;
        PlaylistStore store(&paths, &shown);
        const QStringList rows = QString("/x\n").repeated(32766).split('\n', Qt::SkipEmptyParts);
        QVERIFY(store.appendMany(rows, rows));
        QVERIFY(!store.appendMany({"/y", "/z"}, {"y", "z"}));
        QCOMPARE(store.count(), 32766);
        QVERIFY(store.append("/y", "y"));
        QCOMPARE(store.room(), 0);
        QVERIFY(!store.append("/z", "z"));
        QCOMPARE(paths.count(), 32767);
        QCOMPARE(shown.count(), 32767);
        QCOMPARE(store.display(32766), QStringLiteral("y"));
    }
};

QTEST_MAIN(TestPlaylistStore)
#include "tst_playliststore.moc"
