#include "PathUtil.h"

#include <QFileInfo>

QString StripPath(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString StripFileName(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    return cut < 0 ? QString() : path.left(cut + 1);
}

PathKind pathKind(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return PathKind::Missing;
    if (info.isDir())
        return PathKind::Folder;
    // QFileInfo counts only S_ISREG as a file: pipes, devices and sockets
    // are neither files nor folders.
    return info.isFile() ? PathKind::RegularFile : PathKind::SpecialFile;
}
