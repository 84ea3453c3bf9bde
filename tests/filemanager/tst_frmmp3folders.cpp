// New folders, in-place renaming and drag-over feedback of the file
// manager's tree, on temporary folders standing in for volumes.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <optional>
#include <unistd.h>

#include "MP3ListView.h"
#include "MsgBox.h"
#include "SystemSetups.h"
#include "frmMP3.h"

namespace {
const QString RenameMessage = QStringLiteral(
    "Folder names cannot be zero length, be larger than 255 characters or contain '\\/:*<>?|'.");

DriveInfo volume(const QString &root, const QString &label = QStringLiteral("data"))
{
    DriveInfo d;
    d.rootPath = root;
    d.label = label;
    d.type = DriveInfo::Fixed;
    return d;
}

QStringList childTexts(QTreeWidgetItem *node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out.append(node->child(i)->text(0));
    return out;
}

QStringList diskFolders(const QString &path)
{
    return QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// A point on a node's text: a node's row can be wider than the tree, so its
// centre may lie outside the view.
QPoint onNode(QTreeWidget *tree, QTreeWidgetItem *node)
{
    const QRect r = tree->visualItemRect(node);
    return QPoint(r.left() + 8, r.center().y());
}

void select(frmMP3 &w, QTreeWidgetItem *node)
{
    w.DirTree->setCurrentItem(node);
    node->setSelected(true);
}

// Right-clicks the node and clicks item in the folder menu that comes up.
// False when no menu came up or the item cannot be chosen.
bool chooseFromFolderMenu(frmMP3 &w, QTreeWidgetItem *node, QAction *item)
{
    QTest::mouseClick(w.DirTree->viewport(), Qt::RightButton, {}, onNode(w.DirTree, node));
    if (!w.mnuPopupMenu2->isVisible() || !item->isEnabled())
        return false;
    QTest::mouseClick(w.mnuPopupMenu2, Qt::LeftButton, {}, w.mnuPopupMenu2->actionGeometry(item).center());
    return !w.mnuPopupMenu2->isVisible();
}
} // namespace

class TestFrmMP3Folders : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *m_root = nullptr;

private Q_SLOTS:
    void init()
    {
        MsgBoxSeam::setScripted(true);
        MsgBoxSeam::clear();
        m_root = new QTemporaryDir;
        QVERIFY(QDir(m_root->path()).mkpath("music/rock/deep"));
        QVERIFY(QDir(m_root->path()).mkpath("talks"));
        const DriveInfo d = volume(m_root->path());
        frmMP3::setDriveSource([d] { return QList<DriveInfo>{d}; });
    }
    void cleanup()
    {
        frmMP3::setDriveSource({});
        delete m_root;
        m_root = nullptr;
    }

