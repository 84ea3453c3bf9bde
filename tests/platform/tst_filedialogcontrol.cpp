#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include "FileDialogControl.h"

class TestFileDialogControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        FileDialogSeam::setScripted(true);
        FileDialogSeam::clear();
    }

    void filterBecomesNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one pair") << QStringLiteral("Playlist(*.M3u)|*.M3u")
                                  << QStringList{QStringLiteral("Playlist(*.M3u) (*.M3u *.m3u *.M3U)")};
        QTest::newRow("two patterns") << QStringLiteral("Songs|*.mp3;*.wav")
                                      << QStringList{QStringLiteral("Songs (*.mp3 *.wav) (*.mp3 *.MP3 *.wav *.WAV)")};
        QTest::newRow("two pairs") << QStringLiteral("MP3|*.mp3|All|*.*")
                                   << QStringList{QStringLiteral("MP3 (*.mp3) (*.mp3 *.MP3)"),
                                                  QStringLiteral("All (*.*) (*.*)")};
        QTest::newRow("spaces and empty parts")
            << QStringLiteral("Media| *.mp3 ;;*.wma")
            << QStringList{QStringLiteral("Media (*.mp3 *.wma) (*.mp3 *.MP3 *.wma *.WMA)")};
        QTest::newRow("patterns in the description")
            << QStringLiteral("MP3 Playlist (*.m3u)|*.m3u")
            << QStringList{QStringLiteral("MP3 Playlist (*.m3u) (*.m3u *.M3U)")};
        QTest::newRow("description without patterns") << QStringLiteral("Lonely") << QStringList{};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void filterBecomesNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(FileDialogControl::toNameFilters(filter), expected);
    }

    // What the real dialog offers: each description with its patterns once,
    // while a file in upper case still matches.
    void dialogShowsEachPatternOnce_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("patterns in the description")
            << QStringLiteral("MP3 Playlist (*.m3u)|*.m3u") << QStringList{QStringLiteral("MP3 Playlist (*.m3u)")};
        QTest::newRow("bare descriptions")
            << QStringLiteral("Songs|*.mp3;*.wav|All|*.*")
            << QStringList{QStringLiteral("Songs (*.mp3 *.wav)"), QStringLiteral("All (*.*)")};
    }
    void dialogShowsEachPatternOnce()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("LOUD.M3U")).open(QIODevice::WriteOnly));
        FileDialogSeam::setScripted(false);
        QWidget owner;
        FileDialogControl cd(&owner);
        cd.setFilter(filter);
        cd.setFileName(dir.filePath("new.m3u"));
        QStringList offered;
        bool upperCaseMatches = false;
        const bool expectMatch = filter.contains("m3u");
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < combo->count(); ++i)
                    offered.append(combo->itemText(i));
            // The folder is read in the background; give it time, then close
            // the dialog whatever it shows.
            if (auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"))) {
                QDeadlineTimer deadline(expectMatch ? 10000 : 500);
                while (view->model()->rowCount(view->rootIndex()) == 0 && !deadline.hasExpired())
                    QTest::qWait(20);
                upperCaseMatches = view->model()->rowCount(view->rootIndex()) > 0;
            }
            dialog->reject();
        });
        cd.ShowSave();
        FileDialogSeam::setScripted(true);
        QCOMPARE(offered, shown);
        QCOMPARE(upperCaseMatches, expectMatch);
    }

    void confirmedShowSetsFileNameAndRecordsTheShow()
    {
        QWidget owner;
        FileDialogControl cd1(&owner);
        cd1.setDialogTitle(QStringLiteral("Select A Song"));
        cd1.setFilter(QStringLiteral("MP3|*.mp3"));
        FileDialogSeam::queueAnswer(QStringLiteral("/music/a.mp3"));
        cd1.ShowOpen();
        QCOMPARE(cd1.FileName(), QStringLiteral("/music/a.mp3"));
        QCOMPARE(cd1.FileTitle(), QStringLiteral("a.mp3"));
        const auto shown = FileDialogSeam::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).save, false);
        QCOMPARE(shown.at(0).title, QStringLiteral("Select A Song"));
        QCOMPARE(shown.at(0).filter, QStringLiteral("MP3|*.mp3"));
    }

    // A cancel raises nothing and leaves FileName as it was: "" when the
    // caller cleared it after its last use.
    void cancelLeavesFileNameAsItWas_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("queued"); // an explicit cancel, or an empty queue
        QTest::newRow("cleared, explicit cancel") << QString() << true;
        QTest::newRow("cleared, nothing queued") << QString() << false;
        QTest::newRow("kept name") << QStringLiteral("/music/old.mp3") << true;
    }
    void cancelLeavesFileNameAsItWas()
    {
        QFETCH(QString, before);
        QFETCH(bool, queued);
        QWidget owner;
        FileDialogControl cd(&owner);
        cd.setFileName(before);
        if (queued)
            FileDialogSeam::queueAnswer(std::nullopt);
        cd.ShowSave();
        QCOMPARE(cd.FileName(), before);
        QCOMPARE(FileDialogSeam::shown().size(), 1);
        QCOMPARE(FileDialogSeam::shown().at(0).save, true);
    }

    // The title stays until written again; flags are passed through.
    void titleAndFlagsPersistAcrossShows()
    {
        QWidget owner;
        FileDialogControl cd(&owner);
        cd.setDialogTitle(QStringLiteral("Load Playlist"));
        cd.setFlags(2054);
        FileDialogSeam::queueAnswer(QStringLiteral("/p/list.m3u"));
        FileDialogSeam::queueAnswer(std::nullopt);
        cd.ShowOpen();
        cd.setFileName(QString());
        cd.ShowOpen();
        QCOMPARE(cd.FileName(), QString());
        const auto shown = FileDialogSeam::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(1).title, QStringLiteral("Load Playlist"));
        QCOMPARE(shown.at(1).flags, 2054);
    }
};

QTEST_MAIN(TestFileDialogControl)
#include "tst_filedialogcontrol.moc"
