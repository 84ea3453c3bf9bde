#include "MediaEntries.h"

#include "PathUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {
constexpr qint64 kMaxListBytes = 1 << 20; // a list, not a song

QString localEntry(const QDir &base, QString ref)
{
    ref = ref.trimmed();
    if (ref.isEmpty())
        return QString();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(ref).hasMatch()) {
        const QUrl url(ref);
        if (!url.isLocalFile())
            return QString(); // streams and other schemes are not played
        ref = url.toLocalFile();
    }
    ref.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo info(base, ref);
    return pathKind(info.absoluteFilePath()) == PathKind::RegularFile ? info.absoluteFilePath() : QString();
}

QString xmlUnescape(QString s)
{
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}
} // namespace

namespace MediaEntries {

bool isEntryList(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("asx") || suffix == QLatin1String("wax") || suffix == QLatin1String("wvx")
        || suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8");
}

QStringList read(const QString &path)
{
    // A list that is a pipe would block the window in open().
    if (pathKind(path) != PathKind::RegularFile)
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.read(kMaxListBytes);
    const QDir base = QFileInfo(path).absoluteDir();
    const QString suffix = QFileInfo(path).suffix().toLower();
    QStringList out;
    if (suffix.startsWith(QLatin1String("m3u"))) {
        const QString text = suffix == QLatin1String("m3u8") ? QString::fromUtf8(bytes) : QFile::decodeName(bytes);
        for (const QString &line : text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts))
            if (!line.trimmed().startsWith(QLatin1Char('#')))
                if (const QString e = localEntry(base, line); !e.isEmpty())
                    out << e;
        return out;
    }
    // ASX: every <ref href="..."> in document order.
    static const QRegularExpression ref(
        QStringLiteral("<\\s*ref\\b[^>]*?\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(bytes);
    for (auto it = ref.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString href = xmlUnescape(m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
        if (const QString e = localEntry(base, href); !e.isEmpty())
            out << e;
    }
    return out;
}

} // namespace MediaEntries
