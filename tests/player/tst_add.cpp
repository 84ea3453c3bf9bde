#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "MediaFixtures.h"
#include "MsgBox.h"
#include "PlaylistStore.h"
#include "add.h"
#include "frmEditTags.h"
#include "TestFiles.h"
#include "support_rows.h"

namespace {
bool appendTag(const QString &path, const QByteArray &title, const QByteArray &artist)
{
    return TestFiles::appendFile(path, TestFiles::id3Tag(title, artist, "", "2001", "", 17));
}
} // namespace

class TestAdd : public QObject {
    Q_OBJECT

    QWidget *owner = nullptr;
    QListWidget *List1 = nullptr;
    QListWidget *lstfavs = nullptr;
    PlaylistStore *store = nullptr;
    add *menus = nullptr;
    QTemporaryDir tmp;
    QString tagged; // a real MP3 with an ID3v1 tag
    // What the editor showed each time it opened: the file and its title box.
    QStringList editedPaths, editedTitles;

private Q_SLOTS:
    void initTestCase()
    {
        MsgBoxSeam::setScripted(true);
        addSeam::setScripted(true);
        QVERIFY(tmp.isValid());
        QVERIFY(QDir().mkdir(tmp.filePath("music")));
        tagged = MediaFixtures::makeMp3(tmp.filePath("music"), "song.mp3", 0.5);
        QVERIFY(!tagged.isEmpty());
        QVERIFY(appendTag(tagged, "Blue Train", "John Coltrane"));
        frmEditTags::setModalHook([this](frmEditTags &ed) {
            editedPaths.append(ed.editPath());
            editedTitles.append(ed.txtEditTags[0]->text());
            // The hook returning cancels the editor: the file stays as it is.
        });
    }
    void cleanupTestCase() { frmEditTags::setModalHook({}); }
    void init()
    {
        owner = new QWidget;
        List1 = new QListWidget(owner);
        lstfavs = new QListWidget(owner);
        store = new PlaylistStore(List1, lstfavs);
        store->appendMany({"/m/a.mp3", "/m/b.mp3", "", "/m/d.wav"}, {"a.mp3", "b.mp3", "", "/m/d.wav"});
        menus = new add(*store);
        MsgBoxSeam::clear();
        addSeam::clear();
        editedPaths.clear();
        editedTitles.clear();
    }
    void cleanup()
    {
        delete menus;
        delete store;
        delete owner;
    }

    void windowAndMenu()
    {
        QCOMPARE(menus->windowTitle(), QStringLiteral("menus"));
        QVERIFY(menus->isWindow());
        QCOMPARE(menus->addpopup->actions().size(), 2);
        QCOMPARE(menus->delfile->text(), QStringLiteral("Remove File"));
        QCOMPARE(menus->information->text(), QStringLiteral("Information"));
        addSeam::queueChoice(std::nullopt);
        menus->popupAt(QPoint(10, 20));
        QVERIFY(!menus->isVisible());
        QCOMPARE(addSeam::popups(), QList<QPoint>{QPoint(10, 20)});
        QCOMPARE(store->count(), 4); // dismissed: nothing done
    }

    void removeSelected_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("first") << 0 << QStringList{"/m/b.mp3", "", "/m/d.wav"} << QStringList{"b.mp3", "", "/m/d.wav"};
        QTest::newRow("middle") << 1 << QStringList{"/m/a.mp3", "", "/m/d.wav"} << QStringList{"a.mp3", "", "/m/d.wav"};
        QTest::newRow("last") << 3 << QStringList{"/m/a.mp3", "/m/b.mp3", ""} << QStringList{"a.mp3", "b.mp3", ""};
        QTest::newRow("none selected") << -1 << QStringList{"/m/a.mp3", "/m/b.mp3", "", "/m/d.wav"}
                                       << QStringList{"a.mp3", "b.mp3", "", "/m/d.wav"};
    }
    void removeSelected()
    {
        QFETCH(int, row);
        QFETCH(QStringList, paths);
        QFETCH(QStringList, shown);
        QVERIFY(store->setSelectedIndex(row));
        addSeam::queueChoice(QStringLiteral("delfile"));
        menus->popupAt(QPoint(0, 0));
        QCOMPARE(rowsOf(*List1), paths);
        QCOMPARE(rowsOf(*lstfavs), shown);
        QCOMPARE(store->selectedIndex(), -1);
        QVERIFY(lstfavs->selectedItems().isEmpty());
    }

    void removeSeveralSelectedFromLastToFirst()
    {
        lstfavs->setSelectionMode(QAbstractItemView::MultiSelection);
        lstfavs->item(0)->setSelected(true);
        lstfavs->item(2)->setSelected(true);
        lstfavs->item(3)->setSelected(true);
        menus->delfile_Click();
        QCOMPARE(rowsOf(*List1), QStringList{"/m/b.mp3"});
        QCOMPARE(rowsOf(*lstfavs), QStringList{"b.mp3"});
    }

    // The visible row shows only the file name; the editor gets the full
    // path, opens once, and shows the file's own tag.
    void informationOpensTheEditorOnTheFullPath()
    {
        store->append(tagged, "song.mp3");
        QVERIFY(store->setSelectedIndex(store->count() - 1));
        QFile original(tagged);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        addSeam::queueChoice(QStringLiteral("information"));
        menus->popupAt(QPoint(5, 5));
        QCOMPARE(editedPaths, QStringList{tagged});
        QCOMPARE(editedTitles, QStringList{"Blue Train"});
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QVERIFY(!frmEditTags::instance().isVisible());
        QCOMPARE(store->count(), 5);
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), before); // cancelled: not rewritten
    }

    void informationOnAFileThatFailsToRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("folder named like a song") << "folder";
    }
    void informationOnAFileThatFailsToRead()
    {
        QFETCH(QString, kind);
        QString path = tmp.filePath("music/" + kind + ".mp3");
        if (kind == "empty") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "folder") {
            path = MediaFixtures::makeFolderNamedLikeMedia(tmp.filePath("music"), "folder.mp3");
            QVERIFY(!path.isEmpty());
        }
        store->append(path, kind + ".mp3");
        QVERIFY(store->setSelectedIndex(store->count() - 1));
        menus->information_Click();
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1); // the editor's own message, once
        QCOMPARE(shown.first().style, 16);
        QVERIFY(editedPaths.isEmpty());
        QVERIFY(!frmEditTags::instance().isVisible());
    }

    void noMediaLoaded_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("no row selected") << -1;
        QTest::newRow("empty row") << 2;
    }
    void noMediaLoaded()
    {
        QFETCH(int, row);
        QVERIFY(store->setSelectedIndex(row));
        menus->information_Click();
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("No Media Loaded"));
        QCOMPARE(shown.first().style, 48);
        QCOMPARE(shown.first().title, QStringLiteral("Orvane"));
        QVERIFY(editedPaths.isEmpty());
    }
};

QTEST_MAIN(TestAdd)
#include "tst_add.moc"
