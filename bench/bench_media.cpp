// Media control figures: start-up cost of an unopened control and time from
// a FileName write to the first audio buffer at the sink (a fakesink with
// sync=true: real time, silent); then CPU while playing a 128 kbps MP3, taken
// from the program a user runs, under Xvfb into a private PulseAudio null
// sink, against a bare playbin into the same sink, each playing alone in
// interleaved rounds (scripts/bench-cpu.sh).
// Run: build/bench/bench_media [seconds per CPU window] [cpu]
// ("cpu" measures only the playing figures).
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QProcess>
#include <QTimer>

#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "SinkProbe.h"

#include <gst/gst.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// CPU share of one core while the event loop runs for ms.
double cpuPercentOver(int ms)
{
    const double c0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(ms);
    return 100.0 * (cpuSeconds() - c0) / (double(wall.nsecsElapsed()) / 1e9);
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int playSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const bool cpuOnly = argc > 2 && QByteArray(argv[2]) == "cpu";

    // 1. An unopened control on a shown window: no GStreamer, no CPU.
    if (!cpuOnly) {
        QElapsedTimer t;
        t.start();
        QWidget window;
        auto *am1 = new MediaPlayerControl(&window);
        am1->applyDesign(MediaPlayerControl::am1Design());
        am1->setGeometry(5, 408, 225, 29);
        const double constructMs = double(t.nsecsElapsed()) / 1e6;
        window.resize(274, 376);
        window.show();
        const double idle = cpuPercentOver(2000);
        std::printf("idle control: constructed in %.2f ms, GStreamer initialised: %s, CPU over 2 s idle: %.3f%%\n",
                    constructMs, gst_is_initialized() ? "yes" : "no", idle);
    }

    QTemporaryDir dir;
    const QString mp3 = MediaFixtures::makeMp3(dir.path(), "bench.mp3", playSeconds + 3.0, 128);
    const QString wav = MediaFixtures::makeWav(dir.path(), "bench.wav", 3.0);
    if (mp3.isEmpty() || wav.isEmpty()) {
        std::fprintf(stderr, "could not make the fixtures\n");
        return 1;
    }

    // 2. FileName write to the first buffer rendered by the sink.
    if (!cpuOnly) {
        SinkProbe probe;
        MediaPlayerControl::setAudioSinkDescription(SinkProbe::sinkDescription());
        MediaPlayerControl mp;
        for (const QString &file : {mp3, wav}) {
            std::vector<double> toFirst, writeReturn;
            for (int i = 0; i < 10; ++i) {
                probe.reset();
                const auto t0 = std::chrono::steady_clock::now();
                if (mp.setFileName(file)) {
                    std::fprintf(stderr, "open failed\n");
                    return 1;
                }
                const auto t1 = std::chrono::steady_clock::now();
                while (probe.buffers() == 0)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
                toFirst.push_back(std::chrono::duration<double, std::milli>(probe.firstBufferAt() - t0).count());
                writeReturn.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                runFor(50);
            }
            std::sort(toFirst.begin(), toFirst.end());
            std::sort(writeReturn.begin(), writeReturn.end());
            std::printf("%s: FileName write returns after %.1f ms (median), first buffer at the sink after "
                        "%.1f ms median, %.1f min, %.1f max (10 opens)\n",
                        file == mp3 ? "mp3" : "wav", writeReturn[5], toFirst[5], toFirst.front(), toFirst.back());
        }
        (void)mp.CloseMedia();
    }

    // 3. CPU while playing: the program a user runs, into a real sound
    // server, against a bare playbin into the same sink (the reference,
    // decoding with the program's decoder), each alone.
    std::fflush(stdout);
    QProcess cpu;
    cpu.setProcessChannelMode(QProcess::ForwardedChannels);
    cpu.start(QStringLiteral(ORVANE_SOURCE_DIR "/scripts/bench-cpu.sh"),
              {QStringLiteral("6"), QString::number(playSeconds)});
    if (!cpu.waitForFinished(-1) || cpu.exitCode() != 0) {
        std::fprintf(stderr, "scripts/bench-cpu.sh failed\n");
        return 1;
    }
    return 0;
}
