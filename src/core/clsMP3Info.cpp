#include "clsMP3Info.h"

#include "Id3v1.h"
#include "PathUtil.h"

#include <QStringList>

#include <algorithm>

const char clsMP3Info::GenreNames[] =
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
    "Tango|Samba|Folklore|Ballad|power Ballad|Rhythmic Soul|Freestyle|Duet|"
    "Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|Drum & Bass|"
    "Club-House|Hardcore|Terror|indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|"
    "Comteporary Christian|Christian Rock|Merengue|Salsa|Trash Metal|Anime|"
    "JPop|Synth Pop";

QString clsMP3Info::Title() const { return Id3Module::TrimSpaces(CurrentTag.Title); }
QString clsMP3Info::Artist() const { return Id3Module::TrimSpaces(CurrentTag.Artist); }
QString clsMP3Info::Genre() const { return Id3Module::TrimSpaces(CurrentTag.Genre); }
QString clsMP3Info::Album() const { return Id3Module::TrimSpaces(CurrentTag.Album); }
QString clsMP3Info::Year() const { return Id3Module::TrimSpaces(CurrentTag.Year); }
QString clsMP3Info::Comment() const { return Id3Module::TrimSpaces(CurrentTag.Comment); }

Status clsMP3Info::setFilename(const QString &sPassFilename)
{
    const QStringList genres = QString::fromLatin1(GenreNames).split(QLatin1Char('|'));
    sFilename = sPassFilename;
    CurrentTag = TagRecord{};
    if (!IsMp3File(sFilename))
        return std::nullopt;

    // Only a file of at least 128 bytes can hold a tag; a shorter one is
    // simply untagged.
    Id3Module::FileSnapshot seen;
    if (Status s = Id3Module::ReadFileTail(sFilename, seen))
        return s;
    QByteArray tail = seen.Tail;
    if (tail.size() < Id3Module::TagSize)
        tail.clear();

    if (Id3Module::IsTagHeader(tail)) {
        // One character per byte (ISO-8859-1), so no field shifts.
        const Id3Module::Id3Fields f = Id3Module::FieldsFromTag(tail);
        CurrentTag.Title = QString::fromLatin1(f.Title, Id3Module::TitleWidth);
        CurrentTag.Artist = QString::fromLatin1(f.Artist, Id3Module::ArtistWidth);
        CurrentTag.Album = QString::fromLatin1(f.Album, Id3Module::AlbumWidth);
        CurrentTag.Year = QString::fromLatin1(f.Year, Id3Module::YearWidth);
        CurrentTag.Comment = QString::fromLatin1(f.Comment, Id3Module::CommentWidth);
        CurrentTag.Genre = f.Genre < genres.size() ? genres.at(f.Genre) : QString();
        return std::nullopt;
    }

    TagRecord guessed;
    if (Status s = TagFromFileName(sFilename, guessed))
        return s;
    CurrentTag = guessed;
    return std::nullopt;
}

bool clsMP3Info::IsMp3File(const QString &name)
{
    if (name.isEmpty())
        return false;
    // A folder does not count; neither does a pipe or a device, which the
    // read would block on.
    if (pathKind(name) != PathKind::RegularFile)
        return false;
    bool found = false;
    for (const char *ext : {".mp3", ".mp2", ".mp1"}) {
        if (name.contains(QLatin1String(ext), Qt::CaseInsensitive))
            found = true;
    }
    return found;
}

int clsMP3Info::CountOccurrences(const QString &text, const QString &delimiter)
{
    if (text.isEmpty() || delimiter.isEmpty())
        return 0;
    return int(text.split(delimiter, Qt::KeepEmptyParts, Qt::CaseSensitive).size() - 1);
}

QString clsMP3Info::JoinFolderAndFile(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    if (cut < 0)
        return path;
    return Id3Module::TrimSpaces(path.left(cut)) + QStringLiteral(" - ")
        + Id3Module::TrimSpaces(path.mid(cut + 1));
}

