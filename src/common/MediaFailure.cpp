#include "MediaFailure.h"

#include "PathUtil.h"

#include <algorithm>

QString CannotPlayText(const QString &name, const Error &error)
{
    return QStringLiteral("Cannot play %1 (%2)").arg(StripPath(name), error.description);
}

QString PassedOverNote(const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    constexpr int Named = 3;
    QStringList shown;
    for (int i = 0; i < std::min<int>(Named, names.size()); ++i)
        shown << StripPath(names.at(i));
    QString list = shown.join(QStringLiteral(", "));
    if (names.size() > Named)
        list += QStringLiteral(" and %1 more").arg(names.size() - Named);
    return QStringLiteral(" (could not play %1)").arg(list);
}
