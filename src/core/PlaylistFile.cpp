#include "PlaylistFile.h"

#include "PathUtil.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace PlaylistFile {
namespace {

constexpr int PathFileAccessError = 75;

Error makeError(int number)
{
    switch (number) {
    case ErrorNumber::InvalidProcedureCall: return {number, QStringLiteral("Invalid procedure call or argument")};
    case ErrorNumber::FileNotFound: return {number, QStringLiteral("File not found")};
    case ErrorNumber::DeviceIOError: return {number, QStringLiteral("Device I/O error")};
    case ErrorNumber::DiskFull: return {number, QStringLiteral("Disk full")};
    case ErrorNumber::BadFileName: return {number, QStringLiteral("Bad file name")};
    case ErrorNumber::PermissionDenied: return {number, QStringLiteral("Permission denied")};
    case PathFileAccessError: return {number, QStringLiteral("Path/File access error")};
    case ErrorNumber::PathNotFound: return {number, QStringLiteral("Path not found")};
    default: return {number, QStringLiteral("Application-defined or object-defined error")};
    }
}

bool folderExists(const QFileInfo &info)
{
    return QFileInfo(info.absolutePath()).isDir();
}

// Whether fileName may be opened at all: only a regular file, or for a save
// a name not yet taken in an existing folder. A pipe would block the window
// in open() until some writer came, a device such as /dev/zero never ends,
// and a save would swap either for a new regular file.
bool mayOpen(const QString &fileName, bool forWriting)
{
    if (fileName.isEmpty())
        return false;
    switch (pathKind(fileName)) {
    case PathKind::RegularFile: return !forWriting || folderExists(QFileInfo(fileName));
    case PathKind::Missing: return forWriting && folderExists(QFileInfo(fileName));
    case PathKind::Folder:
    case PathKind::SpecialFile: return false;
    }
    return false;
}

// Why a file that we want to read or replace cannot be used, told from the
// file system rather than from a lost errno.
Error openFailure(const QString &fileName, bool forWriting)
{
    if (fileName.isEmpty())
        return makeError(ErrorNumber::BadFileName);
    const QFileInfo info(fileName);
    switch (pathKind(fileName)) {
    case PathKind::Folder:
        return makeError(PathFileAccessError);
    case PathKind::SpecialFile: {
        Error e = makeError(PathFileAccessError);
        if (forWriting)
            e.description = QStringLiteral("%1 is not a regular file").arg(info.fileName());
        return e;
    }
    case PathKind::Missing:
    case PathKind::RegularFile:
        break;
    }
    if (!folderExists(info))
        return makeError(ErrorNumber::PathNotFound);
    if (!forWriting && !info.exists())
        return makeError(ErrorNumber::FileNotFound);
    return makeError(ErrorNumber::PermissionDenied);
}

Error ioFailure(const QFileDevice &file)
{
    return makeError(file.error() == QFileDevice::ResourceError ? ErrorNumber::DiskFull
                                                                  : ErrorNumber::DeviceIOError);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// "scheme://..." as other players write streams and file URLs.
bool looksLikeUrl(const QString &entry)
{
    const qsizetype colon = entry.indexOf(QLatin1String("://"));
    if (colon < 2) // one letter before ":" is more likely a drive than a scheme
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = entry.at(i);
        const bool ok = c.isLetter() || (i > 0 && (c.isDigit() || c == u'+' || c == u'-' || c == u'.'));
        if (!ok || c.unicode() > 127)
            return false;
    }
    return true;
}

QString resolve(const QString &entry, const QString &baseDir)
{
    if (entry.isEmpty() || entry.startsWith(QLatin1Char('/')))
        return entry;
    // The audio CD's device name, not a file beside the list.
    if (entry.compare(QLatin1String("CDAUDIO:"), Qt::CaseInsensitive) == 0)
        return entry;
    if (looksLikeUrl(entry)) {
        const QUrl url(entry);
        if (url.isLocalFile())
            return url.toLocalFile();
        return entry;
    }
    if (baseDir.isEmpty())
        return entry;
    return QDir::cleanPath(baseDir + QLatin1Char('/') + entry);
}

// The text of one line (without its end) that becomes an entry: without the
// blanks before it and the double quotes around it. Nothing for a comment line.
bool entryText(QByteArrayView line, QByteArrayView *text)
{
    qsizetype start = 0;
    while (start < line.size() && isBlank(line.at(start)))
        ++start;
    line = line.sliced(start);
    if (line.startsWith('#'))
        return false;
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = line.sliced(1, line.size() - 2);
    *text = line;
    return true;
}

// Numbers as the messages write them: 32,767.
QString grouped(qint64 n) { return QLocale(QLocale::English).toString(n); }

Error tooManyEntries()
{
    return Error{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory: the file holds more than %1 entries, "
                                                          "the most a playlist can hold")
                                               .arg(grouped(MaxEntries))};
}

