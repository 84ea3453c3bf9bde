// Feeds arbitrary file contents to the tag reader and checks what the editor
// relies on: the file's bytes are kept as they were, a tag is found exactly
// when the last 128 bytes begin with "TAG", and every tag read can be laid
// out again and re-read to the same texts (NUL shown as space, as in the
// boxes) without any overflow.
#include "Id3v1.h"
#include "clsMP3Info.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace Id3Module;

namespace {
void check(bool ok)
{
    if (!ok)
        std::abort();
}

TagTexts asBoxes(TagTexts t)
{
    for (QString *s : {&t.Title, &t.Artist, &t.Album, &t.Year, &t.Comment})
        s->replace(QChar(0), QLatin1Char(' '));
    return t;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayView tagView = TagBytes(bytes);
    if (bytes.size() < TagSize) {
        check(tagView.isEmpty() && !IsTagHeader(tagView));
        return 0;
    }

    TagFileState st;
    ParseFileData(QStringLiteral("/music/fuzz.mp3"), bytes, st);
    check(st.FileData == bytes);
    check(st.HasTag == (std::memcmp(bytes.constData() + bytes.size() - TagSize, "TAG", 3) == 0));
    check(st.HasTag ? (st.Genre == quint8(bytes.back())) : (st.Genre == -1));
    if (!st.HasTag)
        check(st.Texts.Title == QLatin1String("fuzz.mp3") && st.Texts.Artist.isEmpty());

    const TagTexts shown = asBoxes(st.Texts);
    Id3Fields f;
    const int genre = st.Genre < 0 || st.Genre >= GenreCount ? OtherGenre : st.Genre;
    check(!MakeFields(shown, genre, f));
    QByteArray saved = st.FileData;
    PutTag(saved, st.HasTag, f);
    check(saved.size() == bytes.size() + (st.HasTag ? 0 : TagSize));
    check(saved.first(bytes.size() - (st.HasTag ? TagSize : 0)) == bytes.first(bytes.size() - (st.HasTag ? TagSize : 0)));

    TagFileState again;
    ParseFileData(QStringLiteral("/music/fuzz.mp3"), saved, again);
    check(again.HasTag);
    check(again.Genre == genre);
    const TagTexts reread = again.Texts;
    // The re-read texts are the shown ones cut to their fields and trimmed.
    check(reread.Title == TrimSpaces(shown.Title.left(TitleWidth)));
    check(reread.Artist == TrimSpaces(shown.Artist.left(ArtistWidth)));
    check(reread.Album == TrimSpaces(shown.Album.left(AlbumWidth)));
    check(reread.Year == TrimSpaces(shown.Year.left(YearWidth)));
    check(reread.Comment == TrimSpaces(shown.Comment.left(CommentWidth)));

    // The class reads the same bytes into genre names of its own copy.
    const QStringList names = QString::fromLatin1(clsMP3Info::GenreNames).split(QLatin1Char('|'));
    check(names.size() == GenreCount);
    return 0;
}
