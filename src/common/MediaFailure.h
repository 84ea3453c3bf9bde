#pragma once
// What a window's title line says when a media cannot be opened or stops on
// an error, so the user sees the failure where the name would have been.
#include "Error.h"

#include <QString>
#include <QStringList>

// "Cannot play song.mp3 (File not found)": the name without its folder and
// the media control's reason.
QString CannotPlayText(const QString &name, const Error &error);

// What follows the name of an entry that plays after others were passed over
// because they could not be played: " (could not play a.mp3, b.mp3)"; names
// past the third are counted. Empty when none were passed over.
QString PassedOverNote(const QStringList &names);
