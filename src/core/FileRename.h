#pragma once
// Renaming a file or folder in place without ever replacing what already
// bears the new name, and making a new folder; both tell the system's reason
// when they fail.
#include <QString>

#include "Error.h"

// Renames from to to. Fails, and changes nothing, when to already exists
// (a file, a folder or a dangling link). A failure carries the system's
// reason ("File exists", "Permission denied", "No such file or directory").
Status renameNoReplace(const QString &from, const QString &to);

// Makes the folder path (its parent must exist). Fails, and makes nothing,
// when something already bears the name. A failure carries the system's
// reason ("Read-only file system", "No space left on device").
Status makeFolder(const QString &path);
