#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "DriveInfo.h"
#include "MsgBox.h"
#include "PlaylistStore.h"
#include "dir.h"
#include "dirListBox.h"
#include "dirSkin.h"
#include "support_rows.h"

namespace {
void touch(const QString &name)
{
    QFile f(name);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(name));
}

QListWidgetItem *itemFor(dirListBox *list, const QString &path)
{
    for (int i = 0; i < list->count(); ++i)
        if (dirListBox::itemPath(list->item(i)) == path)
            return list->item(i);
    return nullptr;
}
} // namespace

class TestDir : public QObject {
    Q_OBJECT

    QWidget *owner = nullptr;
    QListWidget *List1 = nullptr;
    QListWidget *lstfavs = nullptr;
    PlaylistStore *store = nullptr;

    // A folder of mixed files: three that match, the rest not.
    QString makeMixedFolder(const QTemporaryDir &tmp)
    {
        const QString f = QFileInfo(tmp.path()).canonicalFilePath() + "/music";
        QDir().mkpath(f + "/sub");
        QDir().mkpath(f + "/folder.mp3"); // a folder with a matching name
        for (const char *n : {"b.MP3", "a.mp3", "C.wav", "d.WaV", "e.wma", "f.cda", "g.mp3.txt",
                              ".hidden.mp3", "notes.txt", "sub/inner.mp3", "Track 10.mp3", "Track 9.mp3"})
            touch(f + "/" + n);
        return f;
    }

private Q_SLOTS:
    void initTestCase()
    {
        MsgBoxSeam::setScripted(true);
    }
    void init()
    {
        owner = new QWidget;
        List1 = new QListWidget(owner);
        lstfavs = new QListWidget(owner);
        store = new PlaylistStore(List1, lstfavs);
        MsgBoxSeam::clear();
        dirSeam::setDriver(nullptr);
    }
    void cleanup()
    {
        dirSeam::setDriver(nullptr);
        delete store;
        delete owner;
    }

    void windowShape()
    {
        dir d(*store);
        QCOMPARE(d.size(), QSize(274, 209));
        QVERIFY(d.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(d.isModal());
        QCOMPARE(d.Drive1->geometry(), QRect(85, 22, 89, 21));
        QCOMPARE(d.Dir1->geometry(), QRect(12, 47, 241, 126));
        QCOMPARE(d.Image2->geometry(), QRect(43, 185, 42, 15));
        QCOMPARE(d.Image3->geometry(), QRect(169, 187, 39, 13));
        QCOMPARE(d.Image4->geometry(), QRect(261, 2, 13, 9));
        QVERIFY(!QRect(QPoint(0, 0), d.size()).intersects(d.File1->geometry()));
        QVERIFY(!QRect(QPoint(0, 0), d.size()).intersects(d.Image1->geometry()));
        // Starts at the process's current folder, its volume in the drive list.
        QCOMPARE(d.Dir1->path(), QFileInfo(QDir::currentPath()).canonicalFilePath());
        QCOMPARE(d.Drive1->currentData().toString(), DriveInfo::volumeOf(QDir::currentPath()).rootPath);
    }

    void selectAddsMatchingFilesInNameOrder()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        store->append("/before.mp3", "before.mp3");
        dir d(*store);
        QVERIFY(d.Dir1->setPath(folder));
        d.Image2_Click();
        const QStringList names{"a.mp3", "b.MP3", "C.wav", "d.WaV", "Track 9.mp3", "Track 10.mp3"};
        QStringList paths{"/before.mp3"}, shown{"before.mp3"};
        for (const QString &n : names) {
            paths.append(folder + "/" + n);
            shown.append(n);
        }
        QCOMPARE(rowsOf(*List1), paths);
        QCOMPARE(rowsOf(*lstfavs), shown);
        QCOMPARE(rowsOf(*d.File1), names);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(store->selectedIndex(), -1);
    }

