#pragma once
// Media that hold several entries: an ASX playlist (.asx, .wax, .wvx) or a
// plain M3U list handed to the player as one media. The control plays the
// entries in turn, and NextEntry skips to the next.
#include <QString>
#include <QStringList>

namespace MediaEntries {
// Whether the file name says it is a list of entries.
bool isEntryList(const QString &path);
// The local files the list names, absolute, in order. Relative names are
// taken from the list's own folder; file:// URLs become paths; entries of
// other schemes (streams) are left out, as is everything that does not exist.
QStringList read(const QString &path);
}
