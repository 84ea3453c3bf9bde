#include "SafeWrite.h"

#include "PosixFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// Where the scratch files of a save of target go: beside it, named
// prefix + stem + six letters or digits. Only the saves of the same target
// use that stem, so that a save can tell its own left-overs from anything
// else in the folder. A name too long to carry it has a stem made from a
// digest of the name instead.
struct ScratchPlace {
    QByteArray prefix; // the folder, as written before a name in it ("" for the current one)
    QByteArray stem;
    QByteArray folder() const { return prefix.isEmpty() ? QByteArray(".") : prefix; }
};

constexpr int RandomLetters = 6;
constexpr int LongestName = 255;

ScratchPlace scratchPlace(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray name = target.mid(slash + 1);
    QByteArray stem = name + ".orvane-";
    if (stem.size() + RandomLetters > LongestName)
        stem = ".orvane-" + QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(16) + '-';
    return {target.left(slash + 1), stem};
}

bool isScratchLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

QByteArray newScratchName(const ScratchPlace &place)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = place.prefix + place.stem;
    for (int i = 0; i < RandomLetters; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name;
}

bool isScratchName(const ScratchPlace &place, const char *entry)
{
    const QByteArrayView name(entry);
    if (name.size() != place.stem.size() + RandomLetters || !name.startsWith(place.stem))
        return false;
    const QByteArrayView letters = name.sliced(place.stem.size());
    return std::all_of(letters.begin(), letters.end(), isScratchLetter);
}

// A scratch file or folder is in use while the save that made it holds a
// lock on it; the lock goes with that save's process, also when it is
// killed. Where the file system has no such locks, nothing is marked, and
// nothing there is ever taken for a left-over either.
bool lockAsInUse(int fd)
{
    int r;
    while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return r == 0;
}

// Whether name still stands for what fd has open.
bool stillNamed(int fd, const QByteArray &name)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(name.constData(), &named) == 0 && open.st_dev == named.st_dev
           && open.st_ino == named.st_ino;
}

// Removes a scratch folder with the plain files of its owner's (or owner's)
// in it; a folder that holds anything else is left as it is.
void removeScratchFolder(int fd, const QByteArray &name, uid_t owner)
{
    DIR *dir = ::fdopendir(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!dir)
        return;
    QList<QByteArray> files;
    bool onlyOurs = true;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray entry(e->d_name);
        if (entry == "." || entry == "..")
            continue;
        struct stat st {};
        onlyOurs = onlyOurs && ::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
                   && S_ISREG(st.st_mode) && (st.st_uid == ::geteuid() || st.st_uid == owner);
        files.append(entry);
    }
    if (onlyOurs) {
        for (const QByteArray &file : std::as_const(files))
            ::unlinkat(::dirfd(dir), file.constData(), 0);
        ::rmdir(name.constData());
    }
    ::closedir(dir);
}

// Removes what a save of the same target, killed before it was done, left
// behind: only names of the target's own scratch pattern, plain files (or
// scratch folders) of ours (or of the target's owner, whose they were made),
// and only those no running save holds.
void removeLeftOvers(const ScratchPlace &place, uid_t owner)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(place.folder().constData())) {
        while (const dirent *e = ::readdir(dir))
            if (isScratchName(place, e->d_name))
                names.append(place.prefix + e->d_name);
        ::closedir(dir);
    }
    for (const QByteArray &name : std::as_const(names)) {
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || (st.st_uid != ::geteuid() && st.st_uid != owner))
            continue;
        const bool folder = S_ISDIR(st.st_mode);
        if (!folder && !(S_ISREG(st.st_mode) && st.st_nlink == 1))
            continue;
        constexpr int how = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        // Some file systems lock a file only for a writer.
        Fd held{folder ? ::open(name.constData(), O_RDONLY | O_DIRECTORY | how) : ::open(name.constData(), O_RDWR | how)};
        if (held.fd < 0 && !folder)
            held.fd = ::open(name.constData(), O_RDONLY | how);
        if (held.fd < 0 || !lockAsInUse(held.fd) || !stillNamed(held.fd, name))
            continue;
        if (folder)
            removeScratchFolder(held.fd, name, owner);
        else
            ::unlink(name.constData());
    }
}

