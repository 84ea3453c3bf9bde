// Feeds arbitrary file endings to the tag reader and checks what the editor
// relies on: a tag is found exactly when the last 128 bytes begin with
// "TAG", a tag saved unchanged keeps its bytes (a genre past the table
// becomes "Other", and a track number stays), and every tag the boxes can
// show can be laid out again and re-read to the same texts without any
// overflow.
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
    ParseTag(QStringLiteral("/music/fuzz.mp3"), tagView, st);
    check(st.HasTag == (std::memcmp(tagView.data(), "TAG", 3) == 0));
    check(st.HasTag ? (st.Genre == quint8(bytes.back())) : (st.Genre == -1));
    check(st.HasTag ? st.Tag == tagView : st.Tag.isEmpty());
    if (!st.HasTag)
        check(st.Texts.Title == QLatin1String("fuzz.mp3") && st.Texts.Artist.isEmpty() && st.Track == 0);
    for (const QString *t : {&st.Texts.Title, &st.Texts.Artist, &st.Texts.Album, &st.Texts.Year, &st.Texts.Comment})
        check(!t->contains(QChar(0)) && TrimSpaces(*t) == *t);
    check(st.Texts.Comment.size() <= (st.Track ? TrackCommentWidth : CommentWidth));

    const int genre = st.Genre < 0 || st.Genre >= GenreCount ? OtherGenre : st.Genre;
    QByteArray tag;
    check(!MakeTag(st, st.Texts, genre, tag));
    check(tag.size() == TagSize && IsTagHeader(tag));
    if (st.HasTag) {
        QByteArray expected = tagView.toByteArray();
        expected[TagSize - 1] = char(genre);
        check(tag == expected);
    }

    // Every field changed: laid out afresh, read back to the same texts.
    TagTexts changed = st.Texts;
    for (QString *t : {&changed.Title, &changed.Artist, &changed.Album, &changed.Year, &changed.Comment})
        t->append(QLatin1Char('!'));
    check(!MakeTag(st, changed, genre, tag));
    TagFileState again;
    ParseTag(QStringLiteral("/music/fuzz.mp3"), tag, again);
    check(again.HasTag && again.Genre == genre && again.Track == st.Track);
    const auto shown = [](const QString &t, int width) { return TrimSpaces(t.left(width)); };
    check(again.Texts.Title == shown(changed.Title, TitleWidth));
    check(again.Texts.Artist == shown(changed.Artist, ArtistWidth));
    check(again.Texts.Album == shown(changed.Album, AlbumWidth));
    check(again.Texts.Year == shown(changed.Year, YearWidth));
    check(again.Texts.Comment == shown(changed.Comment, st.Track ? TrackCommentWidth : CommentWidth));

    // The class reads the same bytes into genre names of its own copy.
    const QStringList names = QString::fromLatin1(clsMP3Info::GenreNames).split(QLatin1Char('|'));
    check(names.size() == GenreCount);
    return 0;
}
