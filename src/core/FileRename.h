#pragma once
// Renaming a file or folder in place without ever replacing what already
// bears the new name.
#include <QString>

#include "Error.h"

// Renames from to to. Fails, and changes nothing, when to already exists
// (a file, a folder or a dangling link). A failure carries the system's
// reason ("File exists", "Permission denied", "No such file or directory").
Status renameNoReplace(const QString &from, const QString &to);
