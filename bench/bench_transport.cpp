// The main window's transport as a user runs it, for measuring by hand.
//
//   bench_transport idle [seconds]    the window shown, nothing loaded
//   bench_transport play [seconds]    a generated MP3 playing in the window
//   bench_transport handlers          how long each handler holds the event loop
//
// idle and play run until killed when no seconds are given, so that
// scripts/bench-wakeups.sh can count the process's context switches. The
// audio sink is "fakesink sync=true" unless ORVANE_BENCH_SINK names another
// (e.g. "autoaudiosink"): timed like a real device, without needing one.
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "FileDialogControl.h"
#include "LabelControl.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "Orvane.h"

namespace {
template <typename F>
double msOf(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

void report(const char *what, double ms) { std::printf("%-44s %8.2f ms\n", what, ms); }

int handlers(Orvane &w, const QString &dir)
{
    const QString wav1 = MediaFixtures::makeWav(dir, QStringLiteral("one.wav"), 30);
    const QString wav2 = MediaFixtures::makeWav(dir, QStringLiteral("two.wav"), 30, 660);
    const QString mp3 = MediaFixtures::makeMp3(dir, QStringLiteral("three.mp3"), 30);
    if (wav1.isEmpty() || wav2.isEmpty() || mp3.isEmpty())
        return 1;
    w.playlist().append(wav1, QStringLiteral("one.wav"));
    w.playlist().append(wav2, QStringLiteral("two.wav"));
    w.playlist().append(mp3, QStringLiteral("three.mp3"));
    auto settle = [] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    for (int round = 0; round < 3; ++round) {
        std::printf("round %d\n", round + 1);
        report("next_Click (opens a WAV, preroll)", msOf([&] { w.next_Click(); }));
        settle();
        report("next_Click (opens a WAV, preroll)", msOf([&] { w.next_Click(); }));
        settle();
        report("next_Click (opens an MP3, preroll)", msOf([&] { w.next_Click(); }));
        settle();
        report("pause_Click (pause)", msOf([&] { w.pause_Click(); }));
        report("pause_Click (resume)", msOf([&] { w.pause_Click(); }));
        settle();
        report("stop_Click (stop and rewind)", msOf([&] { w.stop_Click(); }));
        settle();
        w.playlist().setSelectedIndex(0);
        report("am1_EndOfStream (Normal: opens the next row)", msOf([&] { w.am1_EndOfStream(0); }));
        settle();
        report("Timer4_Timer + Timer5_Timer", msOf([&] { w.Timer4_Timer(); w.Timer5_Timer(); }));
        report("Timer7_Timer (title step)", msOf([&] { w.Timer7_Timer(); }));
        report("Image4_Click (to the strip)", msOf([&] { w.Image4_Click(); }));
        report("Image4_Click (back to the player)", msOf([&] { w.Image4_Click(); }));
        settle();
    }
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("OrvaneBench"));
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("idle");
    const int seconds = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 0;

    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    const QByteArray sink = qgetenv("ORVANE_BENCH_SINK");
    MediaPlayerControl::setAudioSinkDescription(sink.isEmpty() ? QStringLiteral("fakesink sync=true")
                                                               : QString::fromLocal8Bit(sink));
    FileDialogSeam::setScripted(true);

    Orvane w;
    w.show();

    if (mode == QLatin1String("handlers"))
        return handlers(w, dir.path());

    if (mode == QLatin1String("play")) {
        const QString song = MediaFixtures::makeMp3(dir.path(), QStringLiteral("bench song.mp3"), 600);
        if (song.isEmpty())
            return 1;
        w.playlist().append(song, QStringLiteral("bench song.mp3"));
        w.playlist().setSelectedIndex(0);
        w.play_Click();
        std::printf("playing %s\n", qPrintable(song));
    }
    // ORVANE_BENCH_HEIGHT=230 measures the compact strip, where the title rests.
    const int height = qEnvironmentVariableIntValue("ORVANE_BENCH_HEIGHT");
    if (height > 0)
        w.setHeight(height);
    std::printf("ready %lld\n", static_cast<long long>(QCoreApplication::applicationPid()));
    std::fflush(stdout);
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}
