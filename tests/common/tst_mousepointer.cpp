#include <QCursor>
#include <QGuiApplication>
#include <QTest>

#include "clsMousePointer.h"

namespace {
Qt::CursorShape overrideShape()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::LastCursor; // LastCursor: no override
}

// Stands for a procedure that reads a file under the hourglass and fails.
int guardedFailure(int &pointerDuringFailure)
{
    clsMousePointer pointer;
    if (pointer.SetCursor(11))
        return -1;
    pointerDuringFailure = clsMousePointer::ScreenPointer(); // where its message shows
    return 53;
}
} // namespace

class TestMousePointer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { (void)clsMousePointer::SetScreenPointer(0); }

    void restoresEarlierPointer_data()
    {
        QTest::addColumn<int>("before");
        QTest::newRow("no override") << 0;
        QTest::newRow("cross") << 2;
        QTest::newRow("arrow and hourglass") << 13;
    }
    void restoresEarlierPointer()
    {
        QFETCH(int, before);
        QVERIFY(!clsMousePointer::SetScreenPointer(before));
        {
            clsMousePointer guard;
            QVERIFY(!guard.SetCursor(11));
            QCOMPARE(clsMousePointer::ScreenPointer(), 11);
            QCOMPARE(overrideShape(), Qt::WaitCursor);
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), before);
        if (before == 0)
            QCOMPARE(overrideShape(), Qt::LastCursor);
    }

    void firstSetCursorIsRemembered()
    {
        {
            clsMousePointer guard;
            QVERIFY(!guard.SetCursor(11));
            QVERIFY(!guard.SetCursor(0));
            QCOMPARE(clsMousePointer::ScreenPointer(), 0);
            QVERIFY(!guard.SetCursor(3));
            QCOMPARE(overrideShape(), Qt::IBeamCursor);
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), 0);
        QCOMPARE(overrideShape(), Qt::LastCursor);
    }

    void unusedGuardRestoresNothing()
    {
        QVERIFY(!clsMousePointer::SetScreenPointer(7));
        {
            clsMousePointer guard;
            QVERIFY(!clsMousePointer::SetScreenPointer(9)); // someone else changes it meanwhile
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), 9);
    }

    void guardsNest()
    {
        clsMousePointer outer;
        QVERIFY(!outer.SetCursor(11));
        {
            clsMousePointer inner;
            QVERIFY(!inner.SetCursor(12));
            QCOMPARE(clsMousePointer::ScreenPointer(), 12);
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), 11);
        QCOMPARE(overrideShape(), Qt::WaitCursor);
    }

    void outerReleaseRestoresNone()
    {
        {
            clsMousePointer outer;
            QVERIFY(!outer.SetCursor(11));
            clsMousePointer inner;
            QVERIFY(!inner.SetCursor(11));
        }
        // One setting, not a stack: nothing is left pushed.
        QCOMPARE(overrideShape(), Qt::LastCursor);
    }

    void hourglassStaysUntilProcedureIsLeft()
    {
        int during = -1;
        QCOMPARE(guardedFailure(during), 53);
        QCOMPARE(during, 11);
        QCOMPARE(clsMousePointer::ScreenPointer(), 0);
    }

    void badValues_data()
    {
        QTest::addColumn<long>("value");
        QTest::addColumn<int>("number");
        QTest::newRow("no such pointer") << 50L << 380;
        QTest::newRow("negative") << -1L << 380;
        QTest::newRow("beyond 16 bits") << 70000L << 6;
    }
    void badValues()
    {
        QFETCH(long, value);
        QFETCH(int, number);
        QVERIFY(!clsMousePointer::SetScreenPointer(2));
        {
            clsMousePointer guard;
            const Status s = guard.SetCursor(value);
            QVERIFY(s);
            QCOMPARE(s->number, number);
            QCOMPARE(clsMousePointer::ScreenPointer(), 2);
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), 2);
    }
};

QTEST_MAIN(TestMousePointer)
#include "tst_mousepointer.moc"
