#include "SettingsStore.h"
#include "SystemSetups.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The settings kept on a small RAM volume for the life of the object, then
// back in the suite's own folder. The volume needs root: see isMounted().
struct SettingsOnVolume {
    QTemporaryDir tmp;
    QString home = tmp.filePath(QStringLiteral("home"));
    bool made = QDir().mkdir(home); // the mount point, before the volume
    SystemSetups::SmallVolume volume;
    QString restoreTo;
    SettingsOnVolume(int kib, const QString &suiteFolder) : volume(home, kib), restoreTo(suiteFolder)
    {
        if (volume.isMounted())
            QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home);
    }
    ~SettingsOnVolume() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, restoreTo); }
};
} // namespace

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

    // The store is written behind QSettings' back, and QSettings keeps what
    // it read of each file: every save must be seen by the next read, also
    // when saves of the same length follow each other within a millisecond.
    void everySaveIsSeenByTheNextRead()
    {
        // In memory, where a save takes well under a millisecond.
        SettingsOnVolume on(1024, m_dir.path());
        if (!on.volume.isMounted())
            QSKIP(qPrintable(on.volume.why()));
        QStringList missed;
        for (int i = 0; i < 200; ++i) {
            const QString value = QString::number(1000 + i);
            if (!SaveSetting("Seen", "Orvane", "MAINTOP", value) || GetSetting("Seen", "Orvane", "MAINTOP") != value)
                missed.append(value);
        }
        DeleteSetting("Seen", "Orvane", "MAINTOP");
        QCOMPARE(missed, QStringList());
        QCOMPARE(GetSetting("Seen", "Orvane", "MAINTOP", "gone"), QStringLiteral("gone"));
    }

    // Closing the window saves Top, then Left. On a full or nearly full disk
    // a save either fails and leaves the file byte for byte as it was, or
    // succeeds for real: never a reported success over a lost file, and no
    // later save finding room where an earlier one had emptied the file.
    void failedSavesLeaveTheFileAsItWas_data()
    {
        QTest::addColumn<int>("pages"); // of room left on the disk
        QTest::newRow("no room at all") << 0;
        QTest::newRow("room for a lock file") << 1;
        QTest::newRow("room for a lock file and a copy") << 2;
        QTest::newRow("room for three pages") << 3;
    }
    void failedSavesLeaveTheFileAsItWas()
    {
        QFETCH(int, pages);
        SettingsOnVolume on(32, m_dir.path());
        if (!on.volume.isMounted())
            QSKIP(qPrintable(on.volume.why()));
        QMap<QStringList, QString> expected{{{"Orvane", "MAINTOP"}, "1500"},
                                            {{"Orvane", "MAINLEFT"}, "3000"},
                                            {{"OrvaneVideo", "MAINTOP"}, "10"}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY(SaveSetting("Full", it.key().at(0), it.key().at(1), it.value()));
        const QString file = on.home + "/Full/Full.ini";
        QVERIFY2(on.volume.fill(qint64(pages) * 4096), qPrintable(on.volume.why()));

        const QList<QPair<QStringList, QString>> changes{{{"Orvane", "MAINTOP"}, "1234"},
                                                         {{"Orvane", "MAINLEFT"}, "2250"},
                                                         {{"OrvaneVideo", "MAINTOP"}, QString()}};
        int failed = 0;
        for (const auto &[where, value] : changes) {
            const QByteArray before = TestFiles::readFile(file);
            bool changed = false;
            if (value.isNull()) {
                DeleteSetting("Full", where.at(0), where.at(1));
                changed = TestFiles::readFile(file) != before;
            } else {
                changed = SaveSetting("Full", where.at(0), where.at(1), value);
            }
            if (changed) {
                expected[where] = value;
            } else {
                ++failed;
                QCOMPARE(TestFiles::readFile(file), before);
            }
            for (auto it = expected.cbegin(); it != expected.cend(); ++it)
                QCOMPARE(GetSetting("Full", it.key().at(0), it.key().at(1)), it.value());
        }
        if (pages == 0)
            QCOMPARE(failed, changes.size());
        QCOMPARE(QDir(on.home + "/Full").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Full.ini"});
    }

    // A save killed part-way (a crash, kill -9) leaves the store as it was,
    // and nothing it left is there after the next save; the work of a save
    // still running is kept.
    void killedSaveLeavesNothingAfterTheNextSave_data()
    {
        QTest::addColumn<int>("renames"); // the save is killed at this rename
        QTest::addColumn<bool>("saveWhileStopped");
        QTest::newRow("in QSettings' own write") << 1 << false;
        QTest::newRow("as the copy is read back") << 2 << false;
        QTest::newRow("as the file is replaced") << 3 << false;
        QTest::newRow("another save while it is at work") << 1 << true;
    }
    void killedSaveLeavesNothingAfterTheNextSave()
    {
        QFETCH(int, renames);
        QFETCH(bool, saveWhileStopped);
        const QString app = QStringLiteral("Killed%1%2").arg(renames).arg(saveWhileStopped);
        const QDir folder(m_dir.filePath(app));
        const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QVERIFY(SaveSetting(app, "Orvane", "MAINTOP", "1500"));
        const QByteArray old = TestFiles::readFile(folder.filePath(app + ".ini"));
        bool meanwhile = true;
        QStringList whileStopped;
        auto saveMeanwhile = [&] {
            if (!saveWhileStopped)
                return;
            meanwhile = SaveSetting(app, "Orvane", "MAINLEFT", "30");
            whileStopped = folder.entryList(all);
        };
        QString why;
        const int killed = SystemSetups::killAtCall(
            "rename", renames, [&] { return SaveSetting(app, "Orvane", "MAINTOP", "2000") ? 0 : 1; },
            saveMeanwhile, &why);
        if (killed < 0)
            QSKIP(qPrintable(why));
        QCOMPARE(killed, 1);
        QVERIFY(meanwhile);
        if (saveWhileStopped)
            QCOMPARE(whileStopped.size(), 2);
        else
            QCOMPARE(TestFiles::readFile(folder.filePath(app + ".ini")), old);
        QCOMPARE(folder.entryList(all).size(), 2);
        QCOMPARE(GetSetting(app, "Orvane", "MAINTOP"), QStringLiteral("1500"));

        QVERIFY(SaveSetting(app, "Orvane", "MAINTOP", "2500"));
        QCOMPARE(GetSetting(app, "Orvane", "MAINTOP"), QStringLiteral("2500"));
        QCOMPARE(folder.entryList(all), QStringList{app + ".ini"});
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
