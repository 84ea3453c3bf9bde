#include "SavedPosition.h"
#include "SettingsStore.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class TestSavedPosition : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    void store(const char *key, const QVariant &value)
    {
        if (value.isValid())
            SaveSetting(SettingsApplicationName(), "Test", key, value.toString());
        else
            DeleteSetting(SettingsApplicationName(), "Test", key);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void load_data()
    {
        // An invalid QVariant: the key was never written.
        QTest::addColumn<QVariant>("top");
        QTest::addColumn<QVariant>("left");
        QTest::addColumn<QPoint>("expected"); // pixels, from the design place (0, 0)
        QTest::newRow("both") << QVariant("300") << QVariant("450") << QPoint(30, 20);
        QTest::newRow("only top") << QVariant("300") << QVariant() << QPoint(0, 20);
        QTest::newRow("only left") << QVariant() << QVariant("450") << QPoint(30, 0);
        QTest::newRow("nothing") << QVariant() << QVariant() << QPoint(0, 0);
        QTest::newRow("empty texts") << QVariant("") << QVariant("") << QPoint(0, 0);
        QTest::newRow("top abc") << QVariant("abc") << QVariant("450") << QPoint(30, 0);
        QTest::newRow("left abc") << QVariant("300") << QVariant("abc") << QPoint(0, 20);
        QTest::newRow("spaces around") << QVariant(" 150 ") << QVariant("-150") << QPoint(-10, 10);
        // A place that would leave the window's top strip off every screen:
        // the coordinate at fault keeps its design value.
        QTest::newRow("below and right of the screen") << QVariant("30000") << QVariant("45000") << QPoint(0, 0);
        QTest::newRow("beyond 16 bits") << QVariant("-900000") << QVariant("-900000") << QPoint(0, 0);
        QTest::newRow("top off, left fine") << QVariant("-900000") << QVariant("450") << QPoint(30, 0);
        QTest::newRow("left off, top fine") << QVariant("3000") << QVariant("90000") << QPoint(0, 200);
        QTest::newRow("strip just above the screen") << QVariant("-300") << QVariant("450") << QPoint(30, 0);
        QTest::newRow("strip partly on screen") << QVariant("-150") << QVariant("-9000") << QPoint(-600, -10);
        QTest::newRow("fraction") << QVariant("22.5") << QVariant("7") << QPoint(0, 2);
        QTest::newRow("absurdly far") << QVariant("1e30") << QVariant("inf") << QPoint(0, 0);
    }
    void load()
    {
        QFETCH(QVariant, top);
        QFETCH(QVariant, left);
        QFETCH(QPoint, expected);
        store(MainTopKey, top);
        store(MainLeftKey, left);
        QWidget w;
        w.resize(640, 480);
        w.move(0, 0);
        QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(QRect(0, 0, 640, 480)));
        LoadPosition(&w, "Test");
        QCOMPARE(w.pos(), expected);
    }

    void saveWritesTopAndLeftInTwips_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        QTest::newRow("on screen") << QPoint(156, 20) << "300" << "2340";
        QTest::newRow("negative") << QPoint(-10, 0) << "0" << "-150";
    }
    void saveWritesTopAndLeftInTwips()
    {
        QFETCH(QPoint, pos);
        QFETCH(QString, top);
        QFETCH(QString, left);
        QWidget w;
        w.move(pos);
        SavePosition(&w, "Saved");
        QCOMPARE(GetSetting(SettingsApplicationName(), "Saved", "MAINTOP"), top);
        QCOMPARE(GetSetting(SettingsApplicationName(), "Saved", "MAINLEFT"), left);
        // And back.
        QWidget again;
        LoadPosition(&again, "Saved");
        QCOMPARE(again.pos(), pos);
    }

    void positionText()
    {
        QCOMPARE(PositionToText(2340), QStringLiteral("2340"));
        QCOMPARE(PositionToText(-150), QStringLiteral("-150"));
        QCOMPARE(PositionToText(12.5), QStringLiteral("12.5"));
        double v = 0;
        QVERIFY(!PositionFromText("", &v));
        QVERIFY(!PositionFromText("abc", &v));
        QVERIFY(!PositionFromText("12abc", &v));
        QVERIFY(PositionFromText("-150", &v));
        QCOMPARE(v, -150.0);
    }
};

QTEST_MAIN(TestSavedPosition)
#include "tst_savedposition.moc"
