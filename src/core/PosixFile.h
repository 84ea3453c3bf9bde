#pragma once
// Plain descriptors for the code that must know exactly what the system took
// of a file (the tag save, the safe writer): every byte of a read or write,
// the fsync and the close, and the system's own reason when one fails.
#include <QString>
#include <QtGlobal>

#include "Error.h"

#include <sys/types.h>

namespace PosixFile {

// Closes the descriptor however the function that opened it ends; finish()
// closes it on purpose and says whether the system took the data.
struct Fd {
    int fd = -1;
    Fd() = default;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd();
    // 0, or the errno of a failed close.
    int finish();
};

// All n bytes from or to offset at, through EINTR and short counts; false
// with errno set otherwise (EIO where the file ends early). *done, when
// given, counts the bytes that went through, also on failure.
bool readAt(int fd, char *buf, qsizetype n, off_t at);
bool writeAt(int fd, const char *buf, qsizetype n, off_t at, qsizetype *done = nullptr);

// The system's own words for errno err ("No space left on device").
QString errorText(int err);

// The program's number for the errno of a failed read, write or open: a full
// disk (or a file-size limit) and a refused permission have their own;
// anything else is fallback.
int errorNumber(int err, int fallback = ErrorNumber::DeviceIOError);

} // namespace PosixFile
