#pragma once
// The playlist file procedures shared by the main window: load a playlist
// file into the playlist, save the playlist into a file. Both report their
// own failures in a message box and never leave the two lists of the store
// at different lengths.
#include <QString>

#include "Error.h"

class PlaylistStore;
class QListWidget;

// Shows a playlist routine's failure: heading ("Error in ReadList"), two line
// breaks, the number, " - " and the description; critical icon, title "Error".
void ReportPlaylistError(const QString &heading, const Error &error);

// Reads the playlist file fileName into the store. With clearFirst the store
// is emptied once the file has been opened (a file that cannot be opened
// leaves the playlist as it was). Entries are appended in one go, each entry's
// text going into both lists. A file that would take the playlist past its
// most entries is refused and the playlist left as it was. Returns true when
// the whole file was read.
bool ReadList(PlaylistStore &store, const QString &fileName, bool clearFirst);

// Writes every row of list (the full-path list when saving the playlist) into
// fileName. An empty list is refused with a message and nothing is written.
// Returns true when the file was written.
bool WriteList(const QListWidget &list, const QString &fileName);
// Saves the store's full paths.
bool WriteList(const PlaylistStore &store, const QString &fileName);
