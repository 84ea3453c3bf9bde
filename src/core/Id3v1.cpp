#include "Id3v1.h"

#include "PathUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <new>

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

QString FieldText(const char *bytes, int width)
{
    // fromLatin1 maps byte b to U+00b for every b, NUL included.
    return TrimSpaces(QString::fromLatin1(bytes, width));
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

void ParseFileData(const QString &path, QByteArray data, TagFileState &state)
{
    Q_ASSERT(data.size() >= TagSize);
    const QByteArrayView tag = TagBytes(data);
    state.HasTag = IsTagHeader(tag);
    if (state.HasTag) {
        const Id3Fields f = FieldsFromTag(tag);
        state.Texts.Title = FieldText(f.Title, TitleWidth);
        state.Texts.Artist = FieldText(f.Artist, ArtistWidth);
        state.Texts.Album = FieldText(f.Album, AlbumWidth);
        state.Texts.Year = FieldText(f.Year, YearWidth);
        state.Texts.Comment = FieldText(f.Comment, CommentWidth);
        state.Genre = f.Genre;
    } else {
        // The name part keeps its extension and is not trimmed.
        state.Texts = TagTexts{};
        state.Texts.Title = StripPath(path);
        state.Genre = -1;
    }
    state.FileData = std::move(data);
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
int numberFor(QFileDevice::FileError e)
{
    switch (e) {
    case QFileDevice::PermissionsError: return ErrorNumber::PermissionDenied;
    case QFileDevice::OpenError: return ErrorNumber::PermissionDenied;
    case QFileDevice::ResourceError: return ErrorNumber::DiskFull;
    default: return ErrorNumber::DeviceIOError;
    }
}
} // namespace

Status ReadTagFile(const QString &path, TagFileState &state)
{
    const QFileInfo info(path);
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
    if (info.size() == 0)
        return noData(path);
    if (info.size() < TagSize)
        return tooShort(path, info.size());

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error{numberFor(file.error()),
                     QStringLiteral("Cannot open %1: %2").arg(path, file.errorString())};
    const qint64 size = file.size();
    if (size == 0)
        return noData(path);
    if (size < TagSize)
        return tooShort(path, size);

    QByteArray data;
    try {
        data = file.readAll();
    } catch (const std::bad_alloc &) {
        return Error{7, QStringLiteral("Out of memory: %1 is too large to read (%2 bytes).").arg(path).arg(size)};
    }
    if (file.error() != QFileDevice::NoError)
        return Error{numberFor(file.error()),
                     QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};
    file.close();
    // The file may have changed size between the two looks; what was read counts.
    if (data.isEmpty())
        return noData(path);
    if (data.size() < TagSize)
        return tooShort(path, data.size());

    ParseFileData(path, std::move(data), state);
    return std::nullopt;
}

void PutTag(QByteArray &fileData, bool hasTag, const Id3Fields &fields)
{
    if (!hasTag) {
        // All of the file's own bytes stay in front of the new tag.
        fileData.append(QByteArray(TagSize, '\0'));
    }
    char *tag = fileData.data() + fileData.size() - TagSize;
    std::memcpy(tag, "TAG", 3);
    std::memcpy(tag + TitleOffset, &fields, sizeof fields);
}

Status SaveFileData(const QString &path, const QByteArray &data)
{
    const auto failed = [&path](int number, const QString &why) {
        return Error{number, QStringLiteral("Could not save %1: %2. The file was left as it was.").arg(path, why)};
    };

    const QFileInfo info(path);
    if (info.exists()) {
        if (info.isDir())
            return failed(ErrorNumber::PermissionDenied, QStringLiteral("it is a folder"));
        // A file marked read-only stays untouched, even for a user whom the
        // system would let through.
        constexpr QFileDevice::Permissions anyWrite =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isWritable() || !(info.permissions() & anyWrite))
            return failed(ErrorNumber::PermissionDenied, QStringLiteral("the file is read-only"));
    }

    // The new content goes to a temporary file beside the original and
    // replaces it only once it is complete, so a failure part-way can never
    // leave a truncated or half-written song behind.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return failed(numberFor(out.error()), out.errorString());
    if (out.write(data) != data.size()) {
        const QString why = out.errorString();
        out.cancelWriting();
        return failed(numberFor(out.error()), why);
    }
    if (!out.commit())
        return failed(numberFor(out.error()), out.errorString());
    return std::nullopt;
}

} // namespace Id3Module
