#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "MsgBox.h"
#include "PlaylistStore.h"
#include "add.h"

namespace {
QStringList rowsOf(const QListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows.append(list.item(i)->text());
    return rows;
}
} // namespace

class TestAdd : public QObject {
    Q_OBJECT

    QWidget *owner = nullptr;
    QListWidget *List1 = nullptr;
    QListWidget *lstfavs = nullptr;
    PlaylistStore *store = nullptr;
    add *menus = nullptr;
    QStringList getTagsCalls, startEditCalls;
    bool getTagsAnswer = true;

private Q_SLOTS:
    void initTestCase()
    {
        MsgBoxSeam::setScripted(true);
        addSeam::setScripted(true);
        add::setTagEditor({[this](const QString &p) {
                               getTagsCalls.append(p);
                               return getTagsAnswer;
                           },
                           [this](const QString &p) { startEditCalls.append(p); }});
    }
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
        getTagsCalls.clear();
        startEditCalls.clear();
        getTagsAnswer = true;
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

    void informationHandsTheFullPath_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("edits");
        QTest::newRow("tags read") << true << 1;
        QTest::newRow("tag read failed") << false << 0;
    }
    void informationHandsTheFullPath()
    {
        QFETCH(bool, readable);
        QFETCH(int, edits);
        getTagsAnswer = readable;
        QVERIFY(store->setSelectedIndex(1)); // shows "b.mp3"
        addSeam::queueChoice(QStringLiteral("information"));
        menus->popupAt(QPoint(5, 5));
        QCOMPARE(getTagsCalls, QStringList{"/m/b.mp3"});
        QCOMPARE(startEditCalls, QStringList(edits, QStringLiteral("/m/b.mp3")));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QCOMPARE(store->count(), 4);
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
        QVERIFY(getTagsCalls.isEmpty());
        QVERIFY(startEditCalls.isEmpty());
    }
};

QTEST_MAIN(TestAdd)
#include "tst_add.moc"
