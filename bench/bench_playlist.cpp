// Times the playlist's bulk paths on a 32,767-entry playlist:
//  - the first load a user meets: a fresh process, the real main window, its
//    load button, the path typed into the Load dialog, from the Return key to
//    the rows painted and flushed; one process per run (this program started
//    again with --first-load), with that process's second load beside it;
//  - its reference: two bare shown list widgets filled through ReadList in a
//    fresh process (--first-bare);
//  - warm loads, many in one process: ReadList into the two bare lists, and
//    the main window from a click on its load button to the rows painted,
//    with the dialog bypassed;
//  - saving through WriteList, and adding a folder of 5,000 files through
//    the folder picker's SELECT.
// Most of what a first load costs beyond a warm one is page faults and heap
// growth, which a process pays once; so the first figure must come from
// fresh processes, and the warm one must not stand in for it.
//
//   xvfb-run -a build/bench/bench_playlist [runs]      (on an X server)
//   QT_QPA_PLATFORM=offscreen build/bench/bench_playlist [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "FileDialogControl.h"
#include "ImageControl.h"
#include "Module1.h"
#include "MsgBox.h"
#include "Orvane.h"
#include "PlaylistStore.h"
#include "dir.h"
#include "dirListBox.h"

namespace {
struct Spread {
    double median = -1, min = -1, max = -1;
};
Spread spreadOf(QList<double> times)
{
    if (times.isEmpty())
        return {};
    std::sort(times.begin(), times.end());
    const qsizetype n = times.size();
    const double median = n % 2 ? times.at(n / 2) : (times.at(n / 2 - 1) + times.at(n / 2)) / 2;
    return {median, times.front(), times.back()};
}

double medianMs(int runs, const std::function<void()> &setup, const std::function<void()> &work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer t;
        t.start();
        work();
        QCoreApplication::processEvents(); // let the shown lists lay out and paint
        times.append(t.nsecsElapsed() / 1e6);
    }
    return spreadOf(times).median;
}

// Notes when a list has been painted holding all its rows, counted from a
// clock the caller started. The time is taken from a zero timer, which runs
// once the repaint that sent the paint event has also flushed it.
class RowsPainted : public QObject {
public:
    RowsPainted(QListWidget *list, int rows) : m_list(list), m_rows(rows)
    {
        list->viewport()->installEventFilter(this);
    }
    // From now on, the first paint with every row in the list ends the count.
    void arm(const QElapsedTimer &since)
    {
        m_since = since;
        m_ms = -1;
        m_armed = true;
    }
    // Milliseconds from the clock to the rows on screen; -1 when nothing
    // was painted within limitMs.
    double wait(int limitMs)
    {
        QDeadlineTimer deadline(limitMs);
        while (m_ms < 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        m_armed = false;
        return m_ms;
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && m_armed && m_list->count() == m_rows) {
            m_armed = false;
            QTimer::singleShot(0, this, [this] { m_ms = m_since.nsecsElapsed() / 1e6; });
        }
        return false;
    }

private:
    QListWidget *m_list;
    int m_rows;
    QElapsedTimer m_since;
    double m_ms = -1;
    bool m_armed = false;
};

// The real main window at its playlist height.
struct MainWindowAtPlaylist {
    Orvane w;
    bool shown = false;
    MainWindowAtPlaylist()
    {
        w.setHeight(5640);
        w.show();
        shown = QTest::qWaitForWindowExposed(&w);
    }
    QWidget *loadButton() const { return w.controls().LOADLIST; }
    QListWidget *list() const { return w.controls().lstfavs; }
};

// Warm: the main window loads again and again in one process, the dialog
// bypassed; from the click on the load button to the rows on screen.
double warmLoadOnScreenMs(int runs, const QString &file, int entries)
{
    MainWindowAtPlaylist main;
    if (!main.shown)
        return -1;
    QWidget *spot = main.loadButton();
    RowsPainted painted(main.list(), entries);
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        main.w.playlist().clear();
        QTest::qWait(50);
        FileDialogSeam::queueAnswer(file);
        QElapsedTimer t;
        t.start();
        painted.arm(t);
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
        const double ms = painted.wait(10000);
        if (ms < 0 || main.list()->count() != entries)
            return -1;
        times.append(ms);
    }
    return spreadOf(times).median;
}

