#pragma once
// Conditions a test cannot make with permission bits alone while the suite
// runs as root: a full disk, and a user who may not write a folder.
#include <QString>
#include <QtGlobal>
#include <functional>
#include <sys/types.h>

namespace SystemSetups {

// A small RAM-backed file system mounted on an empty folder for the life of
// the object, so that writes beyond its size fail with "No space left on
// device". Mounting needs root; without it, isMounted() is false and why()
// says what failed.
class SmallVolume {
public:
    SmallVolume(const QString &folder, int kib);
    ~SmallVolume();
    SmallVolume(const SmallVolume &) = delete;
    SmallVolume &operator=(const SmallVolume &) = delete;
    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    // Takes every free byte but `leave` with a file in the hidden folder
    // ".filler", so that any write needing more room fails while what is
    // there stays. False, with why() set, when the volume did not end up so.
    bool fill(qint64 leave = 0);

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_why;
};

// The unprivileged account the tests run work as.
constexpr uid_t NobodyId = 65534;

// Runs work in a child process that has given up root for uid/gid and
// returns the child's exit status (work's result, 0 to 125). Returns -1 with
// *why set when the child could not be started or could not change user.
int runAs(uid_t uid, gid_t gid, const std::function<int()> &work, QString *why);

// Runs work as a user who may write file but not the folder it lies in. As
// root the folder stays root's (0755) and the file is handed to NobodyId, and
// work runs in a child as that user; otherwise the folder is made read-only
// for the call. Returns work's result, or -1 with *why set.
int runBesideUnwritableFolder(const QString &folder, const QString &file, const std::function<int()> &work,
                              QString *why);

} // namespace SystemSetups
