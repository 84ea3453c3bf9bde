#include "Id3v1.h"

#include "PathUtil.h"
#include "PosixFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Id3Module {

const char GenreNames[] =
    "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|"
    "New Age|Oldies|Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|"
    "Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|"
    "Trip Hop|Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|"
    "House|Game|Sound Clip|Gospel|Noise|Alt. Rock|Bass|Soul|Punk|Space|"
    "Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
    "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|"
    "Comedy|Cult|Gangsta Rap|Top 40|Christian Rap|Pop/Punk|Jungle|"
    "Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|"
    "Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|"
    "Hard Rock|Folk|Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|Latin|"
    "Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
    "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|"
    "Easy Listening|Acoustic|Humour|Speech|Chanson|Opera|Chamber Music|"
    "Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|"
    "Tango|Samba|Folklore|Ballad|Power Ballad|Rhythmic Soul|Freestyle|Duet|"
    "Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|Drum & Bass|"
    "Club-House|Hardcore|Terror|indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|"
    "Comteporary Christian|Christian Rock|Merengue|Salsa|Trash Metal|Anime|"
    "JPop|Synth Pop";

QStringList GenreList()
{
    return QString::fromLatin1(GenreNames).split(QLatin1Char('|'));
}

bool IsTagHeader(QByteArrayView first3)
{
    return first3.size() >= 3 && first3.first(3) == QByteArrayView("TAG");
}

QByteArrayView TagBytes(QByteArrayView data)
{
    return data.size() < TagSize ? QByteArrayView() : data.last(TagSize);
}

Id3Fields FieldsFromTag(QByteArrayView tag)
{
    Q_ASSERT(tag.size() == TagSize);
    Id3Fields f;
    std::memcpy(&f, tag.data() + TitleOffset, sizeof f);
    return f;
}

QString TrimSpaces(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && text.at(to - 1) == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

QString BoxText(const char *bytes, int width)
{
    qsizetype to = width;
    while (to > 0 && (bytes[to - 1] == ' ' || bytes[to - 1] == '\0'))
        --to;
    qsizetype from = 0;
    while (from < to && (bytes[from] == ' ' || bytes[from] == '\0'))
        ++from;
    // fromLatin1 maps byte b to U+00b for every b.
    QString text = QString::fromLatin1(bytes + from, to - from);
    text.replace(QChar(0), QLatin1Char(' '));
    return text;
}

Status FillField(char *dest, int width, const QString &text, const QString &fieldName)
{
    // A fixed-width field takes the first `width` characters, like the box it
    // comes from, which never holds more.
    const QString cut = text.left(width);
    QByteArray bytes(width, ' ');
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const char16_t c = cut.at(i).unicode();
        if (c > 0xFF) {
            QString shown = cut.at(i);
            if (cut.at(i).isHighSurrogate() && i + 1 < cut.size())
                shown += cut.at(i + 1);
            return Error{ErrorNumber::Overflow,
                         QStringLiteral("Overflow: the %1 holds the character \"%2\", which an ID3v1 tag "
                                        "cannot store (only Western European letters fit). "
                                        "The file was not changed.")
                             .arg(fieldName, shown)};
        }
        bytes[i] = char(c);
    }
    std::memcpy(dest, bytes.constData(), size_t(width));
    return std::nullopt;
}

Status MakeFields(const TagTexts &texts, int genre, Id3Fields &out)
{
    Id3Fields f;
    if (Status s = FillField(f.Title, TitleWidth, texts.Title, QStringLiteral("title")))
        return s;
    if (Status s = FillField(f.Artist, ArtistWidth, texts.Artist, QStringLiteral("artist")))
        return s;
    if (Status s = FillField(f.Album, AlbumWidth, texts.Album, QStringLiteral("album")))
        return s;
    if (Status s = FillField(f.Year, YearWidth, texts.Year, QStringLiteral("year")))
        return s;
    if (Status s = FillField(f.Comment, CommentWidth, texts.Comment, QStringLiteral("comment")))
        return s;
    f.Genre = quint8(genre);
    out = f;
    return std::nullopt;
}

void ParseTag(const QString &path, QByteArrayView last128, TagFileState &state)
{
    state.HasTag = last128.size() == TagSize && IsTagHeader(last128);
    if (state.HasTag) {
        const Id3Fields f = FieldsFromTag(last128);
        state.Track = (f.Comment[TrackCommentWidth] == 0 && f.Comment[TrackCommentWidth + 1] != 0)
            ? quint8(f.Comment[TrackCommentWidth + 1])
            : 0;
        state.Texts.Title = BoxText(f.Title, TitleWidth);
        state.Texts.Artist = BoxText(f.Artist, ArtistWidth);
        state.Texts.Album = BoxText(f.Album, AlbumWidth);
        state.Texts.Year = BoxText(f.Year, YearWidth);
        state.Texts.Comment = BoxText(f.Comment, state.Track ? TrackCommentWidth : CommentWidth);
        state.Genre = f.Genre;
        state.Tag = last128.toByteArray();
    } else {
        // The name part keeps its extension and is not trimmed.
        state.Texts = TagTexts{};
        state.Texts.Title = StripPath(path);
        state.Genre = -1;
        state.Track = 0;
        state.Tag.clear();
    }
}

