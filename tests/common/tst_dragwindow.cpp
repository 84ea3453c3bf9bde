#include "DragWindow.h"
#include "ImageControl.h"

#include <QtTest>

namespace {
// A borderless window that drags from presses on its own surface.
class Borderless : public QWidget {
public:
    Borderless() : QWidget(nullptr, Qt::FramelessWindowHint) { resize(120, 80); }
    DragOutcome last = DragOutcome::None;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        ++presses;
        last = DragWindow(this, ImageControl::buttonValue(e->button()), e->globalPosition());
    }
};
} // namespace

class TestDragWindow : public QObject {
    Q_OBJECT
private slots:
    void buttons_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("drags");
        QTest::newRow("left") << Qt::LeftButton << true;
        QTest::newRow("right") << Qt::RightButton << false;
        QTest::newRow("middle") << Qt::MiddleButton << false;
    }
    void buttons()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, drags);
        Borderless w;
        w.move(100, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint start = w.pos();
        QTest::mousePress(&w, button, {}, QPoint(10, 10));
        QCOMPARE(w.presses, 1);
        QCOMPARE(w.last != DragOutcome::None, drags);
        if (drags && QGuiApplication::platformName() == QLatin1String("offscreen"))
            QCOMPARE(w.last, DragOutcome::ManualMove);
        QTest::mouseMove(&w, QPoint(40, 30));
        QTest::mouseRelease(&w, button, {}, QPoint(40, 30));
        if (w.last == DragOutcome::ManualMove)
            QCOMPARE(w.pos(), start + QPoint(30, 20));
        if (!drags)
            QCOMPARE(w.pos(), start);
    }

    void manualMoveEndsWithTheRelease()
    {
        Borderless w;
        w.move(50, 60);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(10, 10));
        if (w.last != DragOutcome::ManualMove)
            QSKIP("the window system moves the window itself here");
        QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(10, 10));
        const QPoint after = w.pos();
        QTest::mouseMove(&w, QPoint(70, 70));
        QCOMPARE(w.pos(), after);
    }

    void noWindowNoDrag() { QCOMPARE(DragWindow(nullptr, 1, QPointF()), DragOutcome::None); }
};

QTEST_MAIN(TestDragWindow)
#include "tst_dragwindow.moc"