// A new scratch file (or, with folder, a private folder) beside the target,
// created only if its name is free and marked as in use. -1 with *err set
// otherwise.
int createScratch(const ScratchPlace &place, bool folder, QByteArray *scratchName, int *err)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = newScratchName(place);
        Fd made;
        if (!folder)
            made.fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        else if (::mkdir(name.constData(), 0700) == 0)
            made.fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (made.fd < 0) {
            if (errno == EEXIST)
                continue;
            *err = errno;
            return -1;
        }
        // Another save that looked for left-overs may have come upon it
        // before the lock; it removes it then, and another name is taken.
        if ((!lockAsInUse(made.fd) && errno == EWOULDBLOCK) || !stillNamed(made.fd, name))
            continue;
        *scratchName = name;
        const int fd = made.fd;
        made.fd = -1;
        return fd;
    }
    *err = EEXIST;
    return -1;
}

// A file system that cannot make a file without a name says so in one of
// these ways.
bool namelessRefused(int err) { return err == EOPNOTSUPP || err == EISDIR || err == EINVAL; }

// Gives the nameless file fd a free scratch name beside the target, marked
// as in use before it appears. 0, or the errno of the link that failed:
// ENOENT or EPERM where no nameless file can be linked here (no /proc and
// no right to link by descriptor).
int linkBeside(int fd, const ScratchPlace &place, QByteArray *scratchName)
{
    lockAsInUse(fd);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = newScratchName(place);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0
            && (errno != ENOENT || ::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) != 0)) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        *scratchName = name;
        return 0;
    }
    return EEXIST;
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

// Writes bytes into the new file fd, then puts it in target's place. A
// nameless file (scratch empty) gets its scratch name only when its bytes
// are on disk, just before the rename. The scratch file is removed on any
// failure before the rename.
Status replace(Fd &file, QByteArray scratch, const ScratchPlace &place, const QByteArray &target,
               QByteArrayView bytes, const struct stat *old)
{
    if (old) {
        // The saved file stays the user's and keeps its permissions, also
        // when another user (root) saves it; where that is not allowed it
        // becomes the saver's, as any new file would.
        (void)::fchown(file.fd, old->st_uid, old->st_gid);
        (void)::fchmod(file.fd, old->st_mode & 07777);
    }
    int err = writeAll(file.fd, bytes.data(), bytes.size());
    if (err == 0 && ::fsync(file.fd) != 0)
        err = errno;
    if (err == 0 && scratch.isEmpty()) {
        err = linkBeside(file.fd, place, &scratch);
        if (err == ENOENT || err == EPERM) {
            Fd named{createScratch(place, false, &scratch, &err)};
            if (named.fd < 0)
                return failure(err);
            return replace(named, scratch, place, target, bytes, old);
        }
    }
    // The close is checked, but the scratch file stays marked as in use up
    // to the rename.
    const Fd inUse{err == 0 ? ::fcntl(file.fd, F_DUPFD_CLOEXEC, 0) : -1};
    if (err == 0)
        err = file.finish();
    if (err == 0 && ::rename(scratch.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        if (!scratch.isEmpty())
            ::unlink(scratch.constData());
        return failure(err);
    }
    if (const int e = syncFolder(place.folder()))
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

    const ScratchPlace place = scratchPlace(target);
    removeLeftOvers(place, exists ? st.st_uid : ::geteuid());

    // Where it can, the new file has no name until it is complete, so that a
    // save killed part-way leaves nothing behind.
    QByteArray scratch;
    Fd file{::open(place.folder().constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)};
    int err = file.fd < 0 ? errno : 0;
    if (file.fd < 0 && namelessRefused(err))
        file.fd = createScratch(place, false, &scratch, &err);
    if (file.fd < 0) {
        if (exists && mode == Mode::ReplaceOrInPlace && (err == EACCES || err == EPERM))
            return rewriteInPlace(fileName, target, bytes);
        return failure(err);
    }
    return replace(file, scratch, place, target, bytes, exists ? &st : nullptr);
}

WorkFolder::WorkFolder(const QString &fileName)
{
    const QByteArray target = QFile::encodeName(fileName);
    if (target.isEmpty())
        return;
    const ScratchPlace place = scratchPlace(target);
    struct stat st {};
    removeLeftOvers(place, ::stat(target.constData(), &st) == 0 ? st.st_uid : ::geteuid());
    QByteArray name;
    int err = 0;
    m_fd = createScratch(place, true, &name, &err);
    if (m_fd >= 0)
        m_path = QFile::decodeName(name);
}

WorkFolder::~WorkFolder()
{
    if (m_fd < 0)
        return;
    removeScratchFolder(m_fd, QFile::encodeName(m_path), ::geteuid());
    ::close(m_fd);
}

} // namespace SafeWrite
