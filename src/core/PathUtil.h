#pragma once
#include <QString>

// The name part of a path: everything after the last "/", the whole text when
// there is none, "" when the path ends in "/". No length limit.
QString StripPath(const QString &path);

// The folder part of a path, with its last "/"; "" when there is none.
QString StripFileName(const QString &path);
