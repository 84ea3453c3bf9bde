// The file manager's MP3 list: path split, selection summary, sorting, views,
// renaming in place, the playlist export and the link to the tag editor.
#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QHeaderView>
#include <QTreeView>
#include <optional>
#include <unistd.h>

#include "FileDialogControl.h"
#include <QLineEdit>
#include "MP3ListView.h"
#include "MsgBox.h"
#include "PathUtil.h"
#include "PlaylistFile.h"
#include "frmEditTags.h"
#include "frmMP3.h"
#include "SystemSetups.h"
#include "TestFiles.h"

namespace {
QStringList texts(const MP3ListView &list, int column)
{
    QStringList out;
    for (int i = 1; i <= list.Count(); ++i)
        out.append(column == 0 ? list.Text(i) : list.SubItem(i, column));
    return out;
}

using TestFiles::readFile;
using TestFiles::writeFile;
} // namespace

class TestFrmMP3List : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { frmMP3::setDriveSource([] { return QList<DriveInfo>{}; }); }
    void init()
    {
        MsgBoxSeam::setScripted(true);
        MsgBoxSeam::clear();
        FileDialogSeam::setScripted(true);
        FileDialogSeam::clear();
        QLocale::setDefault(QLocale::c());
    }

    void pathSplit_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("folder");
        QTest::newRow("full path") << "/music/a.mp3" << "a.mp3" << "/music/";
        QTest::newRow("bare name") << "a.mp3" << "a.mp3" << "";
        QTest::newRow("ends in a slash") << "/music/" << "" << "/music/";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("backslash is ordinary") << "C:\\Music\\a.mp3" << "C:\\Music\\a.mp3" << "";
        QTest::newRow("root") << "/" << "" << "/";
        const QString longFolder = "/" + QString(40000, 'd') + "/";
        QTest::newRow("longer than 32767") << longFolder + "x.mp3" << "x.mp3" << longFolder;
    }
    void pathSplit()
    {
        QFETCH(QString, path);
        QFETCH(QString, song);
        QFETCH(QString, folder);
        const QString copy = path;
        QCOMPARE(frmMP3::GetSong(path), song);
        QCOMPARE(frmMP3::StripFileName(path), folder);
        QCOMPARE(path, copy);
        QCOMPARE(frmMP3::StripFileName(path) + frmMP3::GetSong(path), path);
        QCOMPARE(frmMP3::GetSong(path), StripPath(path));
    }

    void summary_data()
    {
        QTest::addColumn<QStringList>("sizes");   // "-" for an item without sub-items
        QTest::addColumn<QList<int>>("selected"); // 1-based
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("message");
        QTest::newRow("two items") << QStringList{"1500000 B", "2000000 B"} << QList<int>{1, 2} << "C"
                                   << "2 MP3(s) Selected 3.5 MB" << "";
        QTest::newRow("decimal comma") << QStringList{"1500000 B", "2000000 B"} << QList<int>{1, 2} << "de_DE"
                                       << "2 MP3(s) Selected 3,5 MB" << "";
        QTest::newRow("nothing selected") << QStringList{"1500000 B"} << QList<int>{} << "C"
                                          << "0 MP3(s) Selected 0 MB" << "";
        QTest::newRow("not rounded") << QStringList{"1234567 B"} << QList<int>{1} << "C"
                                     << "1 MP3(s) Selected 1.234567 MB" << "";
        QTest::newRow("one byte") << QStringList{"1 B"} << QList<int>{1} << "C" << "1 MP3(s) Selected 0.000001 MB"
                                  << "";
        QTest::newRow("past 32 bits") << QStringList{"4000000000 B", "4000000000 B", "4000000000 B"}
                                      << QList<int>{1, 2, 3} << "C" << "3 MP3(s) Selected 12000 MB" << "";
        QTest::newRow("bad item not selected") << QStringList{"B", "2000000 B"} << QList<int>{2} << "C"
                                               << "1 MP3(s) Selected 2 MB" << "";
        QTest::newRow("two characters only") << QStringList{"KB"} << QList<int>{1} << "C" << "" << "Type mismatch";
        QTest::newRow("one character") << QStringList{"B"} << QList<int>{1} << "C" << ""
                                       << "Invalid procedure call or argument";
        QTest::newRow("not a number") << QStringList{"12x45 B"} << QList<int>{1} << "C" << "" << "Type mismatch";
        QTest::newRow("no sub-items") << QStringList{"-"} << QList<int>{1} << "C" << "" << "Index out of bounds";
    }
    void summary()
    {
        QFETCH(QStringList, sizes);
        QFETCH(QList<int>, selected);
        QFETCH(QString, locale);
        QFETCH(QString, panel);
        QFETCH(QString, message);
        QLocale::setDefault(QLocale(locale));
        frmMP3 w;
        w.stbMp3Panel1->setText("old text");
        for (const QString &s : sizes)
            w.lstMP3->Add(s == "-" ? QStringList{"x.mp3"} : QStringList{"x.mp3", s, "today", "/m/x.mp3"});
        for (int i : selected)
            w.lstMP3->setSelected(i, true);
        MsgBoxSeam::clear(); // each selection above summarised already
        w.stbMp3Panel1->setText("old text");
        w.lstMP3_ItemClick();
        QCOMPARE(w.stbMp3Panel1->text(), panel);
        if (message.isEmpty()) {
            QCOMPARE(MsgBoxSeam::shown().size(), 0);
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QCOMPARE(MsgBoxSeam::shown().at(0).text, message);
            QCOMPARE(MsgBoxSeam::shown().at(0).style, 0);
            QCOMPARE(MsgBoxSeam::shown().at(0).title, "Orvane");
        }
    }

    // Whatever the view, the items the user sees selected are the ones the
    // summary counts and the export writes, whether chosen by mouse or by
    // keyboard; Rename and the tag editor's link find the selected item.
    void selectionInEveryView_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("large icons") << 0;
        QTest::newRow("small icons") << 1;
        QTest::newRow("list") << 2;
        QTest::newRow("details") << 3;
    }
    void selectionInEveryView()
    {
        QFETCH(int, view);
        QTemporaryDir dir;
        frmMP3 w;
        w.resize(700, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.lstMP3->Add({"a.mp3", "1000000 B", "", "/m/a.mp3"});
        w.lstMP3->Add({"b.mp3", "500000 B", "", "/m/b.mp3"});
        w.lstMP3->Add({"c.mp3", "250000 B", "", "/m/c.mp3"});
        w.mnuViewIcon.at(view)->trigger();
        QAbstractItemView *v = w.lstMP3->activeView();
        QVERIFY(v->isVisible());
        auto click = [&](int item, Qt::KeyboardModifiers mods = {}) {
            QTest::mouseClick(v->viewport(), Qt::LeftButton, mods, w.lstMP3->itemRect(item).center());
        };
        click(1);
        QCOMPARE(w.stbMp3Panel1->text(), "1 MP3(s) Selected 1 MB");
        click(2, Qt::ControlModifier);
        QCOMPARE(w.stbMp3Panel1->text(), "2 MP3(s) Selected 1.5 MB");
        QCOMPARE(w.lstMP3->SelectedItem(), 2);

        FileDialogSeam::queueAnswer(dir.path() + "/two.m3u");
        w.mnuMakePlayList->trigger();
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(readFile(dir.path() + "/two.m3u"), QByteArray("/m/a.mp3\r\n/m/b.mp3\r\n"));

        // The keyboard: a click, then Shift with the arrow that walks to the
        // next item in this view; Ctrl+A; "Select All" from the menu.
        click(1);
        const Qt::Key next = view == MP3ListView::ViewList || view == MP3ListView::ViewDetails ? Qt::Key_Down : Qt::Key_Right;
        QTest::keyClick(v, next, Qt::ShiftModifier);
        QCOMPARE(w.stbMp3Panel1->text(), "2 MP3(s) Selected 1.5 MB");
        click(3);
        QCOMPARE(w.stbMp3Panel1->text(), "1 MP3(s) Selected 0.25 MB");
        QTest::keyClick(v, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.stbMp3Panel1->text(), "3 MP3(s) Selected 1.75 MB");
        click(2);
        w.mnuSelectAll->trigger();
        QCOMPARE(w.stbMp3Panel1->text(), "3 MP3(s) Selected 1.75 MB");

        // A click that deselects the last one.
        click(1);
        click(1, Qt::ControlModifier);
        QCOMPARE(w.stbMp3Panel1->text(), "0 MP3(s) Selected 0 MB");
        QCOMPARE(w.lstMP3->SelectedItem(), 0);
    }

    void selectAllBeyond16Bits()
    {
        frmMP3 w;
        QList<QStringList> rows;
        for (int i = 0; i < 33000; ++i)
            rows.append({QString("s%1.mp3").arg(i), "10 B", "", QString("/m/s%1.mp3").arg(i)});
        w.lstMP3->AddMany(rows);
        w.mnuSelectAll->trigger();
        QVERIFY(w.lstMP3->Selected(1));
        QVERIFY(w.lstMP3->Selected(32768));
        QVERIFY(w.lstMP3->Selected(33000));
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        QCOMPARE(w.stbMp3Panel1->text(), "33000 MP3(s) Selected 0.33 MB");
    }

    void sorting()
    {
        frmMP3 w;
        w.lstMP3->Add({"b.mp3", "900 B", "2", "/m/b.mp3"});
        w.lstMP3->Add({"A.mp3", "10000 B", "3", "/m/A.mp3"});
        w.lstMP3->Add({"c.mp3", "80 B", "1", "/m/c.mp3"});
        w.lstMP3->setSelected(2, true); // A.mp3
        QVERIFY(!w.lstMP3->Sorted());

        // The first click flips the ascending start into descending.
        w.lstMP3_ColumnClick(1);
        QCOMPARE(texts(*w.lstMP3, 0), QStringList({"c.mp3", "b.mp3", "A.mp3"}));
        QCOMPARE(w.lstMP3->SortKey(), 0);
        QCOMPARE(w.lstMP3->SortOrder(), 1);
        w.lstMP3_ColumnClick(1);
        QCOMPARE(texts(*w.lstMP3, 0), QStringList({"A.mp3", "b.mp3", "c.mp3"}));
        // The selection moves with its item.
        QVERIFY(w.lstMP3->Selected(1));
        QVERIFY(!w.lstMP3->Selected(2));

        // Another column: the order flips again. Sizes sort by their value.
        w.lstMP3_ColumnClick(2);
        QCOMPARE(w.lstMP3->SortOrder(), 1);
        QCOMPARE(texts(*w.lstMP3, 1), QStringList({"10000 B", "900 B", "80 B"}));
        w.lstMP3_ColumnClick(2);
        QCOMPARE(texts(*w.lstMP3, 1), QStringList({"80 B", "900 B", "10000 B"}));

        w.lstMP3_ColumnClick(4);
        QCOMPARE(texts(*w.lstMP3, 3), QStringList({"/m/c.mp3", "/m/b.mp3", "/m/A.mp3"}));

        // Once sorted, a new item takes its place.
        w.lstMP3->Add({"a0.mp3", "1 B", "0", "/m/a0.mp3"});
        QCOMPARE(texts(*w.lstMP3, 3), QStringList({"/m/c.mp3", "/m/b.mp3", "/m/a0.mp3", "/m/A.mp3"}));
    }

    void views_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<int>("flow");
        QTest::newRow("large icons") << 0 << int(QListView::IconMode) << int(QListView::LeftToRight);
        QTest::newRow("small icons") << 1 << int(QListView::ListMode) << int(QListView::LeftToRight);
        QTest::newRow("list") << 2 << int(QListView::ListMode) << int(QListView::TopToBottom);
        QTest::newRow("details") << 3 << -1 << -1;
    }
    void views()
    {
        QFETCH(int, index);
        QFETCH(int, viewMode);
        QFETCH(int, flow);
        frmMP3 w;
        QCOMPARE(w.lstMP3->View(), 3);
        QVERIFY(w.mnuViewIcon.at(3)->isChecked());
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        w.lstMP3->setSelected(1, true);
        w.mnuViewIcon_Click(index);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.mnuViewIcon.at(i)->isChecked(), i == index);
        QCOMPARE(w.lstMP3->View(), index);
        QCOMPARE(w.lstMP3->Arrange(), 1);
        if (viewMode < 0) {
            QCOMPARE(w.lstMP3->activeView(), w.lstMP3->reportView());
        } else {
            auto *icons = qobject_cast<QListView *>(w.lstMP3->activeView());
            QVERIFY(icons);
            QCOMPARE(int(icons->viewMode()), viewMode);
            QCOMPARE(int(icons->flow()), flow);
            QCOMPARE(icons->resizeMode(), QListView::Adjust);
        }
        // Same items and selection in every view.
        QVERIFY(w.lstMP3->Selected(1));
        QVERIFY(w.lstMP3->activeView()->selectionModel()->isRowSelected(0, {}));
    }

    void rightClickMenu()
    {
        frmMP3 w;
        w.resize(700, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget *viewport = w.lstMP3->activeView()->viewport();
        QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(30, 30));
        QVERIFY(!w.mnuPopup->isVisible()); // an empty list shows no menu
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(30, 30));
        QVERIFY(!w.mnuPopup->isVisible()); // nor does another button
        QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(30, 30));
        QVERIFY(w.mnuPopup->isVisible());
        w.mnuPopup->hide();
        QStringList captions;
        for (QAction *a : w.mnuPopup->actions())
            captions << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(captions, QStringList({"Delete", "Rename", "Select All", "Make Play List", "-", "View"}));
        QVERIFY(!w.mnuDelete->isEnabled()); // nothing deletes a file here
    }

    void mouseOverTheListArmsTheDragFeedback()
    {
        frmMP3 w;
        w.resize(700, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.DraggingFromList);
        QTest::mouseMove(w.lstMP3->activeView()->viewport(), QPoint(40, 40));
        QTRY_VERIFY(w.DraggingFromList);
        w.HoverNodeIndex = 4;
        QTest::mouseRelease(w.lstMP3->activeView()->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
        QVERIFY(!w.DraggingFromList);
        QCOMPARE(w.HoverNodeIndex, 0);
    }

    // Rename, chosen from the list's menu with the mouse, renames the file on
    // disk; the Full Path follows. A refused or failed rename puts the old
    // name back and changes nothing on disk.
    void renameAnItemInPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");    // the item's name afterwards
        QTest::addColumn<QStringList>("disk");
        QTest::addColumn<QString>("message"); // part of the message, "" for none
        QTest::newRow("new name") << " b side.mp3 " << "b side.mp3" << QStringList{"b side.mp3", "taken.mp3"} << "";
        QTest::newRow("unchanged") << "a.mp3" << "a.mp3" << QStringList{"a.mp3", "taken.mp3"} << "";
        QTest::newRow("a name that exists")
            << "taken.mp3" << "a.mp3" << QStringList{"a.mp3", "taken.mp3"} << "Cannot rename a.mp3 to taken.mp3: File exists";
        QTest::newRow("refused name") << "why?.mp3" << "a.mp3" << QStringList{"a.mp3", "taken.mp3"}
                                      << "File names cannot be zero length";
        QTest::newRow("file gone") << "b.mp3" << "a.mp3" << QStringList{"taken.mp3"} << "No such file or directory";
    }
    void renameAnItemInPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QStringList, disk);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        QVERIFY(writeFile(folder + "a.mp3", QByteArray(1000, 'a')));
        QVERIFY(writeFile(folder + "taken.mp3", QByteArray(10, 't')));
        frmMP3 w;
        w.resize(700, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ListMP3Files(dir.path());
        QCOMPARE(w.lstMP3->Count(), 2);
        if (QTest::currentDataTag() == QByteArray("file gone"))
            QVERIFY(QFile::remove(folder + "a.mp3"));
        QWidget *viewport = w.lstMP3->activeView()->viewport();
        const QPoint at = w.lstMP3->itemRect(1).center();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseClick(viewport, Qt::RightButton, {}, at);
        QVERIFY(w.mnuPopup->isVisible());
        QTest::mouseClick(w.mnuPopup, Qt::LeftButton, {}, w.mnuPopup->actionGeometry(w.mnuRename).center());
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = w.lstMP3->activeView()->findChild<QLineEdit *>()));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!w.lstMP3->activeView()->findChild<QLineEdit *>());

        QCOMPARE(w.lstMP3->Text(1), name);
        QCOMPARE(w.lstMP3->SubItem(1, 3), folder + name);
        QCOMPARE(w.lstMP3->SubItem(1, 1), "1000 B");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), disk);
        if (message.isEmpty()) {
            QCOMPARE(MsgBoxSeam::shown().size(), 0);
            QCOMPARE(readFile(folder + name), QByteArray(1000, 'a'));
        } else {
            QCOMPARE(MsgBoxSeam::shown().size(), 1);
            QVERIFY2(MsgBoxSeam::shown().at(0).text.contains(message), qPrintable(MsgBoxSeam::shown().at(0).text));
            QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Critical));
        }
        QCOMPARE(readFile(folder + "taken.mp3"), QByteArray(10, 't'));
    }

    // "Modified" sorts by the time itself, not by its text.
    void modifiedSortsByDate()
    {
        QTemporaryDir dir;
        const QList<QPair<QString, QDateTime>> files{
            {"late.mp3", QDateTime(QDate(2026, 12, 9), QTime(10, 0))},
            {"early.mp3", QDateTime(QDate(2024, 11, 30), QTime(10, 0))},
            {"middle.mp3", QDateTime(QDate(2025, 1, 15), QTime(10, 0))},
        };
        for (const auto &[name, when] : files) {
            QFile f(dir.path() + "/" + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
        }
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        frmMP3 w;
        w.resize(900, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ListMP3Files(dir.path());
        QCOMPARE(w.lstMP3->Count(), 3);
        auto *header = static_cast<QTreeView *>(w.lstMP3->reportView())->header();
        const QPoint modified(header->sectionViewportPosition(2) + header->sectionSize(2) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, modified); // descending first
        QCOMPARE(texts(*w.lstMP3, 0), QStringList({"late.mp3", "middle.mp3", "early.mp3"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, modified);
        QCOMPARE(texts(*w.lstMP3, 0), QStringList({"early.mp3", "middle.mp3", "late.mp3"}));
    }

    void exportSelected()
    {
        QTemporaryDir dir;
        const QString target = dir.path() + "/list"; // a typed name without extension is used as typed
        frmMP3 w;
        w.lstMP3->Add({"c.mp3", "1 B", "", "/m/c.mp3"});
        w.lstMP3->Add({"a b.mp3", "1 B", "", "/m/a b.mp3"});
        w.lstMP3->Add({"skip.mp3", "1 B", "", "/m/skip.mp3"});
        w.lstMP3->Add({"ä.mp3", "1 B", "", "/m/ä.mp3"});
        w.lstMP3_ColumnClick(1);
        w.lstMP3_ColumnClick(1); // names ascending: a b, c, skip, ä
        for (int i : {4, 1, 2})
            w.lstMP3->setSelected(i, true);
        FileDialogSeam::queueAnswer(target);
        w.mnuMakePlayList_Click();

        QCOMPARE(FileDialogSeam::shown().size(), 1);
        const FileDialogSeam::Shown shown = FileDialogSeam::shown().at(0);
        QVERIFY(shown.save);
        QCOMPARE(shown.flags, 2054);
        QCOMPARE(shown.filter, "MP3 Playlist (*.m3u)|*.m3u");
        QCOMPARE(shown.title, "");
        QCOMPARE(w.cdgMP3->FileName(), "");
        QCOMPARE(MsgBoxSeam::shown().size(), 0);

        // In item order, CR LF after every line, the last one too.
        QCOMPARE(readFile(target), QByteArray("/m/a b.mp3\r\n/m/c.mp3\r\n/m/\xc3\xa4.mp3\r\n"));
        const PlaylistFile::ReadResult back = PlaylistFile::read(target);
        QVERIFY(!back.error);
        QCOMPARE(back.entries, QStringList({"/m/a b.mp3", "/m/c.mp3", "/m/ä.mp3"}));

        // An existing file is replaced.
        w.lstMP3->setSelected(1, false);
        w.lstMP3->setSelected(4, false);
        FileDialogSeam::queueAnswer(target);
        w.mnuMakePlayList_Click();
        QCOMPARE(readFile(target), QByteArray("/m/c.mp3\r\n"));
    }

    void cancelledExportWritesNothing()
    {
        QTemporaryDir dir;
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        w.lstMP3->setSelected(1, true);
        w.cdgMP3->setFileName(dir.path() + "/earlier.m3u");
        FileDialogSeam::queueAnswer(std::nullopt);
        w.mnuMakePlayList_Click();
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(MsgBoxSeam::shown().size(), 0);
        // A name left over in the dialog is not taken for a choice.
        QCOMPARE(w.cdgMP3->FileName(), "");
    }

    void cancelAfterAnExportReadsAsNoChoice()
    {
        QTemporaryDir dir;
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        w.lstMP3->setSelected(1, true);
        FileDialogSeam::queueAnswer(dir.path() + "/one.m3u");
        w.mnuMakePlayList_Click();
        QCOMPARE(w.cdgMP3->FileName(), "");
        QFile::remove(dir.path() + "/one.m3u");
        FileDialogSeam::queueAnswer(std::nullopt);
        w.mnuMakePlayList_Click();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void exportWithNothingSelected()
    {
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        w.mnuMakePlayList_Click();
        QCOMPARE(FileDialogSeam::shown().size(), 0);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Exclamation));
    }

    void exportFailures_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("target is a folder") << "folder";
        QTest::newRow("folder missing") << "missing";
        QTest::newRow("path with a line break") << "linebreak";
        QTest::newRow("full disk") << "full";
        QTest::newRow("full disk, one entry") << "filled";
    }
    void exportFailures()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        std::optional<SystemSetups::SmallVolume> volume;
        if (how == "full" || how == "filled") {
            volume.emplace(dir.path(), 16);
            if (!volume->isMounted())
                QSKIP(qPrintable(volume->why()));
        }
        const QString old = dir.path() + "/old.m3u";
        QVERIFY(writeFile(old, "/keep/me.mp3\r\n"));
        if (how == "filled")
            QVERIFY2(volume->fill(), qPrintable(volume->why()));
        QString target = old;
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "1 B", "", how == "linebreak" ? "/m/a\nb.mp3" : "/m/a.mp3"});
        if (how == "full") { // some 40 KB of paths for 16 KB of room
            QList<QStringList> rows;
            for (int i = 0; i < 400; ++i)
                rows.append({"s.mp3", "1 B", "", QString("/music/%1/song %2.mp3").arg(QString(80, 'x')).arg(i)});
            w.lstMP3->AddMany(rows);
        }
        w.lstMP3->SelectAll();
        if (how == "folder") {
            target = dir.path() + "/sub";
            QVERIFY(QDir(dir.path()).mkdir("sub"));
        } else if (how == "missing") {
            target = dir.path() + "/no/such/list.m3u";
        }
        FileDialogSeam::queueAnswer(target);
        w.mnuMakePlayList_Click();
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(MsgBoxSeam::shown().at(0).style, int(MsgBoxStyle::Critical));
        QVERIFY(!MsgBoxSeam::shown().at(0).text.isEmpty());
        if (volume)
            QCOMPARE(MsgBoxSeam::shown().at(0).text, "No space left on device");
        QCOMPARE(w.cdgMP3->FileName(), "");
        // The old file is whole, and nothing else was left behind.
        QCOMPARE(readFile(old), QByteArray("/keep/me.mp3\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"old.m3u"}));
    }

    // A list the user may write in a folder where he may create nothing is
    // saved in place. Root may write anywhere: as root the export runs in a
    // child process as nobody, on a list owned by nobody in root's folder.
    void exportIntoAWritableListInAFolderNobodyMayWrite()
    {
        QTemporaryDir dir;
        const QString target = dir.path() + "/list.m3u";
        QVERIFY(writeFile(target, "/old.mp3\r\n"));
        frmMP3 w;
        w.lstMP3->Add({"a.mp3", "1 B", "", "/m/a.mp3"});
        w.lstMP3->SelectAll();
        FileDialogSeam::queueAnswer(target);
        auto exportList = [&] {
            w.mnuMakePlayList->trigger();
            return MsgBoxSeam::shown().isEmpty() ? 0 : 1;
        };
        QString why;
        const int failed = SystemSetups::runBesideUnwritableFolder(dir.path(), target, exportList, &why);
        if (failed < 0)
            QSKIP(qPrintable(why));
        QCOMPARE(failed, 0);
        QCOMPARE(readFile(target), QByteArray("/m/a.mp3\r\n"));
    }

    void editSelectedTagsOpensTheEditor()
    {
        QTemporaryDir dir;
        const QString song = dir.path() + "/song.mp3";
        {
            QFile f(song);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(1000, '\x55'));
        }
        QString edited, title;
        frmEditTags::setModalHook([&](frmEditTags &ed) {
            edited = ed.editPath();
            title = ed.txtEditTags[0]->text();
        });
        frmMP3 w;
        w.EditSelectedTags(); // nothing selected: nothing happens
        QCOMPARE(edited, "");
        w.lstMP3->Add({"other.mp3", "1 B", "", dir.path() + "/other.mp3"});
        w.lstMP3->Add({"song.mp3", "1000 B", "", song});
        w.lstMP3->setSelected(2, true);
        w.EditSelectedTags();
        QCOMPARE(edited, song);
        QCOMPARE(title, "song.mp3"); // untagged: the title comes from the name
        frmEditTags::setModalHook({});
    }

    void instanceIsOneWindow()
    {
        frmMP3 &a = frmMP3::instance();
        QCOMPARE(&frmMP3::instance(), &a);
        QVERIFY(a.testAttribute(Qt::WA_DeleteOnClose));
        a.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmMP3 &b = frmMP3::instance(); // loaded afresh after closing
        QCOMPARE(b.windowTitle(), "MP3 Searcher");
        b.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void screenshot()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("Music/Rock"));
        QVERIFY(QDir(root.path()).mkpath("podcasts"));
        QVERIFY(QDir(root.path()).mkpath("VIDEOS"));
        const char *songs[] = {"Morning Light.mp3", "Harbour Lights.mp3", "Paper Planes.mp3", "Long Road Home.mp3"};
        int n = 0;
        for (const char *s : songs) {
            QFile f(root.path() + "/Music/" + s);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(3000000 + 750000 * n++, 'x'));
        }
        QTemporaryDir cd;
        QList<DriveInfo> drives;
        DriveInfo d;
        d.rootPath = root.path();
        d.label = "DATA DISK";
        d.type = DriveInfo::Fixed;
        drives << d;
        d.rootPath = cd.path();
        d.label = "audio_cd";
        d.type = DriveInfo::CdRom;
        drives << d;
        d.rootPath = "/media/usb";
        d.label.clear();
        d.device = "/dev/sdb1";
        d.type = DriveInfo::Removable;
        drives << d;
        frmMP3::setDriveSource([drives] { return drives; });
        frmMP3 w;
        frmMP3::setDriveSource([] { return QList<DriveInfo>{}; });
        w.resize(820, 360);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidgetItem *drive = w.DirTree->topLevelItem(0);
        drive->setExpanded(true);
        w.DirTree->setCurrentItem(drive->child(0));
        w.DirTree_NodeClick(drive->child(0));
        QCOMPARE(w.lstMP3->Count(), 4);
        w.lstMP3->setSelected(1, true);
        w.lstMP3->setSelected(3, true);
        w.lstMP3_ItemClick();
        QCOMPARE(w.stbMp3Panel1->text(), "2 MP3(s) Selected 6.75 MB");

        const QImage shot = w.grab().toImage();
        QVERIFY(!shot.isNull());
        // Pictures stay in the test's own folder; ORVANE_KEEP_SHOTS keeps it.
        QTemporaryDir shots;
        shots.setAutoRemove(qEnvironmentVariableIsEmpty("ORVANE_KEEP_SHOTS"));
        if (!shots.autoRemove())
            qInfo("screenshots in %s", qPrintable(shots.path()));
        const QString out = shots.path();
        QVERIFY(shot.save(out + "/frmMP3.png"));
        w.mnuViewIcon_Click(0);
        QVERIFY(w.grab().toImage().save(out + "/frmMP3-icons.png"));
        // The empty list shows the hint.
        frmMP3 empty;
        empty.resize(500, 250);
        empty.show();
        QVERIFY(QTest::qWaitForWindowExposed(&empty));
        QVERIFY(empty.grab().toImage().save(out + "/frmMP3-empty.png"));
    }
};

QTEST_MAIN(TestFrmMP3List)
#include "tst_frmmp3list.moc"
