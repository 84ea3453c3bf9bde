#include "TestFiles.h"

#include <QFile>

namespace TestFiles {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

static bool write(const QString &path, const QByteArray &data, QIODevice::OpenMode mode)
{
    QFile f(path);
    return f.open(mode) && f.write(data) == data.size();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    return write(path, data, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool appendFile(const QString &path, const QByteArray &data) { return write(path, data, QIODevice::Append); }

QByteArray id3Field(const QByteArray &text, int width, char fill) { return text.leftJustified(width, fill, true); }

QByteArray id3Tag(const QByteArray &title, const QByteArray &artist, const QByteArray &album,
                  const QByteArray &year, const QByteArray &comment, quint8 genre, char fill)
{
    return "TAG" + id3Field(title, 30, fill) + id3Field(artist, 30, fill) + id3Field(album, 30, fill)
        + id3Field(year, 4, fill) + id3Field(comment, 30, fill) + char(genre);
}

} // namespace TestFiles
