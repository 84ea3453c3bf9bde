#include "MediaFailure.h"

#include "PathUtil.h"

QString CannotPlayText(const QString &name, const Error &error)
{
    return QStringLiteral("Cannot play %1 (%2)").arg(StripPath(name), error.description);
}