    void newFolderName_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QString>("created");
        QTest::newRow("free") << QStringList() << QStringList() << QStringList() << "New Folder";
        QTest::newRow("taken once") << QStringList{"New Folder"} << QStringList() << QStringList() << "New Folder (1)";
        QTest::newRow("taken twice") << QStringList{"New Folder", "New Folder (1)"} << QStringList() << QStringList()
                                     << "New Folder (2)";
        QTest::newRow("a file takes the name")
            << QStringList{"New Folder (1)"} << QStringList{"New Folder"} << QStringList() << "New Folder (2)";
        QTest::newRow("only the numbered one") << QStringList{"New Folder (1)"} << QStringList() << QStringList()
                                               << "New Folder";
        QTest::newRow("a dangling link takes the name")
            << QStringList() << QStringList() << QStringList{"New Folder"} << "New Folder (1)";
    }
    void newFolderName()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QStringList, links);
        QFETCH(QString, created);
        const QString root = m_root->path();
        for (const QString &f : folders)
            QVERIFY(QDir(root).mkdir(f));
        for (const QString &f : files) {
            QFile file(root + "/" + f);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        for (const QString &l : links)
            QVERIFY(QFile::link(root + "/nowhere", root + "/" + l));
        const QStringList before = diskFolders(root);

        frmMP3 w;
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        select(w, drive);
        w.mnuAddFolder_Click();
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QVERIFY(QFileInfo(root + "/" + created).isDir());
        QCOMPARE(diskFolders(root).size(), before.size() + 1);
        // The drive's folders are listed again, the new one among them.
        QVERIFY(childTexts(w.DirTree->topLevelItem(0)).contains(frmMP3::ProperCase(created)));
    }

    void newFolderOnAFolderNode()
    {
        frmMP3 w;
        QTreeWidgetItem *music = w.DirTree->topLevelItem(0)->child(0);
        QCOMPARE(music->text(0), "Music");
        // List two levels below Music, as earlier listings would have.
        w.DisplayDir(m_root->path() + "/music", music);
        w.DisplayDir(m_root->path() + "/music/rock", music->child(0));
        QCOMPARE(music->child(0)->childCount(), 1);

        select(w, music);
        w.mnuAddFolder_Click();
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QVERIFY(QFileInfo(m_root->path() + "/music/New Folder").isDir());
        QCOMPARE(childTexts(music), QStringList({"New Folder", "Rock"}));
        // One level deep: the former deeper children are gone.
        QCOMPARE(music->child(1)->childCount(), 0);
        QVERIFY(!music->isExpanded());
        QCOMPARE(w.DirTree->currentItem(), music);
    }

    void newFolderFailures_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("no node selected") << "none" << "No folder is selected.";
        QTest::newRow("folder gone from disk") << "gone" << "Path not found";
        QTest::newRow("read-only volume") << "readonly" << "Read-only file system";
    }
    void newFolderFailures()
    {
        QFETCH(QString, how);
        QFETCH(QString, message);
        std::optional<SystemSetups::SmallVolume> volume;
        if (how == "readonly") {
            volume.emplace(m_root->path() + "/talks", 64, SystemSetups::SmallVolume::ReadOnly);
            if (!volume->isMounted())
                QSKIP(qPrintable("a read-only volume needs root to mount: " + volume->why()));
        }
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(true);
        QTreeWidgetItem *music = drive->child(0);
        QTreeWidgetItem *target = how == "readonly" ? drive->child(1) : music;
        if (how == "none") {
            w.DirTree->clearSelection();
            w.DirTree->setCurrentItem(nullptr);
        } else {
            select(w, target);
        }
        if (how == "gone")
            QVERIFY(QDir(m_root->path() + "/music").removeRecursively());
        const QStringList before = diskFolders(m_root->path());
        const int childrenBefore = drive->childCount();

        QVERIFY(chooseFromFolderMenu(w, target, w.mnuAddFolder));
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::shown().at(0).text, message);
        QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Critical));
        QCOMPARE(MsgBoxSeam::shown().at(0).title, "Orvane");
        QCOMPARE(diskFolders(m_root->path()), before);
        QCOMPARE(diskFolders(m_root->path() + "/talks"), QStringList());
        QVERIFY(!QFileInfo::exists(QFileInfo(m_root->path()).dir().path() + "/New Folder"));
        QCOMPARE(drive->childCount(), childrenBefore);
    }

    // A node's text is for display only: the folder is the one on disk.
    void nodeTextIsDisplayOnly()
    {
        frmMP3 w;
        QTreeWidgetItem *music = w.DirTree->topLevelItem(0)->child(0);
        music->setText(0, "Talks");
        QCOMPARE(w.NodeFolder(music).value_or("?"), m_root->path() + "/music");
        QCOMPARE(w.NodeFolder(w.DirTree->topLevelItem(0)).value_or("?"), m_root->path());
        w.mnuRefresh_Click();
        QCOMPARE(childTexts(w.DirTree->topLevelItem(0)), QStringList({"Music", "Talks"}));
    }

    void newFolderInAFolderWithoutWriteAccess()
    {
        if (geteuid() == 0)
            QSKIP("the superuser may write anywhere");
        QFile::setPermissions(m_root->path() + "/talks", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        frmMP3 w;
        select(w, w.DirTree->topLevelItem(0)->child(1));
        w.mnuAddFolder_Click();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::shown().at(0).text, "Permission denied");
        QFile::setPermissions(m_root->path() + "/talks", QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                              | QFileDevice::ExeOwner);
    }

    void folderNameValidation_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("handedBack");
        QTest::newRow("plain") << "Songs" << true << "Songs";
        QTest::newRow("blanks around") << "  Songs  " << true << "Songs";
        QTest::newRow("tab is not a blank") << "\tSongs" << true << "\tSongs";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("blanks only") << "    " << false << "";
        QTest::newRow("question mark") << "why?" << false << "why?";
        QTest::newRow("double quote") << "say \"hi\"" << false << "say \"hi\"";
        QTest::newRow("backslash") << "a\\b" << false << "a\\b";
        QTest::newRow("slash") << "a/b" << false << "a/b";
        QTest::newRow("colon") << "a:b" << false << "a:b";
        QTest::newRow("asterisk") << "a*" << false << "a*";
        QTest::newRow("less") << "<a" << false << "<a";
        QTest::newRow("greater") << "a>" << false << "a>";
        QTest::newRow("bar") << "a|b" << false << "a|b";
        QTest::newRow("255 characters") << QString(255, 'x') << true << QString(255, 'x');
        QTest::newRow("256 characters") << QString(256, 'x') << false << QString(256, 'x');
        QTest::newRow("255 with blanks around") << "  " + QString(255, 'x') + " " << true << QString(255, 'x');
        QTest::newRow("dot") << "." << false << ".";
        QTest::newRow("dot dot") << " .. " << false << "..";
        QTest::newRow("three dots") << "..." << true << "...";
    }
    void folderNameValidation()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, handedBack);
        frmMP3 w;
        bool cancel = false;
        QString name = typed;
        w.DirTree_AfterLabelEdit(cancel, name);
        QCOMPARE(cancel, !accepted);
        QCOMPARE(name, handedBack);
        QCOMPARE(MsgBoxSeam::shown().size(), accepted ? 0 : 1);
        if (!accepted) {
            QCOMPARE(MsgBoxSeam::shown().at(0).text, RenameMessage);
            QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Critical));
        }
    }

    // Rename, chosen from the folder menu with the mouse, edits the folder's
    // real name; Enter renames the folder on disk, and the node, its
    // children and the listed files follow. A refused or failed rename
    // leaves disk and node as they were, and the node keeps working.
    void renameInPlace_data()
    {
        QTest::addColumn<QString>("typed"); // a null text leaves the editor as it is
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("disk");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folder"); // where the node leads afterwards
        QTest::addColumn<QString>("message"); // part of the message, "" for none
        QTest::newRow("unchanged") << QString() << "" << QStringList{"music", "notes", "talks"} << "Music"
                                   << "music" << "";
        QTest::newRow("new name, trimmed") << "  Songs " << "" << QStringList{"Songs", "notes", "talks"} << "Songs"
                                           << "Songs" << "";
        QTest::newRow("letter case only") << "Music" << "" << QStringList{"Music", "notes", "talks"} << "Music"
                                          << "Music" << "";
        QTest::newRow("refused name") << "a?b" << "" << QStringList{"music", "notes", "talks"} << "Music"
                                      << "music" << RenameMessage;
        QTest::newRow("a sibling's name") << "talks" << "" << QStringList{"music", "notes", "talks"} << "Music"
                                          << "music" << "Cannot rename music to talks: File exists";
        QTest::newRow("a file's name") << "notes" << "" << QStringList{"music", "notes", "talks"} << "Music"
                                       << "music" << "Cannot rename music to notes: File exists";
        QTest::newRow("folder gone") << "Songs" << "gone" << QStringList{"notes", "talks"} << "Music" << "music"
                                     << "No such file or directory";
    }
    void renameInPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QString, setup);
        QFETCH(QStringList, disk);
        QFETCH(QString, text);
        QFETCH(QString, folder);
        QFETCH(QString, message);
        const QString root = m_root->path();
        QVERIFY(QFile(root + "/notes").open(QIODevice::WriteOnly));
        QVERIFY(QFile(root + "/music/a.mp3").open(QIODevice::WriteOnly));
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(true); // drives start collapsed
        QTreeWidgetItem *music = drive->child(0);
        w.DisplayDir(root + "/music", music); // its child, as a deeper listing has it
        QCOMPARE(childTexts(music), QStringList{"Rock"});
        // Choose the folder with the mouse: its files are listed.
        QTest::mouseClick(w.DirTree->viewport(), Qt::LeftButton, {}, onNode(w.DirTree, music));
        QCOMPARE(w.lstMP3->Count(), 1);
        if (setup == "gone")
            QVERIFY(QDir(root + "/music").removeRecursively());

        QVERIFY(chooseFromFolderMenu(w, music, w.mnuRenameFolder));
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = w.DirTree->findChild<QLineEdit *>()));
        QCOMPARE(editor->text(), "music"); // the name on disk, not the proper-cased text
        if (!typed.isNull()) {
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, typed);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!w.DirTree->findChild<QLineEdit *>()); // the edit ends after the key

        QCOMPARE(music->text(0), text);
        if (message.isEmpty()) {
            QCOMPARE(MsgBoxSeam::shown().size(), 0);
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QVERIFY2(MsgBoxSeam::shown().at(0).text.contains(message), qPrintable(MsgBoxSeam::shown().at(0).text));
            QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Critical));
        }
        QCOMPARE(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name), disk);
        QCOMPARE(w.NodeFolder(music).value_or("?"), root + "/" + folder);
        QCOMPARE(w.NodeFolder(music->child(0)).value_or("?"), root + "/" + folder + "/rock");
        if (setup == "gone")
            return;
        // The listed file is found under the folder's name now.
        QCOMPARE(w.lstMP3->SubItem(1, 3), root + "/" + folder + "/a.mp3");
        // The node still works: a click lists its file, "New" makes a folder in it.
        QTest::mouseClick(w.DirTree->viewport(), Qt::LeftButton, {}, onNode(w.DirTree, drive));
        QTest::mouseClick(w.DirTree->viewport(), Qt::LeftButton, {}, onNode(w.DirTree, music));
        QCOMPARE(w.lstMP3->Count(), 1);
        QCOMPARE(w.lstMP3->SubItem(1, 3), root + "/" + folder + "/a.mp3");
        w.mnuAddFolder->trigger();
        QCOMPARE(MsgBoxSeam::shown().size(), message.isEmpty() ? 0 : 1);
        QVERIFY(QFileInfo(root + "/" + folder + "/New Folder").isDir());
    }

    void rightClickMenu()
    {
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(true);
        select(w, drive->child(1));
        const QRect musicRect = w.DirTree->visualItemRect(drive->child(0));
        QTest::mouseClick(w.DirTree->viewport(), Qt::RightButton, {}, musicRect.center());
        QVERIFY(w.mnuPopupMenu2->isVisible());
        // The menu acts on the node selected before the click.
        QCOMPARE(w.DirTree->currentItem(), drive->child(1));
        w.mnuPopupMenu2->hide();

        QCOMPARE(w.mnuPopupMenu2->actions().size(), 4);
        QStringList captions;
        for (QAction *a : w.mnuPopupMenu2->actions())
            captions << a->text();
        QCOMPARE(captions, QStringList({"Rename", "New", "Delete", "Refresh"}));
        // Nothing deletes a folder: the item says so by being disabled.
        QVERIFY(!w.mnuDeleteFolder->isEnabled());
        QVERIFY(w.mnuRenameFolder->isEnabled());

        // A volume cannot be renamed, neither from the menu nor with F2.
        select(w, drive);
        QTest::mouseClick(w.DirTree->viewport(), Qt::RightButton, {}, onNode(w.DirTree, drive));
        QVERIFY(w.mnuPopupMenu2->isVisible());
        QVERIFY(!w.mnuRenameFolder->isEnabled());
        w.mnuPopupMenu2->hide();
        QTest::keyClick(w.DirTree, Qt::Key_F2);
        QVERIFY(!w.DirTree->findChild<QLineEdit *>());

        w.DirTree->clear();
        QTest::mouseClick(w.DirTree->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(!w.mnuPopupMenu2->isVisible());
    }

    void dragOverFeedback_data()
    {
        QTest::addColumn<bool>("fromList");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no key") << true << 0 << 1 << "Copying...";
        QTest::newRow("shift") << true << 1 << 1 << "Copying...";
        QTest::newRow("ctrl") << true << 2 << 2 << "Moving...";
        QTest::newRow("ctrl and shift") << true << 3 << 1 << "Copying...";
        QTest::newRow("alt") << true << 4 << 1 << "Copying...";
        QTest::newRow("not from the list") << false << 2 << 0 << "MP3 Searcher";
    }
    void dragOverFeedback()
    {
        QFETCH(bool, fromList);
        QFETCH(int, shift);
        QFETCH(int, effect);
        QFETCH(QString, caption);
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DirTree->topLevelItem(0)->setExpanded(true);
        QTreeWidgetItem *music = w.DirTree->topLevelItem(0)->child(0);
        w.DraggingFromList = fromList;
        int got = 0;
        const QPoint at = w.DirTree->visualItemRect(music).center();
        w.DirTree_OLEDragOver(got, shift, at.x(), at.y());
        QCOMPARE(got, effect);
        QCOMPARE(w.windowTitle(), caption);
        QCOMPARE(w.DropHighlight, fromList ? music : nullptr);
        QCOMPARE(w.HoverNodeIndex, fromList ? w.NodeIndex(music) : 0);
        QCOMPARE(w.LastDropIndex, w.HoverNodeIndex);
    }

    void restingOnANodeExpandsIt()
    {
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(false);
        QTreeWidgetItem *talks = drive->child(1);
        w.DisplayDir(m_root->path() + "/talks", talks);
        QVERIFY(QDir(m_root->path()).mkpath("talks/inner"));
        w.DisplayDir(m_root->path() + "/talks", talks);
        drive->setExpanded(true);
        w.DraggingFromList = true;
        int effect = 0;

        // The first node after a reset does not arm the timer.
        const QPoint onDrive = w.DirTree->visualItemRect(drive).center();
        w.DirTree_OLEDragOver(effect, 0, onDrive.x(), onDrive.y());
        QVERIFY(!w.tmrMP3->isActive());
        QCOMPARE(w.HoverNodeIndex, 1);

        // Moving on to another node arms it for 400 ms; the tick expands
        // the node recorded then and stops the timer.
        const QPoint onTalks = w.DirTree->visualItemRect(talks).center();
        w.DirTree_OLEDragOver(effect, 0, onTalks.x(), onTalks.y());
        QVERIFY(w.tmrMP3->isActive());
        QCOMPARE(w.tmrMP3->interval(), 400);
        QVERIFY(!talks->isExpanded());
        w.tmrMP3_Timer();
        QVERIFY(talks->isExpanded());
        QVERIFY(!w.tmrMP3->isActive());
        QCOMPARE(talks->icon(0).cacheKey() != 0, true);

        // Off the nodes: the highlight clears, the timer still arms, and the
        // node last hovered is the one expanded.
        talks->setExpanded(false);
        const QPoint below(onTalks.x(), w.DirTree->viewport()->height() - 2);
        QVERIFY(!w.DirTree->itemAt(below));
        w.DirTree_OLEDragOver(effect, 0, below.x(), below.y());
        QCOMPARE(w.DropHighlight, nullptr);
        QVERIFY(w.tmrMP3->isActive());
        w.tmrMP3_Timer();
        QVERIFY(talks->isExpanded());

        // A mouse-up over the list forgets the node; the drag's end resets the caption.
        w.lstMP3_MouseUp();
        QCOMPARE(w.HoverNodeIndex, 0);
        QVERIFY(!w.DraggingFromList);
        w.lstMP3_OLECompleteDrag();
        QCOMPARE(w.windowTitle(), "MP3 - File Manager");

        // A tick after a reload that left fewer nodes expands nothing.
        w.HoverNodeIndex = 999;
        w.tmrMP3_Timer();
        QVERIFY(!w.tmrMP3->isActive());
    }

    void nodeIndexesFollowTheTree()
    {
        frmMP3 w;
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        QCOMPARE(w.NodeCount(), 3);
        QCOMPARE(w.NodeIndex(drive), 1);
        QCOMPARE(w.NodeIndex(drive->child(0)), 2);
        QCOMPARE(w.NodeAt(3), drive->child(1));
        QCOMPARE(w.NodeAt(0), nullptr);
        QCOMPARE(w.NodeAt(4), nullptr);
    }
};

QTEST_MAIN(TestFrmMP3Folders)
#include "tst_frmmp3folders.moc"
