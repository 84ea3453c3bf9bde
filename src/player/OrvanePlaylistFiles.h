#pragma once
// What the main window's playlist-file hot spots do, apart from the window:
// ask for a file name in the window's dialog, then load or save.
class FileDialogControl;
class PlaylistStore;

namespace PlaylistActions {
// LOADLIST_Click: "Load Playlist" dialog, then replaces the playlist with the
// chosen file's entries. The dialog's FileName is cleared afterwards.
void loadList(FileDialogControl &cd1, PlaylistStore &store);
// savelist_Click: "Save Playlist" dialog, then writes the full paths into the
// chosen file. The dialog's FileName is cleared afterwards.
void saveList(FileDialogControl &cd1, PlaylistStore &store);
}
