#pragma once
// Conditions a test cannot make with permission bits alone while the suite
// runs as root: a full disk, a user who may not write a folder, and a sound
// server that goes away.
#include <QProcess>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <sys/types.h>

namespace SystemSetups {

// A small RAM-backed file system mounted on an empty folder for the life of
// the object, so that writes beyond its size fail with "No space left on
// device"; mounted read-only, every change in it fails with "Read-only file
// system". Mounting needs root; without it, isMounted() is false and why()
// says what failed.
class SmallVolume {
public:
    enum Access { Writable, ReadOnly };
    SmallVolume(const QString &folder, int kib, Access access = Writable);
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

// Runs work in a child process and stops it as it is about to make its
// count-th call of one system call ("fsync", "rename" for any of its
// forms); while it is stopped there, atStop runs in this process, and then
// the child is killed with SIGKILL, as a crash or kill -9 would end it.
// Returns 1 then, 0 when the child ended before it got there, and -1 with
// *why set when it could not be traced.
int killAtCall(const QByteArray &call, int count, const std::function<int()> &work,
               const std::function<void()> &atStop, QString *why);

// A PulseAudio server of the test's own, its runtime folder under folder and
// one null sink, "orvane_test". For the life of the object PULSE_SERVER and
// PULSE_COOKIE point the process at it, so every sound server client in it
// (GStreamer's pulsesink) meets this server and never the user's own.
// stop() then start() is a restart.
class SoundServer {
public:
    explicit SoundServer(const QString &folder);
    ~SoundServer();
    SoundServer(const SoundServer &) = delete;
    SoundServer &operator=(const SoundServer &) = delete;

    // pulseaudio, pactl and parec can be run.
    static bool installed();
    // Starts it and waits until it answers; false with why() otherwise.
    bool start();
    void stop();
    QString why() const { return m_why; }
    // Listens to what the null sink plays until a quarter second of it is at
    // least as loud as level (root mean square, full scale 1.0) or timeoutMs
    // have passed. Returns the loudest quarter second heard, -1 when nothing
    // could be recorded.
    double listen(double level, int timeoutMs);

private:
    QProcessEnvironment clientEnvironment() const;

    QString m_folder;
    QProcess m_server;
    QByteArray m_oldServer, m_oldCookie;
    bool m_hadServer, m_hadCookie;
    QString m_why;
};

// A share whose server stops answering: the files put into source() are
// seen under mounted(), through a file system of the test's own, and while
// it is stalled every read of a file whose name begins with "stall" hangs.
// Mounting needs /dev/fuse and the right to mount.
class StalledShare {
public:
    explicit StalledShare(const QString &folder);
    ~StalledShare(); // lets every hanging read go, then unmounts
    StalledShare(const StalledShare &) = delete;
    StalledShare &operator=(const StalledShare &) = delete;

    // Mounts it; false with why() when it cannot be mounted here.
    bool start();
    QString why() const { return m_why; }
    QString source() const;
    QString mounted() const;
    // Reads hang from now on, until release() or, at the latest, until
    // letGoAfterMs have passed: a test whose caller waits on a hanging read
    // then finds the share no longer stalled instead of hanging for good.
    void stall(int letGoAfterMs);
    void release();
    bool isStalled() const;
    // Reads that have begun to hang since stall().
    int hangingReads() const;

private:
    QString gate() const;

    QString m_folder;
    QProcess m_server;
    QString m_why;
    bool m_mounted = false;
    struct Timer;
    std::unique_ptr<Timer> m_timer;
};

} // namespace SystemSetups
