#pragma once
// The ID3v1 tag: a fixed 128-byte record at the very end of an MP3 file
// ("TAG", Title 30, Artist 30, Album 30, Year 4, Comment 30, Genre 1 byte).
// Text fields hold one byte per character in ISO-8859-1, so every byte read
// from a file maps to exactly one character and back again.
#include "Error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace Id3Module {

constexpr qsizetype TagSize = 128;
constexpr int TitleWidth = 30;
constexpr int ArtistWidth = 30;
constexpr int AlbumWidth = 30;
constexpr int YearWidth = 4;
constexpr int CommentWidth = 30;

// Offsets inside the 128-byte tag.
constexpr qsizetype TitleOffset = 3;
constexpr qsizetype ArtistOffset = 33;
constexpr qsizetype AlbumOffset = 63;
constexpr qsizetype YearOffset = 93;
constexpr qsizetype CommentOffset = 97;
constexpr qsizetype GenreOffset = 127;

// The genre the editor falls back to when none is chosen or the byte names nothing.
constexpr int OtherGenre = 12;
constexpr int GenreCount = 148;

// Error numbers of our own, beside the runtime's.
constexpr int NoDataError = 10000;   // the file is empty
constexpr int TooShortError = 10001; // the file is shorter than a tag

// The 125 bytes after "TAG", as they lie in the file.
struct Id3Fields {
    char Title[TitleWidth];
    char Artist[ArtistWidth];
    char Album[AlbumWidth];
    char Year[YearWidth];
    char Comment[CommentWidth];
    quint8 Genre;
};
static_assert(sizeof(Id3Fields) == 125, "Id3Fields must match the file layout byte for byte");

// The editor's genre text: 148 names separated by "|", index = genre byte.
// The tag-reading class keeps its own copy (clsMP3Info::GenreNames), which
// spells index 117 "power Ballad".
extern const char GenreNames[];

// GenreNames split on "|".
QStringList GenreList();

// True when the three bytes are exactly "TAG" (case-sensitive).
bool IsTagHeader(QByteArrayView first3);

// The last 128 bytes of data, or an empty view when data is shorter.
QByteArrayView TagBytes(QByteArrayView data);

// The 125 bytes after "TAG" of a 128-byte tag.
Id3Fields FieldsFromTag(QByteArrayView tag);

// A field's bytes as text, one character per byte (ISO-8859-1), with
// leading and trailing spaces (byte 32 only) removed. NULs stay.
QString FieldText(const char *bytes, int width);

// Removes leading and trailing spaces (byte 32 only; tabs, NBSP and NUL stay).
QString TrimSpaces(const QString &text);

// Writes text into a field of the given width, filled with spaces; text
// longer than the field is cut to its width. Fails with an overflow error,
// naming the field, when a character has no ISO-8859-1 byte; dest is then
// untouched.
Status FillField(char *dest, int width, const QString &text, const QString &fieldName);

// The texts the editor holds, before they are laid out into a record.
struct TagTexts {
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Comment;
};

// Lays out the five texts and the genre byte into a record.
Status MakeFields(const TagTexts &texts, int genre, Id3Fields &out);

// What the editor knows about one file after reading it.
struct TagFileState {
    TagTexts Texts;         // as read (trimmed), or the guessed title
    int Genre = -1;         // 0..255 as read, -1 when the file has no tag
    bool HasTag = false;
    QByteArray FileData;    // the whole file
};

// Reads the tag out of a whole file's bytes. A file without a tag takes its
// title from the name part of path, extension kept. data must hold at least
// TagSize bytes.
void ParseFileData(const QString &path, QByteArray data, TagFileState &state);

// Reads a whole file and its tag. Fails for a missing, unreadable, empty
// (NoDataError) or too short (TooShortError) file.
Status ReadTagFile(const QString &path, TagFileState &state);

// Puts the record into the file's bytes: over the old tag when it has one,
// otherwise appended as a new 128-byte tag after all of the file's bytes.
void PutTag(QByteArray &fileData, bool hasTag, const Id3Fields &fields);

// Replaces the file at path with data as a whole: written to a temporary
// file in the same folder and renamed over the original only when complete,
// keeping the original's permissions. A file marked read-only is refused.
// On any failure the original is left byte for byte as it was.
Status SaveFileData(const QString &path, const QByteArray &data);

} // namespace Id3Module
