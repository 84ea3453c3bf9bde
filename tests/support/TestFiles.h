#pragma once
// Small file helpers for tests: whole-file reads and writes, and ID3v1 tags
// built byte by byte as a file holds them.
#include <QByteArray>
#include <QString>

#include <memory>

namespace TestFiles {

// The file's bytes; "<unreadable>" when it cannot be opened, so a missing
// file never equals an expected content, not even an empty one.
QByteArray readFile(const QString &path);
// Writes data as the whole file; false unless all of it was written.
bool writeFile(const QString &path, const QByteArray &data);
// Adds data at the file's end; false unless all of it was written.
bool appendFile(const QString &path, const QByteArray &data);

// A tag field: text cut to width, filled up to width with `fill`.
QByteArray id3Field(const QByteArray &text, int width, char fill = ' ');
// A 128-byte ID3v1 tag: "TAG", the five fields, the genre byte.
QByteArray id3Tag(const QByteArray &title, const QByteArray &artist, const QByteArray &album,
                  const QByteArray &year, const QByteArray &comment, quint8 genre, char fill = ' ');

// A named pipe that never stays a trap: the code under test must refuse it
// without opening it. If it does open it for reading regardless (the open
// blocks until a writer comes), a watchdog writes nothing to it after
// unblockAfterMs and closes it, so the open returns at end of file, the test
// fails on its checks and the suite goes on instead of hanging.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const QString &path, int unblockAfterMs = 10000);
    ~PipeWatchdog(); // stops the watchdog and removes the pipe
    PipeWatchdog(const PipeWatchdog &) = delete;
    PipeWatchdog &operator=(const PipeWatchdog &) = delete;

    bool made() const;         // the pipe exists
    bool hadToUnblock() const; // a reader was caught blocking on it

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace TestFiles