// Answers the next Load dialog as a user does: the path typed into its name
// box, a pause, then Return; `returned` starts at the Return.
void answerLoadDialog(const QString &path, QElapsedTimer &returned)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, path, &returned] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *edit = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit || !dialog->windowHandle() || !dialog->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        QTest::keyClicks(edit, path);
        // The folder and the completer fill in the background while a user types.
        QTimer::singleShot(500, dialog, [dialog, edit, &returned] {
            // A dialog that did not take the Return (or put up a message box
            // of its own) would wait forever: after a while each open dialog
            // is cancelled, and the run fails on the list left unfilled.
            auto *giveUp = new QTimer(dialog);
            QObject::connect(giveUp, &QTimer::timeout, giveUp, [] {
                if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    open->reject();
            });
            giveUp->start(5000);
            // A shown completer list takes the key first, as the keyboard would give it.
            QWidget *target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : edit;
            returned.start();
            QTest::keyClick(target, Qt::Key_Return);
        });
    });
    poll->start();
}

// One fresh process: two loads through the load button and the Load dialog,
// each from Return to the rows on screen. Prints "first_ms X" and "second_ms Y".
int firstLoadChild(const QString &file, int entries)
{
    MainWindowAtPlaylist main;
    if (!main.shown)
        return 10;
    QWidget *spot = main.loadButton();
    RowsPainted painted(main.list(), entries);
    for (const char *which : {"first_ms", "second_ms"}) {
        QElapsedTimer returned;
        answerLoadDialog(file, returned);
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
        // The dialog has closed and the list was filled before the click
        // returned; no paint has run since.
        if (!returned.isValid()) {
            std::fprintf(stderr, "the Load dialog did not take the path\n");
            return 11;
        }
        painted.arm(returned);
        const double ms = painted.wait(10000);
        if (ms < 0 || main.list()->count() != entries || !MsgBoxSeam::shown().isEmpty()) {
            std::fprintf(stderr, "the load did not reach the screen\n");
            return 12;
        }
        std::printf("%s %.2f\n", which, ms);
        QTest::qWait(100);
    }
    return 0;
}

// The reference: two bare lists, the full-path one hidden and the shown one
// the size of the main window's playlist panel, in a shown window.
struct BareLists {
    QWidget window;
    QListWidget *List1 = new QListWidget(&window);
    QListWidget *lstfavs = new QListWidget(&window);
    PlaylistStore store{List1, lstfavs};
    BareLists()
    {
        List1->hide();
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(lstfavs);
        window.resize(274, 377);
        window.show();
    }
};

// The reference in a fresh process: ReadList into two bare shown lists, from
// the call to the rows on screen. Prints "bare_ms X".
int firstBareChild(const QString &file, int entries)
{
    BareLists bare;
    if (!QTest::qWaitForWindowExposed(&bare.window))
        return 10;
    PlaylistStore &store = bare.store;
    RowsPainted painted(bare.lstfavs, entries);
    QElapsedTimer t;
    t.start();
    ReadList(store, file, true);
    painted.arm(t);
    const double ms = painted.wait(10000);
    if (ms < 0)
        return 12;
    std::printf("bare_ms %.2f\n", ms);
    return 0;
}

// Runs this program once per run in the given child mode; collects "key ms" lines.
bool inFreshProcesses(int runs, const QString &mode, const QString &file, int entries,
                      QMap<QString, QList<double>> &out)
{
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {mode, file, QString::number(entries)});
        if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::fprintf(stderr, "%s run %d failed (exit %d)\n", qPrintable(mode), i + 1, child.exitCode());
            return false;
        }
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() == 2)
                out[QString::fromLatin1(f.at(0))].append(f.at(1).toDouble());
        }
    }
    return true;
}

void printSpread(const char *what, const Spread &s)
{
    std::printf("  %-70s %7.1f ms (%.1f..%.1f)\n", what, s.median, s.min, s.max);
}
} // namespace

