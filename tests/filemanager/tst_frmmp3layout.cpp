// The file manager's layout pass and splitter: first the arithmetic in twips,
// then the window's controls following it.
#include <QStatusBar>
#include <QTimer>
#include <QTest>
#include <QTreeWidget>

#include "FileManagerLayout.h"
#include "MP3ListView.h"
#include "Twips.h"
#include "frmMP3.h"

using FileManagerLayout::Places;

class TestFrmMP3Layout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        frmMP3::setDriveSource([] { return QList<DriveInfo>{}; });
    }

    void layoutPass_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QList<double>>("expected"); // split L, tree W, mp3 L, mp3 W, tree H, mp3 H, split H
        QTest::newRow("roomy") << 4800.0 << 3705.0 << 8
                               << QList<double>{3080, 3010, 3130, 1540, 2805, 2805, 2825};
        QTest::newRow("list frame exactly empty") << 3260.0 << 900.0 << 8
                                                  << QList<double>{3080, 3010, 3130, 0, 0, 0, 20};
        // Too narrow: the pass ends at the list frame's width; the splitter
        // stays at 3060 and no height changes.
        QTest::newRow("too narrow") << 3259.0 << 6000.0 << 3
                                    << QList<double>{3060, 3010, 3130, 2655, 2550, 2550, 5295};
        // Too low: the widths are set, the heights are not.
        QTest::newRow("too low") << 6000.0 << 899.0 << 5
                                 << QList<double>{3080, 3010, 3130, 2740, 2550, 2550, 5295};
    }
    void layoutPass()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(int, steps);
        QFETCH(QList<double>, expected);
        Places p;
        QCOMPARE(p.FormResize(width, height), steps);
        const QList<double> got{p.splitLeft, p.treeWidth, p.mp3Left, p.mp3Width, p.treeHeight, p.mp3Height,
                                p.splitHeight};
        QCOMPARE(got, expected);
        // What the pass never touches.
        QCOMPARE(p.treeLeft, 60.0);
        QCOMPARE(p.treeTop, 30.0);
        QCOMPARE(p.splitTop, 20.0);
        QCOMPARE(p.mp3Top, 35.0);
    }

    void splitterDrag_data()
    {
        QTest::addColumn<QList<double>>("pointer"); // positions in the window
        QTest::addColumn<double>("left");           // where the pointer let go
        QTest::newRow("free move") << QList<double>{4000} << 4000.0;
        QTest::newRow("lowest limit accepted") << QList<double>{250} << 250.0;
        QTest::newRow("below the limit ignored") << QList<double>{249} << 3080.0;
        QTest::newRow("highest limit accepted") << QList<double>{7500} << 7500.0;
        QTest::newRow("past the limit ignored") << QList<double>{7501} << 3080.0;
        QTest::newRow("stays at the last accepted") << QList<double>{5000, 100, 7900} << 5000.0;
    }
    void splitterDrag()
    {
        QFETCH(QList<double>, pointer);
        QFETCH(double, left);
        const double W = 8000;
        Places p;
        p.FormResize(W, 6000);
        const Places before = p;
        p.SplitMouseDown();
        QCOMPARE(p.splitBackColor, FileManagerLayout::AppWorkspace);
        for (double at : pointer) {
            p.SplitMouseMove(at - p.splitLeft, W);
            // Only the splitter moves while dragging.
            QCOMPARE(p.treeWidth, before.treeWidth);
            QCOMPARE(p.mp3Left, before.mp3Left);
        }
        QCOMPARE(p.splitLeft, left);
        p.SplitMouseUp(W);
        QCOMPARE(p.splitBackColor, FileManagerLayout::ButtonFace);
        QVERIFY(!p.SplitMoving);
        QCOMPARE(p.splitLeft, left + 20);
        QCOMPARE(p.treeWidth, left - 50);
        QCOMPARE(p.mp3Left, left + 70);
        QCOMPARE(p.mp3Width, W - left - 200);
        QCOMPARE(p.treeHeight, before.treeHeight);
    }

    void clicksWalkTheSplitterRight()
    {
        // A narrow window: after a few clicks the list frame's width would be
        // negative; that one assignment is skipped and the splitter still moves.
        const double W = 3500;
        Places p;
        QCOMPARE(p.FormResize(W, 3000), 8);
        QCOMPARE(p.mp3Width, 240.0);
        for (int i = 1; i <= 13; ++i) {
            p.SplitMouseDown();
            p.SplitMouseUp(W);
            QCOMPARE(p.splitLeft, 3080.0 + 20 * i);
        }
        QCOMPARE(p.mp3Width, 0.0); // the 12th click left 0; the 13th was skipped
        QCOMPARE(p.treeWidth, 3320.0 - 50);
    }

    void moveWithoutPressAndReleaseWithoutDrag()
    {
        Places p;
        p.FormResize(8000, 6000);
        p.SplitMouseMove(500, 8000);
        QCOMPARE(p.splitLeft, 3080.0);
        p.splitBackColor = FileManagerLayout::AppWorkspace;
        p.SplitMouseUp(8000);
        QCOMPARE(p.splitBackColor, FileManagerLayout::ButtonFace); // even without a drag
        QCOMPARE(p.splitLeft, 3080.0);                                // and nothing relaid
    }

    void windowFollowsTheLayout()
    {
        frmMP3 w;
        w.resize(600, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The rule counts in the outer size, frame included.
        const double W = w.WindowWidth();
        const double H = w.WindowHeight();
        QVERIFY(W > 600.0 * 15);
        QVERIFY(H > 400.0 * 15);
        QCOMPARE(w.layout.splitLeft, 3080.0);
        QCOMPARE(w.layout.mp3Width, W - 3260);
        QCOMPARE(w.picSplit->geometry(), Twips::toPixels(3080, 20, 50, H - 880));
        QCOMPARE(w.DirTree->geometry(), Twips::toPixels(60, 30, 3010, H - 900));
        QCOMPARE(w.picMP3->geometry(), Twips::toPixels(3130, 35, W - 3260, H - 900));
        QCOMPARE(w.lstMP3->geometry(), QRect(QPoint(0, 0), w.picMP3->size()));
        QCOMPARE(w.stbMp3->geometry().bottom(), w.height() - 1);
        QCOMPARE(w.stbMp3->width(), w.width());

        // Drag the splitter with the mouse: 40 pixels to the right.
        const QPoint grip(2, 50);
        QTest::mousePress(w.picSplit, Qt::LeftButton, {}, grip);
        QVERIFY(w.layout.SplitMoving);
        QTest::mouseMove(w.picSplit, grip + QPoint(40, 0));
        // The splitter's left edge goes where the pointer is.
        QCOMPARE(w.layout.splitLeft, 3080.0 + 42 * 15);
        QCOMPARE(w.DirTree->width(), Twips::toPixels(3010)); // not yet relaid
        // Over the list, the bar is still the widget on top.
        QVERIFY(w.picMP3->geometry().contains(w.picSplit->geometry().center()));
        QCOMPARE(w.childAt(w.picSplit->geometry().center()), w.picSplit);
        QTest::mouseRelease(w.picSplit, Qt::LeftButton, {}, QPoint(0, 50));
        QVERIFY(!w.layout.SplitMoving);
        QCOMPARE(w.layout.splitLeft, 3710.0 + 20);
        QCOMPARE(w.DirTree->width(), Twips::toPixels(3660));
        QCOMPARE(w.picSplit->x(), Twips::toPixels(3730));
        QCOMPARE(w.lstMP3->geometry(), QRect(QPoint(0, 0), w.picMP3->size()));

        // A resize starts again from 3060.
        w.resize(700, 450);
        QCOMPARE(w.layout.splitLeft, 3080.0);
        QCOMPARE(w.DirTree->width(), Twips::toPixels(3010));
        QCOMPARE(w.lstMP3->geometry(), QRect(QPoint(0, 0), w.picMP3->size()));
    }

    void designSizeAndCaption()
    {
        frmMP3 w;
        QCOMPARE(w.windowTitle(), "MP3 Searcher");
        QCOMPARE(w.size(), QSize(312, 213)); // 4680 x 3195 twips
        QCOMPARE(w.tmrMP3->interval(), 0);
        QVERIFY(!w.tmrMP3->isActive());
        QVERIFY(!w.DraggingFromList);
        QCOMPARE(w.HoverNodeIndex, 0);
        QCOMPARE(w.LastDropIndex, 0);
        QCOMPARE(w.picSplit->cursor().shape(), Qt::SizeHorCursor);
    }
};

QTEST_MAIN(TestFrmMP3Layout)
#include "tst_frmmp3layout.moc"
