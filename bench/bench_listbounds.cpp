// What a user waits for, and the memory the program needs, when he loads a
// playlist that no playlist can hold through the main window's Load: from
// the click on the load button until the window is his again (the rows on
// screen, or the refusal shown), each file in a fresh process of its own so
// one case's memory never hides another's. The first row, a real list of
// 32,767 entries, is what the refusals are judged against.
//
//   xvfb-run -a build/bench/bench_listbounds [runs]     (on an X server)
//   QT_QPA_PLATFORM=offscreen build/bench/bench_listbounds [runs]
//
// The lists (some 250 MB) go into a temporary folder under the current one.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "FileDialogControl.h"
#include "ImageControl.h"
#include "MsgBox.h"
#include "Orvane.h"
#include "PlaylistStore.h"

namespace {
// The process's peak resident memory so far, in KiB. VmHWM, not getrusage():
// that one keeps the parent's peak across exec.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The measuring child: the main window at its playlist height, holding a few
// rows; one click on its load button with `file` chosen in the dialog. Prints
// "ms peakBeforeKiB peakAfterKiB rows message".
int measure(int argc, char **argv)
{
    QApplication app(argc, argv);
    MsgBoxSeam::setScripted(true);
    FileDialogSeam::setScripted(true);
    QTemporaryDir config;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    Orvane w;
    w.setHeight(5640);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 2;
    w.playlist().appendMany({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, {"a.mp3", "b.mp3", "c.mp3"});
    QTest::qWait(50);
    const long before = peakKiB();
    FileDialogSeam::queueAnswer(QString::fromLocal8Bit(argv[2]));
    QWidget *spot = w.controls().LOADLIST;
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(spot, Qt::LeftButton, {}, spot->rect().center());
    QCoreApplication::processEvents(); // the lists laid out and painted
    const double ms = double(t.nsecsElapsed()) / 1e6;
    const QString message = MsgBoxSeam::shown().isEmpty() ? QStringLiteral("-")
                                                           : MsgBoxSeam::shown().first().text.section('\r', 2);
    std::printf("%.1f %ld %ld %d %s\n", ms, before, peakKiB(), w.playlist().count(), qPrintable(message));
    return 0;
}

bool writeLines(const QString &path, const QByteArray &line, qint64 count)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block;
    const qint64 perBlock = std::max<qint64>(1, (1 << 20) / line.size());
    for (qint64 i = 0; i < perBlock; ++i)
        block += line;
    for (qint64 left = count; left > 0; left -= perBlock) {
        const qint64 n = std::min(left, perBlock);
        if (f.write(block.constData(), n * line.size()) != n * line.size())
            return false;
    }
    return f.flush();
}

struct Case {
    const char *what;
    QString file;
};
} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--measure") == 0)
        return measure(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QCoreApplication app(argc, argv);

    QTemporaryDir tmp(QDir::currentPath() + "/bench_listbounds-XXXXXX");
    if (!tmp.isValid())
        return 1;
    QByteArray real;
    for (int i = 0; i < 32767; ++i)
        real += "/home/user/Music/Artist " + QByteArray::number(i / 150) + "/Album " + QByteArray::number(i / 12)
                + "/" + QByteArray::number(i % 12 + 1) + " - Song title number " + QByteArray::number(i) + ".mp3\r\n";
    const std::vector<Case> cases{{"32,767 entries (real list, loads)", tmp.filePath("real.m3u")},
                                  {"31 million one-character lines", tmp.filePath("lines.m3u")},
                                  {"60 lines of 1 MB", tmp.filePath("wide.m3u")},
                                  {"one line of 63 MB", tmp.filePath("oneline.m3u")}};
    if (!writeLines(cases[0].file, real, 1) || !writeLines(cases[1].file, "a\n", 31000000)
        || !writeLines(cases[2].file, "/" + QByteArray(1 << 20, 'x') + "\r\n", 60)
        || !writeLines(cases[3].file, "/" + QByteArray(63 << 20, 'y'), 1))
        return 1;

    std::printf("runs per figure: %d (median; one fresh process each), platform %s\n", runs,
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", "default")));
    std::printf("%-36s %12s %16s %8s  %s\n", "Load of", "click (ms)", "peak added (MB)", "rows", "message");
    for (const Case &c : cases) {
        std::vector<double> ms, added;
        QString rows, message;
        for (int i = 0; i < runs; ++i) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {"--measure", c.file});
            if (!child.waitForFinished(600000) || child.exitCode() != 0) {
                std::printf("%-36s failed: %s\n", c.what, child.readAllStandardError().constData());
                break;
            }
            const QStringList f = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(' ');
            if (f.size() < 5)
                break;
            ms.push_back(f[0].toDouble());
            added.push_back((f[2].toDouble() - f[1].toDouble()) / 1024);
            rows = f[3];
            message = f.mid(4).join(' ');
        }
        if (ms.empty())
            continue;
        std::sort(ms.begin(), ms.end());
        std::sort(added.begin(), added.end());
        std::printf("%-36s %12.1f %16.1f %8s  %s\n", c.what, ms[ms.size() / 2], added[added.size() / 2],
                    qPrintable(rows), qPrintable(message));
    }
    return 0;
}
