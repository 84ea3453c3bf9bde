#pragma once
#include <QString>

// The name part of a path: everything after the last "/", the whole text when
// there is none, "" when the path ends in "/". No length limit.
QString StripPath(const QString &path);

// The folder part of a path, with its last "/"; "" when there is none.
QString StripFileName(const QString &path);

// What a path names, found without opening it: opening a pipe blocks until a
// writer comes, and a device may never end, so only a regular file is ever
// opened for reading as a song, a tag or a list. Links are followed.
enum class PathKind { Missing, Folder, RegularFile, SpecialFile };
PathKind pathKind(const QString &path);