int main(int argc, char **argv)
{
    // As the program itself sets it, so that painting costs what it costs there.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    MsgBoxSeam::setScripted(true);
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--first-load"))
        return firstLoadChild(args.at(2), args.at(3).toInt());
    if (args.size() == 4 && args.at(1) == QLatin1String("--first-bare"))
        return firstBareChild(args.at(2), args.at(3).toInt());

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    FileDialogSeam::setScripted(true);

    QTemporaryDir tmp;
    const int entries = 32767;
    QByteArray data;
    for (int i = 0; i < entries; ++i)
        data += "/home/user/Music/Artist " + QByteArray::number(i / 150) + "/Album " + QByteArray::number(i / 12)
                + "/" + QByteArray::number(i % 12 + 1) + " - Song title number " + QByteArray::number(i) + ".mp3\r\n";
    const QString in = tmp.filePath("in.m3u"), out = tmp.filePath("out.m3u");
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.flush())
            return 1;
    }

    // Fresh processes first, while this one is still small.
    QMap<QString, QList<double>> fresh;
    if (!inFreshProcesses(runs, QStringLiteral("--first-load"), in, entries, fresh)
        || !inFreshProcesses(runs, QStringLiteral("--first-bare"), in, entries, fresh))
        return 7;

    BareLists lists;
    PlaylistStore &store = lists.store;

    const double load = medianMs(runs, [&] { store.clear(); }, [&] { ReadList(store, in, true); });
    if (store.count() != entries)
        return 2;
    const double onScreen = warmLoadOnScreenMs(runs, in, entries);
    if (onScreen < 0)
        return 6;
    const double save = medianMs(runs, [] {}, [&] { WriteList(store, out); });
    QFile written(out);
    if (!written.open(QIODevice::ReadOnly) || written.readAll() != data)
        return 3;

    const QString folder = tmp.filePath("folder");
    QDir().mkpath(folder);
    const int files = 5000;
    for (int i = 0; i < files; ++i) {
        QFile f(folder + QStringLiteral("/%1 Track %2.%3").arg(i % 7).arg(i).arg(i % 3 ? "mp3" : "WAV"));
        if (!f.open(QIODevice::WriteOnly))
            return 4;
    }
    for (int i = 0; i < 500; ++i) // files that do not match
        QFile(folder + QStringLiteral("/other %1.wma").arg(i)).open(QIODevice::WriteOnly);

    const double add = medianMs(runs, [&] { store.clear(); }, [&] {
        dir picker(store);
        picker.Dir1->setPath(folder);
        picker.Image2_Click();
    });
    if (store.count() != files || !MsgBoxSeam::shown().isEmpty())
        return 5;

    const Spread first = spreadOf(fresh.value(QStringLiteral("first_ms")));
    const Spread second = spreadOf(fresh.value(QStringLiteral("second_ms")));
    const Spread bare = spreadOf(fresh.value(QStringLiteral("bare_ms")));
    std::printf("%d entries, platform %s, %d runs per figure\n", entries, qPrintable(QGuiApplication::platformName()),
                runs);
    std::printf("What a user gets, one fresh process per run (median, min..max):\n");
    printSpread("first load, Return in the Load dialog to rows on screen", first);
    printSpread("second load in that process (replacing the list), Return to rows", second);
    printSpread("reference: first ReadList into two bare lists, call to rows on screen", bare);
    std::printf("  first load: %.2f x the reference\n", first.median / bare.median);
    std::printf("Warm: many loads in one process, dialog bypassed (median; not what a first load costs):\n");
    std::printf("  %-70s %7.1f ms, %.2f x the bare lists\n", "main window, click on the load button to rows on screen",
                onScreen, onScreen / load);
    std::printf("  %-70s %7.1f ms\n", "ReadList into two bare lists, call to one event-loop pass", load);
    std::printf("Save %d entries (WriteList), warm: %.1f ms\n", entries, save);
    std::printf("Folder add of %d files (SELECT), warm: %.1f ms\n", files, add);
    return 0;
}
