// Times what a user waits for in the tag editor on big files: the read when
// it opens (GetTags alone, and StartEdit until the window shows) and the
// save, with the memory the process needed at its peak. Each size runs in a
// fresh process of its own, so one case's memory never hides another's.
// Beside it, in the same run and on the same file, the references it is
// judged against: `id3v2 -l` reading the tag, `id3v2 -1` writing one, `cp`
// copying the file; every figure is also given as a ratio to them.
//
//   build/bench/bench_tags [folder]      (folder: where the test files go,
//                                         in a temporary folder of their own;
//                                         default: the current folder)
// Sizes: 10 MB and 100 MB of data, and a 2 GB sparse file. Needs id3v2 on
// the PATH for its columns (they read "-" without it); a reference still
// running after a minute is stopped and shown as ">60000". Runs under any Qt
// platform; offscreen is chosen when none is set.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "MsgBox.h"
#include "frmEditTags.h"

#include <algorithm>
#include <cstdio>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int Runs = 5;
constexpr unsigned GiveUpSeconds = 60;

double timeMs(const std::function<void()> &f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The process's peak resident memory so far, in KiB (VmHWM).
long peakKiB()
{
    rusage self{};
    return ::getrusage(RUSAGE_SELF, &self) == 0 ? self.ru_maxrss : -1;
}

bool makeFile(const QString &path, qint64 size, bool sparse)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (sparse)
        return f.resize(size);
    QByteArray block(1 << 20, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 131 + 7) & 0xFF);
    for (qint64 left = size; left > 0; left -= block.size())
        if (f.write(block.constData(), std::min<qint64>(left, block.size())) < 0)
            return false;
    return f.flush() && ::fsync(f.handle()) == 0;
}

struct Run {
    bool ok = false;
    double ms = 0;   // wall time of the whole process
    long peak = 0;   // its peak resident memory, KiB
    bool killed = false; // given up after GiveUpSeconds
};

// Runs a program to its end, its output to outPath (or nowhere).
Run run(const QStringList &args, const QString &outPath = QString())
{
    std::vector<QByteArray> bytes;
    for (const QString &a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray out = outPath.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(outPath);

    Run r;
    QElapsedTimer t;
    t.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        // A reference that takes this long on a file is not waited for.
        ::alarm(GiveUpSeconds);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid < 0)
        return r;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        return r;
    r.ms = double(t.nsecsElapsed()) / 1e6;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    r.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    r.peak = usage.ru_maxrss;
    return r;
}

// A reference command run Runs times (once when it is slow or fails): the
// median time and the highest peak.
Run reference(const QStringList &args)
{
    std::vector<double> ms;
    Run all;
    all.ok = true;
    for (int i = 0; i < Runs; ++i) {
        const Run r = run(args);
        all.ok = all.ok && r.ok;
        all.killed = all.killed || r.killed;
        ms.push_back(r.ms);
        all.peak = std::max(all.peak, r.peak);
        if (!r.ok || r.ms > 5000)
            break;
    }
    all.ms = median(ms);
    return all;
}

// The measuring child: opens and saves path through the editor Runs times
// and writes "GetTags open save peakBefore peakAfter" (ms, KiB) to result.
int measure(int argc, char **argv)
{
    QApplication app(argc, argv);
    MsgBoxSeam::setScripted(true);
    const QString path = QString::fromLocal8Bit(argv[2]);
    frmEditTags &ed = frmEditTags::instance();
    const long before = peakKiB();
    std::vector<double> reads, opens, saves;
    for (int i = 0; i < Runs; ++i) {
        bool ok = false;
        reads.push_back(timeMs([&] { ok = ed.GetTags(path); }));
        if (!ok)
            return 2;
        // The open as the user sees it: StartEdit reads the file again and
        // fills the boxes; the clock stops when the window is up.
        QElapsedTimer open;
        frmEditTags::setModalHook([&](frmEditTags &w) {
            opens.push_back(double(open.nsecsElapsed()) / 1e6);
            // The first save appends a tag; later ones write over it.
            saves.push_back(timeMs([&] { w.Image1_Click(); }));
        });
        open.start();
        ed.StartEdit(path);
        frmEditTags::setModalHook({});
        if (!MsgBoxSeam::shown().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(MsgBoxSeam::shown().first().text));
            return 3;
        }
    }
    const long after = peakKiB();
    QFile result(QString::fromLocal8Bit(argv[3]));
    if (!result.open(QIODevice::WriteOnly))
        return 4;
    result.write(QStringLiteral("%1 %2 %3 %4 %5\n")
                     .arg(median(reads))
                     .arg(median(opens))
                     .arg(median(saves))
                     .arg(before)
                     .arg(after)
                     .toLatin1());
    return 0;
}

