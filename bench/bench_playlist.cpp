// Times the playlist's bulk paths: loading and saving a 32,767-entry playlist
// through ReadList/WriteList into two bare shown list widgets (the reference),
// the same load in the real main window from a click on its load button to
// the rows painted on screen, and adding a folder of 5,000 files through the
// folder picker's SELECT.
//
//   xvfb-run -a build/bench/bench_playlist [runs]      (on an X server)
//   QT_QPA_PLATFORM=offscreen build/bench/bench_playlist [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
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
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}
// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The real main window at its playlist height: a click on the load button,
// the file chosen in the dialog, until the first rows are painted and flushed.
double loadOnScreenMs(int runs, const QString &file, int entries)
{
    Orvane w;
    w.setHeight(5640);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return -1;
    QWidget *spot = w.controls().LOADLIST;
    QListWidget *list = w.controls().lstfavs;
    PaintCounter painted(list->viewport());
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        w.playlist().clear();
        QTest::qWait(50);
        painted.paints = 0;
        FileDialogSeam::queueAnswer(file);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
        while (painted.paints == 0 && t.elapsed() < 10000)
            QCoreApplication::processEvents();
        times.append(t.nsecsElapsed() / 1e6);
        if (list->count() != entries)
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    MsgBoxSeam::setScripted(true);
    FileDialogSeam::setScripted(true);
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    QWidget window;
    auto *List1 = new QListWidget(&window);
    auto *lstfavs = new QListWidget(&window);
    List1->hide();
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(lstfavs);
    window.resize(274, 377);
    window.show();
    PlaylistStore store(List1, lstfavs);

    QTemporaryDir tmp;
    const int entries = 32767;
    QByteArray data;
    for (int i = 0; i < entries; ++i)
        data += "/home/user/Music/Artist " + QByteArray::number(i / 150) + "/Album " + QByteArray::number(i / 12)
                + "/" + QByteArray::number(i % 12 + 1) + " - Song title number " + QByteArray::number(i) + ".mp3\r\n";
    const QString in = tmp.filePath("in.m3u"), out = tmp.filePath("out.m3u");
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return 1;
    }

    const double load = medianMs(runs, [&] { store.clear(); }, [&] { ReadList(store, in, true); });
    if (store.count() != entries)
        return 2;
    const double onScreen = loadOnScreenMs(runs, in, entries);
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

    std::printf("runs per figure: %d (median)\n", runs);
    std::printf("load %d entries (ReadList, clear first): %8.1f ms  (reference: two bare lists)\n", entries, load);
    std::printf("the same load in the main window, click on the load button to rows on screen (%s): %8.1f ms, "
                "%.2f x the bare lists\n",
                qPrintable(QGuiApplication::platformName()), onScreen, onScreen / load);
    std::printf("save %d entries (WriteList):             %8.1f ms\n", entries, save);
    std::printf("folder add of %d files (SELECT):          %8.1f ms\n", files, add);
    return 0;
}
