#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void missingKeyReadsEmpty()
    {
        QCOMPARE(GetSetting("Orvane", "Orvane", "MAINTOP"), QString());
        QVERIFY(GetSetting("Orvane", "Orvane", "MAINTOP").isEmpty());
        QCOMPARE(GetSetting("Orvane", "Nowhere", "X", "dflt"), QStringLiteral("dflt"));
    }

    void writtenValueReadsBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("number") << "2340";
        QTest::newRow("negative") << "-150";
        QTest::newRow("fraction") << "12.5";
        QTest::newRow("text with spaces") << "  a b  ";
        QTest::newRow("unicode") << QStringLiteral("播放列表");
        QTest::newRow("empty") << "";
        QTest::newRow("ini specials") << "a=b;c,[d]#e";
    }
    void writtenValueReadsBack()
    {
        QFETCH(QString, value);
        QVERIFY(SaveSetting("Orvane", "Orvane", "MAINLEFT", value));
        QCOMPARE(GetSetting("Orvane", "Orvane", "MAINLEFT", "unset"), value);
    }

    void sectionsAndApplicationsAreSeparate()
    {
        QVERIFY(SaveSetting("Orvane", "Orvane", "MAINTOP", "1"));
        QVERIFY(SaveSetting("Orvane", "OrvaneVideo", "MAINTOP", "2"));
        QVERIFY(SaveSetting("Other", "Orvane", "MAINTOP", "3"));
        QCOMPARE(GetSetting("Orvane", "Orvane", "MAINTOP"), QStringLiteral("1"));
        QCOMPARE(GetSetting("Orvane", "OrvaneVideo", "MAINTOP"), QStringLiteral("2"));
        QCOMPARE(GetSetting("Other", "Orvane", "MAINTOP"), QStringLiteral("3"));
    }

    void storedPerUserUnderTheApplicationsName()
    {
        QVERIFY(SaveSetting("Orvane", "Orvane", "MAINTOP", "300"));
        const QString file = m_dir.filePath("Orvane/Orvane.ini");
        QVERIFY2(QFile::exists(file), qPrintable(file));
        QSettings raw(file, QSettings::IniFormat);
        QCOMPARE(raw.value("Orvane/MAINTOP").toString(), QStringLiteral("300"));
    }

    void deletedKeyReadsEmptyAgain()
    {
        QVERIFY(SaveSetting("Orvane", "Orvane", "GONE", "x"));
        DeleteSetting("Orvane", "Orvane", "GONE");
        QCOMPARE(GetSetting("Orvane", "Orvane", "GONE"), QString());
    }

    void unwritableStoreIsReported()
    {
        // A store whose folder is a plain file cannot be written.
        QTemporaryDir other;
        QFile blocker(other.filePath("Blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, other.path());
        QVERIFY(!SaveSetting("Blocked", "Orvane", "MAINTOP", "1"));
        QCOMPARE(GetSetting("Blocked", "Orvane", "MAINTOP"), QString());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