Error lineTooLong(qint64 line)
{
    return Error{ErrorNumber::BadFileName, QStringLiteral("Bad file name: line %1 is longer than %2 bytes, "
                                                          "longer than any path can be")
                                               .arg(grouped(line), grouped(MaxEntryBytes))};
}

// Parses the complete lines of data; when wholeFile is false, a last line
// without its end is left out (it may have been cut by a failed read). Stops
// at the first line past a bound, before any more entries are made: a list
// of tens of millions of short lines must cost no more than one that fits.
QStringList parseLines(QByteArrayView data, const QString &baseDir, bool wholeFile, Status *error)
{
    QStringList entries;
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype pos = 0;
    const qsizetype n = data.size();
    qint64 line = 0;
    QByteArrayView text;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && data.at(end) != '\r' && data.at(end) != '\n')
            ++end;
        ++line;
        if (end == n && !wholeFile)
            break;
        if (entryText(data.sliced(pos, end - pos), &text)) {
            Status refused;
            if (text.size() > MaxEntryBytes)
                refused = lineTooLong(line);
            else if (entries.size() == MaxEntries)
                refused = tooManyEntries();
            if (refused) {
                if (error)
                    *error = refused;
                return {};
            }
            entries.append(resolve(QFile::decodeName(text.toByteArray()), baseDir));
        }
        if (end < n && data.at(end) == '\r' && end + 1 < n && data.at(end + 1) == '\n')
            ++end;
        pos = end + 1;
    }
    return entries;
}

} // namespace

QStringList parse(QByteArrayView data, const QString &baseDir, Status *error)
{
    return parseLines(data, baseDir, true, error);
}

QByteArray serialize(const QStringList &rows)
{
    QByteArray out;
    qsizetype size = 0;
    for (const QString &row : rows)
        size += row.size() * 3 + 2;
    out.reserve(size);
    for (const QString &row : rows) {
        out += QFile::encodeName(row);
        out += "\r\n";
    }
    return out;
}

namespace {
// Far more than the longest list the window can hold (32,767 rows of long
// paths come to a few MB), far less than would make memory run short.
constexpr qint64 kMaxReadBytes = qint64(64) << 20;

Error tooLarge()
{
    return Error{ErrorNumber::OutOfMemory, QStringLiteral("Out of memory: the file is too large for a playlist")};
}
} // namespace

ReadResult read(const QString &fileName)
{
    ReadResult result;
    QFile file(fileName);
    if (!mayOpen(fileName, false) || !file.open(QIODevice::ReadOnly)) {
        result.error = openFailure(fileName, false);
        return result;
    }
    if (file.size() > kMaxReadBytes) {
        result.error = tooLarge();
        return result;
    }

    QByteArray data;
    constexpr qint64 chunk = 1 << 20;
    for (;;) {
        const qsizetype had = data.size();
        data.resize(had + chunk);
        const qint64 got = file.read(data.data() + had, chunk);
        if (got < 0) {
            data.resize(had);
            result.error = ioFailure(file);
            break;
        }
        data.resize(had + got);
        if (got == 0)
            break;
        // Still growing while we read (another program writing it): the
        // same refusal as for a file that was too large from the start.
        if (data.size() > kMaxReadBytes) {
            result.error = tooLarge();
            return result;
        }
    }
    const QString baseDir = QFileInfo(fileName).absolutePath();
    Status refused;
    result.entries = parseLines(data, baseDir, !result.error.has_value(), &refused);
    // A list that no playlist can hold is refused whole, like one too large.
    if (refused) {
        result.error = refused;
        return result;
    }
    result.opened = true;
    return result;
}

Status write(const QString &fileName, const QStringList &rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).contains(QLatin1Char('\n')) || rows.at(i).contains(QLatin1Char('\r'))) {
            Error e = makeError(ErrorNumber::InvalidProcedureCall);
            e.description = QStringLiteral("Entry %1 holds a line break and cannot be saved in a playlist")
                                .arg(i + 1);
            return e;
        }
    }
    if (!mayOpen(fileName, true))
        return openFailure(fileName, true);

    // A writable list in a folder the user may not write cannot be replaced
    // by a new file; it is rewritten in place there, atomically everywhere else.
    return SafeWrite::writeFile(fileName, serialize(rows), SafeWrite::Mode::ReplaceOrInPlace);
}

} // namespace PlaylistFile
