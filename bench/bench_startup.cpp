// Start-up of the main window: time from the process start to the first
// paint of the window, and resident memory once it sits idle.
//
// Run through scripts/bench-startup.sh (under Xvfb). The script passes the
// moment before exec in ORVANE_BENCH_T0 (nanoseconds, CLOCK_REALTIME); without
// it the process's start time from /proc is used (10 ms resolution).
#include "Orvane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
qint64 nowRealtimeNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Milliseconds since the process started, from /proc when no T0 was passed.
double sinceStartMs(qint64 t0)
{
    if (t0 > 0)
        return (nowRealtimeNs() - t0) / 1e6;
    QFile stat("/proc/self/stat");
    QFile uptime("/proc/uptime");
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> f = stat.readAll().split(' ');
    const double startTicks = f.size() > 21 ? f.at(21).toDouble() : 0;
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / sysconf(_SC_CLK_TCK)) * 1000.0;
}

long residentKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint : public QObject {
public:
    explicit FirstPaint(qint64 t0) : m_t0(t0) {}
    double paintedMs = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paintedMs < 0) {
            // Measured once the paint has been handled and flushed.
            QTimer::singleShot(0, this, [this] { paintedMs = sinceStartMs(m_t0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 m_t0;
};
} // namespace

int main(int argc, char *argv[])
{
    const qint64 t0 = qEnvironmentVariable("ORVANE_BENCH_T0").toLongLong();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // Settings of a fresh user, so the user's own place is not touched.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

    FirstPaint probe(t0);
    Orvane window;
    window.installEventFilter(&probe);
    window.show();

    const int idleMs = qEnvironmentVariableIntValue("ORVANE_BENCH_IDLE_MS") > 0
        ? qEnvironmentVariableIntValue("ORVANE_BENCH_IDLE_MS")
        : 2000;
    QTimer::singleShot(idleMs, &app, [&] {
        std::printf("first_paint_ms %.1f\nidle_rss_kb %ld\n", probe.paintedMs, residentKb());
        std::fflush(stdout);
        QCoreApplication::exit(probe.paintedMs < 0 ? 1 : 0);
    });
    return app.exec();
}
