// Feeds arbitrary paths to the file-name guesser: it must end, never read
// out of bounds, and only ever fill Title, Artist and Album.
#include "clsMP3Info.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    clsMP3Info::TagRecord t;
    const Status s = clsMP3Info::TagFromFileName(path, t);
    if (s) {
        if (s->number != ErrorNumber::InvalidProcedureCall)
            std::abort();
    } else {
        if (!t.Comment.isEmpty() || !t.Year.isEmpty() || !t.Genre.isEmpty())
            std::abort();
        if (t.Artist.contains(QLatin1Char('(')) || t.Artist.contains(QLatin1Char(')')))
            std::abort();
    }
    const int slashes = clsMP3Info::CountOccurrences(path, QStringLiteral("/"));
    if (slashes > 0 && clsMP3Info::CountOccurrences(clsMP3Info::JoinFolderAndFile(path), QStringLiteral("/")) != slashes - 1)
        std::abort();
    (void)clsMP3Info::IsNumeric(path);
    return 0;
}
