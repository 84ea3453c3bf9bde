#include "Module1.h"

#include <QListWidget>

#include "MsgBox.h"
#include "PlaylistFile.h"
#include "PlaylistStore.h"

namespace {
void reportError(const char *routine, const Error &error)
{
    const QString text = QLatin1String(routine) + QStringLiteral("\r\r") + QString::number(error.number)
                         + QStringLiteral(" - ") + error.description;
    MsgBox(text, MsgBoxStyle::Critical, QStringLiteral("Error"));
}
} // namespace

bool ReadList(PlaylistStore &store, const QString &fileName, bool clearFirst)
{
    const PlaylistFile::ReadResult result = PlaylistFile::read(fileName);
    if (result.opened) {
        if (clearFirst)
            store.clear();
        // A loaded entry shows its full path in the visible list too.
        store.appendMany(result.entries, result.entries);
    }
    if (result.error) {
        reportError("Error in ReadList", *result.error);
        return false;
    }
    return true;
}

bool WriteList(const QListWidget &list, const QString &fileName)
{
    if (list.count() < 1) {
        MsgBox(QStringLiteral("Listbox is empty - cannot write to file!"), MsgBoxStyle::Critical,
               QStringLiteral("Error"));
        return false;
    }
    QStringList rows;
    rows.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        rows.append(list.item(i)->text());
    if (const Status error = PlaylistFile::write(fileName, rows)) {
        reportError("Error in WriteList", *error);
        return false;
    }
    return true;
}

bool WriteList(const PlaylistStore &store, const QString &fileName)
{
    return WriteList(*store.fullPathList(), fileName);
}