bool clsMP3Info::IsNumeric(const QString &text)
{
    // Plain decimal numbers as a person types them in a file name: a sign,
    // digits with at most one decimal point, an optional exponent; also the
    // &H (hex) and &O (octal) forms. Spaces and tabs around are allowed.
    QString s = text;
    qsizetype a = 0, b = s.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (a < b && blank(s.at(a)))
        ++a;
    while (b > a && blank(s.at(b - 1)))
        --b;
    s = s.mid(a, b - a);
    if (s.isEmpty())
        return false;

    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (s.size() > 2 && s.at(0) == QLatin1Char('&')) {
        const QChar kind = s.at(1).toUpper();
        const QString rest = s.mid(2);
        if (kind == QLatin1Char('H'))
            return std::all_of(rest.begin(), rest.end(), [&](QChar c) {
                return isDigit(c) || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
            });
        if (kind == QLatin1Char('O'))
            return std::all_of(rest.begin(), rest.end(),
                               [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('7'); });
        return false;
    }

    qsizetype i = 0;
    if (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-'))
        ++i;
    int digits = 0;
    while (i < s.size() && isDigit(s.at(i))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && isDigit(s.at(i))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && QStringLiteral("eEdD").contains(s.at(i))) {
        ++i;
        if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
            ++i;
        int expDigits = 0;
        while (i < s.size() && isDigit(s.at(i))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

// Guesses Title, Artist and Album from a path:
//  - the name part without its extension, trimmed; a name without spaces is
//    the title, "_" read as " ";
//  - "(Artist) Title-Album" or "(Artist) - Title": the artist in brackets;
//  - otherwise parts split at "- ": the first non-numeric part is the artist,
//    one right after a number (a track number) the title, any other the album.
// When no title comes out, the nearest folder's name is joined in front
// ("/music/Band/01 - Song.mp3" is read as "/music/Band - 01 - Song.mp3"),
// one level at a time while the path still holds two "/".
Status clsMP3Info::TagFromFileName(const QString &FullName, TagRecord &out)
{
    const QString space = QStringLiteral(" ");
    QString full = FullName;
    for (;;) {
        TagRecord t;
        QString Name = StripPath(full);
        const qsizetype dot = Name.lastIndexOf(QLatin1Char('.'));
        if (dot < 0)
            return Error{ErrorNumber::InvalidProcedureCall,
                         QStringLiteral("Invalid procedure call or argument: the file name \"%1\" has no extension.")
                             .arg(Name)};
        Name = Id3Module::TrimSpaces(Name.left(dot));

        if (CountOccurrences(Name, space) < 1) {
            t.Title = Name.replace(QLatin1Char('_'), QLatin1Char(' '));
            out = t;
            return std::nullopt;
        }
        Name = Id3Module::TrimSpaces(Name.replace(QLatin1Char('_'), QLatin1Char(' ')));

        if (Name.startsWith(QLatin1Char('(')) && CountOccurrences(Name, QStringLiteral("-")) < 3) {
            const qsizetype p = Name.indexOf(QLatin1Char(')'));
            if (p < 0)
                return Error{ErrorNumber::InvalidProcedureCall,
                             QStringLiteral("Invalid procedure call or argument: \"%1\" opens a \"(\" "
                                            "that it never closes.")
                                 .arg(Name)};
            t.Artist = Name.mid(1, p - 1);
            Name = Id3Module::TrimSpaces(Name.mid(p + 1));
            if (Name.startsWith(QLatin1Char('-'))) {
                t.Title = Id3Module::TrimSpaces(Name.mid(1));
            } else if (const qsizetype q = Name.indexOf(QLatin1Char('-')); q >= 0) {
                t.Title = Name.left(q);
                t.Album = Name.mid(q + 1);
            } else {
                t.Title = Name;
            }
        } else {
            const QStringList parts = Name.split(QStringLiteral("- "), Qt::KeepEmptyParts, Qt::CaseSensitive);
            for (qsizetype i = 0; i < parts.size(); ++i) {
                if (IsNumeric(parts.at(i)))
                    continue;
                if (t.Artist.isEmpty()) {
                    t.Artist = parts.at(i);
                } else if (i > 0 && IsNumeric(parts.at(i - 1))) {
                    if (t.Title.isEmpty())
                        t.Title = parts.at(i);
                } else if (t.Album.isEmpty()) {
                    t.Album = parts.at(i);
                }
            }
        }
        t.Artist.remove(QLatin1Char('(')).remove(QLatin1Char(')'));

        const bool twoSeparators = full.indexOf(QLatin1Char('/')) != full.lastIndexOf(QLatin1Char('/'));
        if (t.Title.isEmpty() && !Name.startsWith(QLatin1Char('(')) && twoSeparators) {
            full = JoinFolderAndFile(full);
            continue;
        }
        out = t;
        return std::nullopt;
    }
}
