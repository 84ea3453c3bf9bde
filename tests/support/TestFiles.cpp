#include "TestFiles.h"

#include <QFile>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TestFiles {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

static bool write(const QString &path, const QByteArray &data, QIODevice::OpenMode mode)
{
    QFile f(path);
    return f.open(mode) && f.write(data) == data.size();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    return write(path, data, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool appendFile(const QString &path, const QByteArray &data) { return write(path, data, QIODevice::Append); }

QByteArray id3Field(const QByteArray &text, int width, char fill) { return text.leftJustified(width, fill, true); }

QByteArray id3Tag(const QByteArray &title, const QByteArray &artist, const QByteArray &album,
                  const QByteArray &year, const QByteArray &comment, quint8 genre, char fill)
{
    return "TAG" + id3Field(title, 30, fill) + id3Field(artist, 30, fill) + id3Field(album, 30, fill)
        + id3Field(year, 4, fill) + id3Field(comment, 30, fill) + char(genre);
}

struct PipeWatchdog::State {
    QByteArray path;
    bool made = false;
    std::atomic<bool> unblocked{false};
    std::mutex mutex;
    std::condition_variable stop;
    bool stopping = false;
    std::thread thread;
};

PipeWatchdog::PipeWatchdog(const QString &path, int unblockAfterMs)
    : m_state(std::make_unique<State>())
{
    State &st = *m_state;
    st.path = QFile::encodeName(path);
    st.made = ::mkfifo(st.path.constData(), 0644) == 0;
    if (!st.made)
        return;
    st.thread = std::thread([&st, unblockAfterMs] {
        std::unique_lock lock(st.mutex);
        if (st.stop.wait_for(lock, std::chrono::milliseconds(unblockAfterMs), [&] { return st.stopping; }))
            return;
        // Past the bound: open the writing end for as long as a reader may
        // still be blocked (a non-blocking open succeeds only when one is).
        while (!st.stopping) {
            const int fd = ::open(st.path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                st.unblocked = true;
                ::close(fd);
            }
            st.stop.wait_for(lock, std::chrono::milliseconds(50), [&] { return st.stopping; });
        }
    });
}

PipeWatchdog::~PipeWatchdog()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
    }
    m_state->stop.notify_all();
    if (m_state->thread.joinable())
        m_state->thread.join();
    if (m_state->made)
        ::unlink(m_state->path.constData());
}

bool PipeWatchdog::made() const
{
    return m_state->made;
}

bool PipeWatchdog::hadToUnblock() const
{
    return m_state->unblocked;
}

} // namespace TestFiles
