// The drive tree and folder listing of the file manager, on fake volumes
// whose roots are real temporary folders.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "MP3ListView.h"
#include "MsgBox.h"
#include "clsMousePointer.h"
#include "frmMP3.h"

namespace {
DriveInfo volume(const QString &root, DriveInfo::Type type, const QString &label = QString())
{
    DriveInfo d;
    d.rootPath = root;
    d.label = label;
    d.type = type;
    return d;
}

QStringList childTexts(QTreeWidgetItem *node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out.append(node->child(i)->text(0));
    return out;
}

bool mkdirs(const QString &root, const QStringList &paths)
{
    for (const QString &p : paths)
        if (!QDir(root).mkpath(p))
            return false;
    return true;
}
} // namespace

class TestFrmMP3Tree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        MsgBoxSeam::setScripted(true);
        MsgBoxSeam::clear();
    }
    void cleanup() { frmMP3::setDriveSource({}); }

    void properCase_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("upper") << "MY MUSIC" << "My Music";
        QTest::newRow("lower") << "my music" << "My Music";
        QTest::newRow("hyphen is no break") << "mp3-files" << "Mp3-files";
        QTest::newRow("mixed") << "mp3 COLLECTION" << "Mp3 Collection";
        QTest::newRow("tab separates") << "a\tb" << "A\tB";
        QTest::newRow("line break separates") << "a\nb\rc" << "A\nB\rC";
        QTest::newRow("underscore is no break") << "live_at home" << "Live_at Home";
        QTest::newRow("non-ascii") << "ÉTÉ été" << "Été Été";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks kept") << "  two  blanks " << "  Two  Blanks ";
    }
    void properCase()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(frmMP3::ProperCase(in), out);
    }

    // Each drive type: whether it gets a node, its image, its text and
    // whether its first level of folders is listed.
    void driveTable_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("node");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("textBeforeRoot");
        QTest::addColumn<bool>("listed");
        QTest::newRow("0 unknown") << 0 << "backup" << true << "unknown" << "Backup " << true;
        QTest::newRow("1 no root dir") << 1 << "x" << false << "" << "" << false;
        QTest::newRow("2 removable") << 2 << "STICK" << true << "remove" << "" << false;
        QTest::newRow("3 fixed") << 3 << "DATA DISK" << true << "fixed" << "Data Disk " << true;
        QTest::newRow("3 fixed without label") << 3 << "" << true << "fixed" << "" << true;
        QTest::newRow("4 remote") << 4 << "share" << true << "remote" << "Share " << true;
        QTest::newRow("5 cd") << 5 << "AUDIO_CD" << true << "cd" << "Audio_cd " << true;
        QTest::newRow("6 ram") << 6 << "tmp" << true << "ram" << "Tmp " << true;
        QTest::newRow("7 beyond the table") << 7 << "x" << false << "" << "" << false;
    }
    void driveTable()
    {
        QFETCH(int, type);
        QFETCH(QString, label);
        QFETCH(bool, node);
        QFETCH(QString, image);
        QFETCH(QString, textBeforeRoot);
        QFETCH(bool, listed);

        QTemporaryDir root;
        QVERIFY(mkdirs(root.path(), {QStringLiteral("music"), QStringLiteral("Talks/deeper")}));
        const DriveInfo d = volume(root.path(), DriveInfo::Type(type), label);
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
        frmMP3 w;

        if (!node) {
            QCOMPARE(w.DirTree->topLevelItemCount(), 0);
            return;
        }
        QCOMPARE(w.DirTree->topLevelItemCount(), 1);
        QTreeWidgetItem *n = w.DirTree->topLevelItem(0);
        QCOMPARE(n->text(0), textBeforeRoot + "(" + root.path() + ")");
        QCOMPARE(n->data(0, Qt::UserRole + 3).toString(), image);
        QCOMPARE(w.NodeByKey("root" + root.path()), n);
        QCOMPARE(childTexts(n), listed ? QStringList({"Music", "Talks"}) : QStringList());
        // One level only: the deeper folder is not listed at load.
        if (listed)
            QCOMPARE(n->child(1)->childCount(), 0);
    }

    void unreadableVolumeGetsNoNode()
    {
        QTemporaryDir a, c;
        const QString gone = a.path() + "/not-mounted";
        const QList<DriveInfo> drives{volume(gone, DriveInfo::CdRom, "disc"), volume(c.path(), DriveInfo::Fixed, "c")};
        frmMP3::setDriveSource([drives] { return drives; });
        frmMP3 w;
        QCOMPARE(w.DirTree->topLevelItemCount(), 1);
        QCOMPARE(w.DirTree->topLevelItem(0)->text(0), "C (" + c.path() + ")");
        QCOMPARE(MsgBoxSeam::shown().size(), 0); // no error is reported
    }

    void removableIsNeverRead()
    {
        // A removable root that does not exist (no medium) still shows.
        QTemporaryDir a;
        const DriveInfo floppy = volume(a.path() + "/nothing-here", DriveInfo::Removable, "ignored");
        frmMP3::setDriveSource([floppy] { return QList<DriveInfo>{floppy}; });
        frmMP3 w;
        QCOMPARE(w.DirTree->topLevelItemCount(), 1);
        QCOMPARE(w.DirTree->topLevelItem(0)->text(0), "(" + floppy.rootPath + ")");
        QCOMPARE(w.DirTree->topLevelItem(0)->childCount(), 0);
    }

    // A volume without a label is named by its device, as the folder picker
    // names it; a removable one's label is never read, its device name shows.
    void unlabelledVolumesShowTheirDevice()
    {
        QTemporaryDir a, b;
        DriveInfo fixed = volume(a.path(), DriveInfo::Fixed);
        fixed.device = "/dev/vdb1";
        DriveInfo stick = volume(b.path(), DriveInfo::Removable, "ignored");
        stick.device = "/dev/sdc1";
        frmMP3::setDriveSource([fixed, stick] { return QList<DriveInfo>{fixed, stick}; });
        frmMP3 w;
        QCOMPARE(w.DirTree->topLevelItemCount(), 2);
        QCOMPARE(w.DirTree->topLevelItem(0)->text(0), "vdb1 (" + a.path() + ")");
        QCOMPARE(w.DirTree->topLevelItem(1)->text(0), "sdc1 (" + b.path() + ")");
    }

    void drivesStandInSourceOrder()
    {
        QTemporaryDir a, b, c;
        const QList<DriveInfo> drives{volume(a.path(), DriveInfo::Fixed, "first"),
                                      volume(b.path(), DriveInfo::NoRootDir, "skipped"),
                                      volume(c.path(), DriveInfo::RamDisk, "third")};
        frmMP3::setDriveSource([drives] { return drives; });
        frmMP3 w;
        QCOMPARE(w.DirTree->topLevelItemCount(), 2);
        QVERIFY(w.DirTree->topLevelItem(0)->text(0).startsWith("First ("));
        QVERIFY(w.DirTree->topLevelItem(1)->text(0).startsWith("Third ("));
    }

    void folderListing()
    {
        QTemporaryDir root;
        QVERIFY(mkdirs(root.path(), {"mp3 COLLECTION", "beta", "Alpha", ".hidden", "with space/inner"}));
        QFile file(root.path() + "/song.mp3");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::link(root.path() + "/beta", root.path() + "/link-to-beta"));
        QVERIFY(QFile::link(root.path() + "/missing", root.path() + "/dangling"));

        frmMP3::setDriveSource([] { return QList<DriveInfo>{}; });
        frmMP3 w;
        auto *parent = new QTreeWidgetItem(w.DirTree, {"parent"});
        w.DisplayDir(root.path(), parent);
        // Folders only (a link to a folder is one), no hidden ones, no "." or
        // "..", in proper case and in name order.
        QCOMPARE(childTexts(parent), QStringList({"Alpha", "Beta", "Link-to-beta", "Mp3 Collection", "With Space"}));
        for (int i = 0; i < parent->childCount(); ++i) {
            QCOMPARE(parent->child(i)->data(0, Qt::UserRole + 3).toString(), "folder");
            QCOMPARE(parent->child(i)->data(0, Qt::UserRole + 4).toString(), "open");
        }
        QCOMPARE(w.CurrentNode, parent->child(4));
        QCOMPARE(w.List1->count(), 0); // empty again after the listing

        // A folder that cannot be listed adds nothing and says nothing.
        auto *other = new QTreeWidgetItem(w.DirTree, {"other"});
        w.DisplayDir(root.path() + "/no-such-folder", other);
        QCOMPARE(other->childCount(), 0);
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
    }

    void nodeFolderFollowsDiskNames()
    {
        QTemporaryDir root;
        QVERIFY(mkdirs(root.path(), {"music/rock"}));
        const DriveInfo d = volume(root.path(), DriveInfo::Fixed, "d");
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
        frmMP3 w;
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        QCOMPARE(w.NodeFolder(drive).value_or("?"), root.path());
        QTreeWidgetItem *music = drive->child(0);
        QCOMPARE(music->text(0), "Music");
        // The tree shows proper case; the path keeps the name on disk.
        QCOMPARE(w.NodeFolder(music).value_or("?"), root.path() + "/music");
        QVERIFY(!w.NodeFolder(nullptr));
    }

    void reloadOnF5AndRefresh_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("F5") << false;
        QTest::newRow("Refresh") << true;
    }
    void reloadOnF5AndRefresh()
    {
        QFETCH(bool, viaMenu);
        QTemporaryDir root;
        QVERIFY(mkdirs(root.path(), {"one"}));
        const DriveInfo d = volume(root.path(), DriveInfo::Fixed, "d");
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "10 B", "", "/x/a.mp3"});
        w.HoverNodeIndex = 3;
        QVERIFY(mkdirs(root.path(), {"two"}));
        w.DirTree->topLevelItem(0)->child(0)->setText(0, "Renamed");

        if (viaMenu) {
            w.mnuRefresh_Click();
        } else {
            w.DirTree->setFocus();
            QTest::keyClick(w.DirTree, Qt::Key_F5);
        }
        QCOMPARE(w.DirTree->topLevelItemCount(), 1);
        QCOMPARE(childTexts(w.DirTree->topLevelItem(0)), QStringList({"One", "Two"}));
        QCOMPARE(w.lstMP3->Count(), 0);
        // Only the menu's reload forgets the hovered node.
        QCOMPARE(w.HoverNodeIndex, viaMenu ? 0 : 3);
    }

    void otherKeysOnlyFlashTheHourglass()
    {
        QTemporaryDir root;
        const DriveInfo d = volume(root.path(), DriveInfo::Fixed, "d");
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "10 B", "", "/x/a.mp3"});
        QTreeWidgetItem *before = w.DirTree->topLevelItem(0);
        w.DirTree_KeyDown(Qt::Key_A, 0);
        QCOMPARE(w.DirTree->topLevelItem(0), before);
        QCOMPARE(w.lstMP3->Count(), 1);
        QCOMPARE(clsMousePointer::ScreenPointer(), 0); // the guard put the pointer back
    }

    // The list follows the folder chosen in the tree, by mouse or keyboard;
    // a folder that cannot be read says so instead of asking for a click.
    void choosingAFolderListsItsMp3s()
    {
        QTemporaryDir root;
        QVERIFY(mkdirs(root.path(), {"music", "other", "zzz"}));
        for (const char *name : {"b.mp3", "A.MP3", "notes.txt", ".hidden.mp3"}) {
            QFile f(root.path() + "/music/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(1234, 'x'));
        }
        QFile f(root.path() + "/other/c.mp3");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const DriveInfo d = volume(root.path(), DriveInfo::Fixed, "d");
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(true);
        QTreeWidgetItem *music = drive->child(0);
        const QRect r = w.DirTree->visualItemRect(music);
        QTest::mouseClick(w.DirTree->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
        QCOMPARE(w.lstMP3->Count(), 2);
        QCOMPARE(w.lstMP3->Text(1), "A.MP3");
        QCOMPARE(w.lstMP3->SubItem(1, 1), "1234 B");
        QCOMPARE(w.lstMP3->SubItem(1, 3), root.path() + "/music/A.MP3");
        QCOMPARE(w.lstMP3->Text(2), "b.mp3");

        QTest::keyClick(w.DirTree, Qt::Key_Down);
        QCOMPARE(w.DirTree->currentItem(), drive->child(1));
        QCOMPARE(w.lstMP3->Count(), 1);
        QCOMPARE(w.lstMP3->SubItem(1, 3), root.path() + "/other/c.mp3");
        QCOMPARE(w.lstMP3->emptyText(), frmMP3::HintText());

        QVERIFY(QDir(root.path() + "/zzz").removeRecursively());
        QTest::keyClick(w.DirTree, Qt::Key_Down);
        QCOMPARE(w.lstMP3->Count(), 0);
        QCOMPARE(w.lstMP3->emptyText(), "\n  This folder cannot be read: \n  No such file or directory.");
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
    }
};

QTEST_MAIN(TestFrmMP3Tree)
#include "tst_frmmp3tree.moc"
