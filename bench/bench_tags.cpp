// Times the tag editor's read (GetTags) and save on big files, next to a
// plain copy of the same file on the same disk.
//
//   build/bench/bench_tags [folder]      (folder: where the test files go;
//                                         default: the current folder)
// Runs under any Qt platform; QT_QPA_PLATFORM=offscreen needs no display.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "MsgBox.h"
#include "frmEditTags.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {
double timeMs(const std::function<void()> &f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

struct Stats {
    double median, best;
};
Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front()};
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool makeFile(const QString &path, qint64 size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 131 + 7) & 0xFF);
    for (qint64 left = size; left > 0; left -= block.size())
        if (f.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return true;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MsgBoxSeam::setScripted(true);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_tags-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(base));
        return 1;
    }
    std::printf("files in %s; 5 runs each, median (best) in ms\n", qPrintable(dir.path()));
    std::printf("%-8s %14s %14s %14s %14s\n", "size", "GetTags", "save", "copy", "copy+fsync");

    frmEditTags &ed = frmEditTags::instance();
    for (const qint64 mb : {10, 100}) {
        const QString path = dir.filePath(QStringLiteral("song%1.mp3").arg(mb));
        const QString copy = dir.filePath(QStringLiteral("copy%1.mp3").arg(mb));
        if (!makeFile(path, mb << 20)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::vector<double> reads, saves, copies, synced;
        for (int run = 0; run < 5; ++run) {
            bool ok = false;
            reads.push_back(timeMs([&] { ok = ed.GetTags(path); }));
            if (!ok || !MsgBoxSeam::shown().isEmpty()) {
                std::fprintf(stderr, "GetTags failed\n");
                return 1;
            }
            // The save is timed on its own, inside the open editor. The first
            // save appends a tag; later ones rewrite it in place.
            frmEditTags::setModalHook([&](frmEditTags &w) { saves.push_back(timeMs([&] { w.Image1_Click(); })); });
            ed.StartEdit(path);
            frmEditTags::setModalHook({});
            if (!MsgBoxSeam::shown().isEmpty()) {
                std::fprintf(stderr, "save failed: %s\n", qPrintable(MsgBoxSeam::shown().first().text));
                return 1;
            }
            QFile::remove(copy);
            copies.push_back(timeMs([&] { QFile::copy(path, copy); }));
            QFile::remove(copy);
            synced.push_back(timeMs([&] {
                QFile::copy(path, copy);
                syncFile(copy);
            }));
        }
        const Stats r = stats(reads), s = stats(saves), c = stats(copies), y = stats(synced);
        std::printf("%4lld MB  %7.1f (%5.1f) %7.1f (%5.1f) %7.1f (%5.1f) %7.1f (%5.1f)\n", static_cast<long long>(mb),
                    r.median, r.best, s.median, s.best, c.median, c.best, y.median, y.best);
        QFile::remove(path);
        QFile::remove(copy);
    }
    return 0;
}
