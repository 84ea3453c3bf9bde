#include "PosixFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace PosixFile {

Fd::~Fd()
{
    if (fd >= 0)
        ::close(fd);
}

int Fd::finish()
{
    const int f = fd;
    fd = -1;
    // On Linux the descriptor is gone even after EINTR, and the data was
    // already forced out by an fsync before it.
    return ::close(f) == 0 || errno == EINTR ? 0 : errno;
}

namespace {
template <typename Io, typename Byte>
bool allAt(Io io, int fd, Byte *buf, qsizetype n, off_t at, qsizetype *done)
{
    if (done)
        *done = 0;
    while (n > 0) {
        const ssize_t count = io(fd, buf, size_t(n), at);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = EIO;
            return false;
        }
        buf += count;
        n -= count;
        at += count;
        if (done)
            *done += count;
    }
    return true;
}
} // namespace

bool readAt(int fd, char *buf, qsizetype n, off_t at) { return allAt(::pread, fd, buf, n, at, nullptr); }

bool writeAt(int fd, const char *buf, qsizetype n, off_t at, qsizetype *done)
{
    return allAt(::pwrite, fd, buf, n, at, done);
}

QString errorText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

int errorNumber(int err, int fallback)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorNumber::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return ErrorNumber::PermissionDenied;
    default:
        return fallback;
    }
}

} // namespace PosixFile