// Against a reference that was given up, ours is at most this ratio.
QString ratio(double ours, const Run &ref)
{
    if (ref.killed)
        return QStringLiteral("<") + QString::number(ours / ref.ms, 'g', 2);
    return ref.ok && ref.ms > 0 ? QString::number(ours / ref.ms, 'f', 2) : QStringLiteral("-");
}
QString ms(const Run &r)
{
    if (r.killed)
        return QStringLiteral(">%1").arg(GiveUpSeconds * 1000);
    return r.ok ? QString::number(r.ms, 'f', 1) : QStringLiteral("-");
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && qstrcmp(argv[1], "--measure") == 0)
        return measure(argc, argv);

    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_tags-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(base));
        return 1;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString id3v2 = QStandardPaths::findExecutable(QStringLiteral("id3v2"));
    std::printf("files in %s; each figure the median of %d runs, in ms; peak memory in KiB\n", qPrintable(dir.path()),
                Runs);
    std::printf("ours, each size in a fresh process: GetTags = the read; open = StartEdit until the window shows;\n"
                "save = Save clicked (the first appends, the rest overwrite); peak+ = peak memory growth over\n"
                "the process's own start (VmHWM), peak = its whole peak. References are whole processes.\n\n");
    std::printf("%-11s %8s %8s %8s %8s %8s | %9s %9s %8s %9s | %8s %8s %8s %8s\n", "file", "GetTags", "open", "save",
                "peak+", "peak", "id3v2 -l", "id3v2 -1", "cp", "id3v2 pk", "open/-l", "save/-1", "save/cp",
                "peak+/id3");

    struct Case {
        const char *name;
        qint64 size;
        bool sparse;
    };
    for (const Case &c : {Case{"10 MB", 10LL << 20, false}, Case{"100 MB", 100LL << 20, false},
                          Case{"2 GB sparse", 2LL << 30, true}}) {
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        const QString copy = dir.filePath(QStringLiteral("copy.mp3"));
        const QString result = dir.filePath(QStringLiteral("result.txt"));
        if (!makeFile(path, c.size, c.sparse)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        const Run child = run({self, QStringLiteral("--measure"), path, result}, dir.filePath(QStringLiteral("log")));
        QFile res(result);
        if (!child.ok || !res.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: the measuring process failed\n", c.name);
            return 1;
        }
        const QList<QByteArray> f = res.readAll().simplified().split(' ');
        const double read = f.value(0).toDouble(), open = f.value(1).toDouble(), save = f.value(2).toDouble();
        const long grew = f.value(4).toLong() - f.value(3).toLong();

        Run list, write;
        if (!id3v2.isEmpty()) {
            list = reference({id3v2, QStringLiteral("-l"), path});
            write = reference({id3v2, QStringLiteral("-1"), QStringLiteral("-t"), QStringLiteral("Bench"),
                               QStringLiteral("-T"), QStringLiteral("5"), path});
        }
        QFile::remove(copy);
        const Run cp = reference({QStringLiteral("cp"), path, copy});
        QFile::remove(copy);

        std::printf("%-11s %8.2f %8.2f %8.2f %8ld %8ld | %9s %9s %8s %9ld | %8s %8s %8s %8s\n", c.name, read, open,
                    save, grew, child.peak, qPrintable(ms(list)), qPrintable(ms(write)), qPrintable(ms(cp)),
                    write.peak, qPrintable(ratio(open, list)), qPrintable(ratio(save, write)),
                    qPrintable(ratio(save, cp)),
                    write.peak > 0 ? qPrintable(QString::number(double(grew) / double(write.peak), 'f', 2)) : "-");
        std::fflush(stdout);
        QFile::remove(path);
        QFile::remove(result);
    }
    return 0;
}
