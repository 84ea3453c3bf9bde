#pragma once
// A read-only view of one MP3 file's ID3v1 tag. Assigning a file name reads
// its tag; a file without one gets Title, Artist and Album guessed from its
// name and, failing that, from the names of the folders above it.
#include "Error.h"

#include <QString>

class clsMP3Info {
public:
    // Six texts; Genre holds a genre name, not a number.
    struct TagRecord {
        QString Title;
        QString Artist;
        QString Album;
        QString Comment;
        QString Year;
        QString Genre;
    };

    // This class's own genre text, "|"-separated, 148 names. It differs from
    // the editor's (Id3Module::GenreNames) only at index 117: "power Ballad".
    static const char GenreNames[];

    QString Filename() const { return sFilename; }
    // Reads the tag of sPassFilename. A name that is not an existing .mp3,
    // .mp2 or .mp1 file gives six empty fields. Fails when the file cannot
    // be read, or when its name cannot be taken apart (no "." in the name
    // part, a "(" without ")"); the six fields are then empty.
    Status setFilename(const QString &sPassFilename);

    // The fields with leading and trailing spaces removed.
    QString Title() const;
    QString Artist() const;
    QString Genre() const;
    QString Album() const;
    QString Year() const;
    QString Comment() const;

    // The helpers behind setFilename, open to tests and fuzzing.
    // An existing file (not a folder) whose name contains ".mp3", ".mp2" or
    // ".mp1" anywhere, case ignored.
    static bool IsMp3File(const QString &name);
    // Title, Artist and Album guessed from a path (see the .cpp for the rules).
    static Status TagFromFileName(const QString &FullName, TagRecord &t);
    // How many times delimiter occurs in text, counted as pieces minus one.
    static int CountOccurrences(const QString &text, const QString &delimiter);
    // "/a/b/c.mp3" -> "/a/b - c.mp3": the last folder joined into the name.
    static QString JoinFolderAndFile(const QString &path);
    // Whether text reads as a number, surrounding spaces allowed.
    static bool IsNumeric(const QString &text);

private:
    QString sFilename;
    TagRecord CurrentTag;
};
