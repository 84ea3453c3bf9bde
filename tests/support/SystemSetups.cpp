#include "SystemSetups.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace SystemSetups {

SmallVolume::SmallVolume(const QString &folder, int kib, Access access) : m_folder(folder)
{
    const QByteArray where = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0777";
    const unsigned long flags = MS_NOSUID | MS_NODEV | (access == ReadOnly ? MS_RDONLY : 0);
    if (::mount("tmpfs", where.constData(), "tmpfs", flags, options.constData()) == 0)
        m_mounted = true;
    else
        m_why = QStringLiteral("cannot mount a small file system here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
}

SmallVolume::~SmallVolume()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool SmallVolume::fill(qint64 leave)
{
    const QByteArray folder = QFile::encodeName(m_folder + QStringLiteral("/.filler"));
    if (!m_mounted || (::mkdir(folder.constData(), 0755) != 0 && errno != EEXIST)) {
        m_why = QStringLiteral("cannot make the filler's folder");
        return false;
    }
    const int fd = ::open((folder + "/zeros").constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_why = QStringLiteral("cannot create the filler: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Whole pages first, then ever smaller pieces up to the last byte.
    static const char zeros[4096] = {};
    int err = 0;
    for (size_t piece = sizeof zeros; piece > 0; piece /= 2) {
        ssize_t n = 0;
        while ((n = ::write(fd, zeros, piece)) > 0 || (n < 0 && errno == EINTR)) {
        }
        err = n == 0 ? ENOSPC : errno;
        if (err != ENOSPC)
            break;
    }
    struct stat st {};
    const bool left = err == ENOSPC && (leave == 0 || (::fstat(fd, &st) == 0 && st.st_size >= leave
                                                        && ::ftruncate(fd, st.st_size - leave) == 0));
    ::close(fd);
    if (!left) {
        m_why = err != ENOSPC
                    ? QStringLiteral("filling stopped with: %1").arg(QString::fromLocal8Bit(std::strerror(err)))
                    : QStringLiteral("cannot give back %1 bytes").arg(leave);
        return false;
    }
    return true;
}

int runAs(uid_t uid, gid_t gid, const std::function<int()> &work, QString *why)
{
    const pid_t child = ::fork();
    if (child < 0) {
        *why = QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return -1;
    }
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(126);
        ::_exit(work());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) {
        *why = QStringLiteral("the child process ended abnormally");
        return -1;
    }
    if (WEXITSTATUS(status) == 126) {
        *why = QStringLiteral("cannot change to user %1: not running as root").arg(uid);
        return -1;
    }
    return WEXITSTATUS(status);
}

int runBesideUnwritableFolder(const QString &folder, const QString &file, const std::function<int()> &work,
                              QString *why)
{
    constexpr auto readable = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                              | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    if (geteuid() == 0) {
        if (!QFile::setPermissions(folder, readable | QFileDevice::WriteOwner)
            || ::chown(QFile::encodeName(file).constData(), NobodyId, NobodyId) != 0) {
            *why = QStringLiteral("cannot hand %1 to the unprivileged user").arg(file);
            return -1;
        }
        return runAs(NobodyId, NobodyId, work, why);
    }
    if (!QFile::setPermissions(folder, readable)) {
        *why = QStringLiteral("cannot make %1 read-only").arg(folder);
        return -1;
    }
    const int result = work();
    QFile::setPermissions(folder, readable | QFileDevice::WriteOwner);
    return result;
}

int killAtCall(const QByteArray &call, int count, const std::function<int()> &work,
               const std::function<void()> &atStop, QString *why)
{
    QList<long> numbers;
    if (call == "fsync")
        numbers = {SYS_fsync, SYS_fdatasync};
    else if (call == "rename")
        numbers = {
#ifdef SYS_rename
            SYS_rename,
#endif
            SYS_renameat, SYS_renameat2};
    if (numbers.isEmpty()) {
        *why = QStringLiteral("no system call named %1").arg(QString::fromLatin1(call));
        return -1;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        *why = QStringLiteral("fork: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return -1;
    }
    if (child == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(126);
        ::raise(SIGSTOP);
        ::_exit(work());
    }
    int status = 0;
    auto next = [&] {
        while (::waitpid(child, &status, 0) < 0)
            if (errno != EINTR)
                return false;
        return WIFSTOPPED(status);
    };
    int result = -1;
    if (next() && ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) == 0) {
        int seen = 0;
        long signal = 0;
        while (::ptrace(PTRACE_SYSCALL, child, nullptr, signal) == 0 && next()) {
            signal = 0;
            if (WSTOPSIG(status) != (SIGTRAP | 0x80)) { // a signal of the child's own: passed on
                signal = WSTOPSIG(status);
                continue;
            }
            __ptrace_syscall_info info {};
            if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0)
                break;
            if (info.op == PTRACE_SYSCALL_INFO_ENTRY && numbers.contains(long(info.entry.nr)) && ++seen == count) {
                result = 1;
                break;
            }
        }
        if (result < 0 && WIFEXITED(status) && WEXITSTATUS(status) != 126)
            result = 0;
    }
    if (result == 1)
        atStop();
    ::kill(child, SIGKILL);
    while (::waitpid(child, &status, 0) >= 0 || errno == EINTR) {
        if (WIFEXITED(status) || WIFSIGNALED(status))
            break;
    }
    if (result < 0)
        *why = QStringLiteral("cannot trace a child process here");
    return result;
}

SoundServer::SoundServer(const QString &folder)
    : m_folder(folder), m_oldServer(qgetenv("PULSE_SERVER")), m_oldCookie(qgetenv("PULSE_COOKIE")),
      m_hadServer(qEnvironmentVariableIsSet("PULSE_SERVER")), m_hadCookie(qEnvironmentVariableIsSet("PULSE_COOKIE"))
{
    for (const char *sub : {"run", "home", "config", "state"})
        QDir(folder).mkpath(QString::fromLatin1(sub));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(QDir(folder).filePath("run/native")));
    // A client makes a cookie where it finds none: here, not in the user's home.
    qputenv("PULSE_COOKIE", QFile::encodeName(QDir(folder).filePath("cookie")));
}

