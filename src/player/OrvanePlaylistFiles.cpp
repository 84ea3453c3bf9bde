#include "OrvanePlaylistFiles.h"

#include "FileDialogControl.h"
#include "Module1.h"
#include "PlaylistStore.h"

namespace PlaylistActions {

void loadList(FileDialogControl &cd1, PlaylistStore &store)
{
    cd1.setDialogTitle(QStringLiteral("Load Playlist"));
    cd1.setFilter(QStringLiteral("Playlist(*.M3u)|*.M3u"));
    cd1.ShowOpen();
    if (!cd1.FileName().isEmpty())
        ReadList(store, cd1.FileName(), true);
    // A later cancelled dialog must read as no choice.
    cd1.setFileName(QString());
}

void saveList(FileDialogControl &cd1, PlaylistStore &store)
{
    cd1.setDialogTitle(QStringLiteral("Save Playlist"));
    cd1.setFilter(QStringLiteral("Playlist(*.M3u)|*.m3u"));
    cd1.ShowSave();
    if (!cd1.FileName().isEmpty())
        WriteList(store, cd1.FileName());
    cd1.setFileName(QString());
}

} // namespace PlaylistActions
