#include "SystemSetups.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace SystemSetups {

SmallVolume::SmallVolume(const QString &folder, int kib) : m_folder(folder)
{
    const QByteArray where = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0777";
    if (::mount("tmpfs", where.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0)
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

} // namespace SystemSetups
