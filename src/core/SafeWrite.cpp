#include "SafeWrite.h"

#include "PosixFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace SafeWrite {
namespace {

constexpr int PathFileAccessError = 75;

int numberFor(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return ErrorNumber::PathNotFound;
    case EISDIR:
        return PathFileAccessError;
    default:
        return PosixFile::errorNumber(err);
    }
}

Error failure(int err)
{
    return {numberFor(err), PosixFile::errorText(err)};
}

using PosixFile::Fd;

// All n bytes at offset 0; 0, or the errno of the write that failed.
int writeAll(int fd, const char *data, qsizetype n)
{
    return PosixFile::writeAt(fd, data, n, 0) ? 0 : errno;
}

int syncAndClose(Fd &file)
{
    if (::fsync(file.fd) != 0)
        return errno;
    return file.finish();
}

// A new file beside target, created only if its name is free, with the
// permissions a new file gets (umask applied). -1 with *err set otherwise.
int createBeside(const QByteArray &target, QByteArray *tempName, int *err)
{
    QByteArray stem = target + '.';
    const qsizetype slash = target.lastIndexOf('/');
    if (target.size() - slash > 200) // keep within the longest name allowed
        stem = target.left(slash + 1) + ".save.";
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = stem;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            *tempName = name;
            return fd;
        }
        if (errno != EEXIST) {
            *err = errno;
            return -1;
        }
    }
    *err = EEXIST;
    return -1;
}

// After a rename, the folder holds the new name only once it is synced too.
// A folder that cannot be opened for it (no read permission) or a file
// system that cannot sync folders does not make the save a failure.
int syncFolder(const QByteArray &folder)
{
    Fd dir{::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd < 0)
        return 0;
    if (::fsync(dir.fd) != 0 && errno != EINVAL && errno != EROFS && errno != EOPNOTSUPP)
        return errno;
    return 0;
}

// Writes bytes into the new file fd (named temp), then puts it in target's
// place. The temporary file is removed on any failure before the rename.
Status replace(Fd &file, const QByteArray &temp, const QByteArray &target, QByteArrayView bytes,
               const struct stat *old)
{
    if (old) {
        // The saved file stays the user's and keeps its permissions, also
        // when another user (root) saves it; where that is not allowed it
        // becomes the saver's, as any new file would.
        (void)::fchown(file.fd, old->st_uid, old->st_gid);
        (void)::fchmod(file.fd, old->st_mode & 07777);
    }
    int err = writeAll(file.fd, bytes.data(), bytes.size());
    if (err == 0)
        err = syncAndClose(file);
    if (err == 0 && ::rename(temp.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        return failure(err);
    }
    const qsizetype slash = target.lastIndexOf('/');
    if (const int e = syncFolder(slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash)))
        return failure(e);
    return std::nullopt;
}

// File systems that copy on write: overwriting a block there takes a new
// one, and room for that cannot be reserved beforehand.
bool copiesOnWrite(int fd)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9123683EUL: // btrfs
    case 0x2FC12FC1UL: // ZFS
    case 0xCA451A4EUL: // bcachefs
        return true;
    default:
        return false;
    }
}

// Rewrites target where it lies. The room for the new contents is reserved
// before the first byte changes, so a full disk refuses the save with the
// old contents whole; where it cannot be reserved, the save is refused.
Status rewriteInPlace(const QString &fileName, const QByteArray &target, QByteArrayView bytes)
{
    Fd file{::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.fd < 0)
        return failure(errno);
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return failure(errno);
    if (!S_ISREG(st.st_mode))
        return Error{PathFileAccessError,
                     QStringLiteral("%1 is not a regular file").arg(QFileInfo(fileName).fileName())};
    const Error cannotReserve{
        ErrorNumber::PermissionDenied,
        QStringLiteral("%1 lies in a folder that may not be written, and this file system cannot reserve room to "
                       "rewrite it in place safely. It was left as it was.")
            .arg(QFileInfo(fileName).fileName())};
    if (copiesOnWrite(file.fd))
        return cannotReserve;
    if (!bytes.isEmpty() && ::fallocate(file.fd, FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) != 0) {
        if (errno == EOPNOTSUPP || errno == ENOSYS)
            return cannotReserve;
        return failure(errno);
    }
    int err = writeAll(file.fd, bytes.data(), bytes.size());
    if (err == 0 && ::ftruncate(file.fd, off_t(bytes.size())) != 0)
        err = errno;
    if (err == 0)
        err = syncAndClose(file);
    if (err != 0)
        return failure(err);
    return std::nullopt;
}

} // namespace

Status writeFile(const QString &fileName, QByteArrayView bytes, Mode mode)
{
    // Replace what a link points at, never the link itself.
    QString targetName = fileName;
    const QFileInfo info(fileName);
    if (info.isSymLink())
        targetName = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    const QByteArray target = QFile::encodeName(targetName);
    if (target.isEmpty())
        return failure(ENOENT);

    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return failure(errno);
    if (exists && !S_ISREG(st.st_mode))
        return Error{PathFileAccessError, QStringLiteral("%1 is not a regular file").arg(info.fileName())};
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return failure(errno);

    QByteArray temp;
    int err = 0;
    Fd file{createBeside(target, &temp, &err)};
    if (file.fd < 0) {
        if (exists && mode == Mode::ReplaceOrInPlace && (err == EACCES || err == EPERM))
            return rewriteInPlace(fileName, target, bytes);
        return failure(err);
    }
    return replace(file, temp, target, bytes, exists ? &st : nullptr);
}

} // namespace SafeWrite
