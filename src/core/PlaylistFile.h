#pragma once
// The playlist text file: one entry per line, file names in the platform's
// file-name encoding, CR LF after every line, no header. Reading is lenient
// enough to take .m3u files written by other players (comment lines, quoted
// lines, relative entries); writing goes through a temporary file that
// replaces the old one only when complete.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "Error.h"

namespace PlaylistFile {

// The most entries a playlist holds: its rows are counted in 16 bits.
constexpr int MaxEntries = 32767;
// The longest entry a line may hold, in bytes: no path is longer. A longer
// line is no song, and laying it out in the lists would freeze the window.
constexpr int MaxEntryBytes = 4096;

// What a read gives back. When the file could not be opened, or was refused
// whole (larger than MaxEntries entries, a line longer than MaxEntryBytes,
// or too many bytes), opened is false, entries is empty and error is set.
// When reading failed part-way, entries holds the complete lines read before
// the failure and error is set.
struct ReadResult {
    bool opened = false;
    QStringList entries;
    Status error;
};

// Splits file contents into entries. Every line ends at CR, LF or CR LF; a
// last line without an end counts. Blanks before an entry are skipped, a line
// wholly enclosed in double quotes loses those two quotes, lines beginning
// with "#" are skipped, and a relative entry is resolved against baseDir
// (when baseDir is not empty). A blank line gives one empty entry.
// A UTF-8 byte-order mark at the very start is ignored.
// Data of more than MaxEntries entries, or with an entry longer than
// MaxEntryBytes, gives no entries and sets *error (when error is given);
// parsing stops at the first line past either bound.
QStringList parse(QByteArrayView data, const QString &baseDir = QString(), Status *error = nullptr);

// The bytes of a playlist file for these rows: each row encoded as a file
// name, followed by CR LF.
QByteArray serialize(const QStringList &rows);

// Reads the playlist file at fileName.
ReadResult read(const QString &fileName);

// Writes rows to fileName through a temporary file in the same folder that is
// renamed over the target only when everything was written and synced; on
// any failure the old file stays as it was. Where the folder forbids new
// files but the list itself is writable, the list is rewritten in place, the
// room for it reserved first (see SafeWrite). A row
// holding a line break cannot be stored in the format and is refused before
// anything is written; a pipe or device is never written. A failure carries
// the system's reason ("No space left on device").
Status write(const QString &fileName, const QStringList &rows);

} // namespace PlaylistFile