namespace {
Error tooShort(const QString &path, qint64 size)
{
    return Error{TooShortError,
                 QStringLiteral("%1 is too short to hold an ID3 tag: it has %2 bytes, and a tag alone takes %3.")
                     .arg(path)
                     .arg(size)
                     .arg(TagSize)};
}
Error noData(const QString &path)
{
    return Error{NoDataError, path + QStringLiteral(" does not contain any data.")};
}

int numberForErrno(int e)
{
    return e == ENOENT ? ErrorNumber::FileNotFound : PosixFile::errorNumber(e);
}

QString errnoText(int e) { return PosixFile::errorText(e); }

using PosixFile::Fd;
using PosixFile::readAt;
using PosixFile::writeAt;

// Opens a path for reading or writing only when it names a regular file: a
// pipe or device could block the window or never end. O_NONBLOCK keeps even
// a pipe put in the file's place since the look from blocking the open, and
// fstat then refuses it. Never creates and never truncates.
int openRegular(const QString &path, int access, int &err)
{
    const int fd = ::open(QFile::encodeName(path).constData(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return -1;
    }
    return fd;
}

// Why a path names no file to read or write, or nothing when it does.
Status notAFile(const QString &path)
{
    if (path.isEmpty())
        return Error{ErrorNumber::BadFileName, QStringLiteral("Bad file name: no file was given.")};
    switch (pathKind(path)) {
    case PathKind::Missing:
        return Error{ErrorNumber::FileNotFound, QStringLiteral("File not found: %1").arg(path)};
    case PathKind::Folder:
        return Error{ErrorNumber::FileNotFound, QStringLiteral("%1 is a folder, not a file.").arg(path)};
    case PathKind::SpecialFile:
        return Error{ErrorNumber::BadFileName, QStringLiteral("%1 is not a regular file.").arg(path)};
    case PathKind::RegularFile:
        break;
    }
    return std::nullopt;
}
} // namespace

Status ReadFileTail(const QString &path, FileSnapshot &seen)
{
    if (Status s = notAFile(path))
        return s;
    int err = 0;
    Fd file{openRegular(path, O_RDONLY, err)};
    if (file.fd < 0) {
        if (err == EINVAL || err == EISDIR)
            return Error{ErrorNumber::BadFileName, QStringLiteral("%1 is not a regular file.").arg(path)};
        return Error{numberForErrno(err), QStringLiteral("Cannot open %1: %2").arg(path, errnoText(err))};
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return Error{ErrorNumber::DeviceIOError, QStringLiteral("Cannot read %1: %2").arg(path, errnoText(errno))};
    FileSnapshot now;
    now.Device = st.st_dev;
    now.Inode = st.st_ino;
    now.Length = st.st_size;
    now.Tail.resize(qsizetype(std::min<qint64>(now.Length, TagSize)));
    if (!readAt(file.fd, now.Tail.data(), now.Tail.size(), off_t(now.Length - now.Tail.size())))
        return Error{numberForErrno(errno), QStringLiteral("Cannot read %1: %2").arg(path, errnoText(errno))};
    seen = std::move(now);
    return std::nullopt;
}

Status ReadTagFile(const QString &path, TagFileState &state)
{
    FileSnapshot seen;
    if (Status s = ReadFileTail(path, seen))
        return s;
    if (seen.Length == 0)
        return noData(path);
    if (seen.Length < TagSize)
        return tooShort(path, seen.Length);
    ParseTag(path, seen.Tail, state);
    state.Seen = std::move(seen);
    return std::nullopt;
}

Status MakeTag(const TagFileState &read, const TagTexts &texts, int genre, QByteArray &tag)
{
    Id3Fields f;
    if (Status s = MakeFields(texts, genre, f))
        return s;
    QByteArray out = "TAG" + QByteArray(reinterpret_cast<const char *>(&f), sizeof f);
    if (read.Track) {
        // The comment's last two bytes carry the track, whatever was typed.
        if (Status s = FillField(out.data() + CommentOffset, TrackCommentWidth, texts.Comment,
                                 QStringLiteral("comment")))
            return s;
        out[CommentOffset + TrackCommentWidth] = '\0';
        out[CommentOffset + TrackCommentWidth + 1] = char(read.Track);
    }
    if (read.HasTag && read.Tag.size() == TagSize) {
        const auto keep = [&](const QString &before, const QString &now, qsizetype at, int width) {
            if (before == now)
                std::memcpy(out.data() + at, read.Tag.constData() + at, size_t(width));
        };
        keep(read.Texts.Title, texts.Title, TitleOffset, TitleWidth);
        keep(read.Texts.Artist, texts.Artist, ArtistOffset, ArtistWidth);
        keep(read.Texts.Album, texts.Album, AlbumOffset, AlbumWidth);
        keep(read.Texts.Year, texts.Year, YearOffset, YearWidth);
        keep(read.Texts.Comment, texts.Comment, CommentOffset, read.Track ? TrackCommentWidth : CommentWidth);
    }
    tag = out;
    return std::nullopt;
}

Status SaveTag(const QString &path, const QByteArray &tag, const FileSnapshot &seen)
{
    Q_ASSERT(tag.size() == TagSize);
    const auto failed = [&path](int number, const QString &why, const QString &state) {
        return Error{number, QStringLiteral("Could not save %1: %2. %3").arg(path, why, state)};
    };
    const QString leftAsItWas = QStringLiteral("The file was left as it was.");
    const QString gone = QStringLiteral("the file no longer exists (it was moved or deleted after the editor "
                                        "opened it)");
    const QString nothingWritten = QStringLiteral("Nothing was written.");

    switch (pathKind(path)) {
    case PathKind::Missing:
        return failed(ErrorNumber::FileNotFound, gone, nothingWritten);
    case PathKind::Folder:
        return failed(ErrorNumber::PermissionDenied, QStringLiteral("it is a folder"), nothingWritten);
    case PathKind::SpecialFile:
        return failed(ErrorNumber::BadFileName, QStringLiteral("it is not a regular file"), nothingWritten);
    case PathKind::RegularFile:
        break;
    }

    // A file marked read-only stays untouched, even for a user whom the
    // system would let through; said so before the open refuses anyone else.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return failed(ErrorNumber::PermissionDenied, QStringLiteral("the file is read-only"), leftAsItWas);

    int err = 0;
    Fd file{openRegular(path, O_RDWR, err)};
    if (file.fd < 0) {
        if (err == ENOENT)
            return failed(ErrorNumber::FileNotFound, gone, nothingWritten);
        if (err == EINVAL || err == EISDIR)
            return failed(ErrorNumber::BadFileName, QStringLiteral("it is not a regular file"), nothingWritten);
        return failed(numberForErrno(err), errnoText(err), leftAsItWas);
    }
    if (::fstat(file.fd, &st) != 0)
        return failed(numberForErrno(errno), errnoText(errno), leftAsItWas);

    // The file opened must be the one read, unchanged: the same file (the
    // descriptor's own device and inode, so a swap after the open cannot slip
    // through), the same length and the same last bytes. Otherwise another
    // program's file or tag would get the old file's fields.
    const off_t length = st.st_size;
    const Error changed{ChangedError, path + QStringLiteral(" was changed by another program since it was "
                                                           "opened. Nothing was written.")};
    if (quint64(st.st_dev) != seen.Device || quint64(st.st_ino) != seen.Inode || qint64(length) != seen.Length)
        return changed;
    char old[TagSize];
    const qsizetype tailSize = qsizetype(std::min<off_t>(length, TagSize));
    if (!readAt(file.fd, old + TagSize - tailSize, tailSize, length - tailSize))
        return failed(numberForErrno(errno), errnoText(errno), leftAsItWas);
    if (QByteArrayView(old + TagSize - tailSize, tailSize) != QByteArrayView(seen.Tail))
        return changed;

    // Over the tag the file holds now, or after its last byte: the decision
    // is taken on the file as it is, never on what the caller believes.
    const bool tagged = length >= TagSize && IsTagHeader(QByteArrayView(old, 3));
    const off_t at = tagged ? length - TagSize : length;

    // Puts the file back as it was: the appended bytes cut off, or the old
    // bytes that the write changed written again, and only those: a write
    // that failed before its first byte (past the file-size limit) changed
    // nothing, and writing there again would only fail the same way.
    // Returns the words that say how the file was left.
    qsizetype written = 0;
    const auto restore = [&]() -> QString {
        const bool ok = tagged ? writeAt(file.fd, old, written, at) && ::fsync(file.fd) == 0
                               : ::ftruncate(file.fd, length) == 0;
        return ok ? leftAsItWas
                  : QStringLiteral("Putting the file back as it was failed too (%1).").arg(errnoText(errno));
    };

    if (!writeAt(file.fd, tag.constData(), TagSize, at, &written)) {
        const int e = errno;
        return failed(numberForErrno(e), errnoText(e), restore());
    }
    if (::fsync(file.fd) != 0) {
        const int e = errno;
        return failed(numberForErrno(e), errnoText(e), restore());
    }
    char back[TagSize];
    if (!readAt(file.fd, back, TagSize, at)) {
        const int e = errno;
        return failed(numberForErrno(e), errnoText(e), restore());
    }
    if (std::memcmp(back, tag.constData(), TagSize) != 0)
        return failed(ErrorNumber::DeviceIOError, QStringLiteral("the tag read back differs from the one written"),
                      restore());
    return std::nullopt;
}

} // namespace Id3Module
