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
constexpr int ChangedError = 10002;  // another program changed the file since it was read

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

// A field's bytes as the editor's box shows them: the padding (spaces and
// NULs, as other tagging tools pad) removed from both ends; a NUL left
// inside the text shows as a space, since a box cannot hold one.
QString BoxText(const char *bytes, int width);

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

// ID3v1.1: a comment byte 28 of 0 followed by a non-zero byte 29 is a track
// number, not text.
constexpr int TrackCommentWidth = 28;
constexpr qsizetype TrackMarkOffset = 125;
constexpr qsizetype TrackOffset = 126;

// What a reader saw of a file: which file it was, its length and its last
// min(length, 128) bytes. A save compares the file it opens with this, so
// that fields read from one file never land in another that was put in its
// place or changed in the meantime.
struct FileSnapshot {
    quint64 Device = 0;
    quint64 Inode = 0;
    qint64 Length = 0;
    QByteArray Tail;
};

// What the editor knows about one file after reading it: only the file's
// length and its last 128 bytes are read, whatever its size.
struct TagFileState {
    TagTexts Texts;         // as the boxes show them (see BoxText), or the guessed title
    int Genre = -1;         // 0..255 as read, -1 when the file has no tag
    bool HasTag = false;
    int Track = 0;          // the ID3v1.1 track number, 0 when there is none
    QByteArray Tag;         // the 128 bytes of the tag as read; empty without one
    FileSnapshot Seen;      // the file as read (its length among it), for the save to check against
};

// Reads the tag out of a file's last 128 bytes. A file without a tag takes
// its title from the name part of path, extension kept. Seen is left to the
// caller.
void ParseTag(const QString &path, QByteArrayView last128, TagFileState &state);

// The identity, length and last min(length, 128) bytes of a regular file,
// read without touching the rest. Fails for a missing path, a folder, a pipe
// or device (never opened), or a file that cannot be opened or read.
Status ReadFileTail(const QString &path, FileSnapshot &seen);

// Reads a file's tag. Fails as ReadFileTail does, and for an empty
// (NoDataError) or too short (TooShortError) file.
Status ReadTagFile(const QString &path, TagFileState &state);

// The 128 bytes a save writes. A field whose text is still the one read
// keeps the bytes it had, so an unchanged save rewrites the tag as it was;
// a changed one is laid out afresh, filled with spaces. A track number read
// is kept: the comment then takes 28 characters, then byte 0 and the track.
Status MakeTag(const TagFileState &read, const TagTexts &texts, int genre, QByteArray &tag);

// Writes a 128-byte tag into the file in place: over its last 128 bytes when
// they hold a tag now, otherwise appended. Nothing else of the file is
// touched, so its owner, group, mode, links and attributes stay. Never
// creates the file. Refuses (ChangedError), writing nothing, when the file
// opened is not the one seen (another device or inode), or its length or
// last bytes differ from what was seen. Flushed to disk and read back; an
// append that fails is cut back to the file's old length, a failed
// overwrite puts back the old bytes it changed. The error names the
// system's reason ("No space left on device").
Status SaveTag(const QString &path, const QByteArray &tag, const FileSnapshot &seen);

} // namespace Id3Module
