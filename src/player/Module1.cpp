#include "Module1.h"

#include <QListWidget>

#include "MsgBox.h"
#include "PlaylistFile.h"
#include "PlaylistStore.h"

void ReportPlaylistError(const QString &heading, const Error &error)
{
    const QString text = heading + QStringLiteral("\r\r") + QString::number(error.number) + QStringLiteral(" - ")
                         + error.description;
    MsgBox(text, MsgBoxStyle::Critical, QStringLiteral("Error"));
}

bool ReadList(PlaylistStore &store, const QString &fileName, bool clearFirst)
{
    const PlaylistFile::ReadResult result = PlaylistFile::read(fileName);
    if (result.opened) {
        // Checked before the store is touched: a refused load keeps every row.
        // A list read whole always fits an emptied playlist (the reader stops
        // at the same bound); it is the rows already held that may not leave room.
        if (!clearFirst && result.entries.size() > store.room()) {
            ReportPlaylistError(QStringLiteral("Error in ReadList"), store.noRoomFor(result.entries.size()));
            return false;
        }
        if (clearFirst)
            store.clear();
        // A loaded entry shows its full path in the visible list too.
        store.appendMany(result.entries, result.entries);
    }
    if (result.error) {
        ReportPlaylistError(QStringLiteral("Error in ReadList"), *result.error);
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
        ReportPlaylistError(QStringLiteral("Error in WriteList"), *error);
        return false;
    }
    return true;
}

bool WriteList(const PlaylistStore &store, const QString &fileName)
{
    return WriteList(*store.fullPathList(), fileName);
}