    void highlightedSubfolderIsNotTaken()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        dir d(*store);
        QVERIFY(d.Dir1->setPath(folder));
        QListWidgetItem *sub = itemFor(d.Dir1, folder + "/sub");
        QVERIFY(sub);
        d.Dir1->setCurrentItem(sub); // highlighted only
        QCOMPARE(d.Dir1->path(), folder);
        d.Image2_Click();
        QCOMPARE(store->count(), 6);
        QVERIFY(!rowsOf(*List1).contains(folder + "/sub/inner.mp3"));
    }

    void openingASubfolderMakesItThePath()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        const QString marked = folder + "/<b>Bold <font color=red>Tom &amp; co";
        QVERIFY(QDir().mkpath(marked));
        dir d(*store);
        QVERIFY(d.Dir1->setPath(folder));
        QListWidgetItem *sub = itemFor(d.Dir1, folder + "/sub");
        QVERIFY(sub);
        // Each row's tool tip shows its folder's path as it is, as a tool tip
        // shows text: taken as markup when it looks like markup.
        QVERIFY(itemFor(d.Dir1, marked));
        for (int i = 0; i < d.Dir1->count(); ++i) {
            const QString tip = d.Dir1->item(i)->toolTip();
            QTextDocument shown;
            if (Qt::mightBeRichText(tip))
                shown.setHtml(tip);
            else
                shown.setPlainText(tip);
            QCOMPARE(shown.toPlainText().replace(QChar::Nbsp, u' '), dirListBox::itemPath(d.Dir1->item(i)));
        }
        // Hidden folders are not listed.
        QVERIFY(!itemFor(d.Dir1, folder + "/.hidden.mp3"));
        Q_EMIT d.Dir1->itemActivated(sub);
        QCOMPARE(d.Dir1->path(), folder + "/sub");
        // The open chain runs from the root down to the open folder.
        QCOMPARE(dirListBox::itemPath(d.Dir1->item(0)), QStringLiteral("/"));
        QVERIFY(itemFor(d.Dir1, folder));
        d.Image2_Click();
        QCOMPARE(rowsOf(*List1), QStringList{folder + "/sub/inner.mp3"});
        QCOMPARE(rowsOf(*lstfavs), QStringList{"inner.mp3"});
    }

    // The open folder and every folder above it show the open picture, the
    // folders inside it the closed one, selected or not.
    void pathFoldersShowOpenPicture()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        dir d(*store);
        QVERIFY(d.Dir1->setPath(folder));
        const QImage open = dirSkin::folderIcon(true).toImage();
        const QImage closed = dirSkin::folderIcon(false).toImage();
        QVERIFY(open != closed);
        auto picture = [&](QListWidgetItem *item, QIcon::Mode mode) {
            return item->icon().pixmap(open.size(), mode).toImage().convertToFormat(open.format());
        };
        for (int i = 0; i < d.Dir1->count(); ++i) {
            QListWidgetItem *item = d.Dir1->item(i);
            const QString path = dirListBox::itemPath(item);
            const bool onPath = path == "/" || folder == path || folder.startsWith(path + "/");
            QCOMPARE(picture(item, QIcon::Normal), onPath ? open : closed);
            QCOMPARE(picture(item, QIcon::Selected), onPath ? open : closed);
        }
        QCOMPARE(picture(itemFor(d.Dir1, folder), QIcon::Normal), open);
        QCOMPARE(picture(itemFor(d.Dir1, folder + "/sub"), QIcon::Normal), closed);
    }

    void unreadableFolderIsRefused()
    {
        QTemporaryDir tmp;
        dir d(*store);
        QVERIFY(d.Dir1->setPath(tmp.path()));
        const QString before = d.Dir1->path();
        QVERIFY(!d.Dir1->setPath(tmp.filePath("missing")));
        QCOMPARE(d.Dir1->path(), before);
    }

    void noMatchingFiles_data()
    {
        QTest::addColumn<bool>("removeFolder");
        QTest::newRow("no matching file") << false;
        QTest::newRow("folder removed while open") << true;
    }
    void noMatchingFiles()
    {
        QFETCH(bool, removeFolder);
        QTemporaryDir tmp;
        const QString folder = tmp.filePath("other");
        QDir().mkpath(folder);
        touch(folder + "/song.wma");
        touch(folder + "/track.cda");
        store->append("/keep.mp3", "keep.mp3");
        dir d(*store);
        QVERIFY(d.Dir1->setPath(folder));
        if (removeFolder)
            QVERIFY(QDir(folder).removeRecursively());
        d.Image2_Click();
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("No files were found in specific folder"));
        QCOMPARE(shown.first().style, 0);
        QCOMPARE(shown.first().title, QStringLiteral("Error"));
        QCOMPARE(store->count(), 1);
        QCOMPARE(List1->count(), lstfavs->count());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void joinPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        QTest::newRow("root") << "/" << "/a.mp3";
        QTest::newRow("mount point") << "/media/usb" << "/media/usb/a.mp3";
        QTest::newRow("trailing separator") << "/media/usb/" << "/media/usb/a.mp3";
    }
    void joinPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        QCOMPARE(dir::joinPath(folder, "a.mp3"), joined);
    }

    // The root of a volume: picking its drive moves the folder list there,
    // and SELECT takes the root like any other folder, joining it and each
    // name with a single separator (the join itself is the "root" row of
    // joinPath). The root is only read, never written: what it should add is
    // listed here independently of the picker.
    void driveRootIsTakenLikeAnyFolder()
    {
        dir d(*store);
        int drive = -1;
        for (int i = 0; i < d.Drive1->count(); ++i)
            if (d.Drive1->itemData(i).toString() == "/")
                drive = i;
        if (drive < 0)
            QSKIP("no volume is mounted at /");
        QTemporaryDir tmp;
        QVERIFY(d.Dir1->setPath(tmp.path()));
        {
            const QSignalBlocker quiet(d.Drive1);
            d.Drive1->setCurrentIndex(-1);
        }
        d.Drive1->setCurrentIndex(drive); // Drive1_Change moves the folder list to the root
        QCOMPARE(d.Dir1->path(), QStringLiteral("/"));

        QStringList expected;
        for (const QFileInfo &f : QDir("/").entryInfoList(QDir::Files)) {
            const QString suffix = f.suffix().toLower();
            if (suffix == "mp3" || suffix == "wav")
                expected.append(f.fileName());
        }
        d.Image2_Click();
        QCOMPARE(List1->count(), lstfavs->count());
        if (expected.isEmpty()) {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::shown().first().text, QStringLiteral("No files were found in specific folder"));
            QCOMPARE(store->count(), 0);
            return;
        }
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(store->count(), expected.size());
        for (int row = 0; row < store->count(); ++row) {
            QVERIFY2(expected.contains(store->display(row)), qPrintable(store->display(row)));
            QCOMPARE(store->path(row), "/" + store->display(row));
        }
    }

    void nameOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("case ignored") << "a.mp3" << "B.mp3";
        QTest::newRow("numbers by value") << "Track 9.mp3" << "Track 10.mp3";
        QTest::newRow("leading zeros") << "01 x.mp3" << "2 x.mp3";
        QTest::newRow("non-ascii after ascii") << "zz.mp3" << QString::fromUtf8("Ärger.mp3");
    }
    void nameOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QVERIFY(dir::nameLess(a, b));
        QVERIFY(!dir::nameLess(b, a));
        QVERIFY(!dir::nameLess(a, a));
    }

    void quitAndCloseAddNothing_data()
    {
        QTest::addColumn<QString>("spot");
        QTest::newRow("QUIT") << "Image3";
        QTest::newRow("close box") << "Image4";
    }
    void quitAndCloseAddNothing()
    {
        QFETCH(QString, spot);
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        dir d(*store);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.Dir1->setPath(folder));
        QWidget *hot = d.findChild<QWidget *>(spot);
        QVERIFY(hot);
        QTest::mouseClick(hot, Qt::LeftButton, {}, hot->rect().center());
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(store->count(), 0);
    }

    void selectHotSpotClickAdds()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        dir d(*store);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.Dir1->setPath(folder));
        // A press released outside the hot spot is no click.
        QTest::mousePress(d.Image2, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(d.Image2, Qt::LeftButton, {}, QPoint(200, 2));
        QCOMPARE(store->count(), 0);
        QTest::mouseClick(d.Image2, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(store->count(), 6);
        QVERIFY(!d.isVisible());
    }

    // SELECT adds the whole folder or, past 32,767 entries, nothing.
    void folderStopsAtTheBound_data()
    {
        QTest::addColumn<int>("held");
        QTest::addColumn<QString>("message"); // "" when the folder is added
        QTest::newRow("fills the playlist") << 32761 << "";
        QTest::newRow("would pass 32,767")
            << 32762
            << "Error in Image2_Click\r\r7 - Out of memory: 6 more entries would take the playlist's 32,762 past "
               "32,767, the most it can hold";
    }
    void folderStopsAtTheBound()
    {
        QFETCH(int, held);
        QFETCH(QString, message);
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp); // six songs
        const QStringList rows = QString("/old.mp3\n").repeated(held).split('\n', Qt::SkipEmptyParts);
        QVERIFY(store->appendMany(rows, rows));
        dir d(*store);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QVERIFY(d.Dir1->setPath(folder));
        QTest::mouseClick(d.Image2, Qt::LeftButton, {}, d.Image2->rect().center());
        QVERIFY(!d.isVisible());
        QCOMPARE(List1->count(), lstfavs->count());
        if (message.isEmpty()) {
            QVERIFY(MsgBoxSeam::shown().isEmpty());
            QCOMPARE(store->count(), 32767);
            QCOMPARE(store->path(32766), folder + "/Track 10.mp3");
            return;
        }
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, message);
        QCOMPARE(shown.first().style, 16);
        QCOMPARE(shown.first().title, QStringLiteral("Error"));
        QCOMPARE(store->count(), held);
        QCOMPARE(store->path(held - 1), QStringLiteral("/old.mp3"));
    }

    void pickTwiceAddsTwiceAndCentres()
    {
        QTemporaryDir tmp;
        const QString folder = makeMixedFolder(tmp);
        int openings = 0;
        dirSeam::setDriver([&](dir &d) {
            ++openings;
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            QCOMPARE(d.geometry().center(), QRect(d.pos(), QSize(274, 209)).center());
            QVERIFY(qAbs(d.geometry().center().x() - screen.center().x()) <= 1);
            QVERIFY(qAbs(d.geometry().center().y() - screen.center().y()) <= 1);
            // Each opening starts afresh at the current folder.
            QCOMPARE(d.Dir1->path(), QFileInfo(QDir::currentPath()).canonicalFilePath());
            QVERIFY(d.Dir1->setPath(folder));
            d.Image2_Click();
        });
        dir::pick(owner, *store);
        dir::pick(owner, *store);
        QCOMPARE(openings, 2);
        QCOMPARE(store->count(), 12);
        QCOMPARE(store->path(6), folder + "/a.mp3");
        QCOMPARE(List1->count(), lstfavs->count());
    }

    void skinPaintsButtonsUnderHotSpots()
    {
        dir d(*store);
        const QImage img = d.grab().toImage();
        QCOMPARE(img.size(), QSize(274, 209));
        const QString out = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
        if (!out.isEmpty())
            QVERIFY(img.save(out + "/dir.png"));
        const QRgb background = img.pixel(150, 195);
        QCOMPARE(QColor(background), QColor(0, 0, 128));
        for (const QRect &r : {dirSkin::Image2, dirSkin::Image3, dirSkin::Image4}) {
            // The button's own face differs from the window background around it.
            QVERIFY(img.pixel(r.center()) != background);
            QVERIFY(img.pixel(r.left() + 2, r.top() + 2) != background);
            QVERIFY(img.pixel(r.right() - 2, r.bottom() - 2) != background);
        }
        QCOMPARE(QColor(img.pixel(dirSkin::Image2.left() - 3, dirSkin::Image2.center().y())), QColor(0, 0, 128));
    }
};

QTEST_MAIN(TestDir)
#include "tst_dir.moc"
