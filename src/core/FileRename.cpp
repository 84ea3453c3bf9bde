#include "FileRename.h"

#include "PosixFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int FileAlreadyExists = 58;
constexpr int PathFileAccessError = 75;

Error failure(int err)
{
    int number = PathFileAccessError;
    switch (err) {
    case EEXIST:
    case ENOTEMPTY: number = FileAlreadyExists; break;
    case ENOENT: number = ErrorNumber::PathNotFound; break;
    default: number = PosixFile::errorNumber(err, PathFileAccessError); break;
    }
    return {number, PosixFile::errorText(err)};
}

// For file systems without an exclusive rename: a hard link fails on an
// existing name, so link and unlink never replace anything; where links are
// not supported either (folders, FAT), a look before the rename has to do.
int renameByHand(const char *from, const char *to)
{
    if (::link(from, to) == 0) {
        if (::unlink(from) == 0)
            return 0;
        const int err = errno;
        ::unlink(to);
        return err;
    }
    if (errno == EEXIST)
        return EEXIST;
    struct stat st;
    if (::lstat(to, &st) == 0)
        return EEXIST;
    return ::rename(from, to) == 0 ? 0 : errno;
}
} // namespace

Status renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    if (a.isEmpty() || b.isEmpty())
        return failure(ENOENT);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP)
        err = renameByHand(a.constData(), b.constData());
    if (err == 0)
        return std::nullopt;
    return failure(err);
}

Status makeFolder(const QString &path)
{
    const QByteArray p = QFile::encodeName(path);
    if (p.isEmpty())
        return failure(ENOENT);
    return ::mkdir(p.constData(), 0777) == 0 ? std::nullopt : Status(failure(errno));
}