SoundServer::~SoundServer()
{
    stop();
    if (m_hadServer)
        qputenv("PULSE_SERVER", m_oldServer);
    else
        qunsetenv("PULSE_SERVER");
    if (m_hadCookie)
        qputenv("PULSE_COOKIE", m_oldCookie);
    else
        qunsetenv("PULSE_COOKIE");
}

bool SoundServer::installed()
{
    for (const char *tool : {"pulseaudio", "pactl", "parec"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

QProcessEnvironment SoundServer::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QDir dir(m_folder);
    env.insert(QStringLiteral("HOME"), dir.filePath("home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath("config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath("run"));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir.filePath("run"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), dir.filePath("state"));
    return env;
}

bool SoundServer::start()
{
    stop();
    const QDir dir(m_folder);
    m_server.setProcessEnvironment(clientEnvironment());
    // Gone with the test, also when the test is killed.
    m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(dir.filePath("server.log"), QIODevice::Append);
    m_server.start(QStringLiteral("pulseaudio"),
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--realtime=no",
                    "--high-priority=no", "-L",
                    "module-native-protocol-unix auth-anonymous=1 socket=" + dir.filePath("run/native"), "-L",
                    "module-null-sink sink_name=orvane_test"});
    if (!m_server.waitForStarted()) {
        m_why = QStringLiteral("pulseaudio did not start: %1").arg(m_server.errorString());
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        QProcess info;
        info.setProcessEnvironment(clientEnvironment());
        info.start(QStringLiteral("pactl"), {"info"});
        if (info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0)
            return true;
        if (m_server.waitForFinished(50)) // it gave up
            break;
    }
    QFile log(dir.filePath("server.log"));
    log.open(QIODevice::ReadOnly);
    m_why = QStringLiteral("pulseaudio does not answer: %1").arg(QString::fromLocal8Bit(log.readAll().right(500)));
    return false;
}

void SoundServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

double SoundServer::listen(double level, int timeoutMs)
{
    QProcess rec;
    rec.setProcessEnvironment(clientEnvironment());
    rec.start(QStringLiteral("parec"), {"--device=orvane_test.monitor", "--raw", "--format=s16le", "--channels=1",
                                        "--rate=8000", "--latency-msec=20"});
    constexpr qsizetype window = 8000 / 4 * 2; // a quarter second of 16-bit samples
    QByteArray data;
    double loudest = -1.0;
    const QDeadlineTimer deadline(timeoutMs);
    while (loudest < level && !deadline.hasExpired() && rec.waitForReadyRead(int(deadline.remainingTime()))) {
        data += rec.readAllStandardOutput();
        for (; data.size() >= window; data.remove(0, window)) {
            const auto *samples = reinterpret_cast<const qint16 *>(data.constData());
            double sum = 0;
            for (qsizetype i = 0; i < window / 2; ++i)
                sum += double(samples[i]) * samples[i];
            loudest = std::max(loudest, std::sqrt(sum / double(window / 2)) / 32768.0);
        }
    }
    rec.kill();
    rec.waitForFinished(5000);
    return loudest;
}

// Opens the gate when its time is up, unless release() came first.
struct StalledShare::Timer {
    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
    std::thread thread;
};

StalledShare::StalledShare(const QString &folder) : m_folder(folder)
{
    QDir(folder).mkpath(QStringLiteral("source"));
    QDir(folder).mkpath(QStringLiteral("share"));
}

StalledShare::~StalledShare()
{
    release();
    if (m_mounted)
        ::umount2(QFile::encodeName(mounted()).constData(), MNT_DETACH);
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

QString StalledShare::source() const { return QDir(m_folder).filePath(QStringLiteral("source")); }
QString StalledShare::mounted() const { return QDir(m_folder).filePath(QStringLiteral("share")); }
QString StalledShare::gate() const { return QDir(m_folder).filePath(QStringLiteral("gate")); }

bool StalledShare::start()
{
#ifndef ORVANE_STALLFS
    m_why = QStringLiteral("the stalling file system was not built (scripts/deps.sh installs libfuse3-dev)");
    return false;
#else
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_why = QStringLiteral("/dev/fuse cannot be used here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat outside {};
    ::stat(QFile::encodeName(m_folder).constData(), &outside);
    m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.start(QStringLiteral(ORVANE_STALLFS), {source(), mounted(), gate()});
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_server.state() != QProcess::NotRunning) {
        struct stat inside {};
        if (::stat(QFile::encodeName(mounted()).constData(), &inside) == 0 && inside.st_dev != outside.st_dev) {
            m_mounted = true;
            return true;
        }
        m_server.waitForFinished(20);
    }
    m_why = QStringLiteral("cannot mount the stalling file system: %1")
                .arg(QString::fromLocal8Bit(m_server.readAll()).trimmed());
    return false;
#endif
}

void StalledShare::stall(int letGoAfterMs)
{
    release();
    QFile::remove(gate() + QStringLiteral(".waits"));
    QFile(gate()).open(QIODevice::WriteOnly);
    m_timer = std::make_unique<Timer>();
    Timer *timer = m_timer.get();
    const QString path = gate();
    timer->thread = std::thread([timer, path, letGoAfterMs] {
        std::unique_lock lock(timer->mutex);
        if (!timer->changed.wait_for(lock, std::chrono::milliseconds(letGoAfterMs), [timer] { return timer->cancelled; }))
            QFile::remove(path);
    });
}

void StalledShare::release()
{
    if (m_timer) {
        {
            std::lock_guard lock(m_timer->mutex);
            m_timer->cancelled = true;
        }
        m_timer->changed.notify_all();
        m_timer->thread.join();
        m_timer.reset();
    }
    QFile::remove(gate());
}

bool StalledShare::isStalled() const { return QFile::exists(gate()); }

int StalledShare::hangingReads() const
{
    QFile log(gate() + QStringLiteral(".waits"));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
}

} // namespace SystemSetups
